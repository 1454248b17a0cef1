#include "tools/arguments/arguments.h"

#include <limits.h>

#include "tools/dates/dates.h"

namespace {

const Option* Find(const std::vector<Option>& options, const std::string& name) {
  for (const Option& option : options) {
    if (name == option.name) return &option;
  }
  return nullptr;
}

// Whether `value` is one `option` takes; the problem when it is not.
ArgumentProblem Check(const Option& option, const std::string& value) {
  AgendaDate date;
  long number = 0;
  if (option.kind == Option::kDate && !ParseDate(value, &date)) {
    return {ArgumentProblem::kBadDate, option.name, value, 0, 0};
  }
  if (option.kind == Option::kNumber &&
      !ReadWholeNumber(value, option.least, option.most, &number)) {
    return {ArgumentProblem::kBadNumber, option.name, value, option.least, option.most};
  }
  return {};
}

}  // namespace

std::string Arguments::Text(const std::string& name) const {
  const auto found = options.find(name);
  return found != options.end() ? found->second : std::string();
}

AgendaDate Arguments::Date(const std::string& name) const {
  AgendaDate date = {0, 0, 0};
  ParseDate(Text(name), &date);
  return date;
}

long Arguments::Number(const std::string& name) const {
  long number = 0;
  ReadWholeNumber(Text(name), 0, LONG_MAX, &number);
  return number;
}

ArgumentProblem ReadArguments(const std::vector<std::string>& arguments,
                              const std::vector<Option>& options, Arguments* read) {
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--") {
      read->operands.insert(read->operands.end(), arguments.begin() + i + 1, arguments.end());
      break;
    }
    if (argument == "-h" || argument == kHelpOption) {
      read->help = true;
      return {};
    }
    if (argument.size() < 2 || argument[0] != '-') {
      read->operands.push_back(argument);
      continue;
    }
    const size_t equals =
        argument.compare(0, 2, "--") == 0 ? argument.find('=') : std::string::npos;
    const Option* option = Find(options, argument.substr(0, equals));
    if (option == nullptr || (option->kind == Option::kFlag && equals != std::string::npos)) {
      return {ArgumentProblem::kUnknownOption, argument, "", 0, 0};
    }
    std::string value;
    if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (option->kind != Option::kFlag) {
      if (++i == arguments.size()) return {ArgumentProblem::kNeedsValue, option->name, "", 0, 0};
      value = arguments[i];
    }
    if (const ArgumentProblem problem = Check(*option, value)) return problem;
    read->options[option->name] = value;
  }
  return {};
}

bool ReadWholeNumber(const std::string& text, long least, long most, long* value) {
  if (text.empty() || text.size() > 9) return false;
  long number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  if (number < least || number > most) return false;
  *value = number;
  return true;
}
