// Whole files on Windows, by the real KERNEL32 under Wine: names beyond the
// ANSI code page read and replaced by their wide names, a replaced file
// keeping its attributes, a read-only file refused and left as it is, and
// the refresh lock, which one run holds at a time whichever way the path is
// spelt, while the file itself can still be replaced.
// Not covered: the ACL (Wine keeps none), a file held open by the plug-in
// (the refresh test with hold_open.exe).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tools/encodings/encodings.h"
#include "tools/files/files.h"

namespace {

// A folder of its own under %TEMP%, removed with what it holds.
class TestFolder {
 public:
  TestFolder() {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    path_ = WideToUtf8(temp) + "vorlinde-files-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryW(Utf8ToWide(path_).c_str(), nullptr);
  }
  ~TestFolder() {
    WIN32_FIND_DATAW found;
    const std::wstring folder = Utf8ToWide(path_);
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring file = folder + L"\\" + found.cFileName;
        SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(file.c_str());
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
  }
  std::string In(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

DWORD Attributes(const std::string& name) { return GetFileAttributesW(Utf8ToWide(name).c_str()); }

std::string Contents(const std::string& name) {
  std::string bytes;
  return ReadWholeFile(name, &bytes) ? "(unreadable)" : bytes;
}

TEST(FilesWindows, WideNamesReplacedKeepingAttributes) {
  const struct {
    const char* name;  // UTF-8
    DWORD attributes;  // set on the file before it is replaced
    FileProblem::Kind replaced;
    const char* after;  // what the file then holds
  } cases[] = {
      {"plain.vrn", FILE_ATTRIBUTE_ARCHIVE, FileProblem::kNone, "new"},
      {u8"家族.vrn", FILE_ATTRIBUTE_ARCHIVE, FileProblem::kNone, "new"},
      {u8"Café.vrn", FILE_ATTRIBUTE_ARCHIVE, FileProblem::kNone, "new"},
      {u8"予定 😀.vrn", FILE_ATTRIBUTE_ARCHIVE, FileProblem::kNone, "new"},
      {"hidden.vrn", FILE_ATTRIBUTE_HIDDEN, FileProblem::kNone, "new"},
      {"read-only.vrn", FILE_ATTRIBUTE_READONLY, FileProblem::kReadOnly, "old"},
      {u8"読み取り専用.vrn", FILE_ATTRIBUTE_READONLY, FileProblem::kReadOnly, "old"},
  };
  TestFolder folder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = folder.In(c.name);
    ASSERT_FALSE(WriteNewFile(path, "old"));
    EXPECT_TRUE(IsRegularFile(path));
    EXPECT_EQ("old", Contents(path));
    ASSERT_TRUE(SetFileAttributesW(Utf8ToWide(path).c_str(), c.attributes));
    EXPECT_EQ(c.replaced, ReplaceFileContents(path, "new").kind);
    EXPECT_EQ(c.after, Contents(path));
    EXPECT_EQ(c.attributes,
              Attributes(path) & (c.attributes | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes(path + ".writing"));
  }
}

TEST(FilesWindows, OneRefreshLockPerFile) {
  TestFolder folder;
  const std::string path = folder.In(u8"家族.vrn");
  ASSERT_FALSE(WriteNewFile(path, "old"));
  std::string lower = path, slashes = path;
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  for (char& c : slashes) c = c == '\\' ? '/' : c;
  const struct {
    const char* what;
    std::string second;  // the path a second run locks while the first holds it
    FileProblem::Kind kind;
  } cases[] = {
      {"the same path", path, FileProblem::kBusy},
      {"in lower case", lower, FileProblem::kBusy},
      {"with slashes", slashes, FileProblem::kBusy},
      {"another file", folder.In("other.vrn"), FileProblem::kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    RefreshLock held;
    ASSERT_FALSE(LockForRefresh(path, 1, &held));
    {
      RefreshLock second;
      EXPECT_EQ(c.kind, LockForRefresh(c.second, 1, &second).kind);
    }
    // The file itself can be replaced while the lock is held.
    EXPECT_FALSE(ReplaceFileContents(path, c.what));
    EXPECT_EQ(c.what, Contents(path));
  }
  // Once let go, another run takes it at once.
  RefreshLock again;
  EXPECT_FALSE(LockForRefresh(path, 0, &again));
}

}  // namespace
