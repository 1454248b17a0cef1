// The engine as a command, for timing it against other tools on the same
// files: composes the memo from the agenda files given, and prints how many
// entries it holds and its length. Also writes the generated agenda files.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "agenda/agenda.h"
#include "bench/agenda_generator.h"
#include "resources/texts.h"

namespace {

const char kUsage[] =
    "usage: compose_file compose|count YEAR MONTH DAY AGENDA-FILE...\n"
    "       compose_file generate LINES mixed|all PATH\n"
    "\n"
    "compose   composes the memo of the date and prints \"bytes N\", its length\n"
    "count     the same, and prints \"entries N bytes M\" with the entries it holds\n"
    "generate  writes an agenda file of LINES lines for 2024/06/15: a mix with\n"
    "          about 1% applying, or every line applying; prints what it wrote\n";

int Compose(int argc, char** argv, bool count) {
  if (argc < 6) {
    fputs(kUsage, stderr);
    return 2;
  }
  const AgendaDate date = {atoi(argv[2]), atoi(argv[3]), atoi(argv[4])};
  std::string list;
  for (int i = 5; i < argc; ++i) list += std::string(argv[i]) + "\r\n";
  HLOCAL memo = nullptr;
  const int32_t length = ComposeMemo(list.c_str(), date, &memo);
  const char* text = static_cast<const char*>(LocalLock(memo));
  if (text == nullptr) return 1;
  if (count) {
    // Entries follow the heading, each after a line break; the none form has
    // one line break too.
    long entries = 0;
    for (const char* p = text; (p = strchr(p, '\n')) != nullptr; ++p) ++entries;
    if (entries == 1 && length >= 4 && strcmp(text + length - 4, texts::kNone) == 0) entries = 0;
    printf("entries %ld ", entries);
  }
  printf("bytes %ld\n", static_cast<long>(length));
  LocalUnlock(memo);
  LocalFree(memo);
  return 0;
}

int Generate(int argc, char** argv) {
  if (argc != 5 || (strcmp(argv[3], "mixed") != 0 && strcmp(argv[3], "all") != 0)) {
    fputs(kUsage, stderr);
    return 2;
  }
  const bench::GeneratedAgenda written =
      bench::WriteAgenda(argv[4], strtoul(argv[2], nullptr, 10), strcmp(argv[3], "all") == 0);
  if (written.lines == 0) {
    fprintf(stderr, "compose_file: cannot write %s\n", argv[4]);
    return 1;
  }
  printf("lines %zu applying %zu bytes %zu\n", written.lines, written.applying, written.bytes);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && strcmp(argv[1], "compose") == 0) return Compose(argc, argv, false);
  if (argc >= 2 && strcmp(argv[1], "count") == 0) return Compose(argc, argv, true);
  if (argc >= 2 && strcmp(argv[1], "generate") == 0) return Generate(argc, argv);
  fputs(kUsage, stderr);
  return 2;
}
