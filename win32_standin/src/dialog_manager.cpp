#include "dialog_manager.h"

#include "controls.h"
#include "harness_state.h"
#include "module_resources.h"
#include "styles.h"
#include "window_table.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace standin {

namespace {

std::vector<HWND>& RunningDialogs() {
    static std::vector<HWND> dialogs;
    return dialogs;
}

WindowKind KindOfClass(const std::string& className) {
    if (className == "EDIT") {
        return WindowKind::Edit;
    }
    if (className == "COMBOBOX") {
        return WindowKind::ComboBox;
    }
    if (className == "BUTTON") {
        return WindowKind::Button;
    }
    return WindowKind::Static;
}

// Created hidden; the modal loop shows the dialog once it is initialised.
HWND CreateDialogWindows(const DialogTemplate& dialogTemplate, DLGPROC proc) {
    Window dialog =
        MakeWindow(WindowKind::Dialog, nullptr, 0, dialogTemplate.style & ~STYLE_WS_VISIBLE,
                   dialogTemplate.exStyle, dialogTemplate.caption);
    dialog.proc = proc;
    const HWND hDlg = AddWindow(std::move(dialog));
    for (const ControlTemplate& control : dialogTemplate.controls) {
        AddWindow(MakeWindow(KindOfClass(control.className), hDlg, control.id, control.style,
                             control.exStyle, control.text));
    }
    return hDlg;
}

bool CanTakeFocus(const Window& control) {
    return (control.style & STYLE_WS_TABSTOP) != 0 && (control.style & STYLE_WS_VISIBLE) != 0 &&
           (control.style & STYLE_WS_DISABLED) == 0;
}

void Fail(const std::string& why) {
    Harness().templateError = why;
    std::fprintf(stderr, "win32 stand-in: DialogBoxParamA: %s\n", why.c_str());
}

// The modal loop: the harness's user is all the input there is. A dialog the user left open
// is closed with the close box.
void RunModalLoop(HWND hDlg, LPARAM param) {
    Window* dialog = LookUpWindow(hDlg);
    const INT_PTR focusDefault = dialog->proc(
        hDlg, WM_INITDIALOG, reinterpret_cast<WPARAM>(NextTabStop(hDlg, nullptr)), param);
    dialog = LookUpWindow(hDlg);
    if (dialog->ended) {
        return;
    }
    if (focusDefault != FALSE) {
        FocusByKeyboard(NextTabStop(hDlg, nullptr));
    }
    dialog->style |= STYLE_WS_VISIBLE;
    if (const std::function<void(HWND)> user = std::exchange(Harness().modalUser, nullptr)) {
        user(hDlg);
    }
    if (!LookUpWindow(hDlg)->ended) {
        SendMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    dialog = LookUpWindow(hDlg);
    if (!dialog->ended) {
        Fail("the dialog was still open after its close box; -1 stands for the lost result");
        dialog->ended = true;
        dialog->result = -1;
    }
}

} // namespace

LRESULT DialogWindowProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam) {
    const DLGPROC proc = LookUpWindow(hDlg)->proc;
    if (proc(hDlg, message, wParam, lParam) != FALSE) {
        return 0;
    }
    Window* dialog = LookUpWindow(hDlg);
    if (dialog == nullptr) {
        return 0;
    }
    switch (message) {
    case WM_SETICON: {
        HICON& slot = wParam == ICON_BIG ? dialog->bigIcon : dialog->smallIcon;
        const HICON previous = slot;
        slot = reinterpret_cast<HICON>(lParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETICON:
        return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? dialog->bigIcon : dialog->smallIcon);
    case WM_SYSCOMMAND:
        // The close box, Alt+F4 and Close on the system menu.
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            SendMessageA(hDlg, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_CLOSE:
        // A procedure that leaves WM_CLOSE alone hears it as the Cancel button.
        SendCommand(hDlg, IDCANCEL, BN_CLICKED, GetDlgItem(hDlg, IDCANCEL));
        return 0;
    default:
        return ClassWindowProc(*dialog, message, wParam, lParam);
    }
}

bool IsRunningDialog(HWND hDlg) {
    const Window* dialog = LookUpWindow(hDlg);
    if (dialog == nullptr || dialog->ended) {
        return false;
    }
    for (const HWND running : RunningDialogs()) {
        if (running == hDlg) {
            return true;
        }
    }
    return false;
}

void SendCommand(HWND hDlg, int id, int code, HWND hControl) {
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hControl));
}

HWND NextTabStop(HWND hDlg, HWND hAfter) {
    const Window* dialog = LookUpWindow(hDlg);
    if (dialog == nullptr || dialog->children.empty()) {
        return nullptr;
    }
    const std::vector<HWND>& children = dialog->children;
    std::size_t start = 0;
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (children[i] == hAfter) {
            start = i + 1;
        }
    }
    for (std::size_t step = 0; step < children.size(); ++step) {
        const HWND candidate = children[(start + step) % children.size()];
        if (CanTakeFocus(*LookUpWindow(candidate))) {
            return candidate;
        }
    }
    return nullptr;
}

void FocusByKeyboard(HWND hControl) {
    Window* control = LookUpWindow(hControl);
    if (control == nullptr) {
        return;
    }
    SetFocusedWindow(hControl);
    control->textSelected = control->kind == WindowKind::Edit;
}

} // namespace standin

using namespace standin;

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    Harness().templateError.clear();
    if (lpDialogFunc == nullptr) {
        Fail("no dialog procedure");
        return -1;
    }
    DialogTemplate dialogTemplate;
    const std::string error = FindDialogTemplate(hInstance, lpTemplateName, dialogTemplate);
    if (!error.empty()) {
        Fail(error);
        return -1;
    }
    const HWND previousFocus = FocusedWindow();
    const HWND hDlg = CreateDialogWindows(dialogTemplate, lpDialogFunc);
    RunningDialogs().push_back(hDlg);
    RunModalLoop(hDlg, dwInitParam);
    const INT_PTR result = LookUpWindow(hDlg)->result;
    RunningDialogs().pop_back();
    RemoveWindow(hDlg);
    SetFocusedWindow(LookUpWindow(previousFocus) != nullptr ? previousFocus : nullptr);
    return result;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    if (!IsRunningDialog(hDlg)) {
        return FALSE;
    }
    // The window lives on, hidden, until its modal loop returns; the keyboard leaves its
    // controls for the dialog itself.
    Window* dialog = LookUpWindow(hDlg);
    dialog->ended = true;
    dialog->result = nResult;
    dialog->style &= ~STYLE_WS_VISIBLE;
    const Window* focus = LookUpWindow(FocusedWindow());
    if (focus != nullptr && focus->parent == hDlg) {
        SetFocusedWindow(hDlg);
    }
    return TRUE;
}

UINT WINAPI GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax) {
    if (lpString == nullptr || cchMax < 1) {
        return 0;
    }
    const HWND hControl = GetDlgItem(hDlg, nIDDlgItem);
    if (hControl == nullptr) {
        lpString[0] = '\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowTextA(hControl, lpString, cchMax));
}

BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
    const HWND hButton = GetDlgItem(hDlg, nIDButton);
    if (hButton == nullptr) {
        return FALSE;
    }
    SendMessageA(hButton, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton) {
    const HWND hButton = GetDlgItem(hDlg, nIDButton);
    return hButton == nullptr ? BST_UNCHECKED
                              : static_cast<UINT>(SendMessageA(hButton, BM_GETCHECK, 0, 0));
}

HWND WINAPI GetForegroundWindow() {
    return RunningDialogs().empty() ? nullptr : RunningDialogs().back();
}
