#include "tools/host/dialogs.h"

bool CanShowDialogs() { return false; }
