// String calls. Like Win32, they accept NULL where the real ones would catch
// the access fault and return NULL.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "internal.h"

namespace {
// Win32's wsprintfA never writes more than this many bytes, NUL included.
constexpr int kWsprintfLimit = 1024;
}  // namespace

extern "C" {

int WINAPI lstrlenA(LPCSTR s) { return s ? static_cast<int>(std::strlen(s)) : 0; }

LPSTR WINAPI lstrcpyA(LPSTR dst, LPCSTR src) {
  if (!dst || !src) return nullptr;
  return std::strcpy(dst, src);
}

LPSTR WINAPI lstrcpynA(LPSTR dst, LPCSTR src, int max) {
  if (!dst || !src) return nullptr;
  if (max <= 0) return dst;
  int i = 0;
  for (; i < max - 1 && src[i]; ++i) dst[i] = src[i];
  dst[i] = '\0';
  return dst;
}

LPSTR WINAPI lstrcatA(LPSTR dst, LPCSTR src) {
  if (!dst || !src) return nullptr;
  return std::strcat(dst, src);
}

int WINAPIV wsprintfA(LPSTR out, LPCSTR format, ...) {
  if (!out || !format) return 0;
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(out, kWsprintfLimit, format, args);
  va_end(args);
  if (n < 0) {
    out[0] = '\0';
    return 0;
  }
  return n < kWsprintfLimit ? n : kWsprintfLimit - 1;
}

}  // extern "C"
