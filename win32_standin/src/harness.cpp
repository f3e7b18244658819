// The harness: settings the stand-in reads instead of the system's, and the user's hands.
#include "win32_standin/harness.h"

#include "controls.h"
#include "dialog_manager.h"
#include "harness_state.h"
#include "styles.h"
#include "window_table.h"

#include <utility>

namespace standin {

namespace {

constexpr LANGID ENGLISH_US = 0x0409;
constexpr UINT CHINESE_SIMPLIFIED = 936;

HarnessState DefaultState() {
    return HarnessState{STANDIN_RESOURCE_SCRIPT,
                        "",
                        ENGLISH_US,
                        CHINESE_SIMPLIFIED,
                        std::nullopt,
                        nullptr,
                        std::nullopt,
                        {},
                        false};
}

std::string Name(const Window& control) {
    return "control " + std::to_string(control.id);
}

// The control, when the user can reach it: shown and enabled in a dialog that runs.
std::string Reach(HWND hControl, Window*& control) {
    control = LookUpWindow(hControl);
    if (control == nullptr) {
        return "no such window";
    }
    if (!IsRunningDialog(control->parent)) {
        return Name(*control) + " is in no running dialog";
    }
    if (IsWindowVisible(hControl) == FALSE) {
        return Name(*control) + " is hidden";
    }
    if (IsWindowEnabled(hControl) == FALSE) {
        return Name(*control) + " is disabled";
    }
    return "";
}

std::string ClickButton(Window& button) {
    const DWORD kind = button.style & BUTTON_KIND_MASK;
    if (kind == STYLE_BS_GROUPBOX) {
        return ""; // a frame: nothing happens
    }
    if (kind == STYLE_BS_AUTOCHECKBOX) {
        button.check = button.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    } else if (kind == STYLE_BS_AUTO3STATE) {
        button.check = (button.check + 1) % 3;
    } else if (!IsPushButton(button) && !HasCheckMark(button)) {
        return Name(button) + ": this kind of button is not modelled";
    }
    SetFocusedWindow(button.handle);
    SendCommand(button.parent, button.id, BN_CLICKED, button.handle);
    return "";
}

} // namespace

HarnessState& Harness() {
    static HarnessState state = DefaultState();
    return state;
}

void ResetHarness() {
    FreeAllFolderItems();
    Harness() = DefaultState();
}

void SetResourceScript(const std::string& path) {
    Harness().resourceScript = path;
}

const std::string& LastTemplateError() {
    return Harness().templateError;
}

void SetSystemLanguage(LANGID langId) {
    Harness().systemLanguage = langId;
}

void SetAnsiCodePage(UINT codePage) {
    Harness().ansiCodePage = codePage;
}

void SetWorkingDirectory(const std::string& path) {
    Harness().workingDirectory = path;
}

void SetModalUser(std::function<void(HWND hDlg)> user) {
    Harness().modalUser = std::move(user);
}

void AnswerFolderBrowser(std::optional<std::string> folder) {
    Harness().folderAnswer = std::move(folder);
}

int FolderItemsNotFreed() {
    return LiveFolderItems();
}

std::vector<SeenMessageBox> TakeMessageBoxes() {
    return std::exchange(Harness().messageBoxes, {});
}

bool CommonControlsInitialised() {
    return Harness().commonControlsInitialised;
}

std::string TypeText(HWND hControl, const std::string& text) {
    Window* control = nullptr;
    std::string error = Reach(hControl, control);
    if (error.empty() && control->kind != WindowKind::Edit) {
        error = Name(*control) + " is no edit";
    }
    if (!error.empty()) {
        return error;
    }
    FocusByKeyboard(hControl);
    return TypeIntoEdit(*control, text);
}

// The notifications of a mouse pick in a drop-down list, in the system's order.
std::string PickItem(HWND hCombo, int index) {
    Window* combo = nullptr;
    const std::string error = Reach(hCombo, combo);
    if (!error.empty()) {
        return error;
    }
    if (combo->kind != WindowKind::ComboBox) {
        return Name(*combo) + " is no list";
    }
    if (index < 0 || static_cast<std::size_t>(index) >= combo->items.size()) {
        return Name(*combo) + " has no item " + std::to_string(index);
    }
    const HWND hDlg = combo->parent;
    const int id = combo->id;
    SetFocusedWindow(hCombo);
    SendCommand(hDlg, id, CBN_DROPDOWN, hCombo);
    combo = LookUpWindow(hCombo);
    combo->selection = index;
    combo->text = combo->items[static_cast<std::size_t>(index)];
    SendCommand(hDlg, id, CBN_SELCHANGE, hCombo);
    SendCommand(hDlg, id, CBN_SELENDOK, hCombo);
    SendCommand(hDlg, id, CBN_CLOSEUP, hCombo);
    return "";
}

std::string ClickControl(HWND hControl) {
    Window* control = nullptr;
    const std::string error = Reach(hControl, control);
    if (!error.empty()) {
        return error;
    }
    switch (control->kind) {
    case WindowKind::Button:
        return ClickButton(*control);
    case WindowKind::Edit:
        SetFocusedWindow(hControl); // the caret goes where the mouse is: nothing is selected
        control->textSelected = false;
        return "";
    case WindowKind::ComboBox:
        return Name(*control) + " is a list: pick an item";
    default:
        return ""; // a label: nothing happens
    }
}

std::string PressTab(HWND hDlg) {
    if (!IsRunningDialog(hDlg)) {
        return "the dialog is not running";
    }
    FocusByKeyboard(NextTabStop(hDlg, FocusedWindow()));
    return "";
}

// Without a default push button Enter is IDOK, unless a push button has the focus.
std::string PressEnter(HWND hDlg) {
    if (!IsRunningDialog(hDlg)) {
        return "the dialog is not running";
    }
    const Window* focus = LookUpWindow(FocusedWindow());
    if (focus != nullptr && focus->parent == hDlg && IsPushButton(*focus)) {
        SendCommand(hDlg, focus->id, BN_CLICKED, focus->handle);
    } else {
        SendCommand(hDlg, IDOK, BN_CLICKED, GetDlgItem(hDlg, IDOK));
    }
    return "";
}

// Escape is IDCANCEL, except in a multi-line edit: that one takes every key itself and answers
// Escape by asking its dialog to close, as the system's edit does.
std::string PressEscape(HWND hDlg) {
    if (!IsRunningDialog(hDlg)) {
        return "the dialog is not running";
    }
    const Window* focus = LookUpWindow(FocusedWindow());
    if (focus != nullptr && focus->parent == hDlg && focus->kind == WindowKind::Edit &&
        (focus->style & STYLE_ES_MULTILINE) != 0) {
        SendMessageA(hDlg, WM_CLOSE, 0, 0);
    } else {
        SendCommand(hDlg, IDCANCEL, BN_CLICKED, GetDlgItem(hDlg, IDCANCEL));
    }
    return "";
}

std::string PressCloseBox(HWND hDlg) {
    if (!IsRunningDialog(hDlg)) {
        return "the dialog is not running";
    }
    SendMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    return "";
}

} // namespace standin
