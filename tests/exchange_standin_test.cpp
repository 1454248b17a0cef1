// The send-text exchange with a handle the stand-in can tell is stale.
#include <gtest/gtest.h>
#include <standin.h>

#include <string>

#include "host/vorlinde.h"

namespace {

TEST(ExchangeStandinTest, UnlockableBlockIsLeftAlone) {
  HMODULE module = LoadLibraryA(VORLINDE_TEST_MODULE);
  ASSERT_NE(nullptr, module) << "cannot load " << VORLINDE_TEST_MODULE;
  auto exchange = reinterpret_cast<ExchangeSendStringProc>(
      reinterpret_cast<void*>(GetProcAddress(module, "ExchangeSendString")));
  ASSERT_NE(nullptr, exchange);
  const int blocksBefore = standin::LiveBlocks();
  standin::ClearFaults();

  HGLOBAL stale = GlobalAlloc(GMEM_MOVEABLE, 16);
  ASSERT_NE(nullptr, stale);
  GlobalFree(stale);
  HGLOBAL variable = stale;
  EXPECT_EQ(0, exchange(&variable));
  EXPECT_EQ(stale, variable) << "the host's variable is left alone";
  // The one lock attempt is all the module did with the handle.
  const std::vector<std::string> faults = standin::Faults();
  ASSERT_EQ(1u, faults.size());
  EXPECT_EQ(0u, faults[0].rfind("GlobalLock:", 0))
      << "expected a GlobalLock fault, got " << faults[0];
  standin::ClearFaults();
  EXPECT_EQ(blocksBefore, standin::LiveBlocks());
  FreeLibrary(module);
}

}  // namespace
