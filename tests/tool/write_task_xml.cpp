// Writes the refresh task's definition for PROGRAM, AGENDA-FILE and USER to
// standard output as schtasks gets it (TaskFileBytes of TaskXml), for
// check_task_xml.py to parse back.
#include <stdio.h>

#include <string>

#include "tools/schedule/schedule.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    fputs("usage: write_task_xml PROGRAM AGENDA-FILE USER\n", stderr);
    return 2;
  }
  const std::string bytes = TaskFileBytes(TaskXml(argv[1], argv[2], argv[3]));
  return bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ? 1 : 0;
}
