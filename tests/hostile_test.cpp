// What the engine makes of hostile agenda files and file lists: binary junk,
// huge lines, Ctrl-Z and CR floods, NULs, a byte-order mark, ten thousand
// names, things that are not files, a file it may not read, and a list that
// names itself. Each case states the exact memo the format's rules give.
// Not covered: the memo's block sizes and heap failures (memo_test.cpp).
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <standin.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "agenda/agenda.h"
#include "agenda/reader.h"
#include "testing/reference_model.h"
#include "tests/composed.h"
#include "tests/test_support.h"

namespace {

using testing_support::Compose;
using testing_support::Composed;
using testing_support::Escaped;
using testing_support::Heading;
using testing_support::ScratchDir;

const AgendaDate kAprilFools = {1998, 4, 1};
const std::string kNone = "\r\nなし";

TEST(HostileAgendaFiles, Table) {
  const std::string head = Heading(kAprilFools);
  const struct {
    const char* what;
    std::string bytes;
    std::string memo;
  } cases[] = {
      {"nothing but Ctrl-Z", std::string(4096, '\x1A'), head + kNone},
      {"Ctrl-Z flood after an entry", "1998/04/01 a\r\n" + std::string(4096, '\x1A'),
       head + "\r\na"},
      {"nothing but CRs", std::string(5000, '\r'), head + kNone},
      // 4 stretches of 1023 CRs, then 908 CRs and the entry in the fifth
      // stretch, which its first CR cuts off.
      {"an entry after a CR flood is cut off", std::string(5000, '\r') + "1998/04/01 x\r\n",
       head + kNone},
      {"NULs end lines",
       std::string("1998/04/01 ab\0cd\r\n", 18) +        // text up to the NUL
           std::string("1998/04/01\0 hidden\r\n", 20) +  // 10 bytes before the NUL
           std::string("\0"
                       "1998/04/01 z\r\n",
                       15) +                            // empty line
           std::string("1998/04/01 x\0\0\0\r\n", 17) +  // trailing NULs
           std::string("19\0"
                       "98/04/01 y\r\n",
                       14),  // NUL in the year field
       head + "\r\nab\r\nx"},
      {"bytes after a NUL count toward the 1023 of a piece",
       std::string("1998/04/01 a\0", 13) + std::string(1023 - 13, 'z') + "0000/00/00 second\r\n",
       head + "\r\na\r\nsecond"},
      // A UTF-8 byte-order mark shifts the first line's columns by three: its
      // month field reads "98", which no date has.
      {"byte-order mark hides a dated first line",
       "\xEF\xBB\xBF"
       "1998/04/01 first\r\n1998/04/01 second\r\n",
       head + "\r\nsecond"},
      // Shifted, the fields read "\xEF\xBB\xBF" "0" (no number: any year),
      // "00" and "00"; the text column holds "/00 x".
      {"byte-order mark before an every-day line",
       "\xEF\xBB\xBF"
       "0000/00/00 x\r\n",
       head + "\r\n/00 x"},
      {"binary junk without any line break or digit", std::string(3000, '\xFF'),
       // 1023-byte pieces of 0xFF: no field holds a number, so each applies
       // and shows from column 10; the last 954 bytes show 944.
       head + "\r\n" + std::string(1013, '\xFF') + "\r\n" + std::string(1013, '\xFF') + "\r\n" +
           std::string(944, '\xFF')},
  };
  ScratchDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_MEMO(c.memo, Compose(dir.Write("hostile.vrn", c.bytes), kAprilFools));
  }
}

// Seeded random bytes: whatever lines they make, the memo must be the one the
// reference model, written straight from the format's rules, composes.
TEST(HostileAgendaFiles, RandomBytes) {
  std::mt19937 random(20240615);
  ScratchDir dir;
  for (int round = 0; round < 8; ++round) {
    // Mostly digits, slashes, blanks and line breaks, so that some lines
    // apply; the rest any byte at all.
    std::string bytes(64 * 1024 + round * 1000, '\0');
    const char kLikely[] = "0123456789/ \t\r\n;";
    for (char& c : bytes) {
      const unsigned r = random();
      c = (r & 1) ? kLikely[(r >> 1) % (sizeof kLikely - 1)] : static_cast<char>(r >> 8);
    }
    const std::string path = dir.Write("random.vrn", bytes);
    for (const AgendaDate date : {AgendaDate{1998, 4, 1}, AgendaDate{2000, 0, 0}}) {
      SCOPED_TRACE("round " + std::to_string(round) + ", month " + std::to_string(date.month));
      const reference::FileSource files = [&](const std::string& name, std::string* content) {
        if (name != path) return false;
        *content = bytes;
        return true;
      };
      EXPECT_MEMO(reference::Memo(path, {date.year, date.month, date.day}, files),
                  Compose(path, date));
    }
  }
}

// Long lines whose 1023-byte limit, CR LF pairs and lone CRs fall just where
// the reader's internal reads of 64 KiB end: the pieces must be the same as
// when the whole file is taken at once.
TEST(HostileAgendaFiles, LinesAcrossTheReadersInternalReads) {
  const std::string shapes[] = {
      std::string(1022, 'a') + "\r\ntail\r\n",  // a full piece ending in CR LF
      std::string(1021, 'a') + "\r\r\ntail",    // a lone CR before CR LF
      std::string(1022, 'a') + "\r" + std::string(10, 'b') + "\r\n",  // a lone CR at 1023
      std::string(1023, 'a') + "\r\n",  // CR LF just past a full piece
  };
  ScratchDir dir;
  // A line starting at 64513 has its 1023rd byte at the end of the first read.
  for (size_t start = 64513 - 8; start <= 64513 + 8; ++start) {
    for (const std::string& shape : shapes) {
      const std::string bytes = std::string(start - 1, 'x') + "\n" + shape;
      std::vector<std::string> pieces;
      AgendaReader reader(dir.Write("boundary.vrn", bytes).c_str());
      char line[kLineBufferSize];
      size_t length = 0;
      while (reader.ReadPiece(line, &length)) pieces.emplace_back(line, length);
      const std::vector<std::string> expected = reference::Pieces(bytes);
      ASSERT_EQ(expected.size(), pieces.size()) << "line at " << start;
      for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(expected[i], pieces[i]) << "piece " << i << " of the line at " << start << ": "
                                          << Escaped(pieces[i].substr(pieces[i].size() - 4));
      }
    }
  }
}

// A 10 MB line without a line break comes in 10,249 pieces of 1023 bytes and
// a last one of 10, each examined as a line of its own.
TEST(HostileAgendaFiles, TenMegabyteLine) {
  constexpr size_t kSize = 10 * 1024 * 1024;
  constexpr size_t kPieces = (kSize - 1023) / 1023;  // full pieces after the first
  constexpr size_t kLast = (kSize - 1023) % 1023;
  static_assert(kPieces == 10249 && kLast == 10, "piece arithmetic");
  ScratchDir dir;
  const std::string head = Heading(kAprilFools);

  // Letters: every later piece has fields without numbers and so applies,
  // showing from its column 10; the last, 10 bytes, is too short.
  std::string expected = head + "\r\n" + std::string(1023 - 11, 'x');
  for (size_t i = 0; i < kPieces; ++i) expected += "\r\n" + std::string(1023 - 10, 'x');
  EXPECT_MEMO(
      expected,
      Compose(dir.Write("letters.vrn", "1998/04/01 " + std::string(kSize - 11, 'x')), kAprilFools));

  // Digits: every later piece has the year field 9999 and gives nothing.
  EXPECT_MEMO(
      head + "\r\n" + std::string(1023 - 11, '9'),
      Compose(dir.Write("digits.vrn", "1998/04/01 " + std::string(kSize - 11, '9')), kAprilFools));
}

// What a composition in a child process gave: its memo, or how it failed.
struct ChildResult {
  enum { kComposed, kTimedOut, kSkipped, kFailed } outcome;
  std::string memo;
};

// Exit codes of the child beyond a composition.
constexpr int kCannotDropPrivileges = 3;
constexpr int kStillReadable = 4;

// Composes in a forked child, which reports the memo through a pipe, so that
// a composition that blocks can be stopped after `seconds` instead of
// hanging the suite. With `unreadable` set, the child first becomes the
// unprivileged user "nobody" (when running as root, which can read anything)
// and checks that it indeed cannot read that file.
ChildResult ComposeInChild(const std::string& list, AgendaDate date, int seconds,
                           const std::string& unreadable = "") {
  int out[2];
  if (pipe(out) != 0) return {ChildResult::kFailed, "pipe"};
  const pid_t child = fork();
  if (child < 0) return {ChildResult::kFailed, "fork"};
  if (child == 0) {
    close(out[0]);
    if (!unreadable.empty()) {
      if (geteuid() == 0 &&
          (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0)) {
        _exit(kCannotDropPrivileges);
      }
      const int fd = open(unreadable.c_str(), O_RDONLY);
      if (fd >= 0) _exit(kStillReadable);
    }
    HLOCAL memo = nullptr;
    ComposeMemo(list.c_str(), date, &memo);
    const std::string text = testing_support::BlockText(memo);
    const bool written =
        write(out[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
    _exit(written ? 0 : 1);
  }
  close(out[1]);
  ChildResult result = {ChildResult::kComposed, ""};
  pollfd readable = {out[0], POLLIN, 0};
  char buffer[4096];
  for (;;) {
    if (poll(&readable, 1, seconds * 1000) <= 0) {
      kill(child, SIGKILL);
      result.outcome = ChildResult::kTimedOut;
      break;
    }
    const ssize_t n = read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    result.memo.append(buffer, static_cast<size_t>(n));
  }
  close(out[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (result.outcome == ChildResult::kTimedOut) return result;
  if (!WIFEXITED(status)) return {ChildResult::kFailed, "child ended by a signal"};
  switch (WEXITSTATUS(status)) {
    case 0:
      return result;
    case kCannotDropPrivileges:
      return {ChildResult::kSkipped, "cannot become the user nobody"};
    case kStillReadable:
      return {ChildResult::kSkipped, "the file stays readable even without privileges"};
    default:
      return {ChildResult::kFailed, "child exit " + std::to_string(WEXITSTATUS(status))};
  }
}

// Names of a directory, FIFOs (one without a writer, one with a writer that
// never writes) and a device that never ends are passed over without
// blocking; the file after them is still read.
TEST(HostileFileLists, DirectoriesFifosAndDevicesDoNotBlock) {
  ScratchDir dir;
  const std::string fifo = dir.path() + "/fifo.vrn";
  const std::string heldFifo = dir.path() + "/held.vrn";
  ASSERT_EQ(0, mkfifo(fifo.c_str(), 0644));
  ASSERT_EQ(0, mkfifo(heldFifo.c_str(), 0644));
  const int writer = open(heldFifo.c_str(), O_RDWR);  // a writer that never writes
  ASSERT_GE(writer, 0);
  const std::string after = dir.Write("after.vrn", "0000/00/00 after\r\n");
  const std::string list =
      dir.path() + "\r\n" + fifo + "\r\n" + heldFifo + "\r\n/dev/zero\r\n/dev/null\r\n" + after;
  const ChildResult result = ComposeInChild(list, kAprilFools, 20);
  close(writer);
  ASSERT_NE(ChildResult::kTimedOut, result.outcome) << "the composition blocked";
  ASSERT_EQ(ChildResult::kComposed, result.outcome) << result.memo;
  EXPECT_EQ(Heading(kAprilFools) + "\r\nafter", result.memo) << Escaped(result.memo);
}

// A file its reader may not read is passed over like a missing one. Tests
// run as root, which reads anything; the composition then runs in a child
// that has become the user nobody, and the case is skipped only when that
// cannot be arranged.
TEST(HostileFileLists, UnreadableFileIsPassedOver) {
  ScratchDir dir;
  const std::string locked = dir.Write("locked.vrn", "0000/00/00 secret\r\n");
  const std::string open = dir.Write("open.vrn", "0000/00/00 open\r\n");
  ASSERT_EQ(0, chmod(locked.c_str(), 0));
  const ChildResult result = ComposeInChild(locked + "\r\n" + open, kAprilFools, 20, locked);
  if (result.outcome == ChildResult::kSkipped) GTEST_SKIP() << result.memo;
  ASSERT_EQ(ChildResult::kComposed, result.outcome) << result.memo;
  EXPECT_EQ(Heading(kAprilFools) + "\r\nopen", result.memo) << Escaped(result.memo);
}

// Ten thousand names: missing files, one file named again and again, seven
// files in turn and a file with nothing for the date, with every kind of
// line break and leading tabs. Each readable name contributes its entry in
// list order, as often as it is named.
TEST(HostileFileLists, TenThousandNames) {
  ScratchDir dir;
  const std::string repeated = dir.Write("repeated.vrn", "; the same file\r\n0000/00/00 R\r\n");
  std::vector<std::string> rotating;
  for (int k = 0; k < 7; ++k) {
    rotating.push_back(
        dir.Write("b" + std::to_string(k) + ".vrn",
                  "1998/04/01 B" + std::to_string(k) + "\r\n1998/04/02 not today\r\n"));
  }
  const std::string quiet = dir.Write("quiet.vrn", "1999/01/01 another day\r\n");
  const char* const kBreaks[] = {"\r\n", "\n", "\r"};
  std::string list;
  std::string expected = Heading(kAprilFools);
  for (int i = 0; i < 10000; ++i) {
    if (i % 5 == 0) list += "\t";
    switch (i % 4) {
      case 0:
        list += dir.path() + "/missing-" + std::to_string(i) + ".vrn";
        break;
      case 1:
        list += repeated;
        expected += "\r\nR";
        break;
      case 2:
        list += rotating[i % 7];
        expected += "\r\nB" + std::to_string(i % 7);
        break;
      default:
        list += quiet;
    }
    list += kBreaks[i % 3];
  }
  EXPECT_MEMO(expected, Compose(list, kAprilFools));
}

// An agenda file that is the file list itself: its lines are read as agenda
// lines. The name "self.vrn" is too short to be an entry; the second line,
// a name as well, is an entry for the date (and names no file).
TEST(HostileFileLists, AgendaFileThatIsTheListItself) {
  ScratchDir dir;
  const std::string list = "self.vrn\r\n1998/04/01 named in the list\r\n";
  dir.Write("self.vrn", list);
  char saved[4096];
  ASSERT_GT(GetCurrentDirectoryA(sizeof saved, saved), 0u);
  ASSERT_TRUE(SetCurrentDirectoryA(dir.path().c_str()));
  const Composed composed = Compose(list, kAprilFools);
  SetCurrentDirectoryA(saved);
  EXPECT_MEMO(Heading(kAprilFools) + "\r\nnamed in the list", composed);
}

}  // namespace
