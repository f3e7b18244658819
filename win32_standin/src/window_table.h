// The windows that exist: the running dialogs and their controls, by handle.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace standin {

enum class WindowKind { Dialog, Button, Edit, Static, ComboBox };

// What a one-line edit takes from the keyboard before EM_LIMITTEXT is sent.
constexpr std::size_t DEFAULT_TYPING_LIMIT = 30000;

struct Window {
    HWND handle;
    HWND parent;
    WindowKind kind;
    int id;
    DWORD style;
    DWORD exStyle;
    std::string text;
    std::vector<HWND> children; // creation order

    // Dialog
    DLGPROC proc;
    bool ended;
    INT_PTR result;
    HICON smallIcon;
    HICON bigIcon;

    // Edit: the keyboard's limit, and whether the whole text is selected so that typing
    // replaces it.
    std::size_t typingLimit;
    bool textSelected;

    // Combo box
    std::vector<std::string> items;
    int selection;

    // Button
    UINT check;
};

Window MakeWindow(WindowKind kind, HWND parent, int id, DWORD style, DWORD exStyle,
                  const std::string& text);

// Gives the window its handle and keeps it; a handle is never used twice in a process.
HWND AddWindow(Window window);
// Null for a handle that names no window (never created, or destroyed since).
Window* LookUpWindow(HWND hWnd);
// The window and its children.
void RemoveWindow(HWND hWnd);

// The focus, null when no window has it. Cleared when its window goes away.
HWND FocusedWindow();
void SetFocusedWindow(HWND hWnd);

// Copies at most size - 1 bytes and a zero into buffer; nothing when size is below 1.
int CopyText(const std::string& text, char* buffer, int size);

} // namespace standin
