// Reading and writing whole files for the agenda tool's subcommands, so that
// a file they write is never left half written.
#pragma once

#include <string>

// Reads the file `name` into `*bytes`; false, with errno saying why, when it
// cannot be read.
bool ReadWholeFile(const std::string& name, std::string* bytes);

// Makes the new file `name` holding `bytes`; false, with errno saying why
// (EEXIST when the name is taken), leaving no file behind.
bool WriteNewFile(const std::string& name, const std::string& bytes);

// Writes `bytes` to a new file beside `target` and moves it over `target` in
// one step, so that an interruption leaves `target` as it was or whole.
// 0, or the errno of what failed.
int ReplaceFileContents(const std::string& target, const std::string& bytes);
