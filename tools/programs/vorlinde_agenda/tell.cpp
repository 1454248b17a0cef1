#include "tools/programs/vorlinde_agenda/tell.h"

#include "tools/console/console.h"

Language UserLanguage() {
  static const Language language = TerminalIsJapanese() ? Language::kJapanese : Language::kEnglish;
  return language;
}

std::string Say(Text text, const std::vector<std::string>& arguments) {
  return Say(UserLanguage(), text, arguments);
}

void Tell(FILE* stream, Text text, const std::vector<std::string>& arguments) {
  fputs(Utf8ToTerminalText(Say(text, arguments)).c_str(), stream);
}

std::string Shown(const std::string& argument) { return ArgumentToUtf8(argument); }

std::string Why(const FileProblem& problem) {
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
    case FileProblem::kNone:
    case FileProblem::kOther:
      break;
  }
  return Say(kTextSystemError, {std::to_string(problem.code)});
}

void TellProblem(const ArgumentProblem& problem) {
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
