#include "tools/schedule/schedule.h"

#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "tools/encodings/encodings.h"
#include "tools/strings/strings.h"

namespace {

// How many characters of the agenda file's name the task name keeps.
constexpr size_t kNameCharacters = 48;

// The identity of a path or user name on Windows: ASCII letters upper-cased,
// "/" as "\".
std::string FoldForWindows(const std::string& text) {
  std::string folded = AsciiUpper(text);
  for (char& c : folded) {
    if (c == '/') c = '\\';
  }
  return folded;
}

// The last part of `path`, after its last "\" or "/", at most
// kNameCharacters characters long, with what a Windows file name cannot hold
// replaced by "_".
std::string FileNameForTask(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string kept;
  size_t characters = 0;
  for (const char c : name) {
    const unsigned char byte = static_cast<unsigned char>(c);
    const bool continuation = (byte & 0xC0) == 0x80;
    if (!continuation && ++characters > kNameCharacters) break;
    const bool forbidden = byte < 0x20 || byte == 0x7F || strchr(":*?\"<>|", c) != nullptr;
    kept += forbidden ? '_' : c;
  }
  return kept;
}

std::string XmlText(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      case '\'':
        escaped += "&apos;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

// `text` in single quotes for the shell, each "'" written '\'' and each "%"
// \% for cron.
std::string CrontabWord(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else if (c == '%') {
      quoted += "\\%";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace

std::string TaskName(const std::string& agendaFile, const std::string& user) {
  char hash[9];
  snprintf(
      hash, sizeof hash, "%08x",
      static_cast<unsigned>(Fnv1a32(FoldForWindows(user) + '\n' + FoldForWindows(agendaFile))));
  return "Vorlinde\\refresh " + FileNameForTask(agendaFile) + " " + hash;
}

std::string QuoteWindowsArgument(const std::string& argument) {
  std::string quoted = "\"";
  size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes are plain characters unless a quote follows them.
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}

std::string TaskXml(const std::string& program, const std::string& agendaFile,
                    const std::string& user) {
  // Task Scheduler expands %NAME% in the command and its arguments where
  // NAME is an environment variable, and there is no way to write a "%" it
  // leaves alone (quotes and "^" do not keep it): a path holding one would
  // run another file on the day such a variable is set. Refused.
  if ((program + agendaFile).find('%') != std::string::npos) return std::string();
  char start[32];
  snprintf(start, sizeof start, "2020-01-01T%02d:%02d:00", kRefreshHour, kRefreshMinute);
  const std::string file = XmlText(agendaFile);
  const std::string userId = XmlText(user);
  // Elements in the order Task Scheduler itself writes them, which its schema
  // checks for the triggers.
  return std::string() +
         "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
         "<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
         "  <RegistrationInfo>\n"
         "    <Author>Vorlinde</Author>\n"
         "    <Description>Refreshes " +
         file + " from the calendar it was imported from. / " + file +
         " を取り込み元のカレンダーから取り込み直します。</Description>\n"
         "  </RegistrationInfo>\n"
         "  <Triggers>\n"
         "    <CalendarTrigger>\n"
         "      <StartBoundary>" +
         start +
         "</StartBoundary>\n"
         "      <Enabled>true</Enabled>\n"
         "      <ScheduleByDay>\n"
         "        <DaysInterval>1</DaysInterval>\n"
         "      </ScheduleByDay>\n"
         "    </CalendarTrigger>\n"
         "    <LogonTrigger>\n"
         "      <Enabled>true</Enabled>\n"
         "      <UserId>" +
         userId +
         "</UserId>\n"
         // Time for the network to come up after logging on.
         "      <Delay>PT2M</Delay>\n"
         "    </LogonTrigger>\n"
         "  </Triggers>\n"
         "  <Principals>\n"
         "    <Principal id=\"Author\">\n"
         "      <UserId>" +
         userId +
         "</UserId>\n"
         "      <LogonType>InteractiveToken</LogonType>\n"
         "      <RunLevel>LeastPrivilege</RunLevel>\n"
         "    </Principal>\n"
         "  </Principals>\n"
         "  <Settings>\n"
         "    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\n"
         "    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\n"
         "    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\n"
         "    <StartWhenAvailable>true</StartWhenAvailable>\n"
         "    <RunOnlyIfNetworkAvailable>false</RunOnlyIfNetworkAvailable>\n"
         "    <Enabled>true</Enabled>\n"
         "    <Hidden>true</Hidden>\n"
         "    <ExecutionTimeLimit>PT10M</ExecutionTimeLimit>\n"
         "  </Settings>\n"
         "  <Actions Context=\"Author\">\n"
         "    <Exec>\n"
         "      <Command>" +
         XmlText(program) +
         "</Command>\n"
         "      <Arguments>refresh " +
         XmlText(QuoteWindowsArgument(agendaFile)) +
         "</Arguments>\n"
         "    </Exec>\n"
         "  </Actions>\n"
         "</Task>\n";
}

std::string TaskFileBytes(const std::string& xml) {
  if (xml.empty()) return std::string();
  bool valid = true;
  const std::u16string utf16 = Utf8ToUtf16(xml, &valid);
  if (!valid) return std::string();
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : utf16) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

bool SchedulableName(const std::string& agendaFile) {
  for (const unsigned char c : agendaFile) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

std::string CrontabLine(const std::string& program, const std::string& agendaFile) {
  if ((program + agendaFile).find_first_of("\r\n") != std::string::npos) return std::string();
  return std::to_string(kRefreshMinute) + " " + std::to_string(kRefreshHour) + " * * * " +
         CrontabWord(program) + " refresh " + CrontabWord(agendaFile);
}
