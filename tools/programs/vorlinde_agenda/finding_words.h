// The checker's findings in words: the sentence of each kind, in English or
// Japanese, from the text table.
#pragma once

#include <string>

#include "tools/checker/checker.h"
#include "tools/programs/vorlinde_agenda/texts.h"

// The sentence (UTF-8) that tells `finding`; `file` names the file checked as
// messages name it (UTF-8), for the findings about the file as a whole.
std::string FindingWords(Language language, const Finding& finding, const std::string& file);

// The line a finding concerns as it is shown below the sentence (Shift-JIS),
// or empty: a control byte other than a tab would move the terminal's cursor
// or end the line, so it shows as "?".
std::string FindingLine(const Finding& finding);
