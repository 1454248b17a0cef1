// The few Win32 declarations the module, its tools and its tests use, for the
// native Linux build. Names, C linkage and signatures follow the MinGW
// headers (32-bit DWORD/UINT/LONG, pointer-sized handles), so the same
// sources compile against either.
#pragma once

#include <stddef.h>
#include <stdint.h>

#define WINAPI
#define WINAPIV
#define CALLBACK
#define APIENTRY

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int32_t LONG;
typedef int INT;
typedef char CHAR;
typedef size_t SIZE_T;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef DWORD* LPDWORD;
typedef BYTE* LPBYTE;

#define DECLARE_HANDLE(name) \
  struct name##__ {          \
    int unused;              \
  };                         \
  typedef struct name##__* name
typedef void* HANDLE;
typedef HANDLE HLOCAL;
typedef HANDLE HGLOBAL;
DECLARE_HANDLE(HWND);
DECLARE_HANDLE(HMENU);
DECLARE_HANDLE(HINSTANCE);
typedef HINSTANCE HMODULE;

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);
typedef INT_PTR(WINAPI* FARPROC)(void);

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260
#define INVALID_HANDLE_VALUE ((HANDLE)(intptr_t)-1)
#define MAKEINTRESOURCEA(i) ((LPSTR)(uintptr_t)((WORD)(i)))
#define LOWORD(l) ((WORD)(((uintptr_t)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((uintptr_t)(l)) >> 16) & 0xffff))

// Local and global heap.
#define LMEM_FIXED 0x0000
#define LMEM_MOVEABLE 0x0002
#define LMEM_NOCOMPACT 0x0010
#define LMEM_ZEROINIT 0x0040
#define LHND (LMEM_MOVEABLE | LMEM_ZEROINIT)
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_NOCOMPACT 0x0010
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

// Files.
#define GENERIC_READ 0x80000000u
#define FILE_SHARE_READ 0x00000001
#define FILE_SHARE_WRITE 0x00000002
#define OPEN_EXISTING 3
#define FILE_ATTRIBUTE_NORMAL 0x00000080
#define FILE_TYPE_UNKNOWN 0x0000
#define FILE_TYPE_DISK 0x0001
#define FILE_TYPE_CHAR 0x0002
#define FILE_TYPE_PIPE 0x0003

// Module entry notifications.
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

// Menus.
#define MF_STRING 0x00000000
#define MF_ENABLED 0x00000000
#define MF_UNCHECKED 0x00000000
#define MF_BYCOMMAND 0x00000000
#define MF_GRAYED 0x00000001
#define MF_DISABLED 0x00000002
#define MF_CHECKED 0x00000008
#define MF_POPUP 0x00000010
#define MF_BYPOSITION 0x00000400
#define MF_SEPARATOR 0x00000800

// Dialogs and message boxes.
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_CLOSE 0x0010
#define IDOK 1
#define IDCANCEL 2
#define MB_OK 0x00000000
#define MB_ICONINFORMATION 0x00000040

#ifdef __cplusplus
extern "C" {
#endif

HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes);
HLOCAL WINAPI LocalReAlloc(HLOCAL mem, SIZE_T bytes, UINT flags);
LPVOID WINAPI LocalLock(HLOCAL mem);
BOOL WINAPI LocalUnlock(HLOCAL mem);
HLOCAL WINAPI LocalFree(HLOCAL mem);
SIZE_T WINAPI LocalSize(HLOCAL mem);
HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL WINAPI GlobalReAlloc(HGLOBAL mem, SIZE_T bytes, UINT flags);
LPVOID WINAPI GlobalLock(HGLOBAL mem);
BOOL WINAPI GlobalUnlock(HGLOBAL mem);
HGLOBAL WINAPI GlobalFree(HGLOBAL mem);
SIZE_T WINAPI GlobalSize(HGLOBAL mem);

int WINAPI lstrlenA(LPCSTR s);
LPSTR WINAPI lstrcpyA(LPSTR dst, LPCSTR src);
LPSTR WINAPI lstrcpynA(LPSTR dst, LPCSTR src, int max);
LPSTR WINAPI lstrcatA(LPSTR dst, LPCSTR src);
int WINAPIV wsprintfA(LPSTR out, LPCSTR format, ...);

DWORD WINAPI GetCurrentDirectoryA(DWORD size, LPSTR buffer);
BOOL WINAPI SetCurrentDirectoryA(LPCSTR path);

HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD share, void* security,
                          DWORD disposition, DWORD flags, HANDLE templateFile);
DWORD WINAPI GetFileType(HANDLE file);
BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read,
                     void* overlapped);
BOOL WINAPI CloseHandle(HANDLE object);

HMODULE WINAPI LoadLibraryA(LPCSTR name);
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name);
BOOL WINAPI FreeLibrary(HMODULE module);

HMENU WINAPI CreateMenu(void);
BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text);
DWORD WINAPI CheckMenuItem(HMENU menu, UINT item, UINT check);
int WINAPI GetMenuItemCount(HMENU menu);
UINT WINAPI GetMenuItemID(HMENU menu, int position);
UINT WINAPI GetMenuState(HMENU menu, UINT item, UINT flags);
int WINAPI GetMenuStringA(HMENU menu, UINT item, LPSTR text, int max, UINT flags);
BOOL WINAPI DestroyMenu(HMENU menu);

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND parent,
                               DLGPROC dialogProc, LPARAM initParam);
BOOL WINAPI EndDialog(HWND dialog, INT_PTR result);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

#ifdef __cplusplus
}
#endif
