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

// The file `path` names, links followed; `path` itself when it names nothing
// yet.
std::string FollowedPath(const std::string& path);

// kReadOnly when the existing file `path` may not be written; nothing when it
// may, or does not exist.
FileProblem WhyNotWritable(const std::string& path);

// Makes a new file beside `target` under a name no other file has, made
// exclusively and readable by the owner alone, then given what `target` was
// (mode, owner and group where the process may set them); its name in
// `*name`. Null, with the problem and the name tried last, when it cannot.
FILE* CreateTemporaryFor(const std::string& target, std::string* name, FileProblem* problem);

// Opens the file `name` to read its bytes ("rb"); null, with errno set, when
// it cannot.
FILE* OpenToRead(const std::string& name);

// What is at `name`: kNone for a regular file, kFolder, kNotAFile, or why it
// cannot be looked at.
FileProblem KindAt(const std::string& name);
