// What the fuzz targets share: a scratch directory, dates taken from input
// bytes, and failure reports that show expected and actual bytes.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>

#include "agenda/agenda.h"
#include "testing/escaped.h"
#include "testing/reference_model.h"

namespace fuzz_support {

using testing_support::Escaped;

// A directory of its own under the system's temporary directory, made once
// per process and removed when the process ends normally.
const std::string& ScratchDir();

// Writes `bytes` exactly to `path`; aborts when it cannot.
void WriteFile(const std::string& path, const std::string& bytes);

// A date from three input bytes: years around the formats' examples, and
// months and days that include 0 and values past the calendar's, which the
// engine must take as they are.
AgendaDate DateFrom(uint8_t year, uint8_t month, uint8_t day);
reference::Date ModelDate(AgendaDate date);

// Reports a broken invariant, with what was expected and what came back, and
// ends the run so that libFuzzer keeps the input.
[[noreturn]] void Fail(const char* what, const std::string& expected, const std::string& actual);

// Checks that the stand-in saw no heap misuse (freeing a locked block,
// unlocking an unlocked one...).
void CheckNoHeapFaults();

}  // namespace fuzz_support
