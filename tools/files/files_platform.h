// What the files room asks of the platform (files_posix.cpp,
// files_windows.cpp).
#pragma once

#include <stdio.h>

#include <string>

#include "tools/files/files.h"

// The problem an error number of the C library stands for (files.cpp).
FileProblem ProblemOf(int error);

// Opens a new file for writing bytes; null, with the problem, when the name is
// taken or the file cannot be made.
FILE* CreateNewFile(const std::string& name, FileProblem* problem);

// Flushes what was written to `file` to the disk.
bool FlushToDisk(FILE* file);

// Moves the file `from` over `to` in one step, replacing it.
FileProblem MoveFileOver(const std::string& from, const std::string& to);

// Opens the file `name` to read its bytes ("rb"); null, with errno set, when
// it cannot.
FILE* OpenToRead(const std::string& name);

// What is at `name`: kNone for a regular file, kFolder, kNotAFile, or why it
// cannot be looked at.
FileProblem KindAt(const std::string& name);
