// The benchmarks' heap: the local and global heap calls as a plain Win32 heap
// answers them, over the C library's allocator. A movable block's handle
// points at a small record of the block. A movable block that grows moves to
// new memory, its bytes copied, as a real Win32 heap moves a large block: the
// C library would often grow it in place by remapping pages, and a writer
// that resizes a growing block again and again would then look cheaper here
// than it is where the module ships. Unlike the tests' stand-in heap it finds
// no faults and counts nothing, so that the benchmarks measure the engine.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct Movable {
  char* data;
  size_t size;
  int locks;
};

// Movable handles are records, tagged in their lowest bit; a fixed block's
// handle is its memory, whose size the word before it keeps.
constexpr uintptr_t kMovableTag = 1;

bool IsMovable(HANDLE mem) { return (reinterpret_cast<uintptr_t>(mem) & kMovableTag) != 0; }

Movable* RecordOf(HANDLE mem) {
  return reinterpret_cast<Movable*>(reinterpret_cast<uintptr_t>(mem) & ~kMovableTag);
}

size_t* SizeWordOf(HANDLE mem) { return static_cast<size_t*>(mem) - 1; }

HANDLE Alloc(UINT flags, SIZE_T bytes) {
  const bool zero = (flags & LMEM_ZEROINIT) != 0;
  if (flags & LMEM_MOVEABLE) {
    char* data = static_cast<char*>(zero ? std::calloc(1, bytes ? bytes : 1)
                                         : std::malloc(bytes ? bytes : 1));
    if (data == nullptr) return nullptr;
    Movable* record = new Movable{data, bytes, 0};
    return reinterpret_cast<HANDLE>(reinterpret_cast<uintptr_t>(record) | kMovableTag);
  }
  size_t* word = static_cast<size_t*>(zero ? std::calloc(1, sizeof(size_t) + bytes)
                                           : std::malloc(sizeof(size_t) + bytes));
  if (word == nullptr) return nullptr;
  *word = bytes;
  return word + 1;
}

HANDLE ReAlloc(HANDLE mem, SIZE_T bytes, UINT flags) {
  if (mem == nullptr) return nullptr;
  const bool zero = (flags & LMEM_ZEROINIT) != 0;
  if (IsMovable(mem)) {
    Movable* record = RecordOf(mem);
    char* data = nullptr;
    if (bytes > record->size) {
      data = static_cast<char*>(std::malloc(bytes));
      if (data == nullptr) return nullptr;
      std::memcpy(data, record->data, record->size);
      std::free(record->data);
    } else {
      data = static_cast<char*>(std::realloc(record->data, bytes ? bytes : 1));
      if (data == nullptr) return nullptr;
    }
    if (zero && bytes > record->size) std::memset(data + record->size, 0, bytes - record->size);
    record->data = data;
    record->size = bytes;
    return mem;
  }
  const size_t old = *SizeWordOf(mem);
  // A fixed block may change its address only when the caller allows it.
  if (bytes > old && !(flags & LMEM_MOVEABLE)) return nullptr;
  size_t* word = static_cast<size_t*>(std::realloc(SizeWordOf(mem), sizeof(size_t) + bytes));
  if (word == nullptr) return nullptr;
  if (zero && bytes > old) std::memset(reinterpret_cast<char*>(word + 1) + old, 0, bytes - old);
  *word = bytes;
  return word + 1;
}

LPVOID Lock(HANDLE mem) {
  if (mem == nullptr) return nullptr;
  if (!IsMovable(mem)) return mem;
  Movable* record = RecordOf(mem);
  ++record->locks;
  return record->data;
}

BOOL Unlock(HANDLE mem) {
  if (mem == nullptr || !IsMovable(mem)) return FALSE;
  Movable* record = RecordOf(mem);
  if (record->locks > 0) --record->locks;
  return record->locks > 0;
}

HANDLE Free(HANDLE mem) {
  if (mem == nullptr) return nullptr;
  if (IsMovable(mem)) {
    Movable* record = RecordOf(mem);
    std::free(record->data);
    delete record;
  } else {
    std::free(SizeWordOf(mem));
  }
  return nullptr;
}

SIZE_T Size(HANDLE mem) {
  if (mem == nullptr) return 0;
  return IsMovable(mem) ? RecordOf(mem)->size : *SizeWordOf(mem);
}

}  // namespace

extern "C" {

HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) { return Alloc(flags, bytes); }
HLOCAL WINAPI LocalReAlloc(HLOCAL mem, SIZE_T bytes, UINT flags) {
  return ReAlloc(mem, bytes, flags);
}
LPVOID WINAPI LocalLock(HLOCAL mem) { return Lock(mem); }
BOOL WINAPI LocalUnlock(HLOCAL mem) { return Unlock(mem); }
HLOCAL WINAPI LocalFree(HLOCAL mem) { return Free(mem); }
SIZE_T WINAPI LocalSize(HLOCAL mem) { return Size(mem); }

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) { return Alloc(flags, bytes); }
HGLOBAL WINAPI GlobalReAlloc(HGLOBAL mem, SIZE_T bytes, UINT flags) {
  return ReAlloc(mem, bytes, flags);
}
LPVOID WINAPI GlobalLock(HGLOBAL mem) { return Lock(mem); }
BOOL WINAPI GlobalUnlock(HGLOBAL mem) { return Unlock(mem); }
HGLOBAL WINAPI GlobalFree(HGLOBAL mem) { return Free(mem); }
SIZE_T WINAPI GlobalSize(HGLOBAL mem) { return Size(mem); }

}  // extern "C"
