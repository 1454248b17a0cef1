// How vorlinde-agenda speaks to its user: every text of the one table
// (tools/programs/vorlinde_agenda/) in the user's language, in the terminal's encoding.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

#include "tools/arguments/arguments.h"
#include "tools/files/files.h"
#include "tools/programs/vorlinde_agenda/texts.h"

// The user's language: Japanese when the terminal is, else English.
Language UserLanguage();

// A text in the user's language (UTF-8), its arguments UTF-8 as well.
std::string Say(Text text, const std::vector<std::string>& arguments = {});

// Writes a text in the user's language to `stream`, in the terminal's
// encoding.
void Tell(FILE* stream, Text text, const std::vector<std::string>& arguments = {});

// A name from the command line as a message shows it (UTF-8).
std::string Shown(const std::string& argument);

// Why a file cannot be read or written, in the user's language.
std::string Why(const FileProblem& problem);

// Tells what is wrong with a command line, on standard error.
void TellProblem(const ArgumentProblem& problem);

// "1 file", "3 warnings": a count and what it counts.
std::string Counted(size_t n, Text one, Text many);
