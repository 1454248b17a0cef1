#include "tools/desktop/desktop.h"

bool CanShowDialogs() { return false; }

bool PutOnClipboard(const std::string&) { return false; }
