// How a chip reads a path from its list: its bytes in the code page (two for
// a Japanese character) against the plug-in's limit, and characters the code
// page lacks. Not covered: the Windows program's own code page.
#include "tools/chip_paths/chip_paths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ChipCanRead, BytesInTheCodePage) {
  std::string japanese;  // 130 characters, 260 bytes in Shift-JIS
  for (int i = 0; i < 130; ++i) japanese += "予";
  const struct {
    std::string path;
    ChipReading::Kind kind;
    size_t bytes;
  } rows[] = {
      {"C:\\Users\\a\\cal.vrn", ChipReading::kFits, 18},
      {std::string(260, 'a'), ChipReading::kTooLong, 260},
      {japanese.substr(3) + "a", ChipReading::kFits, 259},
      {japanese, ChipReading::kTooLong, 260},
      {"C:\\\xF0\x9F\x8D\xBB.vrn", ChipReading::kNotInCodePage, 0},
  };
  for (const auto& row : rows) {
    const ChipReading reading = ChipCanRead(row.path);
    EXPECT_EQ(row.kind, reading.kind) << row.path;
    EXPECT_EQ(row.bytes, reading.bytes) << row.path;
    EXPECT_EQ(259u, reading.limit) << row.path;
  }
}

}  // namespace
