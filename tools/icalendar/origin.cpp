#include "tools/icalendar/origin.h"

#include <stdio.h>
#include <stdlib.h>

#include "tools/dates/dates.h"
#include "tools/agenda_lines/agenda_lines.h"

namespace {

const char kFirstLine[] = "; vorlinde-agenda import ";
const char kSource[] = "; source: ";
const char kZone[] = "; zone: ";
const char kWindow[] = "; window: ";
const char kMachineZone[] = "local";
constexpr long kMostDays = 36525;

std::string Escaped(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c > 0x20 && c < 0x7F && c != '%') {
      out += static_cast<char>(c);
    } else {
      char escape[4];
      snprintf(escape, sizeof escape, "%%%02X", c);
      out += escape;
    }
  }
  return out;
}

bool Unescaped(const std::string& text, std::string* bytes) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      *bytes += text[i];
      continue;
    }
    char* end = nullptr;
    const std::string hex = text.substr(i + 1, 2);
    const long value = strtol(hex.c_str(), &end, 16);
    if (hex.size() != 2 || *end != '\0') return false;
    *bytes += static_cast<char>(value);
    i += 2;
  }
  return true;
}

std::string Days(int32_t days) { return (days < 0 ? "" : "+") + std::to_string(days) + " days"; }

// Reads "[+-]N days", at most a hundred years either way; the sign is
// required.
bool ReadDays(const std::string& text, int32_t* days) {
  if (text.size() < 7 || (text[0] != '+' && text[0] != '-')) return false;
  char* end = nullptr;
  const long value = strtol(text.c_str(), &end, 10);
  if (std::string(end) != " days" || value < -kMostDays || value > kMostDays) return false;
  *days = static_cast<int32_t>(value);
  return true;
}

}  // namespace

AgendaDate ImportWindow::First(AgendaDate today) const {
  return DateOfDay(DayNumber(today) + fromDays);
}

AgendaDate ImportWindow::Last(AgendaDate today) const {
  return untilAYear ? AYearAfter(today) : DateOfDay(DayNumber(today) + untilDays);
}

bool WriteOrigin(const ImportOrigin& origin, AgendaDate today, std::string* header) {
  std::vector<std::string> lines = {kFirstLine + DateColumns(origin.window.First(today)) + " - " +
                                    DateColumns(origin.window.Last(today))};
  for (const std::string& source : origin.sources) lines.push_back(kSource + Escaped(source));
  lines.push_back(kZone + (origin.zone.empty() ? std::string(kMachineZone) : Escaped(origin.zone)));
  lines.push_back(kWindow + Days(origin.window.fromDays) + " to " +
                  (origin.window.untilAYear ? "+1 year" : Days(origin.window.untilDays)));
  header->clear();
  for (const std::string& line : lines) {
    if (line.size() > kLongestAgendaLine) return false;
    *header += line + "\r\n";
  }
  return true;
}

bool ReadOrigin(const std::string& agenda, ImportOrigin* origin) {
  *origin = ImportOrigin();
  bool first = true, zone = false, window = false;
  for (size_t at = 0; at < agenda.size() && agenda[at] == ';';) {
    size_t end = agenda.find('\n', at);
    if (end == std::string::npos) end = agenda.size();
    std::string line = agenda.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    at = end + 1;
    auto value = [&](const char* key) { return line.substr(std::string(key).size()); };
    if (first) {
      if (line.rfind(kFirstLine, 0) != 0) return false;
      first = false;
    } else if (line.rfind(kSource, 0) == 0) {
      std::string source;
      if (!Unescaped(value(kSource), &source) || source.empty()) return false;
      origin->sources.push_back(source);
    } else if (line.rfind(kZone, 0) == 0) {
      const std::string name = value(kZone);
      zone = name == kMachineZone || Unescaped(name, &origin->zone);
      if (!zone) return false;
    } else if (line.rfind(kWindow, 0) == 0) {
      const std::string text = value(kWindow);
      const size_t to = text.find(" to ");
      ImportWindow& w = origin->window;
      if (to == std::string::npos || !ReadDays(text.substr(0, to), &w.fromDays)) return false;
      const std::string last = text.substr(to + 4);
      w.untilAYear = last == "+1 year";
      window = w.untilAYear || ReadDays(last, &w.untilDays);
      if (!window) return false;
    }
  }
  return !first && !origin->sources.empty() && zone && window;
}
