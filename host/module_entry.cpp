#include "host/module.h"

namespace {

// The one process-wide value: written once, when the module is loaded.
HINSTANCE moduleInstance = nullptr;

}  // namespace

HINSTANCE ModuleInstance() { return moduleInstance; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) moduleInstance = instance;
  return TRUE;
}
