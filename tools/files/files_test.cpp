// Whole files for the agenda tool: a new file never overwrites one, a
// replaced file is the old one or the new one and leaves nothing beside it,
// even when the final move fails, and another run's temporary file is left
// alone; why a file cannot be read, and the first free name of a numbered
// series.
// Not covered: a file held open by another program on Windows (the wine
// tests of refresh); the mode kept, links, read-only files and the refresh
// lock (check_refresh.py, on the program).
#include "tools/files/files.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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
  // Another run's, or an interrupted run's: neither used nor removed.
  dir.Write("agenda.vrn.writing", "another run's");
  const std::vector<std::string> names = {"agenda.vrn", "agenda.vrn.writing"};
  EXPECT_FALSE(ReplaceFileContents(path, "new"));
  EXPECT_EQ("new", Contents(path));
  EXPECT_EQ("another run's", Contents(In(dir, "agenda.vrn.writing")));
  EXPECT_EQ(names, Names(dir));
  // Into a folder that does not exist: nothing is made, and the temporary
  // file that could not be made is named.
  std::string temporary;
  EXPECT_EQ(FileProblem::kNoSuchFile,
            ReplaceFileContents(In(dir, "missing/agenda.vrn"), "new", &temporary).kind);
  EXPECT_EQ(In(dir, "missing/agenda.vrn.") + std::to_string(getpid()) + ".writing", temporary);
  EXPECT_EQ(names, Names(dir));
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

// The temporary file is written, then its move over the target fails: the
// folder holds what it held before, and no temporary file.
TEST(Files, NothingLeftWhenTheFinalMoveFails) {
  const struct {
    const char* what;
    std::vector<std::string> inTarget;  // the target is a folder holding these
  } cases[] = {
      {"a folder holding a file", {"inside.vrn"}},
      {"an empty folder", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    mkdir(In(dir, "agenda.vrn").c_str(), 0777);
    for (const std::string& name : c.inTarget) dir.Write("agenda.vrn/" + name, "kept");
    EXPECT_EQ(FileProblem::kFolder, ReplaceFileContents(In(dir, "agenda.vrn"), "new").kind);
    EXPECT_EQ(std::vector<std::string>{"agenda.vrn"}, Names(dir));
  }
}

TEST(Files, FirstFittingName) {
  const NumberedNames backups = {"cal.vrn", ".", 1, ".bak"}, agendas = {"work", "-", 2, ".vrn"};
  const std::string all = "every name";
  const struct {
    NumberedNames names;
    std::vector<std::string> taken;
    const char* first;  // the first name not taken, "" for none
    size_t tries;       // how many names were tried
    const char* last;   // the last of them
  } cases[] = {
      {backups, {}, "cal.vrn.bak", 1, "cal.vrn.bak"},
      {backups, {"cal.vrn.bak"}, "cal.vrn.1.bak", 2, "cal.vrn.1.bak"},
      {backups, {"cal.vrn.bak", "cal.vrn.1.bak"}, "cal.vrn.2.bak", 3, "cal.vrn.2.bak"},
      {backups, {all}, "", 1000, "cal.vrn.999.bak"},
      {agendas, {"work.vrn"}, "work-2.vrn", 2, "work-2.vrn"},
      {agendas, {"work.vrn", "work-2.vrn", "work-3.vrn"}, "work-4.vrn", 4, "work-4.vrn"},
      {agendas, {"work-2.vrn"}, "work.vrn", 1, "work.vrn"},
      {agendas, {all}, "", 1000, "work-1000.vrn"},
  };
  for (const auto& c : cases) {
    const bool allTaken = c.taken == std::vector<std::string>{all};
    std::vector<std::string> tried;
    const std::string first = FirstFittingName(c.names, [&](const std::string& name) {
      tried.push_back(name);
      return !allTaken && std::find(c.taken.begin(), c.taken.end(), name) == c.taken.end();
    });
    SCOPED_TRACE(c.names.stem + " with " + testing::PrintToString(c.taken));
    EXPECT_EQ(c.first, first);
    EXPECT_EQ(c.tries, tried.size());
    EXPECT_EQ(c.last, tried.empty() ? "" : tried.back());
  }
}

}  // namespace
