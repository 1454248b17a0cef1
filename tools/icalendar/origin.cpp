#include "tools/icalendar/origin.h"

#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>

#include "tools/dates/dates.h"
#include "tools/files/files.h"
#include "tools/strings/strings.h"
#include "tools/web/web.h"

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
    const std::string hex = text.substr(i + 1, 2);
    if (hex.size() != 2 || !isxdigit(static_cast<unsigned char>(hex[0])) ||
        !isxdigit(static_cast<unsigned char>(hex[1]))) {
      return false;
    }
    *bytes += static_cast<char>(strtol(hex.c_str(), nullptr, 16));
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

bool WriteOrigin(const ImportOrigin& origin, AgendaDate today, std::string* header, size_t* unfit) {
  std::vector<std::string> lines = {kFirstLine + DateColumns(origin.window.First(today)) + " - " +
                                    DateColumns(origin.window.Last(today))};
  for (const std::string& source : origin.sources) lines.push_back(kSource + Escaped(source));
  lines.push_back(kZone + (origin.zone.empty() ? std::string(kMachineZone) : Escaped(origin.zone)));
  lines.push_back(kWindow + Days(origin.window.fromDays) + " to " +
                  (origin.window.untilAYear ? "+1 year" : Days(origin.window.untilDays)));
  header->clear();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].size() > kLongestOriginLine) {
      // The sources' lines follow the first.
      *unfit = i >= 1 && i <= origin.sources.size() ? i - 1 : origin.sources.size();
      return false;
    }
    *header += lines[i] + "\r\n";
  }
  return true;
}

bool ReadOrigin(const std::string& agenda, ImportOrigin* origin) {
  *origin = ImportOrigin();
  bool first = true, zone = false, window = false;
  std::vector<std::string> lines = SplitLines(agenda);
  // A CR at the very end ends the last line as well.
  if (!lines.empty() && !lines.back().empty() && lines.back().back() == '\r') {
    lines.back().pop_back();
  }
  for (const std::string& line : lines) {
    if (line.empty() || line[0] != ';') break;
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

std::string RecordedSource(const std::string& source, const std::string& output) {
  if (IsWebAddress(source) || output.empty()) return source;
  const std::string path = AbsolutePath(source);
  return FolderOf(path) == FolderOf(AbsolutePath(output)) ? path.substr(FolderOf(path).size())
                                                          : path;
}

std::string SourcePath(const std::string& recorded, const std::string& agendaFile) {
  return IsWebAddress(recorded) || IsAbsolutePath(recorded) ? recorded
                                                            : FolderOf(agendaFile) + recorded;
}
