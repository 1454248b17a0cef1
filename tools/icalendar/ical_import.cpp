#include "tools/icalendar/ical_import.h"

#include <libical/ical.h>
#include <stdio.h>
#include <time.h>

#include <algorithm>
#include <map>
#include <set>

#include "agenda/calendar.h"
#include "tools/agenda_lines/agenda_lines.h"
#include "tools/dates/dates.h"
#include "tools/encodings/encodings.h"
#include "tools/icalendar/entry_text.h"
#include "tools/icalendar/ical_file.h"
#include "tools/icalendar/rule.h"
#include "tools/icalendar/system.h"

namespace {

AgendaDate DateOf(const icaltimetype& time) { return {time.year, time.month, time.day}; }

// The most lines one event may give, whatever its repetition or its length:
// more than one an hour for a year. An event that would give more is cut
// there, with a warning.
constexpr size_t kMostLinesPerEvent = 10000;
// The most instances one repetition rule is asked for: rules that name an
// instance a second still reach the window and fill an agenda from there.
constexpr size_t kMostSteps = 1000000;

// A time of day on a local date.
struct LocalTime {
  AgendaDate date;
  int minutes;  // from midnight
};

// One line of the agenda to be, with what it is sorted by.
struct Entry {
  int64_t day;
  int slot;  // 0 all day, 1 the continuation of a timed event, 2 a timed event
  int minutes;
  size_t event;  // the event's place among all the calendars' events
  std::string line;
};

class Importer {
 public:
  explicit Importer(const ImportOptions& options, std::vector<CalendarMessage>* messages)
      : messages_(messages), first_(DayNumber(options.from)), last_(DayNumber(options.until)) {
    if (!options.zone.empty()) zone_ = icaltimezone_get_builtin_timezone(options.zone.c_str());
  }

  void ImportCalendar(const std::string& name, icalcomponent* calendar,
                      const ScannedComponent& scanned);
  std::string Agenda();

 private:
  // An event as read: its first start, length and text.
  struct Event {
    icalcomponent* component;
    std::string file;
    size_t line;
    size_t order;
    icaltimetype start;
    int64_t lengthDays = 0;  // all-day events
    // Timed events: how long each instance lasts, as calendar days on the
    // clock of the start's zone and then exact seconds. A DTEND gives exact
    // seconds alone; a DURATION its days and weeks as days, its hours,
    // minutes and seconds as seconds.
    int64_t durationDays = 0;
    int64_t durationSeconds = 0;
    std::string summary;
    bool warnedZone = false;
    bool substituted = false;
    bool shortened = false;
    size_t lines = 0;  // written so far
  };

  bool Read(icalcomponent* component, const std::string& file, size_t line, Event* event);
  icaltimetype TimeOf(icalproperty* property, Event* event);
  void CheckZone(icalproperty* property, const icaltimetype& time, Event* event);
  std::string Key(const icaltimetype& time) const;
  LocalTime Localize(const icaltimetype& time) const;
  time_t Instant(const icaltimetype& time) const;
  icaltimetype End(const icaltimetype& start, const Event& event) const;
  bool Wildcard(Event* event, const std::set<std::string>& overridden);
  void Expand(Event* event, const std::set<std::string>& overridden);
  void AddInstance(const icaltimetype& start, Event* event);
  std::string Text(Event* event, size_t prefix);
  bool Add(Event* event, Entry entry);
  void Warn(CalendarMessageKind kind, const Event& event, std::vector<std::string> arguments) {
    for (std::string& argument : arguments) argument = Quoted(argument);
    messages_->push_back({kind, event.file, event.line, std::move(arguments)});
  }

  std::vector<CalendarMessage>* messages_;
  const int64_t first_, last_;
  icaltimezone* zone_ = nullptr;
  size_t events_ = 0;
  std::vector<Entry> dated_;
  std::vector<std::string> wildcards_;
};

icaltimetype Importer::TimeOf(icalproperty* property, Event* event) {
  const icaltimetype time = icalproperty_get_datetime_with_component(property, event->component);
  CheckZone(property, time, event);
  return time;
}

// A time whose TZID neither the file nor libical knows is read as a local time
// by libical without a word; the user hears of it.
void Importer::CheckZone(icalproperty* property, const icaltimetype& time, Event* event) {
  icalparameter* tzid = icalproperty_get_first_parameter(property, ICAL_TZID_PARAMETER);
  if (tzid == nullptr || time.is_date || time.zone != nullptr || event->warnedZone) return;
  event->warnedZone = true;
  Warn(CalendarMessageKind::kUnknownZone, *event, {icalparameter_get_tzid(tzid), event->summary});
}

// What identifies an instance: its date, or its instant (its local time when
// it floats).
std::string Importer::Key(const icaltimetype& time) const {
  char key[48];
  if (time.is_date) {
    snprintf(key, sizeof key, "D%04d%02d%02d", time.year, time.month, time.day);
  } else if (time.zone == nullptr) {
    snprintf(key, sizeof key, "F%s", icaltime_as_ical_string(time));
  } else {
    snprintf(key, sizeof key, "T%lld",
             static_cast<long long>(icaltime_as_timet_with_zone(time, time.zone)));
  }
  return key;
}

LocalTime Importer::Localize(const icaltimetype& time) const {
  icaltimetype local = time;
  if (!time.is_date && time.zone != nullptr) {
    if (zone_ != nullptr) {
      local = icaltime_convert_to_zone(time, zone_);
    } else {
      const time_t instant = icaltime_as_timet_with_zone(time, time.zone);
      const struct tm* fields = localtime(&instant);
      if (fields != nullptr) {
        return {{fields->tm_year + 1900, fields->tm_mon + 1, fields->tm_mday},
                fields->tm_hour * 60 + fields->tm_min};
      }
    }
  }
  return {DateOf(local), time.is_date ? 0 : local.hour * 60 + local.minute};
}

// The instant of a time: in its own zone, or, when it floats, on the clock
// of the zone the import reads local times in.
time_t Importer::Instant(const icaltimetype& time) const {
  if (time.zone != nullptr || zone_ != nullptr) {
    return icaltime_as_timet_with_zone(time, time.zone != nullptr ? time.zone : zone_);
  }
  struct tm fields = {};
  fields.tm_year = time.year - 1900;
  fields.tm_mon = time.month - 1;
  fields.tm_mday = time.day;
  fields.tm_hour = time.hour;
  fields.tm_min = time.minute;
  fields.tm_sec = time.second;
  fields.tm_isdst = -1;
  return mktime(&fields);
}

// When an instance that begins at `start` ends: its calendar days counted on
// the start's own clock (the wall clock when it floats), then its exact
// seconds, as an instant in UTC.
icaltimetype Importer::End(const icaltimetype& start, const Event& event) const {
  icaltimetype end = start;
  icaltime_adjust(&end, static_cast<int>(event.durationDays), 0, 0, 0);
  const time_t instant = Instant(end) + static_cast<time_t>(event.durationSeconds);
  return icaltime_from_timet_with_zone(instant, 0, icaltimezone_get_utc_timezone());
}

bool Importer::Read(icalcomponent* component, const std::string& file, size_t line, Event* event) {
  event->component = component;
  event->file = file;
  event->line = line;
  event->order = events_++;
  const char* summary = icalcomponent_get_summary(component);
  event->summary = summary != nullptr ? summary : "";
  icalproperty* start = icalcomponent_get_first_property(component, ICAL_DTSTART_PROPERTY);
  if (start == nullptr) {
    Warn(CalendarMessageKind::kNoStart, *event, {event->summary});
    return false;
  }
  event->start = TimeOf(start, event);
  icalproperty* end = icalcomponent_get_first_property(component, ICAL_DTEND_PROPERTY);
  icalproperty* duration = icalcomponent_get_first_property(component, ICAL_DURATION_PROPERTY);
  if (event->start.is_date) {
    if (end != nullptr) TimeOf(end, event);
    const icaltimetype finish = icalcomponent_get_dtend(component);
    event->lengthDays = icaltime_is_null_time(finish)
                            ? 1
                            : DayNumber(DateOf(finish)) - DayNumber(DateOf(event->start));
  } else if (end != nullptr) {
    // An end is an instant, whatever the clocks did between, and every
    // instance lasts as long as the first (RFC 5545 3.8.5.3), floating
    // times too.
    event->durationSeconds = Instant(TimeOf(end, event)) - Instant(event->start);
  } else if (duration != nullptr) {
    const icaldurationtype length = icalproperty_get_duration(duration);
    const int64_t sign = length.is_neg ? -1 : 1;
    event->durationDays = sign * (length.weeks * 7 + length.days);
    event->durationSeconds = sign * (length.hours * 3600 + length.minutes * 60 + length.seconds);
  }
  return true;
}

// The entry text of an event, warned about once.
std::string Importer::Text(Event* event, size_t prefix) {
  bool substituted = false, shortened = false;
  std::string text =
      EntryText(event->summary, kLongestAgendaLine - prefix, &substituted, &shortened);
  if (substituted && !event->substituted) {
    event->substituted = true;
    Warn(CalendarMessageKind::kSubstituted, *event, {event->summary});
  }
  if (shortened && !event->shortened) {
    event->shortened = true;
    Warn(CalendarMessageKind::kShortened, *event, {event->summary});
  }
  return text;
}

// A plain yearly, monthly or daily all-day event, running since before the
// window and for ever, is one wildcard line.
bool Importer::Wildcard(Event* event, const std::set<std::string>& overridden) {
  icalcomponent* c = event->component;
  if (!event->start.is_date || event->lengthDays != 1 || !overridden.empty() ||
      icalcomponent_count_properties(c, ICAL_RRULE_PROPERTY) != 1 ||
      icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY) != nullptr ||
      icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY) != nullptr ||
      DayNumber(DateOf(event->start)) > first_) {
    return false;
  }
  const icalrecurrencetype rule = RuleAsWritten(
      icalproperty_get_rrule(icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY)));
  if (rule.count != 0 || !icaltime_is_null_time(rule.until) || rule.interval != 1) return false;
  // Each list holds nothing, or only the start's own month or day.
  auto only = [](const short* list, int value) {
    return list[0] == ICAL_RECURRENCE_ARRAY_MAX ||
           (list[0] == value && list[1] == ICAL_RECURRENCE_ARRAY_MAX);
  };
  const int none = ICAL_RECURRENCE_ARRAY_MAX;
  if (!only(rule.by_second, none) || !only(rule.by_minute, none) || !only(rule.by_hour, none) ||
      !only(rule.by_day, none) || !only(rule.by_year_day, none) || !only(rule.by_week_no, none) ||
      !only(rule.by_set_pos, none)) {
    return false;
  }
  AgendaDate date = DateOf(event->start);
  const bool dayOnly = only(rule.by_month_day, date.day);
  if (rule.freq == ICAL_YEARLY_RECURRENCE && only(rule.by_month, date.month) && dayOnly) {
    date.year = 0;
  } else if (rule.freq == ICAL_MONTHLY_RECURRENCE && only(rule.by_month, none) && dayOnly) {
    date = {0, 0, date.day};
  } else if (rule.freq == ICAL_DAILY_RECURRENCE && only(rule.by_month, none) &&
             only(rule.by_month_day, none)) {
    date = {0, 0, 0};
  } else {
    return false;
  }
  wildcards_.push_back(DateColumns(date) + " " + Text(event, kEntryTextAt));
  return true;
}

// The lines of one instance inside the window: an all-day event on each day
// it covers, a timed one at its start and as continued on each further day.
// Adds a line of the event, unless it has as many as an agenda can use; the
// first time it has, says so.
bool Importer::Add(Event* event, Entry entry) {
  if (event->lines == kMostLinesPerEvent) {
    Warn(CalendarMessageKind::kTooManyLines, *event,
         {event->summary, std::to_string(kMostLinesPerEvent)});
  }
  if (event->lines++ >= kMostLinesPerEvent) return false;
  dated_.push_back(std::move(entry));
  return true;
}

void Importer::AddInstance(const icaltimetype& start, Event* event) {
  if (event->lines > kMostLinesPerEvent) return;
  const LocalTime begin = Localize(start);
  const int64_t startDay = DayNumber(begin.date);
  if (event->start.is_date) {
    const int64_t days = std::max<int64_t>(event->lengthDays, 1);
    for (int64_t day = std::max(startDay, first_); day < startDay + days && day <= last_; ++day) {
      const AgendaDate date = DateOfDay(day);
      if (!Add(event,
               {day, 0, 0, event->order, DateColumns(date) + " " + Text(event, kEntryTextAt)})) {
        return;
      }
    }
    return;
  }
  if (startDay >= first_ && startDay <= last_) {
    if (!Add(event, {startDay, 2, begin.minutes, event->order,
                     DateColumns(begin.date) + " " + ClockColumns(begin.minutes) + " " +
                         Text(event, kTimedEntryTextAt)})) {
      return;
    }
  }
  const LocalTime end = Localize(End(start, *event));
  const int64_t endDay = DayNumber(end.date) - (end.minutes == 0);
  bool unused = false;
  for (int64_t day = std::max(startDay + 1, first_); day <= std::min(endDay, last_); ++day) {
    const AgendaDate date = DateOfDay(day);
    const std::string clock =
        day == DayNumber(end.date) ? " ～" + ClockColumns(end.minutes) + " " : " ～ ";
    if (!Add(event, {day, 1, 0, event->order,
                     DateColumns(date) + Utf8ToShiftJis(clock, &unused) +
                         Text(event, kContinuedEntryTextAt)})) {
      return;
    }
  }
}

// Every instance of the event that touches the window: the repetition rules'
// and the extra dates', less the excluded dates and those an override or a
// cancellation replaces.
void Importer::Expand(Event* event, const std::set<std::string>& overridden) {
  icalcomponent* c = event->component;
  std::set<std::string> excluded = overridden;
  for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_EXDATE_PROPERTY); p != nullptr;
       p = icalcomponent_get_next_property(c, ICAL_EXDATE_PROPERTY)) {
    excluded.insert(Key(TimeOf(p, event)));
  }
  std::map<std::string, icaltimetype> instances;
  instances[Key(event->start)] = event->start;
  for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_RDATE_PROPERTY); p != nullptr;
       p = icalcomponent_get_next_property(c, ICAL_RDATE_PROPERTY)) {
    const icaltimetype time = TimeOf(p, event);
    if (!icaltime_is_null_time(time)) instances[Key(time)] = time;
  }
  // Instances that begin up to this many days before the window reach into it.
  const int64_t reach = event->start.is_date
                            ? event->lengthDays
                            : event->durationDays + event->durationSeconds / 86400 + 2;
  for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_RRULE_PROPERTY); p != nullptr;
       p = icalcomponent_get_next_property(c, ICAL_RRULE_PROPERTY)) {
    const icalrecurrencetype rule = RuleAsWritten(icalproperty_get_rrule(p));
    icalrecur_iterator* it = icalrecur_iterator_new(rule, event->start);
    if (it == nullptr) continue;
    // A rule without a count may start late, near the window.
    const int64_t startDay = DayNumber(DateOf(event->start));
    if (rule.count == 0 && startDay < first_ - reach - 2) {
      icaltimetype from = event->start;
      icaltime_adjust(&from, static_cast<int>(first_ - reach - 2 - startDay), 0, 0, 0);
      icalrecur_iterator_set_start(it, from);
    }
    // Every instance that reaches the window gives a line at least: a rule
    // that names more than an agenda can use is not followed further, nor
    // for ever when it names an instance each second.
    size_t steps = 0;
    for (icaltimetype time = icalrecur_iterator_next(it);
         !icaltime_is_null_time(time) && steps++ < kMostSteps &&
         instances.size() <= kMostLinesPerEvent;
         time = icalrecur_iterator_next(it)) {
      const int64_t day = DayNumber(DateOf(time));
      if (day > last_ + 1) break;
      if (day + reach >= first_ - 1) instances[Key(time)] = time;
    }
    icalrecur_iterator_free(it);
  }
  for (const auto& instance : instances) {
    if (excluded.count(instance.first) == 0) AddInstance(instance.second, event);
  }
}

void Importer::ImportCalendar(const std::string& name, icalcomponent* calendar,
                              const ScannedComponent& scanned) {
  // The events in the file's order, with the line each begins on.
  std::vector<std::pair<icalcomponent*, size_t>> events;
  size_t index = 0;
  for (icalcomponent* c = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT);
       c != nullptr; c = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT), ++index) {
    if (icalcomponent_isa(c) != ICAL_VEVENT_COMPONENT) continue;
    events.push_back({c, index < scanned.children.size() ? scanned.children[index].line : 0});
  }
  // Overrides and cancellations of single instances, by the event's UID.
  std::map<std::string, std::set<std::string>> overridden;
  std::vector<Event> masters, overrides;
  for (const auto& found : events) {
    Event event;
    if (!Read(found.first, name, found.second, &event)) continue;
    const char* uid = icalcomponent_get_uid(found.first);
    icalproperty* id = icalcomponent_get_first_property(found.first, ICAL_RECURRENCEID_PROPERTY);
    const bool cancelled = icalcomponent_get_status(found.first) == ICAL_STATUS_CANCELLED;
    if (id != nullptr) {
      overridden[uid != nullptr ? uid : ""].insert(Key(TimeOf(id, &event)));
      if (!cancelled) overrides.push_back(event);
    } else if (!cancelled) {
      masters.push_back(event);
    }
  }
  for (Event& event : masters) {
    const char* uid = icalcomponent_get_uid(event.component);
    const std::set<std::string>& replaced = overridden[uid != nullptr ? uid : ""];
    if (!Wildcard(&event, replaced)) Expand(&event, replaced);
  }
  for (Event& event : overrides) AddInstance(event.start, &event);
}

std::string Importer::Agenda() {
  std::stable_sort(dated_.begin(), dated_.end(), [](const Entry& a, const Entry& b) {
    if (a.day != b.day) return a.day < b.day;
    if (a.slot != b.slot) return a.slot < b.slot;
    if (a.minutes != b.minutes) return a.minutes < b.minutes;
    return a.event < b.event;
  });
  std::string agenda;
  for (const Entry& entry : dated_) agenda += entry.line + "\r\n";
  for (const std::string& line : wildcards_) agenda += line + "\r\n";
  return agenda;
}

}  // namespace

bool IsZoneName(const std::string& name) {
  if (name.empty() || name[0] == '/' || name.find("..") != std::string::npos) return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
           c == '_' || c == '-' || c == '+';
  });
}

bool IsKnownZone(const std::string& name) {
  // libical takes a name for a path in its zone data: only a name that
  // finds a regular file there reaches it.
  return IsZoneName(name) && ZoneFileFound(name) &&
         icaltimezone_get_builtin_timezone(name.c_str()) != nullptr;
}

bool ImportCalendars(const std::vector<CalendarText>& calendars, const ImportOptions& options,
                     std::string* agenda, std::vector<CalendarMessage>* messages) {
  Importer importer(options, messages);
  for (const CalendarText& calendar : calendars) {
    CalendarFile file;
    if (!ReadCalendarFile(calendar.name, calendar.text, &file, messages)) return false;
    if (icalcomponent_isa(file.root) == ICAL_VCALENDAR_COMPONENT) {
      importer.ImportCalendar(calendar.name, file.root, file.scanned.children[0]);
      continue;
    }
    size_t index = 0;
    for (icalcomponent* c = icalcomponent_get_first_component(file.root, ICAL_ANY_COMPONENT);
         c != nullptr; c = icalcomponent_get_next_component(file.root, ICAL_ANY_COMPONENT)) {
      importer.ImportCalendar(calendar.name, c, file.scanned.children[index++]);
    }
  }
  *agenda = importer.Agenda();
  return true;
}
