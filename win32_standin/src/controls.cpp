#include "controls.h"

#include "code_page.h"
#include "harness_state.h"
#include "styles.h"

#include <limits>

namespace standin {

namespace {

// EM_LIMITTEXT with 0 lifts the limit to the most a one-line edit holds.
constexpr std::size_t LIFTED_TYPING_LIMIT = 0x7FFFFFFE;

DWORD ButtonKind(const Window& window) {
    return window.style & BUTTON_KIND_MASK;
}

std::size_t CharacterCount(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count) {
        const bool lead = IsLeadByteIn(Harness().ansiCodePage, static_cast<BYTE>(text[i]));
        i += lead && i + 1 < text.size() ? 2u : 1u;
    }
    return count;
}

const char* TextArgument(LPARAM lParam) {
    const char* text = reinterpret_cast<const char*>(lParam);
    return text == nullptr ? "" : text;
}

LRESULT CommonMessage(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT:
        window.text = TextArgument(lParam);
        window.textSelected = false;
        return TRUE;
    case WM_GETTEXT:
        return CopyText(
            window.text, reinterpret_cast<char*>(lParam),
            static_cast<int>(std::min<WPARAM>(wParam, std::numeric_limits<int>::max())));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window.text.size());
    default:
        return 0;
    }
}

LRESULT EditMessage(Window& edit, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == EM_LIMITTEXT) {
        edit.typingLimit = wParam == 0 ? LIFTED_TYPING_LIMIT : static_cast<std::size_t>(wParam);
        return 0;
    }
    return CommonMessage(edit, message, wParam, lParam);
}

// The list's index arguments are ints carried in a WPARAM.
int IndexArgument(WPARAM wParam) {
    return static_cast<int>(static_cast<std::int32_t>(wParam & 0xFFFFFFFFu));
}

bool HasItem(const Window& combo, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < combo.items.size();
}

LRESULT ComboBoxMessage(Window& combo, UINT message, WPARAM wParam, LPARAM lParam) {
    const int index = IndexArgument(wParam);
    switch (message) {
    case CB_ADDSTRING:
        if (lParam == 0) {
            return CB_ERR;
        }
        combo.items.emplace_back(TextArgument(lParam));
        return static_cast<LRESULT>(combo.items.size() - 1);
    case CB_SETCURSEL:
        // An index the list lacks, -1 among them, leaves no selection and an empty field.
        if (!HasItem(combo, index)) {
            combo.selection = -1;
            combo.text.clear();
            return CB_ERR;
        }
        combo.selection = index;
        combo.text = combo.items[static_cast<std::size_t>(index)];
        return index;
    case CB_GETCURSEL:
        return combo.selection;
    case CB_GETCOUNT:
        return static_cast<LRESULT>(combo.items.size());
    case CB_GETLBTEXT:
        if (!HasItem(combo, index) || lParam == 0) {
            return CB_ERR;
        } else {
            const std::string& item = combo.items[static_cast<std::size_t>(index)];
            // The caller's buffer has no size: the system trusts it to hold the item.
            char* buffer = reinterpret_cast<char*>(lParam);
            item.copy(buffer, item.size());
            buffer[item.size()] = '\0';
            return static_cast<LRESULT>(item.size());
        }
    case CB_GETLBTEXTLEN:
        return HasItem(combo, index)
                   ? static_cast<LRESULT>(combo.items[static_cast<std::size_t>(index)].size())
                   : CB_ERR;
    default:
        return CommonMessage(combo, message, wParam, lParam);
    }
}

LRESULT ButtonMessage(Window& button, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case BM_GETCHECK:
        return HasCheckMark(button) ? static_cast<LRESULT>(button.check) : BST_UNCHECKED;
    case BM_SETCHECK:
        if (HasCheckMark(button) && wParam <= BST_INDETERMINATE) {
            button.check = static_cast<UINT>(wParam);
        }
        return 0;
    default:
        return CommonMessage(button, message, wParam, lParam);
    }
}

} // namespace

bool IsPushButton(const Window& window) {
    return window.kind == WindowKind::Button && (ButtonKind(window) == STYLE_BS_PUSHBUTTON ||
                                                 ButtonKind(window) == STYLE_BS_DEFPUSHBUTTON);
}

bool HasCheckMark(const Window& window) {
    const DWORD kind = ButtonKind(window);
    return window.kind == WindowKind::Button &&
           (kind == STYLE_BS_CHECKBOX || kind == STYLE_BS_AUTOCHECKBOX || kind == STYLE_BS_3STATE ||
            kind == STYLE_BS_AUTO3STATE);
}

LRESULT ClassWindowProc(Window& control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (control.kind) {
    case WindowKind::Edit:
        return EditMessage(control, message, wParam, lParam);
    case WindowKind::ComboBox:
        return ComboBoxMessage(control, message, wParam, lParam);
    case WindowKind::Button:
        return ButtonMessage(control, message, wParam, lParam);
    default:
        return CommonMessage(control, message, wParam, lParam);
    }
}

std::string TypeIntoEdit(Window& edit, const std::string& text) {
    if (edit.kind != WindowKind::Edit) {
        return "only an edit takes typing";
    }
    for (std::size_t i = 0; i < text.size();) {
        const bool lead = IsLeadByteIn(Harness().ansiCodePage, static_cast<BYTE>(text[i]));
        const std::size_t length = lead && i + 1 < text.size() ? 2u : 1u;
        const std::string character = text.substr(i, length);
        i += length;
        if (static_cast<unsigned char>(character[0]) < 0x20) {
            return "control characters are keys: press them";
        }
        const bool digit = character[0] >= '0' && character[0] <= '9';
        if ((edit.style & STYLE_ES_READONLY) != 0 ||
            ((edit.style & STYLE_ES_NUMBER) != 0 && !digit)) {
            continue;
        }
        const std::size_t kept = edit.textSelected ? 0 : CharacterCount(edit.text);
        if (kept + 1 > edit.typingLimit) {
            continue;
        }
        if (edit.textSelected) {
            edit.text.clear();
            edit.textSelected = false;
        }
        edit.text += character;
    }
    return "";
}

} // namespace standin
