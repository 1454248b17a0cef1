// Shared helpers of the stand-in's implementation files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace standin::detail {

// Records a misuse that real Windows would let pass silently or crash on, and
// prints it with the name of the call that saw it.
void Fault(const char* call, const std::string& what);

// Handle numbers for the objects the stand-in invents: counting up from `base`
// in steps of 16, so they are odd, never a heap pointer and easy to tell apart
// in a debugger (one base per kind of object).
inline uintptr_t NextToken(uintptr_t base, uintptr_t& counter) { return base + 16 * counter++; }

std::string Describe(const void* handle);

// Set while a module loaded by LoadLibraryA refuses DLL_PROCESS_ATTACH.
void ModuleAttachFailed();

}  // namespace standin::detail
