// The one dialog of the tool and the entry point's state.
#pragma once

#include <windows.h>

// Kept by WinMain before anything else; the icon is loaded from it.
extern HINSTANCE g_hInstance;
// 1 until the first WM_INITDIALOG has chosen the language, the save folder and loaded the file.
extern int g_bFirstInit;

INT_PTR CALLBACK MainDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

void InitSavePathFromCwd();
void ApplyLanguageTexts(HWND hDlg);
void ApplyDirMode(int mode);
void RefreshEnableStates();
