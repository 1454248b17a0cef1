// How vorlinde-agenda speaks to its user: the texts of its one table
// (texts.h) worded in the user's language, and told on a stream in the
// terminal's encoding; and the kinds the libraries return (a file problem, a
// failed fetch, a calendar's message, a command line's problem) worded.
#pragma once

#include <stdio.h>

#include <string>
#include <vector>

#include "tools/arguments/arguments.h"
#include "tools/files/files.h"
#include "tools/icalendar/messages.h"
#include "tools/programs/vorlinde_agenda/texts.h"
#include "tools/web/web.h"

// The user's language: Japanese when the environment is, else English.
Language UserLanguage();

// Words a text in the user's language (UTF-8), its arguments UTF-8 as well.
std::string Say(Text text, const std::vector<std::string>& arguments = {});

// Tells a text, worded in the user's language, on `stream`, in the
// terminal's encoding.
void Tell(FILE* stream, Text text, const std::vector<std::string>& arguments = {});

// A name from the command line as a message shows it (UTF-8). What is built
// from an argument (an address to fetch, a path to schedule) takes it from
// ArgumentToUtf8 instead.
std::string Shown(const std::string& argument);

// Why a file cannot be read or written, in the user's language.
std::string WhyFile(const FileProblem& problem);

// Tells on `stream`, when a chip cannot read the full path of `file` from its
// list (too long, or characters the code page lacks), why and what to do;
// whether it told.
bool TellChipLimits(FILE* stream, const std::string& file);

// Why a web address could not be fetched, in the user's language.
std::string WhyFetch(const FetchResult& fetched);

// Tells a calendar's warning or error on standard error, where it was found
// (FILE:LINE, or FILE) first.
void TellCalendarMessage(const CalendarMessage& message);

// Tells what is wrong with a command line, on standard error.
void TellArgumentProblem(const ArgumentProblem& problem);

// "1 file", "3 warnings": a count and what it counts.
std::string Counted(size_t n, Text one, Text many);
