// show, check and convert: agenda files read as the plug-in reads them, and
// re-saved as the Shift-JIS it reads.
#include <stdio.h>

#include "agenda/agenda.h"
#include "agenda/calendar.h"
#include "agenda/reader.h"
#include "tools/checker/checker.h"
#include "tools/console/console.h"
#include "tools/convert/convert.h"
#include "tools/encodings/encodings.h"
#include "tools/programs/vorlinde_agenda/finding_words.h"
#include "tools/programs/vorlinde_agenda/names.h"
#include "tools/programs/vorlinde_agenda/subcommands.h"
#include "tools/programs/vorlinde_agenda/tell.h"

void ShowDays(const std::vector<std::string>& files, AgendaDate date, long days, bool raw) {
  std::string list;
  for (const std::string& file : files) {
    // The engine opens files by their ANSI names, as the plug-in does; a
    // name with a "?" for a character the code page lacks opens no file, and
    // the memo is then the one for a file the plug-in cannot open.
    std::string name;
    if (!AnsiName(file, &name)) {
      Tell(stderr, kTextCannotRead, {Shown(file), Say(kTextNameNotInCodePage)});
    } else if (!AgendaReader(name.c_str()).IsOpen()) {
      Tell(stderr, kTextCannotRead, {Shown(file), WhyFile(WhyUnreadable(file))});
    }
    list += name + "\r\n";
  }
  if (raw) SetBinaryOutput();
  for (long day = 0; day < days; ++day) {
    // An empty line between two memos: raw memos end without a line break.
    if (day > 0) fputs(raw ? "\r\n\r\n" : "\n", stdout);
    HLOCAL memo = nullptr;
    ComposeMemo(list.c_str(), AddDays(date, static_cast<int32_t>(day)), &memo);
    const char* text = memo != nullptr ? static_cast<const char*>(LocalLock(memo)) : nullptr;
    PrintMemo(text != nullptr ? text : "", raw);
    if (text != nullptr) LocalUnlock(memo);
    if (memo != nullptr) LocalFree(memo);
  }
}

int CheckFiles(const std::vector<std::string>& files, bool verbose, bool chipLimits) {
  CheckOptions checking;
  checking.readings = verbose;
  size_t warnings = 0, checked = 0, unreadable = 0;
  for (const std::string& file : files) {
    std::vector<Finding> findings;
    std::string ansi;
    if (!AnsiName(file, &ansi)) {
      Tell(stderr, kTextCannotRead, {Shown(file), Say(kTextNameNotInCodePage)});
      ++unreadable;
      continue;
    }
    if (!CheckAgendaFile(file, checking, &findings)) {
      Tell(stderr, kTextCannotRead, {Shown(file), WhyFile(WhyUnreadable(file))});
      ++unreadable;
      continue;
    }
    ++checked;
    // A path the chip cannot read is a fault of the file as a chip meets it.
    if (chipLimits && TellChipLimits(stdout, file)) ++warnings;
    for (const Finding& finding : findings) {
      const bool note = finding.kind == FindingKind::kReading;
      warnings += !note;
      std::string where = file + ":" + std::to_string(finding.line) + ":";
      if (finding.column > 0) where += std::to_string(finding.column) + ":";
      const std::string words = FindingWords(UserLanguage(), finding, Shown(file));
      PrintText(stdout, where + (note ? " note: " : " warning: ") + words + "\n");
      const std::string line = FindingLine(finding);
      if (!line.empty()) PrintShiftJis(stdout, "    " + line + "\n");
    }
  }
  if (warnings > 0 || unreadable > 0) {
    const std::string found = Counted(warnings, kTextOneWarning, kTextWarnings);
    const std::string inFiles = Counted(checked, kTextOneFile, kTextFiles);
    if (unreadable > 0) {
      Tell(stdout, kTextSummaryUnreadable,
           {found, inFiles, Counted(unreadable, kTextOneFile, kTextFiles)});
    } else {
      Tell(stdout, kTextSummary, {found, inFiles});
    }
  }
  fflush(stdout);
  return unreadable > 0 ? 2 : warnings > 0 ? 1 : 0;
}

namespace {

// What the name of a copy of the original ends in.
constexpr char kBackupEnding[] = ".bak";

// Copies the original to the first free name of FILE.bak, FILE.1.bak,
// FILE.2.bak...; an existing copy is never overwritten.
FileProblem KeepOriginal(const std::string& name, const std::string& bytes, std::string* backup) {
  FileProblem problem;
  *backup = FirstFittingName({name, ".", 1, kBackupEnding}, [&](const std::string& copy) {
    problem = WriteNewFile(copy, bytes);
    return problem.kind != FileProblem::kExists;
  });
  if (problem) backup->clear();
  return problem;
}

// Converts one file; the exit status it calls for.
int ConvertFile(const std::string& name, bool substitute, const std::string& output) {
  std::string bytes;
  if (const FileProblem problem = ReadWholeFile(name, &bytes)) {
    Tell(stderr, kTextCannotRead, {Shown(name), WhyFile(problem)});
    return 2;
  }
  const Conversion conversion = ConvertToShiftJis(bytes, substitute);
  if (conversion.from == Encoding::kShiftJis) {
    Tell(stdout, kTextAlreadyShiftJis, {Shown(name)});
    return 0;
  }
  if (conversion.from == Encoding::kNotText) {
    Tell(stderr, kTextNotText, {Shown(name)});
    return 2;
  }
  for (const Unconvertible& u : conversion.unconvertible) {
    char code[16];
    snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(u.character));
    Tell(
        stdout, substitute ? kTextWrittenAsGeta : kTextNoShiftJisForm,
        {Shown(name), std::to_string(u.line), std::to_string(u.column), code, Utf8Of(u.character)});
  }
  if (!conversion.unconvertible.empty() && !substitute) {
    Tell(stdout, kTextLeftUnchanged, {Shown(name)});
    return 1;
  }
  const std::string target = output.empty() ? name : output;
  std::string backup;
  if (output.empty()) {
    if (const FileProblem problem = KeepOriginal(name, bytes, &backup)) {
      Tell(stderr, kTextCannotWriteLeft,
           {Shown(name + kBackupEnding), WhyFile(problem), Shown(name)});
      return 2;
    }
  }
  if (const FileProblem problem = ReplaceFileContents(target, conversion.shiftJis)) {
    Tell(stderr, kTextCannotWriteLeft, {Shown(target), WhyFile(problem), Shown(name)});
    if (!backup.empty()) RemoveFile(backup);
    return 2;
  }
  const char* from = EncodingName(conversion.from);
  if (backup.empty()) {
    Tell(stdout, kTextConvertedTo, {Shown(name), from, Shown(target)});
  } else {
    Tell(stdout, kTextConverted, {Shown(name), from, Shown(backup)});
  }
  return 0;
}

}  // namespace

int Show(const Arguments& arguments) {
  AgendaDate date = arguments.Date(kDateOption);
  if (!arguments.Has(kDateOption) && !Today(&date)) {
    Tell(stderr, kTextNoToday, {kDateOption});
    return 2;
  }
  if (arguments.operands.empty()) {
    Tell(stderr, kTextNoFile);
    return 2;
  }
  for (const std::string& file : arguments.operands) {
    if (IsRegularFile(file)) TellChipLimits(stderr, file);
  }
  ShowDays(arguments.operands, date, arguments.Has(kDaysOption) ? arguments.Number(kDaysOption) : 1,
           arguments.Has(kRawOption));
  return 0;
}

int Check(const Arguments& arguments) {
  if (arguments.operands.empty()) {
    Tell(stderr, kTextNoFile);
    return 2;
  }
  return CheckFiles(arguments.operands, arguments.Has(kVerboseOption), true);
}

int Convert(const Arguments& arguments) {
  const std::vector<std::string>& files = arguments.operands;
  const std::string output = arguments.Text(kOutputOption);
  if (files.empty()) {
    Tell(stderr, kTextNoFile);
    return 2;
  }
  if (!output.empty() && files.size() > 1) {
    Tell(stderr, kTextOutputWithOneFile);
    return 2;
  }
  int status = 0;
  for (const std::string& file : files) {
    const int fileStatus = ConvertFile(file, arguments.Has(kSubstituteOption), output);
    if (fileStatus > status) status = fileStatus;
  }
  fflush(stdout);
  return status;
}

int WriteOutput(const std::string& bytes, const std::string& output) {
  if (output.empty()) {
    SetBinaryOutput();
    fwrite(bytes.data(), 1, bytes.size(), stdout);
    return fflush(stdout) == 0 ? 0 : 2;
  }
  if (const FileProblem problem = ReplaceFileContents(output, bytes)) {
    Tell(stderr, kTextCannotWrite, {Shown(output), WhyFile(problem)});
    return 2;
  }
  return 0;
}
