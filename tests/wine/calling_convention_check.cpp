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
  // Each call's arguments, a recognisable value where the entry point reads
  // none. They are made when the call is made, so that the calls after
  // InitializeChip get the chip it stored. Null owners: EditHelper without a
  // request shows nothing, and the dialogs close at once.
  using Arguments = void (*)(uint32_t * args);
  const Arguments none = [](uint32_t*) {};
  const Arguments chipOnly = [](uint32_t* args) { args[0] = Word(chip); };
  const Arguments noOwner = [](uint32_t* args) { args[0] = args[1] = 0; };
  struct Call {
    const char* name;
    int32_t count;
    Arguments arguments;
  };
  const Call calls[] = {
      {"DrawExSpecification", 1, [](uint32_t* args) { args[0] = Word(&descriptor); }},
      {"GetTimerSpan", 0, none},
      {"InitializeChip", 3,
       [](uint32_t* args) {
         args[0] = Word(&chip);
         args[2] = Word(&record);
       }},
      {"Update", 3,
       [](uint32_t* args) {
         args[0] = Word(chip);
         args[2] = Word(&record);
       }},
      {"GetMemoString", 3,
       [](uint32_t* args) {
         args[0] = Word(chip);
         args[1] = Word(memo);
         args[2] = sizeof memo;
       }},
      {"GetDrawExMenu", 1, chipOnly},
      {"DoDrawExMenu", 3,
       [](uint32_t* args) {
         args[0] = Word(chip);
         args[1] = 0;
         args[2] = 9999;  // a command the menu does not have
       }},
      {"ExchangeSendString", 1, [](uint32_t* args) { args[0] = Word(&block); }},
      {"EditHelper", 2, noOwner},
      {"DrawExConfigure", 1, noOwner},
      {"DrawExAbout", 1, noOwner},
      {"CalcDefaultRect", 4, none},
      {"DrawChip", 4, none},
      {"MouseClik", 4, none},
      {"DoTimer", 4, none},
      {"GetSaveData", 4, none},
      {"Resize", 4, none},
      {"Zoom", 4, none},
      {"UnInitializeChip", 1, chipOnly},
  };
  int problems = 0;
  for (const Call& call : calls) {
    void* proc = reinterpret_cast<void*>(GetProcAddress(module, call.name));
    if (proc == nullptr) {
      printf("%s: not exported\n", call.name);
      ++problems;
      continue;
    }
    uint32_t args[4] = {0x11111111, 0x22222222, 0x33333333, 0x44444444};
    call.arguments(args);
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
