// Resource ids shared by the resource script and the code that uses them.
#pragma once

#define IDD_ABOUT 102
