// What the module answers without a chip: the descriptor, the timer query
// and the inert entry points, found by name as a host finds them.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "host/vorlinde.h"
#include "tests/test_support.h"

namespace {

using testing_support::Escaped;

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA(VORLINDE_TEST_MODULE);
    ASSERT_NE(nullptr, module_) << "cannot load " << VORLINDE_TEST_MODULE;
  }
  void TearDown() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  void* Entry(const char* name) { return reinterpret_cast<void*>(GetProcAddress(module_, name)); }
  HMODULE module_ = nullptr;
};

TEST_F(ModuleTest, DescriptorWritesItsFieldsAndNothingElse) {
  auto describe = reinterpret_cast<DrawExSpecificationProc>(Entry("DrawExSpecification"));
  ASSERT_NE(nullptr, describe);
  unsigned char bytes[128];
  memset(bytes, 0xCC, sizeof bytes);
  EXPECT_EQ(0, describe(reinterpret_cast<DrawExDescriptor*>(bytes)));

  const std::string name = "簡易Vorlinde";
  ASSERT_EQ(12u, name.size()) << "the name in Shift-JIS";
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

TEST_F(ModuleTest, TimerSpanIsAlwaysAllBitsSet) {
  auto timerSpan = reinterpret_cast<NoArgumentProc>(Entry("GetTimerSpan"));
  ASSERT_NE(nullptr, timerSpan);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(-1, timerSpan());
}

TEST_F(ModuleTest, InertEntryPointsShareTheirRoutines) {
  const struct {
    const char* names[3];
    int result;
  } groups[] = {
      {{"CalcDefaultRect", "DrawChip", "MouseClik"}, 1},
      {{"DoTimer", "GetSaveData", "Resize"}, 0},
  };
  for (const auto& group : groups) {
    void* first = Entry(group.names[0]);
    for (const char* name : group.names) {
      void* entry = Entry(name);
      ASSERT_NE(nullptr, entry) << name;
      EXPECT_EQ(first, entry) << name << " leads to another routine than " << group.names[0];
      EXPECT_EQ(group.result, reinterpret_cast<NoArgumentProc>(entry)()) << name;
    }
  }
  EXPECT_EQ(nullptr, Entry("MouseClick")) << "the host asks for MouseClik";
  auto zoom = reinterpret_cast<void (*)(void)>(Entry("Zoom"));
  ASSERT_NE(nullptr, zoom);
  zoom();
}

}  // namespace
