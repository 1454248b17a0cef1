#include "tools/icalendar/ical_file.h"

#include <ctype.h>

#include "agenda/calendar.h"
#include "tools/encodings/encodings.h"

CalendarFile::~CalendarFile() {
  if (root != nullptr) icalcomponent_free(root);
}

namespace {

struct ContentLine {
  std::string text;  // unfolded
  size_t line;       // where it begins, from 1
};

// The file's content lines, unfolded (a line that begins with a space or tab
// continues the one before it); empty lines are passed over.
std::vector<ContentLine> Unfold(const std::string& text) {
  std::vector<ContentLine> lines;
  size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  for (size_t number = 1; at < text.size(); ++number) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    at = end + 1;
    if (!line.empty() && (line[0] == ' ' || line[0] == '\t') && !lines.empty()) {
      lines.back().text += line.substr(1);
    } else if (!line.empty()) {
      lines.push_back({line, number});
    }
  }
  return lines;
}

// The name of a content line (upper-cased), or "" when it has none.
std::string NameOf(const std::string& line) {
  size_t end = 0;
  while (end < line.size() &&
         (isalnum(static_cast<unsigned char>(line[end])) || line[end] == '-')) {
    ++end;
  }
  if (end == 0 || end == line.size() || (line[end] != ':' && line[end] != ';')) return "";
  std::string name = line.substr(0, end);
  for (char& c : name) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return name;
}

std::string ValueOf(const std::string& line) {
  const size_t colon = line.find(':');
  std::string value = colon == std::string::npos ? "" : line.substr(colon + 1);
  for (char& c : value) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  return value;
}

class Scanner {
 public:
  Scanner(const std::string& name, std::vector<CalendarMessage>* messages)
      : name_(name), messages_(messages) {}

  // Scans the lines into `*root`'s children (one per VCALENDAR).
  bool Scan(const std::vector<ContentLine>& lines, ScannedComponent* root) {
    if (lines.empty() || NameOf(lines[0].text) != "BEGIN" ||
        ValueOf(lines[0].text) != "VCALENDAR") {
      messages_->push_back({CalendarMessageKind::kNotICalendar, name_, 1, {}});
      return false;
    }
    std::vector<std::pair<std::string, ScannedComponent*>> open;
    for (const ContentLine& line : lines) {
      const std::string name = NameOf(line.text);
      if (!IsUtf8(line.text)) return Damaged(line.line, "the text is not UTF-8");
      if (name.empty()) return Damaged(line.line, "not a content line: " + Quoted(line.text));
      const std::string value = ValueOf(line.text);
      if (name == "BEGIN") {
        if (open.empty() && value != "VCALENDAR")
          return Damaged(line.line, "BEGIN:VCALENDAR expected");
        ScannedComponent* parent = open.empty() ? root : open.back().second;
        parent->children.emplace_back();
        parent->children.back().line = line.line;
        open.push_back({value, &parent->children.back()});
      } else if (name == "END") {
        if (open.empty() || open.back().first != value) {
          return Damaged(line.line, open.empty()
                                        ? "END without BEGIN"
                                        : "END:" + Quoted(open.back().first) + " expected");
        }
        open.pop_back();
      } else if (open.empty()) {
        return Damaged(line.line, "a property outside BEGIN:VCALENDAR and END:VCALENDAR");
      } else {
        open.back().second->properties.push_back({name, line.line});
      }
    }
    if (!open.empty()) {
      return Damaged(lines.back().line, "the file ends before END:" + Quoted(open.back().first));
    }
    return true;
  }

 private:
  bool Damaged(size_t line, const std::string& what) {
    messages_->push_back({CalendarMessageKind::kDamaged, name_, line, {what}});
    return false;
  }

  const std::string& name_;
  std::vector<CalendarMessage>* messages_;
};

bool IsValidTime(const icaltimetype& time) {
  if (icaltime_is_null_time(time)) return true;
  if (!IsValidDate({time.year, time.month, time.day})) return false;
  return time.is_date || (time.hour < 24 && time.minute < 60 && time.second <= 60);
}

// The first thing libical could not read in `component` (checked against
// `scanned`, its scan) and its children, as a message at the line of the
// property concerned, or of the component. False when there is one.
bool CheckComponent(icalcomponent* component, const ScannedComponent& scanned,
                    const std::string& name, std::vector<CalendarMessage>* messages) {
  for (icalproperty* property = icalcomponent_get_first_property(component, ICAL_ANY_PROPERTY);
       property != nullptr;
       property = icalcomponent_get_next_property(component, ICAL_ANY_PROPERTY)) {
    std::string what, propertyName;
    const icalproperty_kind kind = icalproperty_isa(property);
    if (kind == ICAL_XLICERROR_PROPERTY) {
      what = icalproperty_get_xlicerror(property);
      // An empty value (SUMMARY:) is allowed; libical drops the property.
      if (what.compare(0, 13, "No value for ") == 0) continue;
      const size_t removing = what.find(" Removing entire property");
      if (removing != std::string::npos) what.erase(removing);
      while (!what.empty() && (what.back() == ' ' || what.back() == '.')) what.pop_back();
      const size_t in = what.find(" in "), end = what.find(" property");
      if (in != std::string::npos && end != std::string::npos && end > in) {
        propertyName = what.substr(in + 4, end - in - 4);
      }
    } else if ((kind == ICAL_DTSTART_PROPERTY || kind == ICAL_DTEND_PROPERTY ||
                kind == ICAL_RECURRENCEID_PROPERTY) &&
               !IsValidTime(icalvalue_get_datetime(icalproperty_get_value(property)))) {
      propertyName = icalproperty_get_property_name(property);
      what = propertyName + " is not a date of the calendar";
    } else {
      continue;
    }
    size_t line = scanned.line;
    for (const auto& scannedProperty : scanned.properties) {
      if (scannedProperty.first == propertyName) {
        line = scannedProperty.second;
        break;
      }
    }
    messages->push_back({CalendarMessageKind::kDamaged, name, line, {Quoted(what, 200)}});
    return false;
  }
  size_t index = 0;
  for (icalcomponent* child = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT);
       child != nullptr; child = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
    const ScannedComponent& scannedChild =
        index < scanned.children.size() ? scanned.children[index] : scanned;
    ++index;
    if (!CheckComponent(child, scannedChild, name, messages)) return false;
  }
  return true;
}

}  // namespace

bool ReadCalendarFile(const std::string& name, const std::string& text, CalendarFile* file,
                      std::vector<CalendarMessage>* messages) {
  const std::vector<ContentLine> lines = Unfold(text);
  if (!Scanner(name, messages).Scan(lines, &file->scanned)) return false;
  std::string unfolded;
  for (const ContentLine& line : lines) unfolded += line.text + "\r\n";
  file->root = icalparser_parse_string(unfolded.c_str());
  if (file->root == nullptr) {
    messages->push_back({CalendarMessageKind::kNotICalendar, name, 1, {}});
    return false;
  }
  if (icalcomponent_isa(file->root) == ICAL_VCALENDAR_COMPONENT) {
    return CheckComponent(file->root, file->scanned.children[0], name, messages);
  }
  return CheckComponent(file->root, file->scanned, name, messages);
}
