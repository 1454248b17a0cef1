#include "agenda/reader.h"

#include <stdlib.h>
#include <string.h>

namespace {

constexpr size_t kChunkSize = 64 * 1024;
constexpr char kCtrlZ = 0x1A;

}  // namespace

AgendaReader::AgendaReader(const char* name)
    : file_(CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)),
      chunk_(nullptr) {
  if (file_ == INVALID_HANDLE_VALUE) return;
  if (GetFileType(file_) != FILE_TYPE_DISK) {
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    return;
  }
  chunk_ = static_cast<char*>(malloc(kChunkSize));
}

AgendaReader::~AgendaReader() {
  free(chunk_);
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
}

// Reads more of the file behind the bytes not yet taken, up to a Ctrl-Z.
// Sets atEnd_ when nothing more can come.
void AgendaReader::Fill() {
  if (atEnd_) return;
  memmove(chunk_, chunk_ + begin_, end_ - begin_);
  end_ -= begin_;
  begin_ = 0;
  char* fresh = chunk_ + end_;
  DWORD got = 0;
  if (!ReadFile(file_, fresh, static_cast<DWORD>(kChunkSize - end_), &got, nullptr) || got == 0) {
    atEnd_ = true;
    return;
  }
  if (const void* z = memchr(fresh, kCtrlZ, got)) {
    got = static_cast<DWORD>(static_cast<const char*>(z) - fresh);
    atEnd_ = true;
  }
  end_ += got;
}

// The bytes are kept as read and each piece is translated as it is taken:
// within a piece the only LF is its last byte, so the only CR LF pair it can
// hold is the one that ends it, and every other CR stays.
bool AgendaReader::ReadPiece(char (&line)[kLineBufferSize], size_t* length) {
  if (!IsOpen()) return false;
  constexpr size_t kMaxPiece = kLineBufferSize - 1;
  for (;;) {
    const char* bytes = chunk_ + begin_;
    const size_t available = end_ - begin_;
    // The LF that ends a full piece lies one byte further when a CR before
    // it goes.
    const size_t window = available < kMaxPiece + 1 ? available : kMaxPiece + 1;
    const char* lf = static_cast<const char*>(memchr(bytes, '\n', window));
    size_t taken = 0;  // bytes of the file the piece uses up
    size_t piece = 0;  // bytes of the piece
    if (lf != nullptr) {
      const size_t atLf = static_cast<size_t>(lf - bytes);
      const size_t text = atLf > 0 && bytes[atLf - 1] == '\r' ? atLf - 1 : atLf;
      if (text < kMaxPiece) {
        memcpy(line, bytes, text);
        line[text] = '\n';
        piece = text + 1;
        taken = atLf + 1;
      } else {
        piece = taken = kMaxPiece;  // a long line: the buffer fills first
        memcpy(line, bytes, piece);
      }
    } else if (available > kMaxPiece || (available == kMaxPiece && bytes[kMaxPiece - 1] != '\r') ||
               (atEnd_ && available > 0)) {
      // A full piece, or the file's last bytes. A CR that ends a full piece
      // waits for the next byte, which decides whether it goes.
      piece = taken = available < kMaxPiece ? available : kMaxPiece;
      memcpy(line, bytes, piece);
    } else if (atEnd_) {
      return false;
    } else {
      Fill();
      continue;
    }
    line[piece] = '\0';
    begin_ += taken;
    *length = piece;
    return true;
  }
}
