// Which dropped files are calendars, and the agenda file beside a dropped
// calendar it is imported into.
#pragma once

#include <functional>
#include <string>

// Where a calendar dropped onto the program (an .ics file, or an Internet
// shortcut to a calendar's web address) is imported, and whether into a new
// agenda file or by refreshing one a drop made before.
struct CalendarTarget {
  std::string agenda;  // NAME.vrn beside NAME.ics, or NAME-2.vrn, NAME-3.vrn...
  bool refresh;        // it exists, written by import from this calendar
  bool renamed;        // NAME.vrn is another file, which is kept
};

// Whether `name` is a calendar's: it ends in ".ics", or in ".url" (an
// Internet shortcut, as a browser makes of a link dragged out of it), in any
// case.
bool IsCalendarName(const std::string& name);
bool IsShortcutName(const std::string& name);

// The first of NAME.vrn, NAME-2.vrn, NAME-3.vrn... beside `calendar` that
// does not exist, or that `importedFromIt` says was imported from it: any
// other file is never written over. No agenda when a thousand names are
// taken.
CalendarTarget DroppedCalendarTarget(const std::string& calendar,
                                     const std::function<bool(const std::string&)>& exists,
                                     const std::function<bool(const std::string&)>& importedFromIt);
