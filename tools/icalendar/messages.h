// What the calendar bridge has to tell about its input: warnings, on which it
// goes on, and errors, on which it stops. The agenda tool words them.
#pragma once

#include <stddef.h>

#include <string>
#include <vector>

enum class CalendarMessageKind {
  // Warnings.
  kSubstituted,   // a summary had characters Shift-JIS lacks: {0} the summary
  kShortened,     // a summary was cut to fit an agenda line: {0} the summary
  kUnknownZone,   // a TZID names no zone known: {0} the TZID, {1} the summary
  kNoStart,       // an event without DTSTART was passed over: {0} the summary
  kTooManyLines,  // an event gave more lines than an agenda can use: {0} the summary, {1} how many
  kLeftOut,       // an agenda line was not exported: {0} why (its finding, worded by the program)
  kFileLeftOut,   // an agenda file was not exported: {0} why (likewise)
  // Errors.
  kNotICalendar,  // the file is not iCalendar
  kDamaged,       // the file is damaged: `damage` says how
  kUnreadable,    // an agenda file cannot be read
};

// How a calendar is damaged (a kDamaged message), with what each kind names
// in the message's arguments. Property names are upper-cased.
enum class CalendarDamage {
  kNone,              // the message is not kDamaged
  kNotUtf8,           // a line is not UTF-8
  kNotContentLine,    // a line is no property, BEGIN or END: {0} the line
  kCalendarExpected,  // something other than BEGIN:VCALENDAR opens a calendar
  kEndWithoutBegin,   // an END where no component is open
  kEndExpected,       // an END of another component than the open one: {0} the open one
  kOutsideCalendar,   // a property outside BEGIN:VCALENDAR and END:VCALENDAR
  kEndsOpen,          // the file ends inside a component: {0} the component
  kNotADate,          // DTSTART, DTEND or RECURRENCE-ID names no day there is: {0} the property
  // What libical could not read, by the kind of error it records for it:
  kBadValue,           // a value: {0} the property, {1} the type it is read as (DATE-TIME)
  kBadParameterName,   // a parameter's name: {0} the property, {1} the line
  kBadParameterValue,  // a parameter's value: {0} the property, {1} the line
  kUnknownProperty,    // a property name it does not know: {0} the name
  kBadComponent,       // a component, or something in it no line shows: {0} the component
};

struct CalendarMessage {
  CalendarMessageKind kind;
  std::string file;                    // as messages name it (UTF-8)
  size_t line;                         // from 1; 0 for the file as a whole
  std::vector<std::string> arguments;  // UTF-8, quoted as messages quote text
  CalendarDamage damage = CalendarDamage::kNone;
};

// Whether the bridge stops on a message of this kind (the others are
// warnings).
inline bool IsCalendarError(CalendarMessageKind kind) {
  return kind == CalendarMessageKind::kNotICalendar || kind == CalendarMessageKind::kDamaged ||
         kind == CalendarMessageKind::kUnreadable;
}
