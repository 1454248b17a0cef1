// import and refresh: agenda files made from calendars (files or web
// addresses), made again from the calendars they record (origin.h), and
// refreshed every day by the system. The front end hands in what it alone
// knows: today, the limits of a fetch, how a name is shown. Nothing here
// prints or reads the environment; each call returns what came of it, for
// the front end to word.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

#include "agenda/agenda.h"
#include "tools/files/files.h"
#include "tools/icalendar/messages.h"
#include "tools/icalendar/origin.h"
#include "tools/web/web.h"

// A file name, as given or as an agenda file records it, as messages show it
// (UTF-8).
using ShownName = std::string (*)(const std::string& name);

struct ImportSettings {
  AgendaDate today;
  FetchLimits limits;
  ShownName shown;  // a name as messages show it
  ShownName utf8;   // a name as UTF-8, for what is built from it: the address fetched
};

enum class ImportOutcome {
  kDone,
  kUnknownZone,          // the zone local times are read in is not known: `subject` the zone
  kUnknownRecordedZone,  // refresh: the zone the header records is not known: `subject`
  kSourceTooLong,        // a source's record is longer than `longest` bytes: `subject` the source
  kCannotReadSource,     // a calendar file cannot be read: `subject`, `problem`
  kCannotFetch,          // a calendar cannot be fetched: `subject` the address masked, `fetched`
  kRefused,              // a calendar is not iCalendar or is damaged: the error ends `messages`
  kCannotReadAgenda,     // the agenda file to refresh cannot be read: `problem`
  kNotImported,          // the agenda file to refresh was not written by import
  kCannotReplace,        // the agenda file refreshed cannot be written: `problem`, and
                         // `temporary` when it is the temporary file beside it that cannot
  kBusy,                 // another run kept the file's refresh lock past the wait
};

struct ImportResult {
  ImportOutcome outcome = ImportOutcome::kDone;
  std::string subject;  // UTF-8, as messages name it
  FileProblem problem;
  FetchResult fetched;  // its error and detail
  size_t longest = 0;
  // The calendars' warnings, and the error of one refused.
  std::vector<CalendarMessage> messages;
  std::string temporary;          // kCannotReplace: the temporary file not made
  std::string agenda;             // the agenda file made
  size_t added = 0, removed = 0;  // refresh: entry lines gained and lost
};

// import: the agenda file (Shift-JIS, CR LF) of the calendars at
// `origin.sources`, web addresses or files as they open from here, in the
// window and zone of `origin`, which it records for refresh as the agenda file
// `output` ("" for standard output) finds them. The first calendar that
// cannot be had or read ends it.
ImportResult ImportAgenda(ImportOrigin origin, const std::string& output,
                          const ImportSettings& settings);

// refresh: the agenda file `file` made again from the origin it records, its
// window moved to today, and written over it; left as it was when any
// calendar cannot be had or read. The header is data: its zone must be a
// zone's name, its files regular files, never a device. One refresh of a
// file runs at a time: another waits for it, RefreshWaitSeconds at most.
ImportResult RefreshAgenda(const std::string& file, const ImportSettings& settings);

// How long a refresh waits for another refresh of the same file: longer than
// that one may take for a fetch, connection and transfer, with room to spare.
int RefreshWaitSeconds(const FetchLimits& limits);

// Whether `agendaFile` was written by import from `source` alone.
bool ImportedFrom(const std::string& agendaFile, const std::string& source);

// How the agenda file `file` was given to the system to refresh every day, or
// taken back.
struct ScheduleResult {
  enum Outcome {
    kDone,         // the task `task` is registered, or removed
    kCannotRead,   // the agenda file cannot be read: `problem`
    kNotImported,  // it was not written by import
    kUnfitName,    // its path holds a control character, which no task or crontab carries
    kNoScheduler,  // no Task Scheduler here: `crontabLine` is the user's to add or remove
    kRefused,      // the Task Scheduler refused, or could not be run: `code`
  } outcome = kDone;
  std::string path;  // the agenda file's full path (UTF-8)
  FileProblem problem;
  std::string task;
  std::string crontabLine;
  unsigned long code = 0;
};

// --schedule (`schedule`) or --unschedule of the agenda file `file`, its
// path given to the schedule as `pathText` makes it UTF-8; `login` is the
// user's login name from the environment, for a machine whose user database
// has no entry for the user.
ScheduleResult ScheduleDailyRefresh(const std::string& file, bool schedule, ShownName pathText,
                                    const std::string& login);
