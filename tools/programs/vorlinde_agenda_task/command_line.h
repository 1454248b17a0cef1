// What the windowless companion vorlinde-agenda-task.exe passes on to
// vorlinde-agenda.exe: its own command line after its program name, as it is,
// so that the arguments reach vorlinde-agenda.exe exactly as they reached it,
// with no parsing and quoting in between that could change them. Plain
// character arrays, so that the program needs no C++ library.
#pragma once

#include <stddef.h>

// Where the arguments start in `commandLine`: after the program's name and
// the blanks that follow it. The name ends as the C runtime and
// CommandLineToArgvW end it: at the next quote when it starts with one, else
// at the first blank; but a command line that starts with `programPath`
// itself unquoted (compared without regard to ASCII case), as a scheduler
// might write a path with spaces, loses exactly that path.
size_t ArgumentsStart(const wchar_t* commandLine, const wchar_t* programPath);
