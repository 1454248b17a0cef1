// The open-file dialog declarations of the native build, laid out like the
// MinGW header so that the structure's pre-Windows-2000 size is computed the
// same way.
#pragma once

#include <windows.h>

typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);

typedef struct tagOFNA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;
  LPSTR lpstrFile;
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
  void* pvReserved;
  DWORD dwReserved;
  DWORD FlagsEx;
} OPENFILENAMEA, *LPOPENFILENAMEA;

#define OPENFILENAME_SIZE_VERSION_400A \
  (offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(((OPENFILENAMEA*)0)->lpTemplateName))

#define OFN_HIDEREADONLY 0x00000004
#define OFN_FILEMUSTEXIST 0x00001000

#ifdef __cplusplus
extern "C" {
#endif

BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA ofn);

#ifdef __cplusplus
}
#endif
