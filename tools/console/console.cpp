#include "tools/console/console.h"

#include <stdio.h>

void PrintMemo(const std::string& memo, bool raw) {
  if (raw) {
    SetBinaryOutput();
    fwrite(memo.data(), 1, memo.size(), stdout);
    return;
  }
  std::string text;
  for (size_t i = 0; i < memo.size(); ++i) {
    if (memo[i] == '\r' && i + 1 < memo.size() && memo[i + 1] == '\n') continue;
    text += memo[i];
  }
  PrintShiftJis(stdout, text + "\n");
}
