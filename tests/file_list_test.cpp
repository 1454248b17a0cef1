// Taking agenda file names out of a chip's text.
// Not covered: reading the files named (memo_test.cpp, hostile_test.cpp).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "agenda/agenda.h"
#include "tests/test_support.h"

namespace {

using testing_support::Escaped;

std::vector<std::string> NamesOf(const std::string& list) {
  std::vector<std::string> names;
  size_t position = 0;
  char name[kFileNameBufferSize];
  while (NextFileName(&position, name, list.data(), list.size())) names.push_back(name);
  return names;
}

std::string Joined(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += "[" + Escaped(name) + "]";
  return out;
}

TEST(NextFileName, Table) {
  const std::string longName(259, 'n');
  const std::string tooLong(260, 'x');
  const struct {
    std::string list;
    std::vector<std::string> names;
  } cases[] = {
      {"a.vrn", {"a.vrn"}},
      {"a.vrn\r\nb.vrn", {"a.vrn", "b.vrn"}},
      {"a.vrn\nb.vrn\rc.vrn\r\n", {"a.vrn", "b.vrn", "c.vrn"}},
      {"\r\n\r\n\ta.vrn\r\n\r\n\t\tb.vrn", {"a.vrn", "b.vrn"}},
      // Spaces belong to the name, at either end; tabs only lead are dropped.
      {" a.vrn \t\r\nb.vrn", {" a.vrn \t", "b.vrn"}},
      {"\t \ta.vrn", {" \ta.vrn"}},
      {"a.vrn\r\na.vrn", {"a.vrn", "a.vrn"}},
      {"\r\n\t\r\n\t", {}},
      {"", {}},
      {"C:\\予定\\仕事.vrn", {"C:\\予定\\仕事.vrn"}},
      // The longest name that fits, and a line too long that is skipped whole.
      {longName, {longName}},
      {tooLong + "\r\nb.vrn", {"b.vrn"}},
      {"a.vrn\r\n" + tooLong, {"a.vrn"}},
      // A NUL inside the given length ends the list.
      {std::string("a.vrn\r\n\0b.vrn", 13), {"a.vrn"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Joined(c.names), Joined(NamesOf(c.list))) << "list \"" << Escaped(c.list) << "\"";
  }
}

TEST(NextFileName, ReadsNoFurtherThanTheGivenLength) {
  const std::string list = "a.vrn\r\nb.vrn";
  size_t position = 0;
  char name[kFileNameBufferSize];
  ASSERT_TRUE(NextFileName(&position, name, list.data(), 3));
  EXPECT_STREQ("a.v", name);
  EXPECT_EQ(3u, position);
  EXPECT_FALSE(NextFileName(&position, name, list.data(), 3));
}

TEST(NextFileName, StopsBeforeTheLineBreakAndResumesAfterIt) {
  const std::string list = "a.vrn\r\nb.vrn";
  size_t position = 0;
  char name[kFileNameBufferSize];
  ASSERT_TRUE(NextFileName(&position, name, list.data(), list.size()));
  EXPECT_EQ(5u, position);
  ASSERT_TRUE(NextFileName(&position, name, list.data(), list.size()));
  EXPECT_STREQ("b.vrn", name);
  EXPECT_EQ(list.size(), position);
}

}  // namespace
