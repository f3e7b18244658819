// Reads the running tool's windows from outside, as another program on the same desktop sees
// them, so that the end-to-end script checks control texts rather than pixels.
//
//   probe dialog            the main dialog and every control in template order
//   probe msgbox            the message box the main dialog owns, if any
//   probe wait-dialog       waits until the main dialog exists, then as "dialog"
//   probe wait-msgbox       waits until a message box exists, then as "msgbox"
//   probe wait-no-msgbox    waits until no message box is open
//
// Texts are printed as hex bytes in this process's ANSI code page, which under the same locale is
// the tool's; the caller compares bytes, not characters. Exit code 1 when the window is not there.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int ID_GENERATE_BUTTON = 40010; // only the tool's main dialog has it
constexpr DWORD WAIT_LIMIT_MS = 30000;    // generous: wine may still be starting the tool
constexpr DWORD POLL_MS = 50;
constexpr UINT ANSWER_LIMIT_MS = 5000;

bool IsDialogClass(HWND hwnd) {
    char szClass[16] = {};
    GetClassNameA(hwnd, szClass, sizeof szClass);
    return std::strcmp(szClass, "#32770") == 0;
}

bool IsMainDialog(HWND hwnd) {
    return IsDialogClass(hwnd) && GetDlgItem(hwnd, ID_GENERATE_BUTTON) != nullptr;
}

struct Search {
    bool (*match)(HWND);
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND hwnd, LPARAM lParam) {
    Search* search = reinterpret_cast<Search*>(lParam);
    if (IsWindowVisible(hwnd) && search->match(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindTopLevel(bool (*match)(HWND)) {
    Search search{match, nullptr};
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindMainDialog() {
    return FindTopLevel(IsMainDialog);
}

bool IsMessageBox(HWND hwnd) {
    if (!IsDialogClass(hwnd) || IsMainDialog(hwnd)) {
        return false;
    }
    const HWND hOwner = GetWindow(hwnd, GW_OWNER);
    return hOwner != nullptr && IsMainDialog(hOwner);
}

HWND FindMessageBox() {
    return FindTopLevel(IsMessageBox);
}

HWND WaitFor(HWND (*find)()) {
    const DWORD start = GetTickCount();
    for (;;) {
        const HWND hwnd = find();
        if (hwnd != nullptr || GetTickCount() - start > WAIT_LIMIT_MS) {
            return hwnd;
        }
        Sleep(POLL_MS);
    }
}

bool WaitGone(HWND (*find)()) {
    const DWORD start = GetTickCount();
    while (find() != nullptr) {
        if (GetTickCount() - start > WAIT_LIMIT_MS) {
            return false;
        }
        Sleep(POLL_MS);
    }
    return true;
}

LRESULT Ask(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, ANSWER_LIMIT_MS,
                            &result) == 0) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

// WM_GETTEXT rather than GetWindowText: across processes only the message reaches what an edit
// holds now.
std::string TextOf(HWND hwnd) {
    std::vector<char> buffer(1024, '\0');
    const LRESULT length =
        Ask(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(&buffer[0]));
    if (length <= 0) {
        return {};
    }
    return std::string(&buffer[0], static_cast<std::size_t>(length));
}

std::string Hex(const std::string& bytes) {
    static const char DIGITS[] = "0123456789abcdef";
    std::string hex;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        hex += DIGITS[byte >> 4];
        hex += DIGITS[byte & 0xF];
    }
    return hex.empty() ? "-" : hex;
}

std::string ClassOf(HWND hwnd) {
    char szClass[64] = {};
    GetClassNameA(hwnd, szClass, sizeof szClass);
    return szClass;
}

// Wine keeps the X11 window of each top-level window in this property; the script focuses and
// types into that window with xdotool.
unsigned long long X11WindowOf(HWND hwnd) {
    return reinterpret_cast<unsigned long long>(GetPropA(hwnd, "__wine_x11_whole_window"));
}

void PrintTopLevel(const char* kind, HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    const HWND hOwner = GetWindow(hwnd, GW_OWNER);
    const char* owner = hOwner == nullptr ? "none" : IsMainDialog(hOwner) ? "dialog" : "other";
    std::printf("%s x11=%llu owner=%s enabled=%d rect=%ld,%ld,%ld,%ld text=%s\n", kind,
                X11WindowOf(hwnd), owner, IsWindowEnabled(hwnd) ? 1 : 0, rect.left, rect.top,
                rect.right - rect.left, rect.bottom - rect.top, Hex(TextOf(hwnd)).c_str());
}

HWND FocusOf(HWND hwnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info);
    return info.hwndFocus;
}

// One line per child in creation order: id, class, state, list selection and text.
void PrintControls(HWND hDlg) {
    const HWND hFocus = FocusOf(hDlg);
    for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        const std::string className = ClassOf(hChild);
        long selection = -1;
        if (lstrcmpiA(className.c_str(), "ComboBox") == 0) {
            selection = static_cast<long>(Ask(hChild, CB_GETCURSEL, 0, 0));
        }
        const bool focused = hChild == hFocus || IsChild(hChild, hFocus);
        std::printf("control id=%d class=%s visible=%d enabled=%d focus=%d sel=%ld text=%s\n",
                    GetDlgCtrlID(hChild), className.c_str(), IsWindowVisible(hChild) ? 1 : 0,
                    IsWindowEnabled(hChild) ? 1 : 0, focused ? 1 : 0, selection,
                    Hex(TextOf(hChild)).c_str());
    }
}

// The message box's own children: its text and its buttons.
void PrintMessageBox(HWND hBox) {
    PrintTopLevel("msgbox", hBox);
    for (HWND hChild = GetWindow(hBox, GW_CHILD); hChild != nullptr;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        const std::string className = ClassOf(hChild);
        const LONG style = GetWindowLongA(hChild, GWL_STYLE);
        if (lstrcmpiA(className.c_str(), "Static") == 0 && (style & SS_TYPEMASK) != SS_ICON) {
            std::printf("msgtext text=%s\n", Hex(TextOf(hChild)).c_str());
        } else if (lstrcmpiA(className.c_str(), "Button") == 0 && IsWindowVisible(hChild)) {
            std::printf("msgbutton id=%d text=%s\n", GetDlgCtrlID(hChild),
                        Hex(TextOf(hChild)).c_str());
        }
    }
}

int Dialog(HWND hDlg) {
    if (hDlg == nullptr) {
        std::printf("no dialog\n");
        return 1;
    }
    PrintTopLevel("dialog", hDlg);
    PrintControls(hDlg);
    return 0;
}

int MessageBoxReport(HWND hBox) {
    if (hBox == nullptr) {
        std::printf("no msgbox\n");
        return 1;
    }
    PrintMessageBox(hBox);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "dialog") {
        return Dialog(FindMainDialog());
    }
    if (command == "wait-dialog") {
        return Dialog(WaitFor(FindMainDialog));
    }
    if (command == "msgbox") {
        return MessageBoxReport(FindMessageBox());
    }
    if (command == "wait-msgbox") {
        return MessageBoxReport(WaitFor(FindMessageBox));
    }
    if (command == "wait-no-msgbox") {
        return WaitGone(FindMessageBox) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: probe dialog|msgbox|wait-dialog|wait-msgbox|wait-no-msgbox\n");
    return 2;
}
