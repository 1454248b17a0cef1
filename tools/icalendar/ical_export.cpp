#include "tools/icalendar/ical_export.h"

#include <libical/ical.h>
#include <stdio.h>

#include <algorithm>
#include <map>

#include "agenda/calendar.h"
#include "agenda/line.h"
#include "tools/agenda_lines/agenda_lines.h"
#include "tools/encodings/encodings.h"
#include "tools/strings/strings.h"

namespace {

// The year a wildcard line's events begin in: the first day of their
// repetition that a calendar program shows.
constexpr int32_t kEveryYearFrom = 1970;

// A stable name for a line: the FNV-1a hash of its bytes, and its count
// when the same line came before.
std::string Uid(const std::string& line, std::map<std::string, int>* seen) {
  const uint64_t hash = Fnv1a64(line);
  char uid[64];
  const int count = ++(*seen)[line];
  if (count == 1) {
    snprintf(uid, sizeof uid, "%016llx@vorlinde-agenda", static_cast<unsigned long long>(hash));
  } else {
    snprintf(uid, sizeof uid, "%016llx-%d@vorlinde-agenda", static_cast<unsigned long long>(hash),
             count);
  }
  return uid;
}

icaltimetype Date(int32_t year, int32_t month, int32_t day) {
  icaltimetype date = icaltime_null_time();
  date.year = year;
  date.month = month;
  date.day = day;
  date.is_date = 1;
  return date;
}

// The first day and the repetition rule ("" for none) of a reading whose
// fields name days the calendar has.
void Repetition(const AgendaLineReading& r, icaltimetype* start, std::string* rule) {
  char text[96];
  if (r.year == 0 && r.month == 0 && r.day == 0) {
    *start = Date(kEveryYearFrom, 1, 1);
    snprintf(text, sizeof text, "FREQ=DAILY");
  } else if (r.year == 0 && r.month == 0) {
    *start = Date(kEveryYearFrom, 1, r.day);
    snprintf(text, sizeof text, "FREQ=MONTHLY;BYMONTHDAY=%d", r.day);
  } else if (r.year == 0 && r.day == 0) {
    *start = Date(kEveryYearFrom, r.month, 1);
    snprintf(text, sizeof text, "FREQ=DAILY;BYMONTH=%d", r.month);
  } else if (r.year == 0) {
    // 29 February comes in leap years only.
    int32_t year = kEveryYearFrom;
    while (r.day > DaysInMonth(year, r.month)) ++year;
    *start = Date(year, r.month, r.day);
    snprintf(text, sizeof text, "FREQ=YEARLY;BYMONTH=%d;BYMONTHDAY=%d", r.month, r.day);
  } else if (r.month == 0 && r.day == 0) {
    *start = Date(r.year, 1, 1);
    snprintf(text, sizeof text, "FREQ=DAILY;UNTIL=%04d1231", r.year);
  } else if (r.day == 0) {
    *start = Date(r.year, r.month, 1);
    snprintf(text, sizeof text, "FREQ=DAILY;UNTIL=%04d%02d%02d", r.year, r.month,
             DaysInMonth(r.year, r.month));
  } else if (r.month == 0) {
    // The first month of the year that has the day.
    int32_t month = 1;
    while (r.day > DaysInMonth(r.year, month)) ++month;
    *start = Date(r.year, month, r.day);
    snprintf(text, sizeof text, "FREQ=MONTHLY;BYMONTHDAY=%d;UNTIL=%04d1231", r.day, r.year);
  } else {
    *start = Date(r.year, r.month, r.day);
    text[0] = '\0';
  }
  *rule = text;
}

icalcomponent* Event(const std::string& line, const AgendaLineReading& reading,
                     const std::string& uid, const icaltimetype& stamp) {
  icaltimetype start;
  std::string rule;
  Repetition(reading, &start, &rule);
  icalcomponent* event = icalcomponent_new_vevent();
  icalcomponent_add_property(event, icalproperty_new_uid(uid.c_str()));
  icalcomponent_add_property(event, icalproperty_new_dtstamp(stamp));
  icalcomponent_add_property(event, icalproperty_new_dtstart(start));
  if (!rule.empty()) {
    icalcomponent_add_property(
        event, icalproperty_new_rrule(icalrecurrencetype_from_string(rule.c_str())));
  }
  const std::string text = line.substr(reading.textBegin, reading.textEnd - reading.textBegin);
  icalcomponent_add_property(event, icalproperty_new_summary(ShiftJisToUtf8(text).c_str()));
  return event;
}

// Adds the events of one file's entry lines to `calendar`.
bool ExportFile(const AgendaFileName& file, const icaltimetype& stamp,
                std::map<std::string, int>* seen, icalcomponent* calendar,
                std::vector<ExportMessage>* messages) {
  AgendaChecker checker{CheckOptions()};
  AgendaLines lines(file.name.c_str());
  std::vector<Finding> findings;
  if (!lines.IsOpen() || !checker.Begin(file.name, &findings)) {
    messages->push_back({{CalendarMessageKind::kUnreadable, file.shown, 0, {}}, Finding()});
    return false;
  }
  // What the checker finds is left out, with the finding.
  auto leaveOut = [&](const std::vector<Finding>& found) {
    for (const Finding& finding : found) {
      if (finding.kind == FindingKind::kReading) continue;
      const bool fileWide = IsFileWide(finding.kind);
      messages->push_back(
          {{fileWide ? CalendarMessageKind::kFileLeftOut : CalendarMessageKind::kLeftOut,
            file.shown,
            fileWide ? 0 : finding.line,
            {}},
           finding});
      return true;
    }
    return false;
  };
  if (leaveOut(findings)) return true;
  AgendaLine line;
  while (checker.LinesAreText() && lines.Next(&line)) {
    findings.clear();
    checker.CheckLine(line, &findings);
    if (leaveOut(findings)) continue;
    const std::string entry = line.Entry();
    AgendaLineReading reading;
    // Comments and empty lines; an entry line that shows nothing is a finding.
    if (entry.empty() || entry[0] == ';' || !ReadAgendaLine(entry.data(), entry.size(), &reading)) {
      continue;
    }
    icalcomponent_add_component(calendar, Event(entry, reading, Uid(entry, seen), stamp));
  }
  findings.clear();
  checker.End(&findings);
  leaveOut(findings);
  return true;
}

}  // namespace

std::string FoldLines(const std::string& text) {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find("\r\n", at);
    if (end == std::string::npos) end = text.size();
    size_t width = 0;
    for (size_t i = at; i < end;) {
      size_t n = 1;
      while (i + n < end && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
      if (width + n > 75) {
        out += "\r\n ";
        width = 1;
      }
      out.append(text, i, n);
      width += n;
      i += n;
    }
    out += "\r\n";
    at = end + 2;
  }
  return out;
}

bool ExportAgendas(const std::vector<AgendaFileName>& files, time_t stamp, std::string* ics,
                   std::vector<ExportMessage>* messages) {
  icalcomponent* calendar = icalcomponent_new_vcalendar();
  icalcomponent_add_property(calendar, icalproperty_new_prodid("-//Vorlinde//vorlinde-agenda//JA"));
  icalcomponent_add_property(calendar, icalproperty_new_version("2.0"));
  const icaltimetype when =
      icaltime_from_timet_with_zone(stamp, 0, icaltimezone_get_utc_timezone());
  std::map<std::string, int> seen;
  bool read = true;
  for (const AgendaFileName& file : files) {
    if (!ExportFile(file, when, &seen, calendar, messages)) read = false;
  }
  if (read) {
    // libical folds lines its own way; they are unfolded and folded again.
    char* text = icalcomponent_as_ical_string_r(calendar);
    std::string unfolded = text;
    icalmemory_free_buffer(text);
    for (size_t at; (at = unfolded.find("\r\n ")) != std::string::npos;) unfolded.erase(at, 3);
    *ics = FoldLines(unfolded);
  }
  icalcomponent_free(calendar);
  return read;
}
