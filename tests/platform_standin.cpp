#include <standin.h>

#include "tests/platform.h"

namespace test_platform {

int LiveBlocks() { return standin::LiveBlocks(); }
int HeapFaults() { return standin::FaultCount(); }
bool FailHeapCalls(int skip, int count) {
  standin::FailHeapCalls(skip, count);
  return true;
}

}  // namespace test_platform
