#include "tools/texts.h"

std::string FillIn(const std::string& pattern, const std::vector<std::string>& arguments) {
  std::string out;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 1] >= '0' &&
        pattern[i + 1] <= '9' && pattern[i + 2] == '}') {
      const size_t index = static_cast<size_t>(pattern[i + 1] - '0');
      if (index < arguments.size()) out += arguments[index];
      i += 2;
    } else {
      out += pattern[i];
    }
  }
  return out;
}
