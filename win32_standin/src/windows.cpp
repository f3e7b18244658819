// The window functions every window answers: messages, text, shown and enabled state, the
// child list and the focus.
#include "controls.h"
#include "dialog_manager.h"
#include "styles.h"
#include "window_table.h"

using namespace standin;

namespace {

bool IsDisabled(const Window& window) {
    return (window.style & STYLE_WS_DISABLED) != 0;
}

} // namespace

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* window = LookUpWindow(hWnd);
    if (window == nullptr) {
        return 0;
    }
    if (window->kind == WindowKind::Dialog) {
        return DialogWindowProc(hWnd, Msg, wParam, lParam);
    }
    return ClassWindowProc(*window, Msg, wParam, lParam);
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    if (LookUpWindow(hWnd) == nullptr) {
        return FALSE;
    }
    return SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) != 0 ? TRUE
                                                                                      : FALSE;
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    if (lpString == nullptr || nMaxCount < 1) {
        return 0;
    }
    if (LookUpWindow(hWnd) == nullptr) {
        lpString[0] = '\0';
        return 0;
    }
    return static_cast<int>(SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount),
                                         reinterpret_cast<LPARAM>(lpString)));
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
    Window* window = LookUpWindow(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    const bool wasDisabled = IsDisabled(*window);
    if (bEnable != FALSE) {
        window->style &= ~STYLE_WS_DISABLED;
    } else {
        window->style |= STYLE_WS_DISABLED;
        if (FocusedWindow() == hWnd) {
            SetFocusedWindow(nullptr); // a disabled window cannot keep the keyboard
        }
    }
    return wasDisabled ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    const Window* window = LookUpWindow(hWnd);
    return window != nullptr && !IsDisabled(*window) ? TRUE : FALSE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    Window* window = LookUpWindow(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    const bool wasVisible = (window->style & STYLE_WS_VISIBLE) != 0;
    if (nCmdShow == SW_HIDE) {
        window->style &= ~STYLE_WS_VISIBLE;
    } else {
        window->style |= STYLE_WS_VISIBLE;
    }
    return wasVisible ? TRUE : FALSE;
}

// Shown means shown itself and every window it sits in.
BOOL WINAPI IsWindowVisible(HWND hWnd) {
    const Window* window = LookUpWindow(hWnd);
    if (window == nullptr) {
        return FALSE;
    }
    for (; window != nullptr; window = LookUpWindow(window->parent)) {
        if ((window->style & STYLE_WS_VISIBLE) == 0) {
            return FALSE;
        }
    }
    return TRUE;
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
    const Window* window = LookUpWindow(hWnd);
    if (window == nullptr) {
        return nullptr;
    }
    if (uCmd == GW_CHILD) {
        return window->children.empty() ? nullptr : window->children.front();
    }
    if (uCmd == GW_HWNDNEXT) {
        const Window* parent = LookUpWindow(window->parent);
        if (parent == nullptr) {
            return nullptr;
        }
        const std::vector<HWND>& siblings = parent->children;
        for (std::size_t i = 0; i + 1 < siblings.size(); ++i) {
            if (siblings[i] == hWnd) {
                return siblings[i + 1];
            }
        }
    }
    return nullptr;
}

// The first control in creation order: of two with the same id, the earlier one.
HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    const Window* dialog = LookUpWindow(hDlg);
    if (dialog == nullptr) {
        return nullptr;
    }
    for (const HWND child : dialog->children) {
        if (LookUpWindow(child)->id == nIDDlgItem) {
            return child;
        }
    }
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
    const Window* window = LookUpWindow(hWnd);
    return window == nullptr ? 0 : window->id;
}

HWND WINAPI GetFocus() {
    return LookUpWindow(FocusedWindow()) != nullptr ? FocusedWindow() : nullptr;
}

HWND WINAPI SetFocus(HWND hWnd) {
    if (hWnd != nullptr && LookUpWindow(hWnd) == nullptr) {
        return nullptr;
    }
    const HWND previous = GetFocus();
    SetFocusedWindow(hWnd);
    return previous;
}
