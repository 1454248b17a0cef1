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

// Reads more of the file behind the bytes still unread, translating as it
// goes. Returns false when nothing more could be read.
bool AgendaReader::Fill() {
  if (atEnd_) return false;
  memmove(chunk_, chunk_ + begin_, end_ - begin_);
  end_ -= begin_;
  begin_ = 0;

  // The raw bytes land one byte further on, so that a CR held back from the
  // last read can still go in front of them; the translation only ever
  // shortens, so it can run in place.
  char* raw = chunk_ + end_ + 1;
  DWORD got = 0;
  if (!ReadFile(file_, raw, static_cast<DWORD>(kChunkSize - end_ - 1), &got, nullptr) || got == 0) {
    atEnd_ = true;
    if (pendingCr_) chunk_[end_++] = '\r';
    pendingCr_ = false;
    return false;
  }
  size_t size = got;
  if (const void* z = memchr(raw, kCtrlZ, size)) {
    size = static_cast<const char*>(z) - raw;
    atEnd_ = true;
  }

  size_t w = end_;
  size_t r = 0;
  if (pendingCr_) {
    pendingCr_ = false;
    if (size == 0 || raw[0] != '\n') chunk_[w++] = '\r';
  }
  while (r < size) {
    const char* cr = static_cast<const char*>(memchr(raw + r, '\r', size - r));
    const size_t run = cr != nullptr ? static_cast<size_t>(cr - (raw + r)) : size - r;
    memmove(chunk_ + w, raw + r, run);
    w += run;
    r += run;
    if (cr == nullptr) break;
    ++r;  // past the CR
    if (r < size) {
      if (raw[r] != '\n') chunk_[w++] = '\r';
    } else if (atEnd_) {
      chunk_[w++] = '\r';  // a CR just before Ctrl-Z stays
    } else {
      pendingCr_ = true;
    }
  }
  end_ = w;
  return true;
}

bool AgendaReader::ReadPiece(char (&line)[kLineBufferSize], size_t* length) {
  if (!IsOpen()) return false;
  constexpr size_t kMaxPiece = kLineBufferSize - 1;
  for (;;) {
    const size_t available = end_ - begin_;
    const size_t limit = available < kMaxPiece ? available : kMaxPiece;
    const void* lf = memchr(chunk_ + begin_, '\n', limit);
    size_t piece = 0;
    if (lf != nullptr) {
      piece = static_cast<const char*>(lf) - (chunk_ + begin_) + 1;
    } else if (available >= kMaxPiece || (!Fill() && end_ - begin_ < kMaxPiece)) {
      piece = end_ - begin_ < kMaxPiece ? end_ - begin_ : kMaxPiece;
      if (piece == 0) return false;
    } else {
      continue;
    }
    memcpy(line, chunk_ + begin_, piece);
    line[piece] = '\0';
    begin_ += piece;
    *length = piece;
    return true;
  }
}
