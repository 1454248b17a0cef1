#include "tools/chip_paths/chip_paths.h"

#include "agenda/agenda.h"
#include "tools/encodings/code_page.h"

ChipReading ChipCanRead(const std::string& utf8) {
  ChipReading reading;
  // The plug-in's name buffer, its last byte for the terminating NUL.
  reading.limit = kFileNameBufferSize - 1;
  std::string ansi;
  if (!ToAnsiCodePage(utf8, &ansi)) {
    reading.kind = ChipReading::kNotInCodePage;
    return reading;
  }
  reading.bytes = ansi.size();
  if (reading.bytes > reading.limit) reading.kind = ChipReading::kTooLong;
  return reading;
}
