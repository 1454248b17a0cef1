// The base of the host-level tests: the module loaded as a host loads it, by
// path, with its entry points found by name. After each test every chip made
// through it is released, and no heap block may be left over nor the heap be
// misused.
#pragma once

#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "host/vorlinde.h"
#include "tests/platform.h"

namespace testing_support {

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryA(VORLINDE_TEST_MODULE);
    ASSERT_NE(nullptr, module_) << "cannot load " << VORLINDE_TEST_MODULE;
    Resolve("InitializeChip", &initializeChip_);
    Resolve("Update", &update_);
    Resolve("GetMemoString", &getMemoString_);
    Resolve("UnInitializeChip", &unInitializeChip_);
    blocksBefore_ = test_platform::LiveBlocks();
    faultsBefore_ = test_platform::HeapFaults();
  }

  void TearDown() override {
    test_platform::FailHeapCalls(0, 0);
    for (ChipHandle chip : chips_) unInitializeChip_(chip);
    chips_.clear();
    EXPECT_EQ(blocksBefore_, test_platform::LiveBlocks()) << "heap blocks leaked";
    EXPECT_EQ(faultsBefore_, test_platform::HeapFaults()) << "heap misused";
    if (module_ != nullptr) FreeLibrary(module_);
  }

  template <typename Proc>
  void Resolve(const char* name, Proc* proc) {
    *proc = module_ != nullptr
                ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module_, name)))
                : nullptr;
    ASSERT_NE(nullptr, *proc) << "no entry point " << name;
  }

  // A chip whose text is `text` (null for none), made as a host makes one;
  // released at the end of the test unless the test releases it.
  ChipHandle NewChip(const char* text) {
    ChipRecord record;
    memset(&record, 0xA5, sizeof record);  // the host's other fields
    record.chipText = text;
    ChipHandle chip = nullptr;
    EXPECT_EQ(0, initializeChip_(&chip, reinterpret_cast<void*>(0x1234), &record));
    if (chip != nullptr) chips_.push_back(chip);
    return chip;
  }

  void Release(ChipHandle chip) {
    for (auto it = chips_.begin(); it != chips_.end(); ++it) {
      if (*it == chip) {
        chips_.erase(it);
        break;
      }
    }
    EXPECT_EQ(0, unInitializeChip_(chip));
  }

  int UpdateWith(ChipHandle chip, const char* text) {
    ChipRecord record = {};
    record.chipText = text;
    return update_(chip, nullptr, &record);
  }

  // The chip's memo, read as a host reads it: its length first, then a copy.
  std::string Memo(ChipHandle chip) {
    const int length = getMemoString_(chip, nullptr, 0);
    std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    EXPECT_EQ(length, getMemoString_(chip, buffer.data(), length + 1));
    return std::string(buffer.data());
  }

  HMODULE module_ = nullptr;
  InitializeChipProc initializeChip_ = nullptr;
  UpdateProc update_ = nullptr;
  GetMemoStringProc getMemoString_ = nullptr;
  UnInitializeChipProc unInitializeChip_ = nullptr;
  std::vector<ChipHandle> chips_;
  int blocksBefore_ = 0;
  int faultsBefore_ = 0;
};

}  // namespace testing_support
