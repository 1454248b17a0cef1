// Local and global heap: one table for both, since the two APIs differ only in
// name on Win32. Movable blocks get opaque handles and, when they grow, new
// memory, so code that keeps a pointer past an unlock or a resize trips the
// address sanitizer instead of working by luck.
#include <sanitizer/asan_interface.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "internal.h"
#include "standin.h"

using standin::detail::Describe;
using standin::detail::Fault;

namespace {

struct Block {
  char* data;
  size_t size;  // what the caller asked for
  size_t room;  // what is allocated; the bytes past `size` are poisoned
  bool movable;
  int locks;  // movable blocks only: fixed blocks have no lock count on Win32
};

struct Heap {
  std::mutex tableLock;
  std::map<uintptr_t, Block> blocks;  // by handle; a fixed block's handle is its address
  uintptr_t tokens = 0;
  int failSkip = 0;
  int failCount = 0;
  int lockFailSkip = 0;
  int lockFailCount = 0;
};

Heap& TheHeap() {
  static Heap* heap = new Heap;
  return *heap;
}

constexpr uintptr_t kMovableBase = 0x48000005;
// Fill for memory the caller did not ask to be zeroed: not a string end, not a
// small number, so reliance on zeroed memory shows.
constexpr int kGarbage = 0xA5;

void PoisonTail(const Block& b) { ASAN_POISON_MEMORY_REGION(b.data + b.size, b.room - b.size); }
void Unpoison(const Block& b) { ASAN_UNPOISON_MEMORY_REGION(b.data, b.room); }

// True when this call is one of those a test asked to fail: the next `*skip`
// calls succeed, the `*count` after them fail.
bool CountDown(int* skip, int* count) {
  if (*skip > 0) {
    --*skip;
    return false;
  }
  if (*count > 0) {
    --*count;
    return true;
  }
  return false;
}

// True when this allocation or resize is one that FailHeapCalls asked to fail.
bool InjectFailure(Heap& h) { return CountDown(&h.failSkip, &h.failCount); }

Block* Find(Heap& h, const char* call, HANDLE mem) {
  auto it = h.blocks.find(reinterpret_cast<uintptr_t>(mem));
  if (it == h.blocks.end()) {
    Fault(call, "unknown handle " + Describe(mem));
    return nullptr;
  }
  return &it->second;
}

HANDLE Alloc(UINT flags, SIZE_T bytes) {
  Heap& h = TheHeap();
  std::lock_guard<std::mutex> lock(h.tableLock);
  if (InjectFailure(h)) return nullptr;
  char* data = static_cast<char*>(std::malloc(bytes ? bytes : 1));
  if (!data) return nullptr;
  std::memset(data, (flags & LMEM_ZEROINIT) ? 0 : kGarbage, bytes);
  bool movable = (flags & LMEM_MOVEABLE) != 0;
  uintptr_t handle = reinterpret_cast<uintptr_t>(data);
  if (movable) {
    do handle = standin::detail::NextToken(kMovableBase, h.tokens);
    while (h.blocks.count(handle));
  }
  h.blocks[handle] = Block{data, bytes, bytes, movable, 0};
  return reinterpret_cast<HANDLE>(handle);
}

HANDLE ReAlloc(const char* call, HANDLE mem, SIZE_T bytes, UINT flags) {
  Heap& h = TheHeap();
  std::lock_guard<std::mutex> lock(h.tableLock);
  Block* b = Find(h, call, mem);
  if (!b || InjectFailure(h)) return nullptr;
  int fill = (flags & LMEM_ZEROINIT) ? 0 : kGarbage;
  if (bytes <= b->size) {
    // Shrinking: the block stays where it is.
    Unpoison(*b);
    b->size = bytes;
    PoisonTail(*b);
    return mem;
  }
  // Growing needs new memory. A locked movable block may only move when the
  // caller allows it; a fixed block can only move by changing its handle.
  bool mayMove = (flags & LMEM_MOVEABLE) != 0;
  if (b->movable ? (b->locks > 0 && !mayMove) : !mayMove) return nullptr;
  // Growing always moves the block to new memory and releases the old, so
  // that a pointer kept past an unlock or a resize is caught.
  char* data = static_cast<char*>(std::malloc(bytes));
  if (!data) return nullptr;
  Unpoison(*b);
  std::memcpy(data, b->data, b->size);
  std::free(b->data);
  std::memset(data + b->size, fill, bytes - b->size);
  b->data = data;
  b->size = bytes;
  b->room = bytes;
  if (b->movable) return mem;
  Block moved = *b;
  h.blocks.erase(reinterpret_cast<uintptr_t>(mem));
  h.blocks[reinterpret_cast<uintptr_t>(data)] = moved;
  return data;
}

LPVOID Lock(const char* call, HANDLE mem) {
  if (!mem) return nullptr;  // Win32 answers NULL without complaint
  Heap& h = TheHeap();
  std::lock_guard<std::mutex> lock(h.tableLock);
  Block* b = Find(h, call, mem);
  // A lock that fails is a movable block's (a discarded one's, on Win32).
  if (!b || (b->movable && CountDown(&h.lockFailSkip, &h.lockFailCount))) return nullptr;
  if (b->movable) ++b->locks;
  return b->data;
}

BOOL Unlock(const char* call, HANDLE mem) {
  Heap& h = TheHeap();
  std::lock_guard<std::mutex> lock(h.tableLock);
  Block* b = Find(h, call, mem);
  if (!b || !b->movable) return FALSE;
  if (b->locks == 0) {
    Fault(call, "block " + Describe(mem) + " is not locked");
    return FALSE;
  }
  return --b->locks > 0;
}

HANDLE Free(const char* call, HANDLE mem) {
  if (!mem) return nullptr;
  Heap& h = TheHeap();
  std::lock_guard<std::mutex> lock(h.tableLock);
  Block* b = Find(h, call, mem);
  if (!b) return mem;
  // Win32 frees a locked block all the same; whoever still holds the pointer
  // is then caught by the sanitizer.
  if (b->locks > 0)
    Fault(call, "block " + Describe(mem) + " is freed while locked " + std::to_string(b->locks) +
                    " time(s)");
  Unpoison(*b);
  std::free(b->data);
  h.blocks.erase(reinterpret_cast<uintptr_t>(mem));
  return nullptr;
}

SIZE_T Size(const char* call, HANDLE mem) {
  Heap& h = TheHeap();
  std::lock_guard<std::mutex> lock(h.tableLock);
  Block* b = Find(h, call, mem);
  return b ? b->size : 0;
}

}  // namespace

extern "C" {

HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) { return Alloc(flags, bytes); }
HLOCAL WINAPI LocalReAlloc(HLOCAL mem, SIZE_T bytes, UINT flags) {
  return ReAlloc("LocalReAlloc", mem, bytes, flags);
}
LPVOID WINAPI LocalLock(HLOCAL mem) { return Lock("LocalLock", mem); }
BOOL WINAPI LocalUnlock(HLOCAL mem) { return Unlock("LocalUnlock", mem); }
HLOCAL WINAPI LocalFree(HLOCAL mem) { return Free("LocalFree", mem); }
SIZE_T WINAPI LocalSize(HLOCAL mem) { return Size("LocalSize", mem); }

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) { return Alloc(flags, bytes); }
HGLOBAL WINAPI GlobalReAlloc(HGLOBAL mem, SIZE_T bytes, UINT flags) {
  return ReAlloc("GlobalReAlloc", mem, bytes, flags);
}
LPVOID WINAPI GlobalLock(HGLOBAL mem) { return Lock("GlobalLock", mem); }
BOOL WINAPI GlobalUnlock(HGLOBAL mem) { return Unlock("GlobalUnlock", mem); }
HGLOBAL WINAPI GlobalFree(HGLOBAL mem) { return Free("GlobalFree", mem); }
SIZE_T WINAPI GlobalSize(HGLOBAL mem) { return Size("GlobalSize", mem); }

}  // extern "C"

namespace standin {

int LiveBlocks() {
  std::lock_guard<std::mutex> lock(TheHeap().tableLock);
  return static_cast<int>(TheHeap().blocks.size());
}

int LockCount(HANDLE mem) {
  std::lock_guard<std::mutex> lock(TheHeap().tableLock);
  auto it = TheHeap().blocks.find(reinterpret_cast<uintptr_t>(mem));
  return it == TheHeap().blocks.end() ? -1 : it->second.locks;
}

void FailHeapCalls(int skip, int count) {
  std::lock_guard<std::mutex> lock(TheHeap().tableLock);
  TheHeap().failSkip = skip;
  TheHeap().failCount = count;
}

void FailLockCalls(int skip, int count) {
  std::lock_guard<std::mutex> lock(TheHeap().tableLock);
  TheHeap().lockFailSkip = skip;
  TheHeap().lockFailCount = count;
}

}  // namespace standin
