// What the dialog tests need from a window system that cannot be had through the dialog itself:
// running the modal loop, playing the user, and answering the modal windows. The stand-in and
// real Win32 each implement it; the test bodies are the same for both.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct SeenMessageBox {
    HWND hOwner;
    std::string text;
    std::string caption;
    UINT type;
};

enum class Key { Enter, Escape, Tab };

class DialogDriver {
  public:
    virtual ~DialogDriver() = default;

    // Before Run. The system default language the dialog will read; false when the platform has
    // one fixed language that differs, and the test is then skipped.
    virtual bool UseSystemLanguage(LANGID langId) = 0;
    virtual void UseWorkingDirectory(const std::string& path) = 0;
    // The folder browser's next answer: a folder, or cancel.
    virtual void AnswerFolderBrowser(std::optional<std::string> folder) = 0;

    // Runs the dialog as WinMain does and calls user(hDlg) inside its modal loop once
    // WM_INITDIALOG has run. Message boxes are recorded and dismissed with OK. A dialog still open
    // when user returns is closed with the close box. Returns what DialogBoxParamA returned.
    virtual INT_PTR Run(const std::function<void(HWND hDlg)>& user) = 0;

    // Inside Run: the user. Type focuses the control and types byte by byte; only what the
    // control accepts arrives. Pick chooses a list item as with the mouse. Click presses a button
    // with the mouse. Press sends a key to the control that has the focus.
    virtual void Type(HWND hDlg, int id, const std::string& text) = 0;
    virtual void Pick(HWND hDlg, int id, int index) = 0;
    virtual void Click(HWND hDlg, int id) = 0;
    virtual void Press(HWND hDlg, Key key) = 0;
    virtual void CloseBox(HWND hDlg) = 0;

    // The message boxes shown since the last call, oldest first.
    virtual std::vector<SeenMessageBox> TakeMessageBoxes() = 0;

    // Items the folder browser handed out that were not freed with ILFree since the driver was
    // made; nullopt where the platform cannot count them.
    virtual std::optional<int> FolderItemsNotFreed() { return std::nullopt; }
};

// Each build links the driver of its window system.
std::unique_ptr<DialogDriver> MakeDialogDriver();
