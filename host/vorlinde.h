// What crosses the boundary between the memo application and the module: the
// host's records as the module reads and writes them, and the entry points
// the host finds by name. Host programs and tests include this header too.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <windows.h>

// The host's record of a chip. The module reads only the chip's text, a
// NUL-terminated byte string or null, at byte 72.
struct ChipRecord {
  BYTE hostFields[72];
  const char* chipText;
};

// The record that introduces the plug-in to the host. The host gives the
// numbers their meaning; the module only writes them.
struct DrawExDescriptor {
  uint32_t field0;
  uint32_t field4;
  char displayName[52];  // NUL-terminated, Shift-JIS
  uint32_t field60;
  uint32_t field64;
  uint32_t field68;
};

// What the host hands the file picker while the user edits a chip's text.
struct EditRequest {
  int32_t firstPosition;
  int32_t secondPosition;
  HGLOBAL text;  // movable global block with the text, or null
};

static_assert(offsetof(ChipRecord, chipText) == 72, "the chip's text lies at byte 72");
static_assert(offsetof(DrawExDescriptor, displayName) == 8 &&
                  offsetof(DrawExDescriptor, field60) == 60 &&
                  offsetof(DrawExDescriptor, field68) == 68,
              "descriptor layout");
static_assert(offsetof(EditRequest, text) == 8, "edit request layout");
// The product's 32-bit data model.
static_assert(sizeof(void*) != 4 || sizeof(ChipRecord) == 76, "32-bit chip record");
static_assert(sizeof(void*) != 4 || sizeof(EditRequest) == 12, "32-bit edit request");

// Commands of a chip's day menu.
enum DayMenuCommand : int32_t {
  CMD_YESTERDAY = 10000,
  CMD_TODAY = 10001,
  CMD_TOMORROW = 10002,
  CMD_ABOUT = 10003,
};
// The menu's separator carries command 0, which is also the day a chip shows
// before its first text: checking it shows no mark.
constexpr int32_t kSeparatorCommand = 0;

// What DoDrawExMenu answers: whether the chip's memo was recomposed (the
// host then shows it anew).
enum DayMenuResult : int { kMenuDone = 0, kMemoRecomposed = 2 };

// What EditHelper answers: a path was appended, or nothing changed.
enum EditResult : int { kPicked = 1, kNothingPicked = 2 };

// The chip handle the host keeps per chip and hands back unchanged.
typedef HLOCAL ChipHandle;

extern "C" {
int DrawExSpecification(DrawExDescriptor* descriptor);
int DrawExConfigure(HWND owner);
int DrawExAbout(HWND owner);
int InitializeChip(ChipHandle* chip, void* passThrough, const ChipRecord* record);
int Update(ChipHandle chip, void* passThrough, const ChipRecord* record);
int GetMemoString(ChipHandle chip, char* buffer, int32_t size);
int UnInitializeChip(ChipHandle chip);
HMENU GetDrawExMenu(ChipHandle chip);
int DoDrawExMenu(ChipHandle chip, HWND owner, int32_t command);
int ExchangeSendString(HGLOBAL* text);
int EditHelper(HWND owner, EditRequest* request);
int GetTimerSpan(void);
int CalcDefaultRect(void);
int DrawChip(void);
int MouseClik(void);
int DoTimer(void);
int GetSaveData(void);
int Resize(void);
void Zoom(void);
}

// The entry points' types, for hosts that resolve them by name.
typedef int (*DrawExSpecificationProc)(DrawExDescriptor*);
typedef int (*OwnerWindowProc)(HWND);  // DrawExConfigure, DrawExAbout
typedef int (*InitializeChipProc)(ChipHandle*, void*, const ChipRecord*);
typedef int (*UpdateProc)(ChipHandle, void*, const ChipRecord*);
typedef int (*GetMemoStringProc)(ChipHandle, char*, int32_t);
typedef int (*UnInitializeChipProc)(ChipHandle);
typedef HMENU (*GetDrawExMenuProc)(ChipHandle);
typedef int (*DoDrawExMenuProc)(ChipHandle, HWND, int32_t);
typedef int (*ExchangeSendStringProc)(HGLOBAL*);
typedef int (*EditHelperProc)(HWND, EditRequest*);
typedef int (*NoArgumentProc)(void);  // GetTimerSpan and the inert entry points
