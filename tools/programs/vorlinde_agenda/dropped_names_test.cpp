// Which dropped files are calendars, and where a dropped calendar goes, from
// the files that lie beside it. Not covered: the import itself
// (tests/tool/check_dropped.py).
#include "tools/programs/vorlinde_agenda/dropped_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

TEST(DroppedNames, Calendars) {
  const struct {
    const char* name;
    bool calendar, shortcut;
  } cases[] = {
      {"C:\\cal\\work.ICS", true, false}, {"work.url", true, true}, {"Work.Url", true, true},
      {"work.ics.vrn", false, false},     {"ics", false, false},    {".ics", true, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.calendar, IsCalendarName(c.name)) << c.name;
    EXPECT_EQ(c.shortcut, IsShortcutName(c.name)) << c.name;
  }
}

// "mine" stands for an agenda file imported from the calendar, "other" for
// any other file (from another calendar, or written by hand).
TEST(DroppedNames, TargetBesideTheCalendar) {
  const struct {
    std::vector<std::string> beside;
    const char* agenda;
    bool refresh, renamed;
  } cases[] = {
      {{}, "C:\\cal\\work.vrn", false, false},
      {{"mine:C:\\cal\\work.vrn"}, "C:\\cal\\work.vrn", true, false},
      {{"other:C:\\cal\\work.vrn"}, "C:\\cal\\work-2.vrn", false, true},
      {{"other:C:\\cal\\work.vrn", "mine:C:\\cal\\work-2.vrn"}, "C:\\cal\\work-2.vrn", true, true},
      {{"other:C:\\cal\\work.vrn", "other:C:\\cal\\work-2.vrn"},
       "C:\\cal\\work-3.vrn",
       false,
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.beside));
    const auto has = [&c](const std::string& entry) {
      return std::find(c.beside.begin(), c.beside.end(), entry) != c.beside.end();
    };
    const CalendarTarget target = DroppedCalendarTarget(
        "C:\\cal\\work.ICS",
        [&has](const std::string& name) { return has("mine:" + name) || has("other:" + name); },
        [&has](const std::string& name) { return has("mine:" + name); });
    EXPECT_EQ(c.agenda, target.agenda);
    EXPECT_EQ(c.refresh, target.refresh);
    EXPECT_EQ(c.renamed, target.renamed);
  }
}

}  // namespace
