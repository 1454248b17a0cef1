// Reading and composing over arbitrary agenda file contents, checked against
// the reference model. Input: three bytes for the date, a byte of settings,
// two bytes choosing a padding length, then the file's bytes. The settings repeat the
// bytes up to 64 times, so that small inputs still make files that cross the
// reader's internal reads, and choose how the file list names the file. The
// padding (comment and empty lines) moves the bytes to any position relative
// to those reads.
#include <standin.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "agenda/agenda.h"
#include "agenda/reader.h"
#include "fuzz/fuzz_support.h"
#include "testing/reference_model.h"

using fuzz_support::Fail;

namespace {

std::string Joined(const std::vector<std::string>& pieces) {
  std::string out;
  for (const std::string& piece : pieces) out += "[" + piece + "]";
  return out;
}

std::vector<std::string> PiecesOf(const std::string& path) {
  std::vector<std::string> pieces;
  AgendaReader reader(path.c_str());
  if (!reader.IsOpen()) Fail("opening the agenda file", "open", "refused");
  char line[kLineBufferSize];
  size_t length = 0;
  while (reader.ReadPiece(line, &length)) {
    if (length == 0 || length >= kLineBufferSize) {
      Fail("piece length", "1 to 1023", std::to_string(length));
    }
    if (line[length] != '\0') Fail("piece end", "NUL", std::string(1, line[length]));
    pieces.emplace_back(line, length);
  }
  return pieces;
}

// The file list for the settings: the file once, twice, or among names that
// cannot be read.
std::string ListFor(unsigned form, const std::string& path) {
  const std::string dir = fuzz_support::ScratchDir();
  switch (form) {
    case 0:
      return path;
    case 1:
      return path + "\r\n\t" + path + "\n";
    case 2:
      return dir + "/missing.vrn\r" + dir + "\r\n" + path;
    default:
      return "\r\n" + path + "\r\n\r\n";
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  const AgendaDate date = fuzz_support::DateFrom(data[0], data[1], data[2]);
  const unsigned repeat = 1 + (data[3] >> 2);
  // Small, or around 64513 bytes, where a piece that starts there ends on the
  // last byte of the reader's first read.
  const size_t value = static_cast<size_t>(data[4]) << 8 | data[5];
  const size_t padding = value < 0x8000 ? value % 2048 : 64513 - 1024 + value % 2048;
  std::string bytes;
  for (size_t i = 0; i < padding / 100; ++i) bytes += ";" + std::string(98, 'p') + "\n";
  bytes.append(padding % 100, '\n');
  const std::string once(reinterpret_cast<const char*>(data) + 6, size - 6);
  for (unsigned i = 0; i < repeat; ++i) bytes += once;

  static const std::string path = fuzz_support::ScratchDir() + "/agenda.vrn";
  fuzz_support::WriteFile(path, bytes);

  const std::vector<std::string> expectedPieces = reference::Pieces(bytes);
  const std::vector<std::string> pieces = PiecesOf(path);
  if (pieces != expectedPieces) Fail("pieces", Joined(expectedPieces), Joined(pieces));

  const int blocksBefore = standin::LiveBlocks();
  const std::string list = ListFor(data[3] & 3, path);
  HLOCAL memo = nullptr;
  const int32_t length = ComposeMemo(list.c_str(), date, &memo);
  const char* text = static_cast<const char*>(LocalLock(memo));
  if (text == nullptr) Fail("memo", "a memo block", "none");
  const std::string composed(text);
  LocalUnlock(memo);
  LocalFree(memo);

  const reference::FileSource files = [&](const std::string& name, std::string* content) {
    if (name != path) return false;
    *content = bytes;
    return true;
  };
  const std::string expected = reference::Memo(list, fuzz_support::ModelDate(date), files);
  if (composed != expected) Fail("memo", expected, composed);
  if (length != static_cast<int32_t>(composed.size())) {
    Fail("reported memo length", std::to_string(composed.size()), std::to_string(length));
  }
  if (standin::LiveBlocks() != blocksBefore) {
    Fail("heap blocks after freeing the memo", std::to_string(blocksBefore),
         std::to_string(standin::LiveBlocks()));
  }
  fuzz_support::CheckNoHeapFaults();
  return 0;
}
