#include "tools/programs/vorlinde_agenda_task/command_line.h"

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c; }

// The length of `path` when `text` starts with it followed by a blank or the
// end, else 0.
size_t PathAtStart(const wchar_t* text, const wchar_t* path) {
  size_t i = 0;
  for (; path[i] != L'\0'; ++i) {
    if (AsciiUpper(text[i]) != AsciiUpper(path[i])) return 0;
  }
  return text[i] == L'\0' || IsBlank(text[i]) ? i : 0;
}

}  // namespace

size_t ArgumentsStart(const wchar_t* commandLine, const wchar_t* programPath) {
  size_t at = PathAtStart(commandLine, programPath);
  if (at == 0 && commandLine[0] == L'"') {
    for (at = 1; commandLine[at] != L'\0' && commandLine[at] != L'"';) ++at;
    if (commandLine[at] == L'"') ++at;
  } else if (at == 0) {
    while (commandLine[at] != L'\0' && !IsBlank(commandLine[at])) ++at;
  }
  while (IsBlank(commandLine[at])) ++at;
  return at;
}
