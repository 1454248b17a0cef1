#include "bench/agenda_generator.h"

#include <stdint.h>
#include <stdio.h>

namespace bench {

namespace {

// A small fixed-seed generator, so that files are the same on every machine.
class Random {
 public:
  uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<uint32_t>(state_ >> 11);
  }
  uint32_t Below(uint32_t n) { return Next() % n; }

 private:
  uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

// Entry texts as people write them: words, times, places, Japanese.
const char* const kTexts[] = {
    "会議 10:00 第二会議室",  "Dentist appointment",
    "歯医者 15:30",           "Call the bank about the account",
    "誕生日　田中さん",       "Project review with the whole team, bring the printed figures",
    "ゴミの日（燃えるゴミ）", "Pay the rent",
    "締め切り：月次報告書",   "Train to Osaka 8:12 from platform 14",
};
constexpr uint32_t kTextCount = sizeof kTexts / sizeof kTexts[0];

// A line that applies to kDate: dated, yearly, monthly or daily.
void ApplyingLine(Random& random, char* line, size_t size) {
  const char* const kFields[] = {"2024/06/15", "0000/06/15", "0000/00/15", "0000/00/00"};
  snprintf(line, size, "%s %s", kFields[random.Below(4)], kTexts[random.Below(kTextCount)]);
}

// An entry of another day: its day field is never 15 and never 00.
void OtherDayLine(Random& random, char* line, size_t size) {
  uint32_t day = 1 + random.Below(28);
  if (day == 15) day = 16;
  const uint32_t year = random.Below(10) == 0 ? 0 : 2020 + random.Below(10);
  snprintf(line, size, "%04u/%02u/%02u %s", year, 1 + random.Below(12), day,
           kTexts[random.Below(kTextCount)]);
}

}  // namespace

GeneratedAgenda WriteAgenda(const std::string& path, size_t lines, bool everyLineApplies) {
  GeneratedAgenda written = {0, 0, 0};
  FILE* file = fopen(path.c_str(), "wb");
  if (file == nullptr) return written;
  Random random;
  char line[256];
  for (size_t i = 0; i < lines; ++i) {
    const uint32_t kind = everyLineApplies ? 0 : random.Below(1000);
    if (kind < 10) {
      ApplyingLine(random, line, sizeof line);
      ++written.applying;
    } else if (kind < 110) {
      snprintf(line, sizeof line, "; %s", kTexts[random.Below(kTextCount)]);
    } else if (kind < 130) {
      line[0] = '\0';
    } else {
      OtherDayLine(random, line, sizeof line);
    }
    written.bytes += static_cast<size_t>(fprintf(file, "%s\r\n", line));
  }
  written.lines = lines;
  if (fclose(file) != 0) written = {0, 0, 0};
  return written;
}

}  // namespace bench
