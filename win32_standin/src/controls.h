// What the classic controls do with the messages sent to them, and with the user's typing.
#pragma once

#include "window_table.h"

#include <string>

namespace standin {

// What the window's class does with a message: text for every window, and the messages of
// edits, lists and buttons.
LRESULT ClassWindowProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);

bool IsPushButton(const Window& window);
bool HasCheckMark(const Window& window);

// The edit takes each character as the keyboard would bring it: a double-byte character of
// the ANSI code page is one character. Empty text when done, else why nothing could be typed.
std::string TypeIntoEdit(Window& edit, const std::string& text);

} // namespace standin
