// What the module answers without a chip: the descriptor, the timer query
// and the inert entry points, found by name as a host finds them.
// Not covered: anything that needs a chip (chip_test.cpp).
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "host/vorlinde.h"
#include "tests/module_test.h"
#include "tests/test_support.h"

namespace {

using testing_support::Escaped;

class DescriptorTest : public testing_support::ModuleTest {
 protected:
  void* Entry(const char* name) { return reinterpret_cast<void*>(GetProcAddress(module_, name)); }
};

TEST_F(DescriptorTest, DescriptorWritesItsFieldsAndNothingElse) {
  auto describe = reinterpret_cast<DrawExSpecificationProc>(Entry("DrawExSpecification"));
  ASSERT_NE(nullptr, describe);
  unsigned char bytes[128];
  memset(bytes, 0xCC, sizeof bytes);
  EXPECT_EQ(0, describe(reinterpret_cast<DrawExDescriptor*>(bytes)));

  const std::string name = "簡易Vorlinde";
  const auto word = [&](size_t offset) {
    uint32_t value;
    memcpy(&value, bytes + offset, sizeof value);
    return value;
  };
  EXPECT_EQ(256u, word(0));
  EXPECT_EQ(256u, word(4));
  EXPECT_EQ(name, std::string(reinterpret_cast<char*>(bytes + 8)))
      << Escaped(reinterpret_cast<char*>(bytes + 8));
  for (size_t i = 8 + name.size() + 1; i < 60; ++i) EXPECT_EQ(0xCC, bytes[i]) << "byte " << i;
  EXPECT_EQ(5u, word(60));
  EXPECT_EQ(1u, word(64));
  EXPECT_EQ(44u, word(68));
  for (size_t i = 72; i < sizeof bytes; ++i) EXPECT_EQ(0xCC, bytes[i]) << "byte " << i;
}

TEST_F(DescriptorTest, TimerSpanIsAlwaysAllBitsSet) {
  auto timerSpan = reinterpret_cast<NoArgumentProc>(Entry("GetTimerSpan"));
  ASSERT_NE(nullptr, timerSpan);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(-1, timerSpan());
}

TEST_F(DescriptorTest, InertEntryPointsGiveTheirFixedAnswers) {
  const struct {
    const char* name;
    int result;
  } cases[] = {
      {"CalcDefaultRect", 1}, {"DrawChip", 1},    {"MouseClik", 1},
      {"DoTimer", 0},         {"GetSaveData", 0}, {"Resize", 0},
  };
  for (const auto& c : cases) {
    auto entry = reinterpret_cast<NoArgumentProc>(Entry(c.name));
    ASSERT_NE(nullptr, entry) << c.name;
    EXPECT_EQ(c.result, entry()) << c.name;
  }
  EXPECT_EQ(nullptr, Entry("MouseClick")) << "the host asks for MouseClik";
  auto zoom = reinterpret_cast<void (*)(void)>(Entry("Zoom"));
  ASSERT_NE(nullptr, zoom);
  zoom();
}

}  // namespace
