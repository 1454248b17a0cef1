#include "fuzz/fuzz_support.h"

#include <standin.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "testing/scratch_dir.h"

namespace fuzz_support {

const std::string& ScratchDir() {
  static testing_support::ScratchDir scratch;
  return scratch.path();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    fprintf(stderr, "cannot write %s\n", path.c_str());
    abort();
  }
}

AgendaDate DateFrom(uint8_t year, uint8_t month, uint8_t day) {
  return AgendaDate{1990 + year % 16, month % 14, day % 33};
}

reference::Date ModelDate(AgendaDate date) {
  return reference::Date{date.year, date.month, date.day};
}

void Fail(const char* what, const std::string& expected, const std::string& actual) {
  size_t first = 0;
  while (first < expected.size() && first < actual.size() && expected[first] == actual[first]) {
    ++first;
  }
  // Long texts are shown from a little before their first difference.
  const size_t from = first > 64 ? first - 64 : 0;
  const auto excerpt = [from](const std::string& text) {
    return Escaped(text.substr(std::min(from, text.size()), 512));
  };
  fprintf(stderr,
          "FAILED: %s\n  first difference at byte %zu; bytes shown from %zu\n"
          "  expected (%zu bytes): \"%s\"\n  actual   (%zu bytes): \"%s\"\n",
          what, first, from, expected.size(), excerpt(expected).c_str(), actual.size(),
          excerpt(actual).c_str());
  abort();
}

void CheckNoHeapFaults() {
  if (standin::FaultCount() == 0) return;
  std::string faults;
  for (const std::string& fault : standin::Faults()) faults += fault + "; ";
  Fail("heap misuse", "no fault", faults);
}

}  // namespace fuzz_support
