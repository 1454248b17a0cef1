// The command-line tools' own texts: each written in English and in Japanese
// side by side, with numbered places for what is filled in.
#pragma once

#include <string>
#include <vector>

// A text in English and in Japanese (UTF-8); "{0}" to "{9}" stand for the
// arguments it is given.
struct TextPair {
  const char* english;
  const char* japanese;
};

// `pattern` with "{0}" to "{9}" replaced by the arguments given (a missing
// one by nothing).
std::string FillIn(const std::string& pattern, const std::vector<std::string>& arguments);
