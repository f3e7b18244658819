// The resources a script declares, with its DIALOG templates read in full.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace standin {

struct ControlTemplate {
    std::string text;      // bytes as the script holds them, in its code page
    int id;                // 0 to 65535: the classic template stores a WORD
    std::string className; // upper case: BUTTON, EDIT, STATIC or COMBOBOX
    DWORD style;
    DWORD exStyle;
    int x, y, cx, cy;
};

struct DialogTemplate {
    DWORD style;
    DWORD exStyle;
    std::string caption;
    int x, y, cx, cy;
    std::vector<ControlTemplate> controls; // template order: creation, tab and search order
};

// A resource's name: a number, or a text that compares without regard to case.
struct ResourceName {
    bool numeric;
    WORD id;
    std::string text; // upper case
};

// What a caller passes where the system takes a name: an integer resource or a string.
ResourceName ResourceNameFromArgument(LPCSTR name);
bool SameResourceName(const ResourceName& a, const ResourceName& b);
std::string DescribeResourceName(const ResourceName& name);

struct ScriptResource {
    ResourceName name;
    std::string type; // upper case, e.g. DIALOG, ICON, VERSIONINFO, or "#24" for a number
    std::optional<DialogTemplate> dialog;
};

// Empty text when the script was read, otherwise "path:line: what was not understood".
std::string ReadResourceScript(const std::string& path, std::vector<ScriptResource>& out);

} // namespace standin
