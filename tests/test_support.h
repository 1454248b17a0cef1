// Helpers shared by the tests: scratch files and readable byte dumps.
#pragma once

#include <windows.h>

#include <string>

#include "agenda/agenda.h"
#include "tests/escaped.h"

namespace testing_support {

// A directory of its own under the system's temporary directory, removed
// with everything in it when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }
  // Writes `bytes` exactly to `name` in the directory; returns the full path.
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string path_;
};

// The text of a local memo block, or "(none)" for a null handle.
std::string BlockText(HLOCAL block);

// Today's local date, from the C library's clock; the tests' own view of it.
AgendaDate LocalToday();
bool SameDate(AgendaDate a, AgendaDate b);

// A memo heading for a date, e.g. "1999/01/05の予定" in Shift-JIS.
std::string Heading(AgendaDate date);

}  // namespace testing_support
