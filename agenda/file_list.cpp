#include <string.h>

#include "agenda/agenda.h"

bool NextFileName(size_t* position, char (&name)[kFileNameBufferSize], const char* fileList,
                  size_t listLength) {
  for (;;) {
    size_t p = *position;
    if (p >= listLength) return false;
    while (p < listLength && (fileList[p] == '\r' || fileList[p] == '\n' || fileList[p] == '\t')) {
      ++p;
    }
    const size_t start = p;
    while (p < listLength && fileList[p] != '\0' && fileList[p] != '\r' && fileList[p] != '\n') {
      ++p;
    }
    *position = p;
    const size_t length = p - start;
    // A line too long for the buffer cannot name a file; cutting it would
    // open a different one.
    if (length >= kFileNameBufferSize) continue;
    memcpy(name, fileList + start, length);
    name[length] = '\0';
    return length > 0;
  }
}
