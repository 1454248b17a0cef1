// Taking names out of an arbitrary file list, given by length (NULs and all).
// Every name must fit its buffer, each call must move forward, and the names
// must be those the reference model takes.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "agenda/agenda.h"
#include "fuzz/fuzz_support.h"
#include "testing/reference_model.h"

using fuzz_support::Fail;

namespace {

std::string Joined(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += "[" + name + "]";
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A heap copy of exactly the given bytes, not NUL-terminated: the parser
  // must keep to the length it is given.
  char* list = static_cast<char*>(malloc(size > 0 ? size : 1));
  if (size > 0) memcpy(list, data, size);

  std::vector<std::string> names;
  size_t position = 0;
  char name[kFileNameBufferSize];
  for (;;) {
    const size_t before = position;
    if (!NextFileName(&position, name, list, size)) break;
    if (position <= before || position > size) {
      Fail("position after a name",
           "in (" + std::to_string(before) + ", " + std::to_string(size) + "]",
           std::to_string(position));
    }
    const size_t length = strnlen(name, kFileNameBufferSize);
    if (length == 0 || length >= kFileNameBufferSize) {
      Fail("name length", "1 to 259", std::to_string(length));
    }
    names.emplace_back(name, length);
  }
  if (position > size)
    Fail("final position", "at most " + std::to_string(size), std::to_string(position));

  const std::vector<std::string> expected =
      reference::FileNames(std::string(reinterpret_cast<const char*>(data), size));
  if (names != expected) Fail("names", Joined(expected), Joined(names));
  free(list);
  return 0;
}
