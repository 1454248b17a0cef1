// The module's own instance handle, kept from the moment the module is loaded.
#pragma once

#include <windows.h>

HINSTANCE ModuleInstance();
