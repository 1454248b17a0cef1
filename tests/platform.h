// What the host-level tests do differently over the stand-in and over real
// Windows. Everything else in those tests is plain Win32.
#pragma once

#include <string>

namespace test_platform {

// Heap blocks alive, or -1 where they cannot be counted.
int LiveBlocks();
// Heap misuse seen so far (freeing a locked block, an unknown handle...), or
// 0 where it cannot be seen.
int HeapFaults();
// Makes the next `skip` heap allocations succeed and the `count` after them
// fail; false where failures cannot be injected.
bool FailHeapCalls(int skip, int count);

}  // namespace test_platform
