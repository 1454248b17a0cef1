#include "tools/icalendar/ical_file.h"

#include "agenda/calendar.h"
#include "tools/encodings/encodings.h"
#include "tools/strings/strings.h"

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
  const bool byteOrderMark = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
  std::vector<std::string> split = SplitLines(byteOrderMark ? text.substr(3) : text);
  // A CR at the very end ends the last line as well.
  if (!split.empty() && !split.back().empty() && split.back().back() == '\r') {
    split.back().pop_back();
  }
  std::vector<ContentLine> lines;
  for (size_t i = 0; i < split.size(); ++i) {
    const std::string& line = split[i];
    if (line.empty()) continue;
    if ((line[0] == ' ' || line[0] == '\t') && !lines.empty()) {
      lines.back().text += line.substr(1);
    } else {
      lines.push_back({line, i + 1});
    }
  }
  return lines;
}

bool IsNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

// The name of a content line (upper-cased), or "" when it has none.
std::string NameOf(const std::string& line) {
  size_t end = 0;
  while (end < line.size() && IsNameCharacter(line[end])) ++end;
  if (end == 0 || end == line.size() || (line[end] != ':' && line[end] != ';')) return "";
  return AsciiUpper(line.substr(0, end));
}

std::string ValueOf(const std::string& line) {
  const size_t colon = line.find(':');
  return colon == std::string::npos ? "" : AsciiUpper(line.substr(colon + 1));
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
    std::vector<ScannedComponent*> open;
    for (const ContentLine& line : lines) {
      const std::string name = NameOf(line.text);
      if (!IsUtf8(line.text)) return Damaged(line.line, CalendarDamage::kNotUtf8);
      if (name.empty()) {
        return Damaged(line.line, CalendarDamage::kNotContentLine, {Quoted(line.text)});
      }
      const std::string value = ValueOf(line.text);
      if (name == "BEGIN") {
        if (open.empty() && value != "VCALENDAR") {
          return Damaged(line.line, CalendarDamage::kCalendarExpected);
        }
        ScannedComponent* parent = open.empty() ? root : open.back();
        parent->children.emplace_back();
        parent->children.back().name = value;
        parent->children.back().line = line.line;
        open.push_back(&parent->children.back());
      } else if (name == "END") {
        if (open.empty()) return Damaged(line.line, CalendarDamage::kEndWithoutBegin);
        if (open.back()->name != value) {
          return Damaged(line.line, CalendarDamage::kEndExpected, {Quoted(open.back()->name)});
        }
        open.pop_back();
      } else if (open.empty()) {
        return Damaged(line.line, CalendarDamage::kOutsideCalendar);
      } else {
        open.back()->properties.push_back({name, line.line, line.text});
      }
    }
    if (!open.empty()) {
      return Damaged(lines.back().line, CalendarDamage::kEndsOpen, {Quoted(open.back()->name)});
    }
    return true;
  }

 private:
  bool Damaged(size_t line, CalendarDamage damage, std::vector<std::string> arguments = {}) {
    messages_->push_back(
        {CalendarMessageKind::kDamaged, name_, line, std::move(arguments), damage});
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

// The damage of each kind of error libical records (in the X-LIC-ERRORTYPE
// parameter of the X-LIC-ERROR property it leaves in place of what it could
// not read).
CalendarDamage DamageOf(icalproperty* error) {
  icalparameter* type = icalproperty_get_first_parameter(error, ICAL_XLICERRORTYPE_PARAMETER);
  switch (type != nullptr ? icalparameter_get_xlicerrortype(type) : ICAL_XLICERRORTYPE_NONE) {
    case ICAL_XLICERRORTYPE_VALUEPARSEERROR:
      return CalendarDamage::kBadValue;
    case ICAL_XLICERRORTYPE_PARAMETERNAMEPARSEERROR:
      return CalendarDamage::kBadParameterName;
    case ICAL_XLICERRORTYPE_PARAMETERVALUEPARSEERROR:
      return CalendarDamage::kBadParameterValue;
    case ICAL_XLICERRORTYPE_PROPERTYPARSEERROR:
      return CalendarDamage::kUnknownProperty;
    default:
      return CalendarDamage::kBadComponent;
  }
}

// The parameters of a content line ("TZID=Asia/Tokyo"), split at the
// semicolons outside double quotes, and where its value begins: after the
// first colon outside them (past the line's end when it has none).
std::vector<std::string> ParametersOf(const ScannedProperty& property, size_t* value) {
  std::vector<std::string> parameters;
  bool quoted = false;
  size_t i = property.name.size();
  for (; i < property.text.size(); ++i) {
    const char c = property.text[i];
    if (!quoted && c == ':') break;
    if (c == '"') quoted = !quoted;
    if (!quoted && c == ';') {
      parameters.emplace_back();
    } else if (!parameters.empty()) {
      parameters.back() += c;
    }
  }
  *value = i + 1;
  return parameters;
}

// Whether the line's value is empty: libical drops such a property, and it
// is no damage.
bool HasEmptyValue(const ScannedProperty& property) {
  size_t value = 0;
  ParametersOf(property, &value);
  return value == property.text.size();
}

// The type libical reads the value of `property` as: its VALUE parameter's,
// else the property's own.
std::string ValueTypeOf(const ScannedProperty& property) {
  size_t value = 0;
  for (const std::string& parameter : ParametersOf(property, &value)) {
    if (EqualsIgnoringAsciiCase(parameter.substr(0, 6), "VALUE=")) {
      return AsciiUpper(parameter.substr(6));
    }
  }
  const icalproperty_kind kind = icalproperty_string_to_kind(property.name.c_str());
  return icalvalue_kind_to_string(icalproperty_kind_to_value_kind(kind));
}

// Whether libical reads `property`'s content line, alone in a calendar,
// without an error; the damage it records when it does not.
bool ReadsAlone(const ScannedProperty& property, CalendarDamage* damage) {
  const std::string calendar = "BEGIN:VCALENDAR\r\n" + property.text + "\r\nEND:VCALENDAR\r\n";
  icalcomponent* read = icalparser_parse_string(calendar.c_str());
  if (read == nullptr) return true;
  icalproperty* error = icalcomponent_get_first_property(read, ICAL_XLICERROR_PROPERTY);
  if (error != nullptr) *damage = DamageOf(error);
  icalcomponent_free(read);
  return error == nullptr;
}

// The message of the damage libical found in `property`.
CalendarMessage LineDamage(const std::string& file, const ScannedProperty& property,
                           CalendarDamage damage) {
  std::vector<std::string> arguments = {Quoted(property.name)};
  if (damage == CalendarDamage::kBadValue) {
    arguments.push_back(Quoted(ValueTypeOf(property)));
  } else if (damage == CalendarDamage::kBadParameterName ||
             damage == CalendarDamage::kBadParameterValue) {
    arguments.push_back(Quoted(property.text));
  }
  return {CalendarMessageKind::kDamaged, file, property.line, arguments, damage};
}

// The first thing libical could not read in `component` (checked against
// `scanned`, its scan) and its children, or a date in it that is not one, as
// a message at the line concerned. False when there is one.
bool CheckComponent(icalcomponent* component, const ScannedComponent& scanned,
                    const std::string& name, std::vector<CalendarMessage>* messages) {
  bool errors = false, valueErrorsOnly = true;
  CalendarMessage found = {CalendarMessageKind::kDamaged, name, 0, {}};
  for (icalproperty* property = icalcomponent_get_first_property(component, ICAL_ANY_PROPERTY);
       property != nullptr;
       property = icalcomponent_get_next_property(component, ICAL_ANY_PROPERTY)) {
    const icalproperty_kind kind = icalproperty_isa(property);
    if (kind == ICAL_XLICERROR_PROPERTY) {
      errors = true;
      valueErrorsOnly = valueErrorsOnly && DamageOf(property) == CalendarDamage::kBadValue;
    } else if (found.line == 0 &&
               (kind == ICAL_DTSTART_PROPERTY || kind == ICAL_DTEND_PROPERTY ||
                kind == ICAL_RECURRENCEID_PROPERTY) &&
               !IsValidTime(icalvalue_get_datetime(icalproperty_get_value(property)))) {
      const std::string propertyName = icalproperty_get_property_name(property);
      found.line = scanned.line;
      for (const ScannedProperty& scannedProperty : scanned.properties) {
        if (scannedProperty.name == propertyName) {
          found.line = scannedProperty.line;
          break;
        }
      }
      found.arguments = {propertyName};
      found.damage = CalendarDamage::kNotADate;
    }
  }
  if (errors) {
    // The first line before the date found that libical cannot read alone.
    bool placed = false;
    for (const ScannedProperty& property : scanned.properties) {
      if (found.line != 0 && property.line >= found.line) break;
      CalendarDamage damage = CalendarDamage::kNone;
      if (HasEmptyValue(property) || ReadsAlone(property, &damage)) continue;
      found = LineDamage(name, property, damage);
      placed = true;
      break;
    }
    // What no line shows is the component's: its BEGIN line.
    if (!placed && found.line == 0 && !valueErrorsOnly) {
      found = {CalendarMessageKind::kDamaged,
               name,
               scanned.line,
               {Quoted(scanned.name)},
               CalendarDamage::kBadComponent};
    }
  }
  if (found.line != 0) {
    messages->push_back(found);
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
