// Holds a file open for a while as the plug-in does while it reads an agenda
// file (read and write shared, delete not), for the test of refresh, which
// must wait for it before it can replace the file. Prints "held" once the
// file is open.
//   hold_open.exe FILE MILLISECONDS
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

int main(int argc, char** argv) {
  if (argc != 3) {
    fputs("usage: hold_open.exe FILE MILLISECONDS\n", stderr);
    return 2;
  }
  HANDLE file = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    fprintf(stderr, "hold_open: cannot open %s (error %lu)\n", argv[1], GetLastError());
    return 1;
  }
  puts("held");
  fflush(stdout);
  Sleep(static_cast<DWORD>(atol(argv[2])));
  CloseHandle(file);
  return 0;
}
