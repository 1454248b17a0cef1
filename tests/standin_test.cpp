// Tests of the Win32 stand-in's fault-finding behaviour that the module's
// tests rely on: opaque movable handles, moving growth, fault records, menu
// and dialog semantics, and files that never block.
// Not covered: the module itself; Windows' own behaviour (the wine suites).
#include <commdlg.h>
#include <gtest/gtest.h>
#include <standin.h>
#include <sys/stat.h>
#include <unistd.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "testing/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

class StandinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    standin::ResetRecords();
    standin::ClearFaults();
    standin::FailHeapCalls(0, 0);
    liveBefore_ = standin::LiveBlocks();
  }
  void TearDown() override {
    EXPECT_EQ(standin::LiveBlocks(), liveBefore_) << "the test left heap blocks behind";
    standin::ResetRecords();
    standin::ClearFaults();
    standin::FailHeapCalls(0, 0);
  }

 private:
  int liveBefore_ = 0;
};

using testing_support::ScratchDir;

// Heap ---------------------------------------------------------------------

struct HeapApi {
  std::string prefix;
  HANDLE (*alloc)(UINT, SIZE_T);
  HANDLE (*reAlloc)(HANDLE, SIZE_T, UINT);
  LPVOID (*lock)(HANDLE);
  BOOL (*unlock)(HANDLE);
  HANDLE (*free)(HANDLE);
  SIZE_T (*size)(HANDLE);
};

const HeapApi kLocal{"Local",     LocalAlloc, LocalReAlloc, LocalLock,
                     LocalUnlock, LocalFree,  LocalSize};
const HeapApi kGlobal{"Global",     GlobalAlloc, GlobalReAlloc, GlobalLock,
                      GlobalUnlock, GlobalFree,  GlobalSize};

void PrintTo(const HeapApi& api, std::ostream* out) { *out << api.prefix; }

class HeapTest : public StandinTest, public ::testing::WithParamInterface<HeapApi> {};

INSTANTIATE_TEST_SUITE_P(Kinds, HeapTest, ::testing::Values(kLocal, kGlobal),
                         [](const ::testing::TestParamInfo<HeapApi>& info) {
                           return info.param.prefix;
                         });

TEST_P(HeapTest, MovableHandleIsNoAddressFixedHandleIsTheAddress) {
  const HeapApi& api = GetParam();
  HANDLE movable = api.alloc(LMEM_MOVEABLE, 16);
  HANDLE fixed = api.alloc(LMEM_FIXED, 16);
  ASSERT_NE(movable, nullptr);
  ASSERT_NE(fixed, nullptr);
  void* data = api.lock(movable);
  ASSERT_NE(data, nullptr);
  EXPECT_NE(data, movable);
  // Misaligned for any heap object, so using the handle as a pointer fails.
  EXPECT_NE(reinterpret_cast<uintptr_t>(movable) % alignof(std::max_align_t), 0u);
  EXPECT_EQ(api.lock(fixed), fixed);
  EXPECT_FALSE(api.unlock(movable));
  EXPECT_EQ(api.free(movable), nullptr);
  EXPECT_EQ(api.free(fixed), nullptr);
  EXPECT_EQ(standin::FaultCount(), 0);
}

TEST_F(StandinTest, LocalAndGlobalShareOneTable) {
  HLOCAL mem = LocalAlloc(LHND, 24);
  EXPECT_EQ(GlobalSize(mem), 24u);
  EXPECT_NE(GlobalLock(mem), nullptr);
  EXPECT_FALSE(LocalUnlock(mem));
  EXPECT_EQ(GlobalFree(mem), nullptr);
  EXPECT_EQ(standin::FaultCount(), 0);
}

TEST_P(HeapTest, GrowingMovesTheMemoryButKeepsHandleAndContents) {
  const HeapApi& api = GetParam();
  struct Case {
    const char* name;
    UINT flags;
    bool lockedWhileGrowing;
    bool zeroed;
  } cases[] = {
      {"moveable", LMEM_MOVEABLE, false, false},
      {"moveable zeroinit", LMEM_MOVEABLE | LMEM_ZEROINIT, false, true},
      {"locked, moveable", LMEM_MOVEABLE, true, false},
      {"unlocked, no flags", 0, false, false},
      {"unlocked, zeroinit only", LMEM_ZEROINIT, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HANDLE mem = api.alloc(LMEM_MOVEABLE, 8);
    char* before = static_cast<char*>(api.lock(mem));
    ASSERT_NE(before, nullptr);
    std::memcpy(before, "abcdefg", 8);
    uintptr_t oldAddress = reinterpret_cast<uintptr_t>(before);
    if (!c.lockedWhileGrowing) api.unlock(mem);
    EXPECT_EQ(api.reAlloc(mem, 4096, c.flags), mem);
    EXPECT_EQ(api.size(mem), 4096u);
    char* after = static_cast<char*>(api.lock(mem));
    EXPECT_NE(reinterpret_cast<uintptr_t>(after), oldAddress);
    EXPECT_STREQ(after, "abcdefg");
    bool grownPartZero = std::all_of(after + 8, after + 4096, [](char b) { return b == 0; });
    EXPECT_EQ(grownPartZero, c.zeroed);
    EXPECT_EQ(standin::LockCount(mem), c.lockedWhileGrowing ? 2 : 1);
    while (api.unlock(mem)) {
    }
    EXPECT_EQ(api.free(mem), nullptr);
  }
  EXPECT_EQ(standin::FaultCount(), 0);
}

TEST_P(HeapTest, ResizeThatWouldHaveToMoveFailsUnlessAllowed) {
  const HeapApi& api = GetParam();
  // A locked movable block may not move without LMEM_MOVEABLE.
  HANDLE movable = api.alloc(LMEM_MOVEABLE, 8);
  char* data = static_cast<char*>(api.lock(movable));
  std::memcpy(data, "locked!", 8);
  EXPECT_EQ(api.reAlloc(movable, 64, 0), nullptr);
  EXPECT_EQ(api.size(movable), 8u);
  EXPECT_STREQ(data, "locked!");
  EXPECT_EQ(standin::LockCount(movable), 1);
  api.unlock(movable);
  api.free(movable);

  // A fixed block grows only with LMEM_MOVEABLE, and then under a new handle.
  HANDLE fixed = api.alloc(LMEM_FIXED, 8);
  std::memcpy(fixed, "fixed!!", 8);
  EXPECT_EQ(api.reAlloc(fixed, 64, 0), nullptr);
  EXPECT_EQ(api.size(fixed), 8u);
  HANDLE moved = api.reAlloc(fixed, 64, LMEM_MOVEABLE);
  ASSERT_NE(moved, nullptr);
  EXPECT_NE(moved, fixed);
  EXPECT_EQ(api.lock(moved), moved);
  EXPECT_STREQ(static_cast<char*>(moved), "fixed!!");
  EXPECT_EQ(standin::LockCount(fixed), -1);
  EXPECT_EQ(api.free(moved), nullptr);
  EXPECT_EQ(standin::FaultCount(), 0);
}

TEST_P(HeapTest, SizeIsWhatWasAskedForAcrossResizes) {
  const HeapApi& api = GetParam();
  for (UINT kind : {LMEM_FIXED, LMEM_MOVEABLE}) {
    for (SIZE_T bytes : {0, 1, 7, 100, 4097}) {
      SCOPED_TRACE(std::to_string(kind) + "/" + std::to_string(bytes));
      HANDLE mem = api.alloc(kind, bytes);
      ASSERT_NE(mem, nullptr);
      EXPECT_EQ(api.size(mem), bytes);
      api.free(mem);
    }
  }
  // Shrinking keeps the handle and the remaining contents.
  HANDLE mem = api.alloc(LMEM_MOVEABLE, 100);
  std::memset(api.lock(mem), 'x', 100);
  api.unlock(mem);
  EXPECT_EQ(api.reAlloc(mem, 10, LMEM_MOVEABLE), mem);
  EXPECT_EQ(api.size(mem), 10u);
  const char* data = static_cast<char*>(api.lock(mem));
  EXPECT_EQ(std::string(data, 10), std::string(10, 'x'));
  api.unlock(mem);
  api.free(mem);
}

// Growing back after a shrink must not bring the cut-off bytes back when the
// caller asked for zeroed memory.
TEST_P(HeapTest, RegrowingAfterShrinkZeroesTheNewPart) {
  const HeapApi& api = GetParam();
  HANDLE mem = api.alloc(LMEM_MOVEABLE, 16);
  std::memset(api.lock(mem), 'x', 16);
  api.unlock(mem);
  ASSERT_EQ(api.reAlloc(mem, 4, LMEM_MOVEABLE), mem);
  ASSERT_EQ(api.reAlloc(mem, 16, LMEM_MOVEABLE | LMEM_ZEROINIT), mem);
  const char* data = static_cast<char*>(api.lock(mem));
  EXPECT_EQ(std::string(data, 16), std::string(4, 'x') + std::string(12, '\0'));
  api.unlock(mem);
  api.free(mem);
}

TEST_P(HeapTest, UnlockReportsWhetherStillLocked) {
  const HeapApi& api = GetParam();
  HANDLE mem = api.alloc(LMEM_MOVEABLE, 4);
  EXPECT_EQ(standin::LockCount(mem), 0);
  void* first = api.lock(mem);
  EXPECT_EQ(api.lock(mem), first);
  EXPECT_EQ(standin::LockCount(mem), 2);
  EXPECT_TRUE(api.unlock(mem));
  EXPECT_EQ(standin::LockCount(mem), 1);
  EXPECT_FALSE(api.unlock(mem));
  EXPECT_EQ(standin::LockCount(mem), 0);
  api.free(mem);
  EXPECT_EQ(standin::FaultCount(), 0);
}

TEST_P(HeapTest, MisuseIsRecordedAsAFaultNamingTheCall) {
  const HeapApi& api = GetParam();
  HANDLE const bogus = reinterpret_cast<HANDLE>(0x1230);
  struct Case {
    const char* name;
    const char* call;
    std::function<void()> misuse;
  } cases[] = {
      {"free while locked", "Free",
       [&] {
         HANDLE mem = api.alloc(LMEM_MOVEABLE, 4);
         api.lock(mem);
         EXPECT_EQ(api.free(mem), nullptr);  // freed all the same, as on Win32
       }},
      {"free unknown", "Free", [&] { EXPECT_EQ(api.free(bogus), bogus); }},
      {"free twice", "Free",
       [&] {
         HANDLE mem = api.alloc(LMEM_MOVEABLE, 4);
         api.free(mem);
         EXPECT_EQ(api.free(mem), mem);
       }},
      {"unlock unlocked", "Unlock",
       [&] {
         HANDLE mem = api.alloc(LMEM_MOVEABLE, 4);
         EXPECT_FALSE(api.unlock(mem));
         api.free(mem);
       }},
      {"lock unknown", "Lock", [&] { EXPECT_EQ(api.lock(bogus), nullptr); }},
      {"size unknown", "Size", [&] { EXPECT_EQ(api.size(bogus), 0u); }},
      {"resize unknown", "ReAlloc",
       [&] { EXPECT_EQ(api.reAlloc(bogus, 8, LMEM_MOVEABLE), nullptr); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    standin::ClearFaults();
    c.misuse();
    ASSERT_EQ(standin::FaultCount(), 1);
    EXPECT_EQ(standin::Faults()[0].rfind(api.prefix + c.call + ":", 0), 0u) << standin::Faults()[0];
  }
  standin::ClearFaults();

  // What Win32 accepts quietly is no fault.
  EXPECT_EQ(api.lock(nullptr), nullptr);
  EXPECT_EQ(api.free(nullptr), nullptr);
  HANDLE fixed = api.alloc(LMEM_FIXED, 4);
  api.lock(fixed);
  EXPECT_FALSE(api.unlock(fixed));
  api.free(fixed);
  EXPECT_EQ(standin::FaultCount(), 0);
}

TEST_P(HeapTest, InjectedFailuresChangeNothing) {
  const HeapApi& api = GetParam();
  int live = standin::LiveBlocks();
  standin::FailHeapCalls(1, 2);
  HANDLE kept = api.alloc(LMEM_MOVEABLE, 8);  // skipped
  ASSERT_NE(kept, nullptr);
  std::memcpy(api.lock(kept), "intact", 7);
  api.unlock(kept);
  EXPECT_EQ(api.alloc(LMEM_MOVEABLE, 8), nullptr);           // fails
  EXPECT_EQ(api.reAlloc(kept, 64, LMEM_MOVEABLE), nullptr);  // fails
  EXPECT_EQ(api.size(kept), 8u);
  EXPECT_STREQ(static_cast<char*>(api.lock(kept)), "intact");
  api.unlock(kept);
  HANDLE later = api.alloc(LMEM_FIXED, 8);  // injection used up
  EXPECT_NE(later, nullptr);
  EXPECT_EQ(standin::LiveBlocks(), live + 2);
  api.free(kept);
  api.free(later);
  EXPECT_EQ(standin::FaultCount(), 0);
}

// Strings ------------------------------------------------------------------

TEST(StandinStrings, CopyNCopiesAtMostMaxMinusOneAndTerminates) {
  struct Case {
    int max;
    const char* expected;
  } cases[] = {{-1, "zzzzzzzz"}, {0, "zzzzzzzz"}, {1, ""},      {3, "he"},
               {5, "hell"},      {6, "hello"},    {20, "hello"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.max);
    char buffer[9] = "zzzzzzzz";
    EXPECT_EQ(lstrcpynA(buffer, "hello", c.max), buffer);
    EXPECT_STREQ(buffer, c.expected);
  }
}

TEST(StandinStrings, LengthCopyConcatenate) {
  EXPECT_EQ(lstrlenA(nullptr), 0);
  EXPECT_EQ(lstrlenA("memo"), 4);
  char buffer[16];
  EXPECT_EQ(lstrcpyA(buffer, "ab"), buffer);
  EXPECT_EQ(lstrcatA(buffer, "cd"), buffer);
  EXPECT_STREQ(buffer, "abcd");
}

TEST(StandinStrings, WsprintfStopsAtTheWin32Limit) {
  char out[1100];
  EXPECT_EQ(wsprintfA(out, "%d-%s-%c", 12, "ab", 'z'), 7);
  EXPECT_STREQ(out, "12-ab-z");

  std::string longText(2000, 'q');
  std::memset(out, '#', sizeof out);
  EXPECT_EQ(wsprintfA(out, "%s", longText.c_str()), 1023);
  EXPECT_EQ(std::strlen(out), 1023u);
  EXPECT_EQ(out[1024], '#') << "wrote past 1024 bytes";
}

// Directory and files ------------------------------------------------------

TEST(StandinFiles, CurrentDirectoryReportsNeededSizeWhenBufferTooSmall) {
  std::string cwd = fs::current_path().string();
  DWORD length = static_cast<DWORD>(cwd.size());
  EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), length + 1);
  struct Case {
    DWORD size;
    DWORD expected;
  } cases[] = {{1, length + 1}, {length, length + 1}, {length + 1, length}, {MAX_PATH, length}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    std::vector<char> buffer(c.size + 1, '#');
    EXPECT_EQ(GetCurrentDirectoryA(c.size, buffer.data()), c.expected);
    if (c.expected == length) {
      EXPECT_EQ(std::string(buffer.data()), cwd);
    }
  }
}

TEST_F(StandinTest, FilesOpenByTypeWithoutBlocking) {
  ScratchDir dir;
  ASSERT_FALSE(dir.path().empty());
  std::string regular = dir.path() + "/memo.txt";
  std::ofstream(regular) << "hello";
  std::string fifo = dir.path() + "/fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

  struct Case {
    std::string path;
    DWORD type;
  } cases[] = {{regular, FILE_TYPE_DISK}, {fifo, FILE_TYPE_PIPE}, {"/dev/null", FILE_TYPE_CHAR}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    // A FIFO without a writer must neither block here nor in ReadFile.
    HANDLE file = CreateFileA(c.path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileType(file), c.type);
    char buffer[8];
    DWORD read = 99;
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(std::string(buffer, read), c.type == FILE_TYPE_DISK ? "hello" : "");
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &read, nullptr));
    EXPECT_EQ(read, 0u) << "end of file";
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(CloseHandle(file));
  }
  EXPECT_EQ(standin::FaultCount(), 3) << "closing each handle twice";
}

TEST(StandinFiles, DirectoriesAndMissingFilesDoNotOpen) {
  ScratchDir dir;
  for (std::string path : {dir.path(), dir.path() + "/missing.txt"}) {
    SCOPED_TRACE(path);
    EXPECT_EQ(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr),
              INVALID_HANDLE_VALUE);
  }
}

TEST(StandinLoader, LoadsLooksUpAndFrees) {
  EXPECT_EQ(LoadLibraryA("/nonexistent/module.dxl"), nullptr);
  HMODULE libc = LoadLibraryA("libc.so.6");
  ASSERT_NE(libc, nullptr);
  // Through void(*)(), the generic function pointer type, as with MinGW.
  auto length = reinterpret_cast<size_t (*)(const char*)>(
      reinterpret_cast<void (*)()>(GetProcAddress(libc, "strlen")));
  ASSERT_NE(length, nullptr);
  EXPECT_EQ(length("four"), 4u);
  EXPECT_EQ(GetProcAddress(libc, "no_such_function_here"), nullptr);
  EXPECT_TRUE(FreeLibrary(libc));
}

// Menus --------------------------------------------------------------------

class MenuTest : public StandinTest {
 protected:
  void SetUp() override {
    StandinTest::SetUp();
    menu_ = CreateMenu();
    ASSERT_TRUE(AppendMenuA(menu_, MF_STRING, 100, "&Open"));
    ASSERT_TRUE(AppendMenuA(menu_, MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(AppendMenuA(menu_, MF_STRING, 0, "None"));
    ASSERT_TRUE(AppendMenuA(menu_, MF_STRING | MF_GRAYED, 200, "Gray"));
  }
  void TearDown() override {
    if (menu_) DestroyMenu(menu_);
    StandinTest::TearDown();
  }
  HMENU menu_ = nullptr;
};

TEST_F(MenuTest, CheckByCommandZeroLandsOnTheSeparator) {
  EXPECT_EQ(CheckMenuItem(menu_, 0, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(GetMenuState(menu_, 1, MF_BYPOSITION), static_cast<UINT>(MF_SEPARATOR | MF_CHECKED));
  EXPECT_EQ(GetMenuState(menu_, 2, MF_BYPOSITION), static_cast<UINT>(MF_UNCHECKED));
}

TEST_F(MenuTest, CheckReturnsThePreviousState) {
  const DWORD kMissing = static_cast<DWORD>(-1);
  struct Step {
    UINT item;
    UINT flags;
    DWORD expected;
  } steps[] = {
      {100, MF_BYCOMMAND | MF_CHECKED, MF_UNCHECKED},
      {100, MF_BYCOMMAND | MF_CHECKED, MF_CHECKED},
      {0, MF_BYPOSITION | MF_UNCHECKED, MF_CHECKED},
      {100, MF_BYCOMMAND | MF_UNCHECKED, MF_UNCHECKED},
      {3, MF_BYPOSITION | MF_CHECKED, MF_UNCHECKED},
      {999, MF_BYCOMMAND | MF_CHECKED, kMissing},
      {4, MF_BYPOSITION | MF_CHECKED, kMissing},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(std::to_string(s.item) + "/" + std::to_string(s.flags));
    EXPECT_EQ(CheckMenuItem(menu_, s.item, s.flags), s.expected);
  }
  EXPECT_EQ(GetMenuState(menu_, 200, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED | MF_CHECKED));
  EXPECT_EQ(standin::FaultCount(), 0);
}

TEST_F(MenuTest, ItemsByPosition) {
  const UINT kNone = static_cast<UINT>(-1);
  EXPECT_EQ(GetMenuItemCount(menu_), 4);
  struct Case {
    int position;
    UINT id;
  } cases[] = {{0, 100}, {1, 0}, {2, 0}, {3, 200}, {4, kNone}, {-1, kNone}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    EXPECT_EQ(GetMenuItemID(menu_, c.position), c.id);
  }
  EXPECT_EQ(GetMenuState(menu_, 555, MF_BYCOMMAND), kNone);
}

TEST_F(MenuTest, GetMenuStringTruncatesLikeWin32) {
  struct Case {
    UINT item;
    UINT flags;
    bool buffer;
    int max;
    int expected;
    const char* text;
  } cases[] = {
      {100, MF_BYCOMMAND, false, 0, 5, nullptr}, {100, MF_BYCOMMAND, true, 0, 5, "####"},
      {100, MF_BYCOMMAND, true, 1, 0, ""},       {100, MF_BYCOMMAND, true, 3, 2, "&O"},
      {100, MF_BYCOMMAND, true, 6, 5, "&Open"},  {3, MF_BYPOSITION, true, 64, 4, "Gray"},
      {1, MF_BYPOSITION, true, 64, 0, ""},       {999, MF_BYCOMMAND, true, 64, 0, "####"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.item) + " max " + std::to_string(c.max));
    char buffer[64] = "####";
    EXPECT_EQ(GetMenuStringA(menu_, c.item, c.buffer ? buffer : nullptr, c.max, c.flags),
              c.expected);
    if (c.text) {
      EXPECT_STREQ(buffer, c.text);
    }
  }
}

TEST_F(MenuTest, DestroyedMenusAndTheirSubmenusAreGone) {
  HMENU child = CreateMenu();
  AppendMenuA(child, MF_STRING, 300, "Inner");
  ASSERT_TRUE(AppendMenuA(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(child), "Sub"));
  // Found by command inside the submenu.
  EXPECT_EQ(CheckMenuItem(menu_, 300, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(GetMenuState(child, 0, MF_BYPOSITION), static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(GetMenuItemID(menu_, 4), static_cast<UINT>(-1));

  EXPECT_TRUE(DestroyMenu(menu_));
  EXPECT_EQ(standin::FaultCount(), 0);
  EXPECT_EQ(GetMenuItemCount(child), -1);
  EXPECT_FALSE(DestroyMenu(menu_));
  EXPECT_FALSE(AppendMenuA(menu_, MF_STRING, 1, "x"));
  menu_ = nullptr;
  EXPECT_EQ(standin::FaultCount(), 3);
}

// Dialogs ------------------------------------------------------------------

struct ProcLog {
  LPARAM initParam = 0;
  bool endInInit = false;
  std::vector<WPARAM> commands;
} procLog;

// Ends with 42 on IDOK and 7 on IDCANCEL; any other command is just noted.
INT_PTR CALLBACK TestProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    procLog.initParam = lParam;
    if (procLog.endInInit) EndDialog(hwnd, 99);
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  procLog.commands.push_back(wParam);
  if (LOWORD(wParam) == IDOK) EndDialog(hwnd, 42);
  if (LOWORD(wParam) == IDCANCEL) EndDialog(hwnd, 7);
  return TRUE;
}

TEST_F(StandinTest, DialogPlaysTheScriptUntilEndDialog) {
  HINSTANCE instance = reinterpret_cast<HINSTANCE>(0x10000);
  HWND parent = reinterpret_cast<HWND>(0x2000);
  struct Case {
    const char* name;
    std::vector<WPARAM> script;
    bool endInInit;
    INT_PTR result;
    size_t delivered;
  } cases[] = {
      {"ok after a command", {5, IDOK}, false, 42, 2},
      {"cancel", {IDCANCEL, IDOK}, false, 7, 1},
      {"ended at init", {IDOK}, true, 99, 0},
      {"never ended", {5, 6}, false, -1, 2},
      {"no script", {}, false, -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    standin::ResetRecords();
    standin::ClearFaults();
    procLog = ProcLog();
    procLog.endInInit = c.endInInit;
    standin::ScriptDialogCommands(c.script);
    EXPECT_EQ(DialogBoxParamA(instance, MAKEINTRESOURCEA(123), parent, TestProc, 77), c.result);
    EXPECT_EQ(procLog.initParam, 77);
    EXPECT_EQ(procLog.commands.size(), c.delivered);
    EXPECT_EQ(standin::FaultCount(), c.result == -1 ? 1 : 0);
    auto calls = standin::DialogCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].instance, instance);
    EXPECT_EQ(calls[0].templateId, 123u);
    EXPECT_EQ(calls[0].parent, parent);
    EXPECT_EQ(calls[0].initParam, 77);
    EXPECT_EQ(calls[0].result, c.result);
    EXPECT_TRUE(calls[0].initResult);
    EXPECT_EQ(calls[0].ended, c.result != -1);
  }
  standin::ClearFaults();
  EXPECT_FALSE(EndDialog(reinterpret_cast<HWND>(0x1234), 1));
}

TEST_F(StandinTest, MessageBoxIsRecordedAndAnswersOk) {
  HWND owner = reinterpret_cast<HWND>(0x3000);
  EXPECT_EQ(MessageBoxA(owner, "text", "caption", MB_OK | MB_ICONINFORMATION), IDOK);
  auto calls = standin::MessageBoxCalls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].owner, owner);
  EXPECT_EQ(calls[0].text, "text");
  EXPECT_EQ(calls[0].caption, "caption");
  EXPECT_EQ(calls[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
}

// Open-file dialog ---------------------------------------------------------

const char kFilter[] = "Memo (*.txt)\0*.txt\0All\0*.*\0";  // the literal adds the final NUL

class OpenFileTest : public StandinTest {
 protected:
  OpenFileTest() {
    std::strcpy(file_, "start.txt");
    ofn_.lStructSize = sizeof ofn_;
    ofn_.hwndOwner = reinterpret_cast<HWND>(0x4000);
    ofn_.lpstrFilter = kFilter;
    ofn_.nFilterIndex = 1;
    ofn_.lpstrFile = file_;
    ofn_.nMaxFile = sizeof file_;
    ofn_.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  }
  OPENFILENAMEA ofn_{};
  char file_[MAX_PATH];
};

TEST_F(OpenFileTest, RecordsTheSettings) {
  standin::ScriptOpenFileCancel();
  standin::ScriptOpenFileCancel();
  EXPECT_FALSE(GetOpenFileNameA(&ofn_));
  ofn_.lpstrDefExt = "txt";
  ofn_.lpstrTitle = "Open";
  EXPECT_FALSE(GetOpenFileNameA(&ofn_));

  auto calls = standin::OpenFileCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].structSize, sizeof(OPENFILENAMEA));
  EXPECT_EQ(calls[0].owner, ofn_.hwndOwner);
  EXPECT_EQ(calls[0].filter, std::string(kFilter, sizeof kFilter));
  EXPECT_EQ(calls[0].filterIndex, 1u);
  EXPECT_EQ(calls[0].maxFile, static_cast<DWORD>(MAX_PATH));
  EXPECT_EQ(calls[0].initialFile, "start.txt");
  EXPECT_EQ(calls[0].flags, static_cast<DWORD>(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY));
  EXPECT_FALSE(calls[0].defaultExtensionGiven);
  EXPECT_TRUE(calls[0].othersZero);
  EXPECT_TRUE(calls[1].defaultExtensionGiven);
  EXPECT_EQ(calls[1].defaultExtension, "txt");
  EXPECT_FALSE(calls[1].othersZero);
  EXPECT_EQ(standin::FaultCount(), 0);
}

TEST_F(OpenFileTest, PickFillsTheBufferOnlyWhenItFits) {
  struct Case {
    std::string path;
    DWORD maxFile;
    bool ok;
    WORD fileOffset;
    WORD extensionOffset;
  } cases[] = {
      {"/data/memo.txt", MAX_PATH, true, 6, 11},
      {"/data/memo.txt", 15, true, 6, 11},
      {"/data/memo.txt", 14, false, 0, 0},
      {"/data/memo", MAX_PATH, true, 6, 10},  // no extension: the NUL
      {"/data/memo.", MAX_PATH, true, 6, 0},  // ends in a dot
      {"/da.ta/memo", MAX_PATH, true, 7, 11},
      {"memo.txt", MAX_PATH, true, 0, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path + " in " + std::to_string(c.maxFile));
    std::strcpy(file_, "start.txt");
    ofn_.nMaxFile = c.maxFile;
    ofn_.nFileOffset = ofn_.nFileExtension = 0;
    standin::ScriptOpenFilePick(c.path);
    EXPECT_EQ(GetOpenFileNameA(&ofn_), c.ok ? TRUE : FALSE);
    EXPECT_STREQ(file_, c.ok ? c.path.c_str() : "start.txt");
    EXPECT_EQ(ofn_.nFileOffset, c.fileOffset);
    EXPECT_EQ(ofn_.nFileExtension, c.extensionOffset);
  }
}

TEST_F(OpenFileTest, WrongSizeFailsBeforeTheUserActs) {
  standin::ScriptOpenFilePick("/a.txt");
  ofn_.lStructSize = 12;
  EXPECT_FALSE(GetOpenFileNameA(&ofn_));
  ofn_.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  EXPECT_TRUE(GetOpenFileNameA(&ofn_)) << "the script must still be there";
  EXPECT_STREQ(file_, "/a.txt");
  ASSERT_EQ(standin::OpenFileCalls().size(), 2u);
  EXPECT_EQ(standin::OpenFileCalls()[0].structSize, 12u);

  EXPECT_FALSE(GetOpenFileNameA(&ofn_));
  EXPECT_EQ(standin::FaultCount(), 1) << "no script left";
}

TEST_F(OpenFileTest, BrowsingMovesTheCurrentDirectory) {
  ScratchDir dir;
  fs::path start = fs::current_path();
  standin::ScriptOpenFileCancel(dir.path());
  EXPECT_FALSE(GetOpenFileNameA(&ofn_));
  EXPECT_EQ(fs::current_path(), fs::canonical(dir.path()));
  EXPECT_TRUE(SetCurrentDirectoryA(start.c_str()));
  EXPECT_EQ(fs::current_path(), start);
}

}  // namespace
