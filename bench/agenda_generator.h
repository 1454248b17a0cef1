// Agenda files for measuring the engine: a realistic mix of dated entries,
// yearly and monthly ones, comments and empty lines, about one line in a
// hundred applying to the measuring date; or files where every line applies.
#pragma once

#include <stddef.h>

#include <string>

#include "agenda/agenda.h"

namespace bench {

// The date every generated file is composed for.
constexpr AgendaDate kDate = {2024, 6, 15};

struct GeneratedAgenda {
  size_t lines;     // lines written, each ending in CR LF
  size_t applying;  // of those, the entries that apply to kDate
  size_t bytes;     // the file's size
};

// Writes the file; the same arguments always give the same bytes. Returns
// what was written, or zero lines when the file could not be written.
GeneratedAgenda WriteAgenda(const std::string& path, size_t lines, bool everyLineApplies);

}  // namespace bench
