// almanac: the Japanese almanac as agenda lines (tools/almanac/).

#include <algorithm>

#include "tools/almanac/almanac.h"
#include "tools/dates/dates.h"
#include "tools/encodings/encodings.h"
#include "tools/programs/vorlinde_agenda/names.h"
#include "tools/programs/vorlinde_agenda/subcommands.h"
#include "tools/programs/vorlinde_agenda/tell.h"
#include "tools/strings/strings.h"

namespace {

// The kinds as --only names them, in the almanac's order.
struct KindName {
  const char* name;
  AlmanacKind kind;
};
constexpr KindName kKindNames[] = {
    {"kyureki", AlmanacKind::kKyureki},   {"sekki", AlmanacKind::kSekki},
    {"zassetsu", AlmanacKind::kZassetsu}, {"moon", AlmanacKind::kMoon},
    {"senjitsu", AlmanacKind::kSenjitsu},
};

// The kinds a comma-separated list names, as AlmanacKindBit bits; false,
// told, for a name that is none.
bool ReadKinds(const std::string& list, unsigned* kinds) {
  *kinds = 0;
  size_t at = 0;
  for (;;) {
    const size_t comma = std::min(list.find(',', at), list.size());
    const std::string name = list.substr(at, comma - at);
    const auto known = std::find_if(
        std::begin(kKindNames), std::end(kKindNames),
        [&name](const KindName& kind) { return EqualsIgnoringAsciiCase(name, kind.name); });
    if (known == std::end(kKindNames)) {
      Tell(stderr, kTextUnknownAlmanacKind, {Shown(name), AlmanacKindNames()});
      return false;
    }
    *kinds |= AlmanacKindBit(known->kind);
    if (comma == list.size()) return true;
    at = comma + 1;
  }
}

}  // namespace

std::string AlmanacKindNames() {
  std::string names;
  for (const KindName& kind : kKindNames)
    names += (names.empty() ? "" : ", ") + std::string(kind.name);
  return names;
}

int Almanac(const Arguments& arguments) {
  long from = 0, until = 0;
  if (!ReadYears(arguments, kFirstAlmanacYear, kLastAlmanacYear, &from, &until)) return 2;
  unsigned kinds = kAllAlmanacKinds;
  if (arguments.Has(kOnlyOption) && !ReadKinds(arguments.Text(kOnlyOption), &kinds)) return 2;
  std::string agenda = "; " + std::string(kProgramName) + " almanac " + std::to_string(from) +
                       " - " + std::to_string(until);
  if (arguments.Has(kOnlyOption))
    agenda += " " + std::string(kOnlyOption) + " " + arguments.Text(kOnlyOption);
  agenda += "\r\n";
  bool substituted = false;
  for (const AlmanacEntry& entry :
       AlmanacEntries(static_cast<int32_t>(from), static_cast<int32_t>(until), kinds)) {
    agenda += DateColumns(entry.date) + " ";
    // A moon phase is an instant, written as a timed entry; a solar term
    // names its day.
    if (entry.kind == AlmanacKind::kMoon) agenda += ClockColumns(entry.minuteOfDay) + " ";
    agenda += Utf8ToShiftJis(entry.text, &substituted) + "\r\n";
  }
  return WriteOutput(agenda, arguments.Text(kOutputOption));
}
