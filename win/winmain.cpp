#include "win/main_dialog.h"
#include "win/resource.h"

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    g_hInstance = hInstance;
    InitCommonControls();
    return static_cast<int>(
        DialogBoxParamA(hInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainDialogProc, 0));
}
