// Current directory, read-only files and module loading.
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "internal.h"

using standin::detail::Describe;
using standin::detail::Fault;

namespace {

constexpr uintptr_t kFileBase = 0x46000007;

struct Files {
  std::mutex mutex;
  std::map<uintptr_t, int> fds;  // by handle
  uintptr_t tokens = 0;
};

Files& TheFiles() {
  static Files* files = new Files;
  return *files;
}

// The descriptor behind a handle, or -1 (and a fault) for an unknown one.
int Descriptor(const char* call, HANDLE file) {
  Files& f = TheFiles();
  std::lock_guard<std::mutex> lock(f.mutex);
  auto it = f.fds.find(reinterpret_cast<uintptr_t>(file));
  if (it != f.fds.end()) return it->second;
  Fault(call, "unknown handle " + Describe(file));
  return -1;
}

std::atomic<bool> attachFailed{false};

}  // namespace

void standin::detail::ModuleAttachFailed() { attachFailed = true; }

extern "C" {

DWORD WINAPI GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  char* cwd = getcwd(nullptr, 0);
  if (!cwd) return 0;
  DWORD length = static_cast<DWORD>(std::strlen(cwd));
  if (buffer && size > length) std::memcpy(buffer, cwd, length + 1);
  std::free(cwd);
  return buffer && size > length ? length : length + 1;
}

BOOL WINAPI SetCurrentDirectoryA(LPCSTR path) { return path && chdir(path) == 0; }

HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD, void*, DWORD disposition, DWORD,
                          HANDLE) {
  if (access != GENERIC_READ || disposition != OPEN_EXISTING) {
    Fault("CreateFileA", "only GENERIC_READ with OPEN_EXISTING is supported");
    return INVALID_HANDLE_VALUE;
  }
  if (!name) return INVALID_HANDLE_VALUE;
  // Non-blocking, so that a FIFO without a writer opens at once and reads
  // never wait.
  int fd = open(name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return INVALID_HANDLE_VALUE;
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {  // Win32 refuses to open a directory here
    close(fd);
    return INVALID_HANDLE_VALUE;
  }
  Files& f = TheFiles();
  std::lock_guard<std::mutex> lock(f.mutex);
  uintptr_t handle = standin::detail::NextToken(kFileBase, f.tokens);
  f.fds[handle] = fd;
  return reinterpret_cast<HANDLE>(handle);
}

DWORD WINAPI GetFileType(HANDLE file) {
  int fd = Descriptor("GetFileType", file);
  struct stat st;
  if (fd < 0 || fstat(fd, &st) != 0) return FILE_TYPE_UNKNOWN;
  if (S_ISREG(st.st_mode) || S_ISBLK(st.st_mode)) return FILE_TYPE_DISK;
  if (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) return FILE_TYPE_PIPE;
  if (S_ISCHR(st.st_mode)) return FILE_TYPE_CHAR;
  return FILE_TYPE_UNKNOWN;
}

// Reads until `toRead` bytes, end of file or nothing more available now.
// Fails only when nothing could be read for a reason other than end of file.
BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, void*) {
  if (read) *read = 0;
  int fd = Descriptor("ReadFile", file);
  if (fd < 0 || (!buffer && toRead)) return FALSE;
  DWORD total = 0;
  while (total < toRead) {
    ssize_t n = ::read(fd, static_cast<char*>(buffer) + total, toRead - total);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && total == 0) return FALSE;
    if (n <= 0) break;
    total += static_cast<DWORD>(n);
  }
  if (read) *read = total;
  return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE object) {
  Files& f = TheFiles();
  std::lock_guard<std::mutex> lock(f.mutex);
  auto it = f.fds.find(reinterpret_cast<uintptr_t>(object));
  if (it == f.fds.end()) {
    Fault("CloseHandle", "unknown handle " + Describe(object));
    return FALSE;
  }
  close(it->second);
  f.fds.erase(it);
  return TRUE;
}

HMODULE WINAPI LoadLibraryA(LPCSTR name) {
  if (!name) return nullptr;
  attachFailed = false;
  void* module = dlopen(name, RTLD_NOW | RTLD_LOCAL);
  // A module whose DllMain refuses DLL_PROCESS_ATTACH is unloaded again and
  // LoadLibraryA fails, as on Win32.
  if (module && attachFailed) {
    dlclose(module);
    return nullptr;
  }
  return static_cast<HMODULE>(module);
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name) {
  // Exports by ordinal (a name pointer below 64K) do not exist here.
  if (!module || reinterpret_cast<uintptr_t>(name) <= 0xffff) return nullptr;
  return reinterpret_cast<FARPROC>(dlsym(module, name));
}

BOOL WINAPI FreeLibrary(HMODULE module) { return module && dlclose(module) == 0; }

}  // extern "C"
