// The dialog driver on the real window system: the dialog runs in DialogBoxParamA's own modal
// loop, the user's script runs from a message dispatched by that loop, and the modal windows
// the dialog opens are spotted by a hook as they finish their WM_INITDIALOG: a message box is
// recorded and answered with OK there, the folder browser from its own loop. Keys go through
// IsDialogMessageA, so the dialog manager and the controls decide what a key does, as they do
// for a person at the keyboard.
#include "tests/dialog/dialog_driver.h"

#include "win/resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <exception>
#include <utility>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd);

namespace {

constexpr UINT_PTR SUBCLASS_ID = 1;
constexpr int BROWSER_TREE_ID = 0x3741; // the folder browser's tree view
constexpr int BROWSER_TRIES = 200;
constexpr DWORD BROWSER_RETRY_MS = 10;

class Win32Driver;

// Hooks are per thread and carry no context: they find the running driver here.
Win32Driver* g_pRunning = nullptr;

UINT LaterMessage() {
    static const UINT message = RegisterWindowMessageA("CfgFtpDn.DialogTestLater");
    return message;
}

bool HasClass(HWND hwnd, const char* className) {
    char szClass[32] = {};
    GetClassNameA(hwnd, szClass, sizeof szClass);
    return lstrcmpiA(szClass, className) == 0;
}

bool IsMainDialog(HWND hwnd) {
    return HasClass(hwnd, "#32770") && GetDlgItem(hwnd, IDC_BT_GENERATE) != nullptr;
}

bool IsFolderBrowser(HWND hwnd) {
    const HWND hTree = GetDlgItem(hwnd, BROWSER_TREE_ID);
    return hTree != nullptr && HasClass(hTree, WC_TREEVIEWA);
}

// The text of the item the browser's tree has selected: a folder's own name.
std::string SelectedFolderName(HWND hBrowser) {
    const HWND hTree = GetDlgItem(hBrowser, BROWSER_TREE_ID);
    char szName[MAX_PATH] = {};
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = TreeView_GetSelection(hTree);
    item.pszText = szName;
    item.cchTextMax = sizeof szName;
    if (item.hItem == nullptr || !TreeView_GetItem(hTree, &item)) {
        return {};
    }
    return szName;
}

std::string LastName(std::string path) {
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) {
        path.pop_back();
    }
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

// The message box's window is built before it is shown, so at WM_INITDIALOG its children's
// visibility is read from their styles.
bool HasVisibleStyle(HWND hwnd) {
    return (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(hwnd, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

// The box's text is its one static that is not the icon.
std::string MessageBoxText(HWND hBox) {
    for (HWND hChild = GetWindow(hBox, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (HasClass(hChild, "Static") &&
            (GetWindowLongA(hChild, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
            return WindowText(hChild);
        }
    }
    return {};
}

// MessageBox does not keep its type; what it built from it does: the buttons it left visible
// and the shared system icon it put into its icon static.
UINT MessageBoxButtons(HWND hBox) {
    unsigned shown = 0;
    for (int id = IDOK; id <= IDCONTINUE; ++id) {
        const HWND hButton = GetDlgItem(hBox, id);
        if (hButton != nullptr && HasVisibleStyle(hButton)) {
            shown |= 1u << id;
        }
    }
    struct ButtonSet {
        unsigned shown;
        UINT type;
    };
    static const ButtonSet SETS[] = {
        {1u << IDOK, MB_OK},
        {1u << IDOK | 1u << IDCANCEL, MB_OKCANCEL},
        {1u << IDABORT | 1u << IDRETRY | 1u << IDIGNORE, MB_ABORTRETRYIGNORE},
        {1u << IDYES | 1u << IDNO | 1u << IDCANCEL, MB_YESNOCANCEL},
        {1u << IDYES | 1u << IDNO, MB_YESNO},
        {1u << IDRETRY | 1u << IDCANCEL, MB_RETRYCANCEL},
        {1u << IDCANCEL | 1u << IDTRYAGAIN | 1u << IDCONTINUE, MB_CANCELTRYCONTINUE},
    };
    for (const ButtonSet& set : SETS) {
        if (set.shown == shown) {
            return set.type;
        }
    }
    return MB_OK;
}

UINT MessageBoxIcon(HWND hBox) {
    HICON hIcon = nullptr;
    for (HWND hChild = GetWindow(hBox, GW_CHILD); hChild != nullptr && hIcon == nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        if (HasClass(hChild, "Static") && HasVisibleStyle(hChild) &&
            (GetWindowLongA(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            hIcon = reinterpret_cast<HICON>(SendMessageA(hChild, STM_GETICON, 0, 0));
        }
    }
    if (hIcon == nullptr) {
        return 0;
    }
    struct IconKind {
        LPCSTR name;
        UINT type;
    };
    static const IconKind KINDS[] = {
        {IDI_HAND, MB_ICONHAND},
        {IDI_QUESTION, MB_ICONQUESTION},
        {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
        {IDI_ASTERISK, MB_ICONASTERISK},
    };
    for (const IconKind& kind : KINDS) {
        if (LoadIconA(nullptr, kind.name) == hIcon) {
            return kind.type;
        }
    }
    return 0;
}

// A person reaches only what is shown and enabled. A step the user could not take is the
// test's mistake, not the dialog's.
bool Reachable(HWND hControl, int id) {
    if (hControl == nullptr) {
        ADD_FAILURE() << "the user cannot do that: there is no control " << id;
        return false;
    }
    if (!IsWindowVisible(hControl) || !IsWindowEnabled(hControl)) {
        ADD_FAILURE() << "the user cannot do that: control " << id << " is hidden or disabled";
        return false;
    }
    return true;
}

LPARAM KeyData(UINT vk, bool up) {
    const UINT scanCode = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
    LPARAM data = 1 | static_cast<LPARAM>(scanCode) << 16;
    if (up) {
        data |= static_cast<LPARAM>(0xC0000000u);
    }
    return data;
}

UINT VirtualKey(Key key) {
    switch (key) {
    case Key::Enter:
        return VK_RETURN;
    case Key::Escape:
        return VK_ESCAPE;
    case Key::Tab:
        return VK_TAB;
    }
    return 0;
}

class Win32Driver final : public DialogDriver {
  public:
    bool UseSystemLanguage(LANGID langId) override { return GetSystemDefaultLangID() == langId; }

    void UseWorkingDirectory(const std::string& path) override {
        SetCurrentDirectoryA(path.c_str());
    }

    void AnswerFolderBrowser(std::optional<std::string> folder) override {
        folderAnswer_ = std::move(folder);
    }

    INT_PTR Run(const std::function<void(HWND hDlg)>& user) override {
        user_ = user;
        hDlg_ = nullptr;
        failure_ = nullptr;
        g_pRunning = this;
        const HHOOK hHook =
            SetWindowsHookExA(WH_CALLWNDPROCRET, AfterMessage, nullptr, GetCurrentThreadId());
        // The exe's own entry point, with this module: its resources are the exe's.
        char szCommandLine[] = "";
        const INT_PTR result = WinMain(GetModuleHandleA(nullptr), nullptr, szCommandLine, SW_SHOW);
        UnhookWindowsHookEx(hHook);
        g_pRunning = nullptr;
        if (failure_) {
            std::rethrow_exception(std::exchange(failure_, nullptr));
        }
        return result;
    }

    // Focus as the Tab key gives it, which selects an edit's text, so the typing replaces it.
    void Type(HWND hDlg, int id, const std::string& text) override {
        const HWND hControl = GetDlgItem(hDlg, id);
        if (!Reachable(hControl, id)) {
            return;
        }
        SendMessageA(hDlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hControl), TRUE);
        for (const char c : text) {
            // A double-byte character arrives as two messages; the system joins them.
            SendMessageA(GetFocus(), WM_CHAR, static_cast<BYTE>(c), 1);
        }
        Pump(hDlg);
    }

    // What the combo box does for a click on an item of its open list.
    void Pick(HWND hDlg, int id, int index) override {
        const HWND hCombo = GetDlgItem(hDlg, id);
        if (!Reachable(hCombo, id)) {
            return;
        }
        if (index < 0 || index >= static_cast<int>(SendMessageA(hCombo, CB_GETCOUNT, 0, 0))) {
            ADD_FAILURE() << "the user cannot do that: list " << id << " has no item " << index;
            return;
        }
        SetFocus(hCombo);
        SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        const LPARAM from = reinterpret_cast<LPARAM>(hCombo);
        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), from);
        SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), from);
        Pump(hDlg);
    }

    void Click(HWND hDlg, int id) override {
        const HWND hButton = GetDlgItem(hDlg, id);
        if (!Reachable(hButton, id)) {
            return;
        }
        SendMessageA(hButton, BM_CLICK, 0, 0);
        Pump(hDlg);
    }

    // Down, the character TranslateMessage makes of it, and up, each as the modal loop hands
    // it to the dialog manager.
    void Press(HWND hDlg, Key key) override {
        const UINT vk = VirtualKey(key);
        for (const bool up : {false, true}) {
            HWND hTarget = GetFocus();
            if (hTarget == nullptr) {
                hTarget = hDlg;
            }
            MSG msg{};
            msg.hwnd = hTarget;
            msg.message = up ? WM_KEYUP : WM_KEYDOWN;
            msg.wParam = vk;
            msg.lParam = KeyData(vk, up);
            msg.time = static_cast<DWORD>(GetMessageTime());
            Deliver(hDlg, msg);
            Pump(hDlg);
        }
    }

    void CloseBox(HWND hDlg) override {
        SendMessageA(hDlg, WM_SYSCOMMAND, SC_CLOSE, 0);
        Pump(hDlg);
    }

    std::vector<SeenMessageBox> TakeMessageBoxes() override {
        return std::exchange(messageBoxes_, {});
    }

  private:
    static LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && g_pRunning != nullptr) {
            const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
            if (sent->message == WM_INITDIALOG) {
                g_pRunning->OnDialogInitialised(sent->hwnd);
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    // What runs once a modal window's own loop takes our message from the queue, that is after
    // WM_INITDIALOG, with the window shown and its focus set: the script in the main dialog,
    // the answer in the folder browser (whose tree is not ready for a selection any earlier).
    enum class Later : DWORD_PTR { Script = 1, BrowserAnswer = 2 };

    static void DoLater(HWND hwnd, Later what) {
        SetWindowSubclass(hwnd, LaterSubclass, SUBCLASS_ID, static_cast<DWORD_PTR>(what));
        PostMessageA(hwnd, LaterMessage(), 0, 0);
    }

    static LRESULT CALLBACK LaterSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR what) {
        if (message != LaterMessage() || g_pRunning == nullptr) {
            return DefSubclassProc(hwnd, message, wParam, lParam);
        }
        if (static_cast<Later>(what) == Later::Script) {
            RemoveWindowSubclass(hwnd, LaterSubclass, SUBCLASS_ID);
            g_pRunning->RunScript(hwnd);
        } else if (g_pRunning->AnswerBrowser(hwnd)) {
            RemoveWindowSubclass(hwnd, LaterSubclass, SUBCLASS_ID);
        } else {
            PostMessageA(hwnd, LaterMessage(), 0, 0);
        }
        return 0;
    }

    void OnDialogInitialised(HWND hwnd) {
        if (hDlg_ == nullptr && IsMainDialog(hwnd)) {
            hDlg_ = hwnd;
            DoLater(hwnd, Later::Script);
        } else if (IsFolderBrowser(hwnd)) {
            DoLater(hwnd, Later::BrowserAnswer);
        } else if (HasClass(hwnd, "#32770") && hwnd != hDlg_) {
            RecordMessageBox(hwnd);
        }
    }

    void RunScript(HWND hDlg) {
        try {
            if (user_) {
                user_(hDlg);
            }
        } catch (...) {
            failure_ = std::current_exception();
        }
        // EndDialog hides the dialog at once; one still shown was left open by the script.
        if (IsWindow(hDlg) && IsWindowVisible(hDlg)) {
            CloseBox(hDlg);
        }
    }

    void RecordMessageBox(HWND hBox) {
        messageBoxes_.push_back(SeenMessageBox{GetWindow(hBox, GW_OWNER), MessageBoxText(hBox),
                                               WindowText(hBox),
                                               MessageBoxButtons(hBox) | MessageBoxIcon(hBox)});
        PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }

    // The answer is used once; a browser nobody prepared for is cancelled. Wine's browser can
    // miss a folder made a moment before, so the selection is tried again from the browser's own
    // loop until its tree shows the folder; false asks for another try.
    bool AnswerBrowser(HWND hBrowser) {
        if (!folderAnswer_) {
            PostMessageA(hBrowser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return true;
        }
        SendMessageA(hBrowser, BFFM_SETSELECTIONA, TRUE,
                     reinterpret_cast<LPARAM>(folderAnswer_->c_str()));
        const bool selected =
            lstrcmpiA(SelectedFolderName(hBrowser).c_str(), LastName(*folderAnswer_).c_str()) == 0;
        if (!selected && ++browserTries_ < BROWSER_TRIES) {
            Sleep(BROWSER_RETRY_MS);
            return false;
        }
        if (!selected) {
            ADD_FAILURE() << "the folder browser does not offer " << *folderAnswer_;
        }
        browserTries_ = 0;
        folderAnswer_.reset();
        PostMessageA(hBrowser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return true;
    }

    static void Deliver(HWND hDlg, MSG& msg) {
        if (!IsWindow(hDlg) || !IsDialogMessageA(hDlg, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    // What the modal loop would do next with whatever the last step posted.
    static void Pump(HWND hDlg) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            if (!CallMsgFilterA(&msg, MSGF_DIALOGBOX)) {
                Deliver(hDlg, msg);
            }
        }
    }

    std::function<void(HWND)> user_;
    HWND hDlg_ = nullptr;
    std::exception_ptr failure_;
    std::optional<std::string> folderAnswer_;
    int browserTries_ = 0;
    std::vector<SeenMessageBox> messageBoxes_;
};

} // namespace

std::unique_ptr<DialogDriver> MakeDialogDriver() {
    return std::make_unique<Win32Driver>();
}
