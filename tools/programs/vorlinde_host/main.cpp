// A small chip host: loads the module by path, resolves its entry points by
// name as the memo application does, makes a chip whose text lists the
// agenda files given on the command line, prints the memo and releases the
// chip. With --exchange it hands the list over through the send-text
// exchange instead.
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "host/vorlinde.h"
#include "tools/arguments/arguments.h"
#include "tools/desktop/desktop.h"
#include "tools/console/console.h"

namespace {

const char kUsage[] =
    "usage: vorlinde-host [--module PATH] [--raw] [--day DAY | --exchange] AGENDA-FILE...\n"
    "       vorlinde-host [--module PATH] --about\n"
    "\n"
    "Shows today's agenda from the given agenda files, as a chip of the memo\n"
    "application would.\n"
    "\n"
    "  --module PATH  the module to load (default: " VORLINDE_DEFAULT_MODULE
    ")\n"
    "  --raw          print the memo's bytes as they are (Shift-JIS, CR LF) and\n"
    "                 nothing after them (with --exchange, the length goes to\n"
    "                 standard error)\n"
    "  --day DAY      yesterday, today or tomorrow: the day chosen from the chip's\n"
    "                 menu (default: today)\n"
    "  --about        show the module's About dialog (Windows only)\n"
    "  --exchange     hand the file list over as the application hands over a\n"
    "                 chip's text, and show the text and the length it gets back\n"
    "  --help         show this text\n"
    "\n"
    "Exit status: 0 on success, 1 when the module cannot be used, 2 on a usage error\n"
    "or when --about is not available.\n";

struct Options {
  std::string module = VORLINDE_DEFAULT_MODULE;
  bool raw = false;
  int32_t day = CMD_TODAY;  // the chip's menu command for the day shown
  bool about = false;
  bool exchange = false;
  std::vector<std::string> files;
};

// Returns 0 when the options were read, -1 after --help, else the exit
// status to end with.
int ParseOptions(int argc, char** argv, Options* options) {
  static const std::vector<Option> kOptions = {{Option::kText, "--module", 0, 0},
                                               {Option::kFlag, "--raw", 0, 0},
                                               {Option::kText, "--day", 0, 0},
                                               {Option::kFlag, "--about", 0, 0},
                                               {Option::kFlag, "--exchange", 0, 0}};
  Arguments read;
  const ArgumentProblem problem = ReadArguments({argv + 1, argv + argc}, kOptions, &read);
  if (read.help) {
    fputs(kUsage, stdout);
    return -1;
  }
  if (problem.kind == ArgumentProblem::kNeedsValue) {
    fprintf(stderr, "vorlinde-host: %s needs a value\n", problem.argument.c_str());
    return 2;
  }
  if (problem) {
    fprintf(stderr, "vorlinde-host: unknown option %s\n\n%s", problem.argument.c_str(), kUsage);
    return 2;
  }
  if (read.Has("--module")) options->module = read.Text("--module");
  options->raw = read.Has("--raw");
  options->about = read.Has("--about");
  options->exchange = read.Has("--exchange");
  options->files = read.operands;
  if (read.Has("--day")) {
    const std::string day = read.Text("--day");
    if (day == "yesterday") {
      options->day = CMD_YESTERDAY;
    } else if (day == "tomorrow") {
      options->day = CMD_TOMORROW;
    } else if (day != "today") {
      fputs("vorlinde-host: --day needs yesterday, today or tomorrow\n", stderr);
      return 2;
    }
  }
  if (options->about) return 0;
  if (options->exchange && options->day != CMD_TODAY) {
    fputs("vorlinde-host: --exchange always gives today's memo; it takes no --day\n", stderr);
    return 2;
  }
  if (options->files.empty()) {
    fprintf(stderr, "vorlinde-host: no agenda file given\n\n%s", kUsage);
    return 2;
  }
  return 0;
}

// The entry points a chip needs, resolved by name.
struct ChipEntryPoints {
  InitializeChipProc initializeChip = nullptr;
  GetMemoStringProc getMemoString = nullptr;
  UnInitializeChipProc unInitializeChip = nullptr;
  DoDrawExMenuProc doDrawExMenu = nullptr;
};

template <typename Proc>
bool Resolve(HMODULE module, const char* name, Proc* proc) {
  *proc = reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  if (*proc == nullptr) fprintf(stderr, "vorlinde-host: the module has no entry point %s\n", name);
  return *proc != nullptr;
}

std::string FileListOf(const std::vector<std::string>& files) {
  std::string list;
  for (const std::string& file : files) {
    if (!list.empty()) list += "\r\n";
    list += file;
  }
  return list;
}

// Reads the chip's memo with a length query first, as a host would.
std::string ReadMemo(const ChipEntryPoints& entry, ChipHandle chip) {
  const int length = entry.getMemoString(chip, nullptr, 0);
  if (length <= 0) return std::string();
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  entry.getMemoString(chip, buffer.data(), length + 1);
  return std::string(buffer.data());
}

// Shows the About dialog as the memo application's menu would; returns when
// the user has closed it.
int ShowAbout(HMODULE module) {
  OwnerWindowProc drawExAbout = nullptr;
  if (!Resolve(module, "DrawExAbout", &drawExAbout)) return 1;
  drawExAbout(nullptr);
  return 0;
}

// Hands `list` to the module's send-text exchange in a movable global block,
// as the application hands over a chip's text, and prints the text the block
// holds afterwards and the length the module returned.
int ShowExchange(HMODULE module, const std::string& list, bool raw) {
  ExchangeSendStringProc exchangeSendString = nullptr;
  if (!Resolve(module, "ExchangeSendString", &exchangeSendString)) return 1;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, list.size() + 1);
  char* bytes = block != nullptr ? static_cast<char*>(GlobalLock(block)) : nullptr;
  if (bytes == nullptr) {
    fputs("vorlinde-host: no memory for the text block\n", stderr);
    if (block != nullptr) GlobalFree(block);
    return 1;
  }
  memcpy(bytes, list.c_str(), list.size() + 1);
  GlobalUnlock(block);

  const int length = exchangeSendString(&block);
  bytes = static_cast<char*>(GlobalLock(block));
  if (bytes == nullptr) {
    fputs("vorlinde-host: the text block is no longer usable\n", stderr);
    GlobalFree(block);
    return 1;
  }
  PrintMemo(std::string(bytes, strnlen(bytes, GlobalSize(block))), raw);
  GlobalUnlock(block);
  GlobalFree(block);
  fprintf(raw ? stderr : stdout, "length: %d\n", length);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (const int status = ParseOptions(argc, argv, &options)) return status < 0 ? 0 : status;
  if (options.about && !CanShowDialogs()) {
    fputs(
        "vorlinde-host: --about is not available in this build, which has no windows to show "
        "the dialog in; use the Windows build\n",
        stderr);
    return 2;
  }

  HMODULE module = LoadLibraryA(options.module.c_str());
  if (module == nullptr) {
    fprintf(stderr, "vorlinde-host: cannot load the module %s\n", options.module.c_str());
    return 1;
  }
  if (options.about) {
    const int status = ShowAbout(module);
    FreeLibrary(module);
    return status;
  }
  if (options.exchange) {
    const int status = ShowExchange(module, FileListOf(options.files), options.raw);
    FreeLibrary(module);
    return status;
  }

  ChipEntryPoints entry;
  if (!Resolve(module, "InitializeChip", &entry.initializeChip) ||
      !Resolve(module, "GetMemoString", &entry.getMemoString) ||
      !Resolve(module, "UnInitializeChip", &entry.unInitializeChip) ||
      (options.day != CMD_TODAY && !Resolve(module, "DoDrawExMenu", &entry.doDrawExMenu))) {
    FreeLibrary(module);
    return 1;
  }

  const std::string list = FileListOf(options.files);
  ChipRecord record = {};
  record.chipText = list.c_str();
  ChipHandle chip = nullptr;
  entry.initializeChip(&chip, nullptr, &record);
  if (chip == nullptr) {
    fputs("vorlinde-host: the module could not create a chip\n", stderr);
    FreeLibrary(module);
    return 1;
  }
  // Another day is chosen from the chip's menu, as a user would.
  if (options.day != CMD_TODAY) entry.doDrawExMenu(chip, nullptr, options.day);
  PrintMemo(ReadMemo(entry, chip), options.raw);
  entry.unInitializeChip(chip);
  FreeLibrary(module);
  return 0;
}
