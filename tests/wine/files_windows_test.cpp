// Whole files on Windows, on the real KERNEL32 under Wine: names beyond the
// ANSI code page written, read and replaced by their wide names, a replaced
// file keeping its attributes, a read-only one refused and left as it is, and
// the refresh lock, one run's at a time however the path is spelt, while the
// file itself can still be replaced.
// Not covered: the ACL (Wine keeps none), a file the plug-in holds open (the
// refresh test with hold_open.exe).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tools/encodings/encodings.h"
#include "tools/files/files.h"

namespace {

std::string Temporary(const std::string& name) {
  wchar_t folder[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, folder);
  return WideToUtf8(folder) + name;
}

DWORD Attributes(const std::string& name) { return GetFileAttributesW(Utf8ToWide(name).c_str()); }

std::string Contents(const std::string& name) {
  std::string bytes;
  return ReadWholeFile(name, &bytes) ? "(unreadable)" : bytes;
}

TEST(FilesWindows, ReplacedByWideNamesKeepingAttributes) {
  const struct {
    const char* name;  // UTF-8
    DWORD attributes;  // set before the file is replaced, and kept
    FileProblem::Kind replaced;
    const char* after;
  } cases[] = {
      {u8"家族.vrn", FILE_ATTRIBUTE_ARCHIVE, FileProblem::kNone, "new"},
      {u8"Café 😀.vrn", FILE_ATTRIBUTE_ARCHIVE, FileProblem::kNone, "new"},
      {"hidden.vrn", FILE_ATTRIBUTE_HIDDEN, FileProblem::kNone, "new"},
      {u8"読み取り専用.vrn", FILE_ATTRIBUTE_READONLY, FileProblem::kReadOnly, "old"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = Temporary(c.name);
    ASSERT_FALSE(WriteNewFile(path, "old"));
    ASSERT_TRUE(SetFileAttributesW(Utf8ToWide(path).c_str(), c.attributes));
    EXPECT_EQ(c.replaced, ReplaceFileContents(path, "new").kind);
    EXPECT_EQ(c.after, Contents(path));
    EXPECT_EQ(c.attributes,
              Attributes(path) & (c.attributes | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, Attributes(path + ".writing"));
    SetFileAttributesW(Utf8ToWide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveFile(path);
  }
}

TEST(FilesWindows, OneRefreshLockPerFile) {
  const std::string path = Temporary(u8"予定.vrn");
  std::string lower = path, slashes = path;
  for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  for (char& c : slashes) c = c == '\\' ? '/' : c;
  const struct {
    std::string second;  // what a second run locks while the first holds the lock
    FileProblem::Kind kind;
  } cases[] = {{path, FileProblem::kBusy},
               {lower, FileProblem::kBusy},
               {slashes, FileProblem::kBusy},
               {Temporary("other.vrn"), FileProblem::kNone}};
  ASSERT_FALSE(WriteNewFile(path, "old"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.second);
    RefreshLock held, second;
    ASSERT_FALSE(LockForRefresh(path, 1, &held));
    EXPECT_EQ(c.kind, LockForRefresh(c.second, 1, &second).kind);
    EXPECT_FALSE(ReplaceFileContents(path, c.second));  // the file is not held
    EXPECT_EQ(c.second, Contents(path));
  }
  // Once let go, another run takes it at once.
  RefreshLock again;
  EXPECT_FALSE(LockForRefresh(path, 0, &again));
  RemoveFile(path);
}

}  // namespace
