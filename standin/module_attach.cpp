// Linked into the native build of a module: Linux calls no DLL entry point, so
// the module's DllMain is called from the shared object's constructor and
// destructor instead, with the module's load address as its instance handle.
#include <dlfcn.h>

#include <cstdio>

#include "internal.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

namespace {

char anchor;  // an object of this module, to find where the module was loaded

HINSTANCE Instance() {
  Dl_info info;
  if (dladdr(&anchor, &info) && info.dli_fbase) return static_cast<HINSTANCE>(info.dli_fbase);
  return reinterpret_cast<HINSTANCE>(&anchor);
}

__attribute__((constructor)) void Attach() {
  if (DllMain(Instance(), DLL_PROCESS_ATTACH, nullptr)) return;
  std::fprintf(stderr, "standin: the module refused DLL_PROCESS_ATTACH\n");
  standin::detail::ModuleAttachFailed();
}

// Also reached after a refused attach, as Win32 does before unloading.
__attribute__((destructor)) void Detach() { DllMain(Instance(), DLL_PROCESS_DETACH, nullptr); }

}  // namespace
