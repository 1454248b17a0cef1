// How a chip reads a path from its list: its length in the code page, where a
// Japanese character takes two bytes, against the plug-in's line limit, and
// characters the code page lacks.
// Not covered: the Windows program's own ANSI code page (the wine tests).
#include "tools/chip_paths/chip_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Repeated(const std::string& piece, size_t times) {
  std::string out;
  for (size_t i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(ChipCanRead, LengthInTheCodePage) {
  const struct {
    std::string path;
    ChipReading::Kind kind;
    size_t bytes;
  } rows[] = {
      {"C:\\Users\\a\\cal.vrn", ChipReading::kFits, 18},
      {Repeated("a", 259), ChipReading::kFits, 259},
      {Repeated("a", 260), ChipReading::kTooLong, 260},
      {Repeated("予", 129) + "a", ChipReading::kFits, 259},  // 388 bytes of UTF-8
      {Repeated("予", 130), ChipReading::kTooLong, 260},
      {"C:\\calendars\\\xF0\x9F\x8D\xBB.vrn", ChipReading::kNotInCodePage, 0},
  };
  for (const auto& row : rows) {
    const ChipReading reading = ChipCanRead(row.path);
    EXPECT_EQ(row.kind, reading.kind) << row.path;
    EXPECT_EQ(row.bytes, reading.bytes) << row.path;
    EXPECT_EQ(259u, reading.limit) << row.path;
  }
}

}  // namespace
