// The test harness's side of the stand-in: what a real system gets from its settings, its user
// and its modal windows, set and played here instead. Only a test driver includes this.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace standin {

// Back to the defaults: the built-in resource script, language 0x0409, code page 936, the
// process's real working directory, no answers queued, nothing recorded.
void ResetHarness();

// Where DialogBoxParamA and LoadIconA read the resource script from.
void SetResourceScript(const std::string& path);
// Why the last DialogBoxParamA returned -1; empty after a run that started.
const std::string& LastTemplateError();

void SetSystemLanguage(LANGID langId);
// Decides IsDBCSLeadByte and GetACP; 936 has lead bytes 0x81 to 0xFE, 1252 none.
void SetAnsiCodePage(UINT codePage);
// What GetCurrentDirectoryA reports; the process's own directory is left alone.
void SetWorkingDirectory(const std::string& path);

// Called with the dialog once DialogBoxParamA has initialised it and put the focus: the user's
// whole session. The stand-in's modal loop is this one call; a dialog still open when it returns
// is closed with the close box. Taken by the next dialog that runs.
void SetModalUser(std::function<void(HWND hDlg)> user);

// The next folder browser's answer: a folder, or cancel (also when nothing was queued).
void AnswerFolderBrowser(std::optional<std::string> folder);
// Items that SHBrowseForFolderA returned and ILFree has not freed yet.
int FolderItemsNotFreed();

struct SeenMessageBox {
    HWND hOwner;
    std::string text;
    std::string caption;
    UINT type;
};
// Every message box since the last call, oldest first; each was answered with OK.
std::vector<SeenMessageBox> TakeMessageBoxes();

bool CommonControlsInitialised();

// The user inside the modal loop. Each returns an empty text when done, otherwise why it could
// not be done (a control the user cannot reach, an item the list lacks).
//
// Typing focuses the edit as the Tab key does, which selects its text, so the typed text
// replaces it; the edit takes what its styles and limit allow.
std::string TypeText(HWND hControl, const std::string& text);
// A mouse pick in a list: the item is selected and the dialog hears of it.
std::string PickItem(HWND hCombo, int index);
std::string ClickControl(HWND hControl);
std::string PressTab(HWND hDlg);
std::string PressEnter(HWND hDlg);
std::string PressEscape(HWND hDlg);
std::string PressCloseBox(HWND hDlg);

} // namespace standin
