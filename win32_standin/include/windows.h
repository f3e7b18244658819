// The part of the Win32 interface that the dialog and its tests use, for builds without Windows.
// Names, types and numbers are the system's; what stands behind them is win32_standin/src.
#pragma once

#include <cstdint>

using BYTE = unsigned char;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using BOOL = int;
using LANGID = WORD;
using LPSTR = char*;
using LPCSTR = const char*;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;

// Opaque handles: never dereferenced, only compared and looked up.
struct HWND__;
struct HINSTANCE__;
struct HICON__;
using HWND = HWND__*;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using HICON = HICON__*;

#define WINAPI
#define CALLBACK

using DLGPROC = INT_PTR(CALLBACK*)(HWND, UINT, WPARAM, LPARAM);

#define FALSE 0
#define TRUE 1
#define MAX_PATH 260

// Templates rather than functions of one type: callers pass ints, WPARAMs and enums alike, as
// they may to the system's macros.
template <typename T> constexpr WORD LOWORD(T value) {
    return static_cast<WORD>(static_cast<std::uintptr_t>(value) & 0xFFFFu);
}
template <typename T> constexpr WORD HIWORD(T value) {
    return static_cast<WORD>((static_cast<std::uintptr_t>(value) >> 16) & 0xFFFFu);
}
template <typename L, typename H> constexpr WPARAM MAKEWPARAM(L low, H high) {
    return static_cast<WPARAM>(LOWORD(low)) | (static_cast<WPARAM>(LOWORD(high)) << 16);
}
template <typename T> inline LPSTR MAKEINTRESOURCEA(T id) {
    return reinterpret_cast<LPSTR>(static_cast<std::uintptr_t>(LOWORD(id)));
}

// Messages
#define WM_NULL 0x0000
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_CLOSE 0x0010
#define WM_GETICON 0x007F
#define WM_SETICON 0x0080
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define EM_LIMITTEXT 0x00C5
#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define CB_ADDSTRING 0x0143
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_SETCURSEL 0x014E

// Notification codes
#define BN_CLICKED 0
#define BN_DOUBLECLICKED 5
#define CBN_SELCHANGE 1
#define CBN_EDITCHANGE 5
#define CBN_DROPDOWN 7
#define CBN_CLOSEUP 8
#define CBN_SELENDOK 9
#define EN_CHANGE 0x0300

#define CB_ERR (-1)
#define ICON_SMALL 0
#define ICON_BIG 1
#define SW_HIDE 0
#define SW_SHOW 5
#define BST_UNCHECKED 0
#define BST_CHECKED 1
#define BST_INDETERMINATE 2
#define IDOK 1
#define IDCANCEL 2
#define MB_OK 0x00000000
#define MB_ICONWARNING 0x00000030
#define MB_ICONINFORMATION 0x00000040
#define GW_HWNDNEXT 2
#define GW_CHILD 5
#define SC_CLOSE 0xF060

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);

// Dialogs and controls
INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam);
BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult);
HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem);
int WINAPI GetDlgCtrlID(HWND hWnd);
UINT WINAPI GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax);
BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton);

// Windows
LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString);
int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount);
BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable);
BOOL WINAPI IsWindowEnabled(HWND hWnd);
BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow);
BOOL WINAPI IsWindowVisible(HWND hWnd);
HWND WINAPI GetWindow(HWND hWnd, UINT uCmd);
HWND WINAPI GetFocus();
HWND WINAPI SetFocus(HWND hWnd);
HWND WINAPI GetForegroundWindow();
int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName);

// System
HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName);
LANGID WINAPI GetSystemDefaultLangID();
DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer);
UINT WINAPI GetACP();
BOOL WINAPI IsDBCSLeadByte(BYTE TestChar);
