// The send-text exchange with a handle the stand-in can tell is stale.
// Not covered: the memo the exchange gives back (exchange_test.cpp).
#include <gtest/gtest.h>
#include <standin.h>

#include <string>

#include "host/vorlinde.h"
#include "testing/escaped.h"
#include "tests/global_text.h"
#include "tests/module_test.h"
#include "tests/test_support.h"

namespace {

class ExchangeStandinTest : public testing_support::ModuleTest {
 protected:
  void SetUp() override {
    standin::ClearFaults();  // the faults counted are this test's
    ModuleTest::SetUp();
    Resolve("ExchangeSendString", &exchange_);
  }

  ExchangeSendStringProc exchange_ = nullptr;
};

TEST_F(ExchangeStandinTest, UnlockableBlockIsLeftAlone) {
  HGLOBAL stale = GlobalAlloc(GMEM_MOVEABLE, 16);
  ASSERT_NE(nullptr, stale);
  GlobalFree(stale);
  HGLOBAL variable = stale;
  EXPECT_EQ(0, exchange_(&variable));
  EXPECT_EQ(stale, variable) << "the host's variable is left alone";
  // The one lock attempt is all the module did with the handle.
  const std::vector<std::string> faults = standin::Faults();
  ASSERT_EQ(1u, faults.size());
  EXPECT_EQ(0u, faults[0].rfind("GlobalLock:", 0))
      << "expected a GlobalLock fault, got " << faults[0];
  standin::ClearFaults();
}

TEST_F(ExchangeStandinTest, LockFailingAnywhereLeavesTheHostsTextWhole) {
  // A text longer than the memo it becomes, whose block must shrink, and a
  // shorter one, whose block must grow.
  for (const std::string& text :
       {"no-such-agenda.vrn\r\n" + std::string(100, ';'), std::string("x.vrn")}) {
    bool exchanged = false;
    for (int skip = 0; skip < 40; ++skip) {
      SCOPED_TRACE("a " + std::to_string(text.size()) + "-byte text, lock " +
                   std::to_string(skip + 1) + " fails");
      HGLOBAL variable = testing_support::NewGlobalText(text);
      ASSERT_NE(nullptr, variable);
      const AgendaDate today = testing_support::LocalToday();
      standin::FailLockCalls(skip, 1);
      const int result = exchange_(&variable);
      standin::FailLockCalls(0, 0);
      const std::string now = testing_support::GlobalText(variable);
      if (result == 0) {
        EXPECT_EQ(testing_support::Escaped(text), testing_support::Escaped(now))
            << "a failed exchange leaves the text as it was, NUL and all";
      } else {
        exchanged = true;
        const std::string memo = testing_support::Heading(today) + "\r\nなし";
        EXPECT_EQ(testing_support::Escaped(memo), testing_support::Escaped(now));
        EXPECT_EQ(static_cast<int>(memo.size()), result);
      }
      GlobalFree(variable);
    }
    EXPECT_TRUE(exchanged) << "the exchange never got the locks it needs";
  }
  EXPECT_EQ(0, standin::FaultCount());
}

}  // namespace
