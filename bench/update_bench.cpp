// Times the module where it ships: loads Vorlinde.dxl by path, as the memo
// application does, and times Update on a chip listing one agenda file, and
// ExchangeSendString handing over the same list. bench/shipped runs it under
// 32-bit Wine against the product file.
//
//   update_bench MODULE RUNS [--exchange] FILE...
//
// Prints a line per file: "update FILE SECONDS MEMO_BYTES" (the best of RUNS
// calls of Update, after one that InitializeChip makes), and with
// --exchange "exchange FILE SECONDS LENGTH" too.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include "host/vorlinde.h"

namespace {

struct Module {
  InitializeChipProc initializeChip;
  UpdateProc update;
  GetMemoStringProc getMemoString;
  UnInitializeChipProc unInitializeChip;
  ExchangeSendStringProc exchangeSendString;
};

template <typename Proc>
bool Resolve(HMODULE module, const char* name, Proc* proc) {
  *proc = reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  if (*proc == nullptr) fprintf(stderr, "update_bench: no entry point %s\n", name);
  return *proc != nullptr;
}

double Now() {
  static LARGE_INTEGER frequency;
  if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

bool TimeUpdate(const Module& module, const char* file, int runs) {
  ChipRecord record;
  memset(&record, 0, sizeof record);
  record.chipText = file;
  ChipHandle chip = nullptr;
  module.initializeChip(&chip, nullptr, &record);
  if (chip == nullptr) return false;
  double best = 0;
  for (int run = 0; run < runs; ++run) {
    const double start = Now();
    module.update(chip, nullptr, &record);
    const double elapsed = Now() - start;
    if (run == 0 || elapsed < best) best = elapsed;
  }
  printf("update %s %.4f %d\n", file, best, module.getMemoString(chip, nullptr, 0));
  module.unInitializeChip(chip);
  return true;
}

bool TimeExchange(const Module& module, const char* file, int runs) {
  double best = 0;
  int length = 0;
  for (int run = 0; run < runs; ++run) {
    const size_t size = strlen(file) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    char* text = block != nullptr ? static_cast<char*>(GlobalLock(block)) : nullptr;
    if (text == nullptr) return false;
    memcpy(text, file, size);
    GlobalUnlock(block);
    const double start = Now();
    length = module.exchangeSendString(&block);
    const double elapsed = Now() - start;
    GlobalFree(block);
    if (run == 0 || elapsed < best) best = elapsed;
  }
  printf("exchange %s %.4f %d\n", file, best, length);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    fputs("usage: update_bench MODULE RUNS [--exchange] FILE...\n", stderr);
    return 2;
  }
  HMODULE library = LoadLibraryA(argv[1]);
  if (library == nullptr) {
    fprintf(stderr, "update_bench: cannot load %s\n", argv[1]);
    return 1;
  }
  Module module;
  if (!Resolve(library, "InitializeChip", &module.initializeChip) ||
      !Resolve(library, "Update", &module.update) ||
      !Resolve(library, "GetMemoString", &module.getMemoString) ||
      !Resolve(library, "UnInitializeChip", &module.unInitializeChip) ||
      !Resolve(library, "ExchangeSendString", &module.exchangeSendString))
    return 1;
  const int runs = atoi(argv[2]) > 0 ? atoi(argv[2]) : 1;
  int first = 3;
  const bool exchange = strcmp(argv[3], "--exchange") == 0;
  if (exchange) ++first;
  for (int i = first; i < argc; ++i) {
    if (!TimeUpdate(module, argv[i], runs) || (exchange && !TimeExchange(module, argv[i], runs))) {
      fprintf(stderr, "update_bench: %s: the module made no chip or no memory for the text\n",
              argv[i]);
      return 1;
    }
    fflush(stdout);
  }
  FreeLibrary(library);
  return 0;
}
