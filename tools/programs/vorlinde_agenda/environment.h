// What vorlinde-agenda reads from its environment. Only the program reads
// it: the libraries are given what they need.
#pragma once

#include <string>

// The variable's value as UTF-8 (on Windows from the ANSI code page, as the
// arguments are), "" when it is not set.
std::string EnvironmentText(const char* name);

// The locale the user's messages follow: the first of LC_ALL, LC_MESSAGES
// and LANG that is set.
std::string MessageLocale();
