// A 32-bit host's check of the calling convention: loads a module by path,
// resolves the 19 entry points by name and calls each through a thunk that
// measures how far the call moved the stack pointer. A plain (caller-cleans)
// function leaves it where it was; a function that cleans up its own
// arguments (stdcall) moves it by their size, and would corrupt the stack of
// a host that calls it as a plain function.
//
//   calling_convention_check MODULE
//
// Exit status 0 when every entry point left the stack pointer unchanged, 1
// when one moved it or is missing, 2 on a usage error or when the module
// cannot be loaded. Dialogs the entry points open are closed at once.
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "host/vorlinde.h"

static_assert(sizeof(void*) == 4, "the calling convention is a 32-bit matter");

// Pushes `count` 32-bit arguments from `args` right to left, calls `proc`,
// and returns how many bytes the callee itself popped off the stack (its own
// clean-up, 0 for a plain function). The arguments are dropped afterwards
// whatever the callee did.
extern "C" int32_t CallMeasuringStack(void* proc, const uint32_t* args, int32_t count);
__asm__(
    ".text\n"
    ".globl _CallMeasuringStack\n"
    "_CallMeasuringStack:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  pushl %ebx\n"
    "  pushl %esi\n"
    "  pushl %edi\n"
    "  movl 8(%ebp), %eax\n"   // proc
    "  movl 12(%ebp), %esi\n"  // args
    "  movl 16(%ebp), %ecx\n"  // count
    "  movl %esp, %edi\n"      // the stack pointer before the arguments
    "1:\n"
    "  testl %ecx, %ecx\n"
    "  jz 2f\n"
    "  pushl -4(%esi,%ecx,4)\n"
    "  decl %ecx\n"
    "  jmp 1b\n"
    "2:\n"
    "  movl %esp, %ebx\n"  // the stack pointer at the call (ebx survives it)
    "  call *%eax\n"
    "  movl %esp, %eax\n"
    "  subl %ebx, %eax\n"  // how far the callee moved it
    "  movl %edi, %esp\n"
    "  popl %edi\n"
    "  popl %esi\n"
    "  popl %ebx\n"
    "  popl %ebp\n"
    "  ret\n");

namespace {

// Closes each dialog or message box of this thread as soon as it is
// activated, as a user pressing OK would.
LRESULT CALLBACK CloseDialogs(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) PostMessageA(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

uint32_t Word(const void* pointer) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fputs("usage: calling_convention_check MODULE\n", stderr);
    return 2;
  }
  HMODULE module = LoadLibraryA(argv[1]);
  if (module == nullptr) {
    fprintf(stderr, "calling_convention_check: cannot load %s\n", argv[1]);
    return 2;
  }
  HHOOK hook = SetWindowsHookExA(WH_CBT, CloseDialogs, nullptr, GetCurrentThreadId());

  // What the calls work on: a chip whose text names no file, a descriptor, a
  // memo buffer, a text block for the exchange.
  static DrawExDescriptor descriptor;
  static ChipRecord record;
  record.chipText = "no-such-agenda.vrn";
  static ChipHandle chip = nullptr;
  static char memo[64];
  static HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 32);
  const uint32_t ignored[4] = {0x11111111, 0x22222222, 0x33333333, 0x44444444};

  // In an order that makes a chip before the calls that need one. The
  // arguments of the calls that take a chip are read when the call is made.
  struct Call {
    const char* name;
    int32_t count;
  };
  const Call calls[] = {
      {"DrawExSpecification", 1},
      {"GetTimerSpan", 0},
      {"InitializeChip", 3},
      {"Update", 3},
      {"GetMemoString", 3},
      {"GetDrawExMenu", 1},
      {"DoDrawExMenu", 3},
      {"ExchangeSendString", 1},
      {"EditHelper", 2},
      {"DrawExConfigure", 1},
      {"DrawExAbout", 1},
      {"CalcDefaultRect", 4},
      {"DrawChip", 4},
      {"MouseClik", 4},
      {"DoTimer", 4},
      {"GetSaveData", 4},
      {"Resize", 4},
      {"Zoom", 4},
      {"UnInitializeChip", 1},
  };
  int problems = 0;
  for (const Call& call : calls) {
    void* proc = reinterpret_cast<void*>(GetProcAddress(module, call.name));
    if (proc == nullptr) {
      printf("%s: not exported\n", call.name);
      ++problems;
      continue;
    }
    uint32_t args[4] = {ignored[0], ignored[1], ignored[2], ignored[3]};
    if (strcmp(call.name, "DrawExSpecification") == 0) {
      args[0] = Word(&descriptor);
    } else if (strcmp(call.name, "InitializeChip") == 0) {
      args[0] = Word(&chip);
      args[2] = Word(&record);
    } else if (strcmp(call.name, "Update") == 0) {
      args[0] = Word(chip);
      args[2] = Word(&record);
    } else if (strcmp(call.name, "GetMemoString") == 0) {
      args[0] = Word(chip);
      args[1] = Word(memo);
      args[2] = sizeof memo;
    } else if (strcmp(call.name, "GetDrawExMenu") == 0 ||
               strcmp(call.name, "UnInitializeChip") == 0) {
      args[0] = Word(chip);
    } else if (strcmp(call.name, "DoDrawExMenu") == 0) {
      args[0] = Word(chip);
      args[1] = 0;
      args[2] = 9999;  // a command the menu does not have
    } else if (strcmp(call.name, "ExchangeSendString") == 0) {
      args[0] = Word(&block);
    } else if (strcmp(call.name, "EditHelper") == 0 || strcmp(call.name, "DrawExConfigure") == 0 ||
               strcmp(call.name, "DrawExAbout") == 0) {
      args[0] = 0;  // no owner window; EditHelper without a request shows nothing
      args[1] = 0;
    }
    const int32_t moved = CallMeasuringStack(proc, args, call.count);
    if (moved != 0) {
      printf("%s: the stack pointer moved by %d bytes\n", call.name, static_cast<int>(moved));
      ++problems;
    } else {
      printf("%s: stack pointer unchanged\n", call.name);
    }
  }
  if (hook != nullptr) UnhookWindowsHookEx(hook);
  GlobalFree(block);
  FreeLibrary(module);
  printf("%s: %d of %d entry points leave the stack pointer where they found it\n", argv[1],
         static_cast<int>(sizeof calls / sizeof calls[0]) - problems,
         static_cast<int>(sizeof calls / sizeof calls[0]));
  return problems == 0 ? 0 : 1;
}
