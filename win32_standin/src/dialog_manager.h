// The dialog manager: modal runs, the dialog's default message handling and the keyboard.
#pragma once

#include <windows.h>

namespace standin {

// What a message sent to a dialog meets: its dialog procedure, then the defaults for what the
// procedure left alone.
LRESULT DialogWindowProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);

// A dialog in its modal loop that EndDialog has not ended yet.
bool IsRunningDialog(HWND hDlg);

void SendCommand(HWND hDlg, int id, int code, HWND hControl);

// The next shown and enabled WS_TABSTOP control after the given one, wrapping; the first one
// for null. Null when there is none.
HWND NextTabStop(HWND hDlg, HWND hAfter);

// Focus as the dialog manager gives it (first focus, Tab): an edit's text is selected.
void FocusByKeyboard(HWND hControl);

} // namespace standin
