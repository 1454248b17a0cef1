#include "testing/shortage_oracle.h"

namespace testing_support {

namespace {

// The lines of a memo after its heading, each without the CR LF before it;
// false when the bytes after the heading are not such lines.
bool LinesAfter(const std::string& memo, size_t heading, std::vector<std::string>* lines) {
  for (size_t at = heading; at < memo.size();) {
    if (memo.compare(at, 2, "\r\n") != 0) return false;
    const size_t next = memo.find("\r\n", at + 2);
    const size_t end = next == std::string::npos ? memo.size() : next;
    lines->push_back(memo.substr(at + 2, end - at - 2));
    at = end;
  }
  return true;
}

}  // namespace

bool IsWhatAShortageLeaves(const std::string& memo, const std::string& whole,
                           const std::string& heading, const std::string& errorText,
                           std::vector<std::string>* kept) {
  if (memo == errorText) return true;
  if (memo.compare(0, heading.size(), heading) != 0) return false;
  if (whole.compare(0, heading.size(), heading) != 0) return false;
  std::vector<std::string> lines, all;
  if (!LinesAfter(memo, heading.size(), &lines) || !LinesAfter(whole, heading.size(), &all)) {
    return false;
  }
  size_t next = 0;
  for (const std::string& line : lines) {
    while (next < all.size() && all[next] != line) ++next;
    if (next == all.size()) return false;
    ++next;
  }
  if (kept != nullptr) *kept = lines;
  return true;
}

}  // namespace testing_support
