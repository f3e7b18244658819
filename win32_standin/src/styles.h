// Window and control styles: the numbers the resource script's names stand for, and what the
// stand-in's controls look at.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace standin {

constexpr DWORD STYLE_WS_CHILD = 0x40000000;
constexpr DWORD STYLE_WS_VISIBLE = 0x10000000;
constexpr DWORD STYLE_WS_DISABLED = 0x08000000;
constexpr DWORD STYLE_WS_TABSTOP = 0x00010000;

constexpr DWORD STYLE_ES_MULTILINE = 0x0004;
constexpr DWORD STYLE_ES_PASSWORD = 0x0020;
constexpr DWORD STYLE_ES_READONLY = 0x0800;
constexpr DWORD STYLE_ES_NUMBER = 0x2000;

// The low four bits of a button's style say what kind of button it is.
constexpr DWORD BUTTON_KIND_MASK = 0x000F;
constexpr DWORD STYLE_BS_PUSHBUTTON = 0x0;
constexpr DWORD STYLE_BS_DEFPUSHBUTTON = 0x1;
constexpr DWORD STYLE_BS_CHECKBOX = 0x2;
constexpr DWORD STYLE_BS_AUTOCHECKBOX = 0x3;
constexpr DWORD STYLE_BS_3STATE = 0x5;
constexpr DWORD STYLE_BS_AUTO3STATE = 0x6;
constexpr DWORD STYLE_BS_GROUPBOX = 0x7;

// The value of a style or class name a resource script may use, e.g. "WS_CHILD".
std::optional<DWORD> StyleByName(const std::string& name);

} // namespace standin
