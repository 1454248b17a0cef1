// Whole files for the agenda tool: a new file never overwrites one, a
// replaced file is the old one or the new one and leaves nothing beside it,
// and why a file cannot be read.
// Not covered: a file held open by another program on Windows (the wine
// tests of refresh).
#include "tools/files/files.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using testing_support::ScratchDir;

std::string In(const ScratchDir& dir, const std::string& name) { return dir.path() + "/" + name; }

std::vector<std::string> Names(const ScratchDir& dir) {
  std::vector<std::string> names;
  DIR* folder = opendir(dir.path().c_str());
  while (const dirent* entry = readdir(folder)) {
    if (entry->d_name[0] != '.') names.push_back(entry->d_name);
  }
  closedir(folder);
  std::sort(names.begin(), names.end());
  return names;
}

std::string Contents(const std::string& path) {
  std::string bytes;
  return ReadWholeFile(path, &bytes) ? "(unreadable)" : bytes;
}

TEST(Files, NewFilesNeverOverwrite) {
  ScratchDir dir;
  const std::string path = dir.Write("agenda.vrn", "old");
  EXPECT_EQ(FileProblem::kExists, WriteNewFile(path, "new").kind);
  EXPECT_EQ("old", Contents(path));
  EXPECT_FALSE(WriteNewFile(In(dir, "other.vrn"), "new"));
  EXPECT_EQ("new", Contents(In(dir, "other.vrn")));
}

TEST(Files, ReplacedWholeWithNothingBeside) {
  ScratchDir dir;
  const std::string path = dir.Write("agenda.vrn", "old");
  dir.Write("agenda.vrn.writing", "left by an interrupted run");
  EXPECT_FALSE(ReplaceFileContents(path, "new"));
  EXPECT_EQ("new", Contents(path));
  EXPECT_EQ(std::vector<std::string>{"agenda.vrn"}, Names(dir));
  // Into a folder that does not exist: nothing is made.
  EXPECT_EQ(FileProblem::kNoSuchFile,
            ReplaceFileContents(In(dir, "missing/agenda.vrn"), "new").kind);
  EXPECT_EQ(std::vector<std::string>{"agenda.vrn"}, Names(dir));
}

TEST(Files, WhyNotRead) {
  ScratchDir dir;
  mkdir(In(dir, "folder").c_str(), 0777);
  std::string bytes;
  EXPECT_EQ(FileProblem::kNoSuchFile, ReadWholeFile(In(dir, "missing.vrn"), &bytes).kind);
  EXPECT_EQ(FileProblem::kNoSuchFile, ReadWholeFile(In(dir, "missing/a.vrn"), &bytes).kind);
  EXPECT_EQ(FileProblem::kFolder, ReadWholeFile(In(dir, "folder"), &bytes).kind);
  EXPECT_EQ(FileProblem::kNotAFile, ReadWholeFile("/dev/null", &bytes).kind);
}

}  // namespace
