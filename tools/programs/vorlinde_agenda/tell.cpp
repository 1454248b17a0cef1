#include "tools/programs/vorlinde_agenda/tell.h"

#include "tools/chip_paths/chip_paths.h"
#include "tools/console/console.h"
#include "tools/files/files.h"
#include "tools/programs/vorlinde_agenda/environment.h"

namespace {

Text TextOf(CalendarMessageKind kind) {
  switch (kind) {
    case CalendarMessageKind::kSubstituted:
      return kTextSummaryGeta;
    case CalendarMessageKind::kShortened:
      return kTextShortened;
    case CalendarMessageKind::kUnknownZone:
      return kTextZoneNotKnown;
    case CalendarMessageKind::kNoStart:
      return kTextNoStart;
    case CalendarMessageKind::kTooManyLines:
      return kTextTooManyLines;
    case CalendarMessageKind::kLeftOut:
    case CalendarMessageKind::kFileLeftOut:
      return kTextLeftOut;
    case CalendarMessageKind::kNotICalendar:
      return kTextNotICalendar;
    case CalendarMessageKind::kDamaged:
      return kTextDamaged;
    case CalendarMessageKind::kUnreadable:
      break;
  }
  return kTextCannotRead;
}

}  // namespace

Language UserLanguage() {
  static const Language language =
      TerminalIsJapanese(MessageLocale()) ? Language::kJapanese : Language::kEnglish;
  return language;
}

std::string Say(Text text, const std::vector<std::string>& arguments) {
  return Say(UserLanguage(), text, arguments);
}

void Tell(FILE* stream, Text text, const std::vector<std::string>& arguments) {
  PrintText(stream, Say(text, arguments));
}

std::string Shown(const std::string& argument) { return ArgumentToUtf8(argument); }

std::string WhyFile(const FileProblem& problem) {
  switch (problem.kind) {
    case FileProblem::kNoSuchFile:
      return Say(kTextNoSuchFile);
    case FileProblem::kNotPermitted:
      return Say(kTextNotPermitted);
    case FileProblem::kFolder:
      return Say(kTextFolder);
    case FileProblem::kNotAFile:
      return Say(kTextNotAFile);
    case FileProblem::kExists:
      return Say(kTextExists);
    case FileProblem::kInUse:
      return Say(kTextInUse);
    case FileProblem::kDiskFull:
      return Say(kTextDiskFull);
    case FileProblem::kReadOnly:
      return Say(kTextReadOnly);
    case FileProblem::kBusy:
      return Say(kTextBusy);
    case FileProblem::kNone:
    case FileProblem::kOther:
      break;
  }
  return Say(kTextSystemError, {std::to_string(problem.code)});
}

bool TellChipLimits(FILE* stream, const std::string& file) {
  const ChipReading reading = ChipCanRead(ArgumentToUtf8(AbsolutePath(file)));
  switch (reading.kind) {
    case ChipReading::kTooLong:
      Tell(stream, kTextChipTooLong,
           {Shown(file), std::to_string(reading.bytes), std::to_string(reading.limit)});
      return true;
    case ChipReading::kNotInCodePage:
      Tell(stream, kTextChipNotInCodePage, {Shown(file)});
      return true;
    case ChipReading::kFits:
      break;
  }
  return false;
}

std::string WhyFetch(const FetchResult& fetched) {
  switch (fetched.error) {
    case FetchError::kBadAddress:
      return Say(kTextFetchBadAddress);
    case FetchError::kBadRedirect:
      return Say(kTextFetchBadRedirect);
    case FetchError::kUnknownHost:
      return Say(kTextFetchUnknownHost);
    case FetchError::kCannotConnect:
      return Say(kTextFetchCannotConnect);
    case FetchError::kConnectTimeout:
      return Say(kTextFetchConnectTimeout, {fetched.detail});
    case FetchError::kTransferTimeout:
      return Say(kTextFetchTransferTimeout, {fetched.detail});
    case FetchError::kTooLarge:
      return Say(kTextFetchTooLarge, {fetched.detail});
    case FetchError::kHttpStatus:
      return Say(kTextFetchHttpStatus, {fetched.detail});
    case FetchError::kTooManyRedirects:
      return Say(kTextFetchTooManyRedirects, {fetched.detail});
    case FetchError::kInsecureRedirect:
      return Say(kTextFetchInsecureRedirect);
    case FetchError::kUntrusted:
      return Say(kTextFetchUntrusted);
    case FetchError::kNoSecureConnection:
      return Say(kTextFetchNoSecureConnection);
    case FetchError::kNone:
    case FetchError::kOther:
      break;
  }
  return Say(kTextFetchOther, {fetched.detail});
}

namespace {

Text TextOf(CalendarDamage damage) {
  switch (damage) {
    case CalendarDamage::kNotUtf8:
      return kTextDamageNotUtf8;
    case CalendarDamage::kNotContentLine:
      return kTextDamageNotContentLine;
    case CalendarDamage::kCalendarExpected:
      return kTextDamageCalendarExpected;
    case CalendarDamage::kEndWithoutBegin:
      return kTextDamageEndWithoutBegin;
    case CalendarDamage::kEndExpected:
      return kTextDamageEndExpected;
    case CalendarDamage::kOutsideCalendar:
      return kTextDamageOutsideCalendar;
    case CalendarDamage::kEndsOpen:
      return kTextDamageEndsOpen;
    case CalendarDamage::kNotADate:
      return kTextDamageNotADate;
    case CalendarDamage::kBadValue:
      return kTextDamageBadValue;
    case CalendarDamage::kBadParameterName:
      return kTextDamageBadParameterName;
    case CalendarDamage::kBadParameterValue:
      return kTextDamageBadParameterValue;
    case CalendarDamage::kUnknownProperty:
      return kTextDamageUnknownProperty;
    case CalendarDamage::kNone:
    case CalendarDamage::kBadComponent:
      break;
  }
  return kTextDamageBadComponent;
}

}  // namespace

void TellCalendarMessage(const CalendarMessage& message) {
  std::vector<std::string> arguments = {message.file};
  if (message.line > 0) arguments[0] += ":" + std::to_string(message.line);
  // A damaged calendar's arguments are those of its damage, worded first.
  if (message.kind == CalendarMessageKind::kDamaged) {
    arguments.push_back(Say(TextOf(message.damage), message.arguments));
  } else {
    arguments.insert(arguments.end(), message.arguments.begin(), message.arguments.end());
  }
  Tell(stderr, TextOf(message.kind), arguments);
}

void TellArgumentProblem(const ArgumentProblem& problem) {
  switch (problem.kind) {
    case ArgumentProblem::kUnknownOption:
      Tell(stderr, kTextUnknownOption, {Shown(problem.argument)});
      break;
    case ArgumentProblem::kNeedsValue:
      Tell(stderr, kTextNeedsValue, {problem.argument});
      break;
    case ArgumentProblem::kBadDate:
      Tell(stderr, kTextBadDate, {problem.argument, Shown(problem.value)});
      break;
    case ArgumentProblem::kBadNumber:
      Tell(stderr, kTextBadNumber,
           {problem.argument, Shown(problem.value), std::to_string(problem.least),
            std::to_string(problem.most)});
      break;
    case ArgumentProblem::kNone:
      break;
  }
}

std::string Counted(size_t n, Text one, Text many) {
  return n == 1 ? Say(one) : Say(many, {std::to_string(n)});
}
