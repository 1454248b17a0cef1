// Reading an agenda file the way the format prescribes on every platform: a
// CR LF pair reads as LF, any other CR stays, a Ctrl-Z byte ends the file,
// and lines come in pieces of at most 1023 bytes, each ending after the first
// LF or when the 1024-byte line buffer is full.
#pragma once

#include <stddef.h>
#include <windows.h>

// Size of the line buffer: a piece holds at most 1023 bytes and its NUL.
constexpr size_t kLineBufferSize = 1024;

class AgendaReader {
 public:
  // Opens `name` for reading, denying nobody read or write access. Anything
  // but a readable regular file (a directory, a pipe, a device) is refused,
  // so that nothing can block the caller's thread; `IsOpen` then says false.
  explicit AgendaReader(const char* name);
  ~AgendaReader();
  AgendaReader(const AgendaReader&) = delete;
  AgendaReader& operator=(const AgendaReader&) = delete;

  bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE && chunk_ != nullptr; }

  // Copies the next piece into `line` and ends it with a NUL; `*length` is the
  // piece's byte count, NUL bytes inside it included. False at the end of the
  // file, after a Ctrl-Z or a read error.
  bool ReadPiece(char (&line)[kLineBufferSize], size_t* length);

 private:
  void Fill();

  HANDLE file_;
  char* chunk_;  // bytes of the file not yet taken, as read: [begin_, end_)
  size_t begin_ = 0;
  size_t end_ = 0;
  bool atEnd_ = false;  // nothing more to read: the file's end, a Ctrl-Z or an error
};
