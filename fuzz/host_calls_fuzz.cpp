// A host's calls on up to four chips, read from the input as a sequence of
// entry-point calls: create, update with a random text or none, read the
// memo with random buffers and sizes, read the day menu and choose from it,
// release, hand a text over to the send-text exchange, and changes around
// them (an agenda file rewritten, the clock moved, heap failures injected
// into the next call). After every call each chip's memo is read back and checked:
// the reported length is the memo's length, the memo is exactly what the
// reference model composes (or, after an injected failure, what a shortage
// of memory can leave of it: the error text, or the heading and some of its
// lines in their order, never "none" for a memo that has entries), and it
// never ends in a line break. When the
// input is done every chip is released and no heap block may be left.
#include <fcntl.h>
#include <fuzzer/FuzzedDataProvider.h>
#include <standin.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "host/vorlinde.h"
#include "testing/fixed_clock.h"
#include "testing/reference_model.h"
#include "testing/shortage_oracle.h"

using fuzz_support::Fail;

namespace {

constexpr int kChips = 4;
constexpr int kMaxCalls = 64;

struct Chip {
  bool live = false;
  ChipHandle handle = nullptr;
  bool exact = true;        // false after an injected heap failure: only the form is known
  bool hasMemo = false;     // when exact: whether there is a memo at all
  std::string memo;         // when exact and hasMemo: the memo
  bool wholeKnown = false;  // when not exact: `memo` holds what enough memory would give
  AgendaDate date = {};     // the date of the last composition
  int32_t selectedDay = 0;  // the day command the menu checks, 0 for none
  bool listKnown = true;    // false when a heap failure may have cost the stored list
  bool hasList = false;     // when listKnown: whether the chip keeps a file list
  std::string list;         // when listKnown and hasList: the file list it keeps
};

struct Session {
  Chip chips[kChips];
  std::map<std::string, std::string> files;  // the readable agenda files by name
  AgendaDate today = {};
};

// Agenda files that stay as they are, relative to the scratch directory.
const std::map<std::string, std::string>& FixedFiles() {
  static const std::map<std::string, std::string> files = {
      {"a.vrn",
       "; dated entries\r\n1998/04/01 April fool\r\n0000/04/01 every April 1st\r\n"
       "0000/00/01 first of the month\r\n0000/00/00 every day\r\n1999/01/05 \x93\xFA\x96\x7B\r\n"},
      {"b.vrn", "; nothing but comments\r\n;1998/04/01 not shown\r\n\r\n"},
      {"c.vrn", std::string("0000/00/00 x\0hidden\r\n", 21) + "0000/00/00 cr\rcut\r\n" +
                    std::string(1500, 'z') + "\n1998/04/01 long line's end\r\n" +
                    "0000/00/00 last\x1A" + "0000/00/00 after Ctrl-Z\r\n"},
      {" a.vrn", "0000/00/00 the name with a leading space\n"},
  };
  return files;
}

const char kRewritable[] = "d.vrn";

// Names a text may hold besides random ones: the files, a directory, a FIFO,
// a missing file, and names at and past the name buffer's size.
const std::vector<std::string>& NamePool() {
  static const std::vector<std::string> names = {"a.vrn",
                                                 "b.vrn",
                                                 "c.vrn",
                                                 kRewritable,
                                                 " a.vrn",
                                                 "a.vrn ",
                                                 "dir",
                                                 "fifo",
                                                 "missing.vrn",
                                                 std::string(259, 'n'),
                                                 std::string(260, 'n'),
                                                 std::string(400, 'n')};
  return names;
}

int scratchFd = -1;  // the scratch directory, where the calls run
int homeFd = -1;     // the directory libFuzzer was started in

// Random bytes with no NUL (a chip's text ends at its NUL) and no "/", so that
// every name stays inside the scratch directory.
std::string RandomName(FuzzedDataProvider& input, size_t maxLength) {
  std::string text = input.ConsumeRandomLengthString(maxLength);
  std::string kept;
  for (char c : text) {
    if (c != '\0' && c != '/') kept += c;
  }
  return kept;
}

std::string RandomText(FuzzedDataProvider& input) {
  if (input.ConsumeIntegralInRange(0, 3) == 0) return RandomName(input, 600);
  static const char* const kBreaks[] = {"\r\n", "\n", "\r", ""};
  std::string text;
  const int lines = input.ConsumeIntegralInRange(0, 8);
  for (int i = 0; i < lines; ++i) {
    text.append(input.ConsumeIntegralInRange(0, 2), '\t');
    if (input.ConsumeBool()) {
      text += NamePool()[input.ConsumeIntegralInRange<size_t>(0, NamePool().size() - 1)];
    } else {
      text += RandomName(input, 24);
    }
    text += kBreaks[input.ConsumeIntegralInRange(0, 3)];
  }
  return text;
}

std::string ExpectedMemo(const Session& session, const std::string& text) {
  const reference::FileSource files = [&session](const std::string& name, std::string* bytes) {
    const auto it = session.files.find(name);
    if (it == session.files.end()) return false;
    *bytes = it->second;
    return true;
  };
  return reference::Memo(text, fuzz_support::ModelDate(session.today), files);
}

bool IsOneOfTheForms(const std::string& memo, AgendaDate date) {
  if (memo == reference::kErrorText) return true;
  const std::string heading = reference::Heading(fuzz_support::ModelDate(date));
  if (memo.compare(0, heading.size(), heading) != 0) return false;
  const std::string rest = memo.substr(heading.size());
  if (rest == "\r\n" + std::string(reference::kNoneText)) return true;
  // One or more entries, each a line break and a text without line breaks.
  if (rest.empty()) return false;
  size_t at = 0;
  while (at < rest.size()) {
    if (rest.compare(at, 2, "\r\n") != 0) return false;
    const size_t next = rest.find("\r\n", at + 2);
    const size_t end = next == std::string::npos ? rest.size() : next;
    const std::string entry = rest.substr(at + 2, end - at - 2);
    if (entry.empty() || entry.find_first_of("\r\n") != std::string::npos) return false;
    at = end;
  }
  return true;
}

// Reads the chip's memo as a host does, a length query and then a copy, and
// checks it.
void CheckChip(const Chip& chip, int slot) {
  const std::string which = "chip " + std::to_string(slot);
  const int length = GetMemoString(chip.handle, nullptr, 0);
  std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\x5A');
  if (GetMemoString(chip.handle, buffer.data(), length + 1) != length) {
    Fail((which + ": GetMemoString's result changed between calls").c_str(), std::to_string(length),
         "another length");
  }
  const size_t copied = strnlen(buffer.data(), buffer.size());
  if (length <= 0) {
    if (length < 0) Fail((which + ": memo length").c_str(), ">= 0", std::to_string(length));
    if (buffer[0] != '\x5A')
      Fail((which + ": buffer of a chip without memo").c_str(), "untouched", "written");
  } else if (copied != static_cast<size_t>(length)) {
    Fail((which + ": GetMemoString's length against the memo's").c_str(), std::to_string(length),
         std::to_string(copied));
  }
  const std::string memo(buffer.data(), length > 0 ? copied : 0);
  if (chip.exact) {
    if (!chip.hasMemo && length != 0)
      Fail((which + ": memo of a chip without text").c_str(), "", memo);
    if (chip.hasMemo && memo != chip.memo) Fail((which + ": memo").c_str(), chip.memo, memo);
  }
  if (length > 0 && !IsOneOfTheForms(memo, chip.date) && !(!chip.exact && chip.wholeKnown)) {
    Fail((which + ": memo is none of the three forms").c_str(),
         "the error text, heading and \"none\", or heading and entries", memo);
  }
  if (length > 0 && !chip.exact && chip.wholeKnown &&
      !testing_support::IsWhatAShortageLeaves(
          memo, chip.memo, reference::Heading(fuzz_support::ModelDate(chip.date)),
          reference::kErrorText)) {
    Fail((which + ": memo after a shortage of memory").c_str(),
         "the error text, or the heading and some of these lines: " + chip.memo, memo);
  }
}

// The calls. Each takes what it needs from the input.

void Create(Session& session, FuzzedDataProvider& input, int slot) {
  Chip& chip = session.chips[slot];
  if (chip.live) return;
  const int kind = input.ConsumeIntegralInRange(0, 5);  // mostly with a text
  const std::string text = kind >= 2 ? RandomText(input) : std::string();
  ChipRecord record = {};
  record.chipText = kind >= 2 ? text.c_str() : nullptr;
  chip = Chip();
  chip.handle = reinterpret_cast<ChipHandle>(0x5A5A);  // must be overwritten
  const int result =
      InitializeChip(&chip.handle, reinterpret_cast<void*>(0x1234), kind == 0 ? nullptr : &record);
  if (result != 0) Fail("InitializeChip's result", "0", std::to_string(result));
  if (chip.handle == nullptr) Fail("chip handle", "a handle", "null");
  chip.live = true;
  chip.date = session.today;
  if (kind >= 2) {
    chip.hasMemo = true;
    chip.memo = ExpectedMemo(session, text);
    chip.selectedDay = CMD_TODAY;
    chip.hasList = true;
    chip.list = text;
  }
}

// Returns whether the chip's memo was composed anew.
bool UpdateWithRandomText(Session& session, FuzzedDataProvider& input, int slot) {
  Chip& chip = session.chips[slot];
  const bool withText = input.ConsumeIntegralInRange(0, 4) != 0;
  const std::string text = withText ? RandomText(input) : std::string();
  ChipRecord record = {};
  record.chipText = withText ? text.c_str() : nullptr;
  const int result = Update(chip.handle, nullptr, &record);
  if (result != 1) Fail("Update's result", "1", std::to_string(result));
  if (!chip.live || chip.handle == nullptr || !withText) return false;  // nothing changes
  chip.exact = true;
  chip.wholeKnown = false;
  chip.hasMemo = true;
  chip.memo = ExpectedMemo(session, text);
  chip.date = session.today;
  chip.selectedDay = CMD_TODAY;
  chip.listKnown = true;
  chip.hasList = true;
  chip.list = text;
  return true;
}

void UpdateChip(Session& session, FuzzedDataProvider& input, int slot) {
  UpdateWithRandomText(session, input, slot);
}

void ReadMemo(Session& session, FuzzedDataProvider& input, int slot) {
  const Chip& chip = session.chips[slot];
  const int32_t full = GetMemoString(chip.handle, nullptr, 0);
  const bool nullBuffer = input.ConsumeIntegralInRange(0, 4) == 0;
  const int32_t size = input.ConsumeBool() ? input.ConsumeIntegralInRange<int32_t>(-3, full + 3)
                                           : input.ConsumeIntegral<int32_t>();
  // Exactly `size` bytes when that is no more than the memo needs, so that a
  // write beyond is caught; else room for the memo and guard bytes that must
  // stay untouched.
  const bool exactSize = size > 0 && size <= full + 1;
  std::vector<char> buffer(exactSize ? static_cast<size_t>(size) : static_cast<size_t>(full) + 9,
                           '\x5A');
  const std::vector<char> before = buffer;
  const int32_t result = GetMemoString(chip.handle, nullBuffer ? nullptr : buffer.data(), size);
  if (result != full) Fail("GetMemoString's result", std::to_string(full), std::to_string(result));
  if (nullBuffer || size <= 0 || full == 0) {
    if (buffer != before) Fail("buffer that must stay untouched", "untouched", "written");
    return;
  }
  const size_t kept = std::min<size_t>(full, static_cast<size_t>(size) - 1);
  std::vector<char> memo(static_cast<size_t>(full) + 1);
  GetMemoString(chip.handle, memo.data(), full + 1);
  std::string expected(memo.data(), kept);
  expected += '\0';
  expected.append(before.begin() + kept + 1, before.end());
  const std::string got(buffer.begin(), buffer.end());
  if (got != expected) Fail("memo copied into the buffer", expected, got);
}

void Release(Session& session, FuzzedDataProvider&, int slot) {
  Chip& chip = session.chips[slot];
  const int result = UnInitializeChip(chip.handle);
  if (result != 0) Fail("UnInitializeChip's result", "0", std::to_string(result));
  chip = Chip();
}

void RewriteAgenda(Session& session, FuzzedDataProvider& input, int) {
  const std::string once = input.ConsumeRandomLengthString(2048);
  std::string bytes;
  for (int i = input.ConsumeIntegralInRange(1, 40); i > 0; --i) bytes += once;
  fuzz_support::WriteFile(kRewritable, bytes);
  session.files[kRewritable] = bytes;
}

void SetClock(Session& session, FuzzedDataProvider& input, int) {
  static const AgendaDate kDays[] = {{1998, 4, 1},  {1998, 3, 31},  {1999, 1, 5},
                                     {2000, 2, 29}, {1999, 12, 31}, {2024, 6, 15}};
  session.today = kDays[input.ConsumeIntegralInRange<size_t>(0, std::size(kDays) - 1)];
  fixed_clock::Set(
      fixed_clock::LocalInstant(session.today.year, session.today.month, session.today.day, 12, 0));
}

// Runs a create or an update while heap calls fail, after a few that succeed.
// What the memo then is depends on which call failed: only its form is known.
void WithHeapFailures(Session& session, FuzzedDataProvider& input, int slot) {
  const int skip = input.ConsumeIntegralInRange(0, 6);
  const int count = input.ConsumeIntegralInRange(1, 4);
  Chip& chip = session.chips[slot];
  standin::FailHeapCalls(skip, count);
  if (chip.live) {
    if (UpdateWithRandomText(session, input, slot)) {
      chip.exact = false;
      chip.wholeKnown = true;
      chip.listKnown = false;
    }
  } else {
    // The state itself may fail: InitializeChip then leaves a null handle,
    // which every chip call must take.
    const std::string text = RandomText(input);
    ChipRecord record = {};
    record.chipText = text.c_str();
    chip = Chip();
    const int result = InitializeChip(&chip.handle, nullptr, &record);
    if (result != 0) Fail("InitializeChip's result", "0", std::to_string(result));
    chip.live = true;
    chip.date = session.today;
    chip.exact = chip.handle == nullptr;  // no state: no memo, exactly
    if (chip.handle != nullptr) {
      chip.selectedDay = CMD_TODAY;  // set even when the list could not be kept
      chip.listKnown = false;
      chip.wholeKnown = true;
      chip.memo = ExpectedMemo(session, text);
    }
  }
  standin::FailHeapCalls(0, 0);
}

// The calendar day `offset` days from the session's today.
AgendaDate DayFrom(const Session& session, int offset) {
  struct tm day = {};
  day.tm_year = session.today.year - 1900;
  day.tm_mon = session.today.month - 1;
  day.tm_mday = session.today.day + offset;
  day.tm_hour = 12;
  day.tm_isdst = -1;
  mktime(&day);
  return AgendaDate{day.tm_year + 1900, day.tm_mon + 1, day.tm_mday};
}

// Reads the chip's menu back: the three days, a separator and About, with a
// check mark on the day shown and on nothing else.
void ReadMenu(Session& session, FuzzedDataProvider&, int slot) {
  const Chip& chip = session.chips[slot];
  HMENU menu = GetDrawExMenu(chip.handle);
  if (menu == nullptr) Fail("GetDrawExMenu", "a menu", "null");
  static const UINT kIds[] = {CMD_YESTERDAY, CMD_TODAY, CMD_TOMORROW, 0, CMD_ABOUT};
  if (GetMenuItemCount(menu) != static_cast<int>(std::size(kIds))) {
    Fail("menu items", std::to_string(std::size(kIds)), std::to_string(GetMenuItemCount(menu)));
  }
  const int32_t shown = chip.live && chip.handle != nullptr ? chip.selectedDay : 0;
  for (int position = 0; position < static_cast<int>(std::size(kIds)); ++position) {
    const UINT id = GetMenuItemID(menu, position);
    const UINT state = GetMenuState(menu, position, MF_BYPOSITION);
    if (id != kIds[position]) {
      Fail("menu item id", std::to_string(kIds[position]), std::to_string(id));
    }
    if (state & MF_SEPARATOR) continue;  // shows no mark, whatever its state
    const bool checked = (state & MF_CHECKED) != 0;
    if (checked != (static_cast<int32_t>(id) == shown)) {
      Fail(("check mark on item " + std::to_string(id)).c_str(), std::to_string(shown),
           checked ? "checked" : "not checked");
    }
  }
  DestroyMenu(menu);
}

// Chooses a command from the chip's menu, or one the menu does not have.
void ChooseFromMenu(Session& session, FuzzedDataProvider& input, int slot) {
  static const int32_t kCommands[] = {CMD_YESTERDAY, CMD_TODAY,         CMD_TOMORROW,
                                      CMD_ABOUT,     CMD_YESTERDAY - 1, CMD_ABOUT + 1};
  const int32_t command =
      kCommands[input.ConsumeIntegralInRange<size_t>(0, std::size(kCommands) - 1)];
  Chip& chip = session.chips[slot];
  if (command == CMD_ABOUT) standin::ScriptDialogCommands({IDOK});
  const int result = DoDrawExMenu(chip.handle, nullptr, command);

  const bool isDay = command >= CMD_YESTERDAY && command <= CMD_TOMORROW;
  const bool hasState = chip.live && chip.handle != nullptr;
  const bool mayRecompose =
      isDay && hasState && command != chip.selectedDay && (!chip.listKnown || chip.hasList);
  const bool mustRecompose = mayRecompose && chip.listKnown;
  if (result != 0 && result != 2) Fail("DoDrawExMenu's result", "0 or 2", std::to_string(result));
  if ((result == 2 && !mayRecompose) || (result == 0 && mustRecompose)) {
    Fail(("DoDrawExMenu's result for command " + std::to_string(command)).c_str(),
         mustRecompose ? "2" : "0", std::to_string(result));
  }
  if (result != 2) return;
  const AgendaDate date = DayFrom(session, command - CMD_TODAY);
  chip.selectedDay = command;
  chip.date = date;
  chip.hasMemo = true;
  chip.exact = chip.listKnown;
  chip.wholeKnown = false;
  if (chip.listKnown) {
    const Session shifted = [&session, date] {
      Session copy;
      copy.files = session.files;
      copy.today = date;
      return copy;
    }();
    chip.memo = ExpectedMemo(shifted, chip.list);
  }
}

// Hands a random text to the send-text exchange in a movable global block,
// sometimes without a NUL inside the block, and checks that the block comes
// back holding exactly today's memo and nothing more.
void Exchange(Session& session, FuzzedDataProvider& input, int) {
  const std::string text = RandomText(input);
  const bool withNul = input.ConsumeIntegralInRange(0, 3) != 0;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + (withNul ? 1 : 0));
  if (block == nullptr) Fail("GlobalAlloc", "a block", "null");
  char* bytes = static_cast<char*>(GlobalLock(block));
  memcpy(bytes, text.data(), text.size());
  if (withNul) bytes[text.size()] = '\0';
  GlobalUnlock(block);

  const std::string expected = ExpectedMemo(session, text);
  const int result = ExchangeSendString(&block);
  if (result != static_cast<int>(expected.size())) {
    Fail("ExchangeSendString's result", std::to_string(expected.size()), std::to_string(result));
  }
  if (GlobalSize(block) != expected.size() + 1) {
    Fail("the exchanged block's size", std::to_string(expected.size() + 1),
         std::to_string(GlobalSize(block)));
  }
  bytes = static_cast<char*>(GlobalLock(block));
  const std::string got(bytes, strnlen(bytes, GlobalSize(block)));
  GlobalUnlock(block);
  GlobalFree(block);
  if (got != expected) Fail("the exchanged block's text", expected, got);
}

struct Call {
  const char* name;
  void (*run)(Session&, FuzzedDataProvider&, int slot);
};

// The calls an input chooses from, by index. New rows go at the end, so
// that the committed inputs keep choosing the calls they were made for.
const Call kCalls[] = {
    {"InitializeChip", Create},
    {"Update", UpdateChip},
    {"GetMemoString", ReadMemo},
    {"UnInitializeChip", Release},
    {"rewrite an agenda file", RewriteAgenda},
    {"set the clock", SetClock},
    {"heap failures", WithHeapFailures},
    {"GetDrawExMenu", ReadMenu},
    {"DoDrawExMenu", ChooseFromMenu},
    {"ExchangeSendString", Exchange},
};

void RunSession(FuzzedDataProvider& input) {
  Session session;
  session.files = FixedFiles();
  session.files[kRewritable] = "0000/00/00 d\r\n";
  fuzz_support::WriteFile(kRewritable, session.files[kRewritable]);
  session.today = {1998, 4, 1};
  fixed_clock::Set(fixed_clock::LocalInstant(1998, 4, 1, 12, 0));

  const int blocksBefore = standin::LiveBlocks();
  for (int calls = 0; calls < kMaxCalls && input.remaining_bytes() > 0; ++calls) {
    const Call& call = kCalls[input.ConsumeIntegralInRange<size_t>(0, std::size(kCalls) - 1)];
    const int slot = input.ConsumeIntegralInRange(0, kChips - 1);
    call.run(session, input, slot);
    for (int i = 0; i < kChips; ++i) {
      if (session.chips[i].live) CheckChip(session.chips[i], i);
    }
    fuzz_support::CheckNoHeapFaults();
  }
  for (Chip& chip : session.chips) {
    if (chip.live) UnInitializeChip(chip.handle);
  }
  if (standin::LiveBlocks() != blocksBefore) {
    Fail("heap blocks once every chip is released", std::to_string(blocksBefore),
         std::to_string(standin::LiveBlocks()));
  }
  fuzz_support::CheckNoHeapFaults();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const std::string& dir = fuzz_support::ScratchDir();
  for (const auto& [name, bytes] : FixedFiles()) fuzz_support::WriteFile(dir + "/" + name, bytes);
  if (mkdir((dir + "/dir").c_str(), 0755) != 0 || mkfifo((dir + "/fifo").c_str(), 0644) != 0) {
    perror("scratch directory");
    abort();
  }
  homeFd = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  scratchFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (homeFd < 0 || scratchFd < 0) {
    perror("open directory");
    abort();
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The chips' names are relative: they run in the scratch directory, and
  // libFuzzer gets its own directory back for its files.
  if (fchdir(scratchFd) != 0) abort();
  FuzzedDataProvider input(data, size);
  RunSession(input);
  if (fchdir(homeFd) != 0) abort();
  return 0;
}
