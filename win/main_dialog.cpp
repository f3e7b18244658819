#include "win/main_dialog.h"

#include "config/config_store.h"
#include "config/factory_config.h"
#include "config/text_field.h"
#include "config/trace.h"
#include "ui/generate_command.h"
#include "ui/text_catalogue.h"
#include "win/dialog_form.h"
#include "win/resource.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <shlobj.h>

HINSTANCE g_hInstance = nullptr;
int g_bFirstInit = 1;

namespace {

// Handles kept at every WM_INITDIALOG. Of the two controls with IDC_GB_URL1 this is the one
// found first, the hidden group box.
HWND g_hCbType;
HWND g_hEdServer;
HWND g_hEdPort;
HWND g_hStServer;
HWND g_hStPort;
HWND g_hEdSavePath;
HWND g_hCkUrl1;
HWND g_hStUrl1Enable;
HWND g_hGbUrl1;
HWND g_hEdUrl1;
HWND g_hGbFtpSet;
HWND g_hStUser;
HWND g_hEdUser;
HWND g_hStPassword;
HWND g_hEdPassword;
HWND g_hGbFtpDir;
HWND g_hCbDirMode;
HWND g_hEdFtpDir;

struct ControlText {
    int id;
    TextId text;
};

const ControlText CONTROL_TEXTS[] = {
    {IDC_ST_TYPE, TXT_SELECT_TYPE},  {IDC_GB_FTPSET, TXT_FTP_PARAMS},
    {IDC_ST_SERVER, TXT_SERVER},     {IDC_ST_PORT, TXT_PORT},
    {IDC_ST_USER, TXT_USER},         {IDC_ST_PASSWORD, TXT_PASSWORD},
    {IDC_GB_FTPDIR, TXT_UPLOAD_DIR}, {IDC_GB_SAVEPATH, TXT_SAVE_PATH},
    {IDC_BT_BROWSE, TXT_BROWSE},     {IDC_BT_GENERATE, TXT_GENERATE},
    {IDC_ST_VERSION, TXT_VERSION},
};

constexpr int SERVER_TYPING_LIMIT = 60;
constexpr int PORT_TYPING_LIMIT = 5;
constexpr int SAVE_PATH_TYPING_LIMIT = 64;

template <std::size_t N> void ShowFieldText(HWND hControl, const char (&field)[N]) {
    SetWindowTextA(hControl, FieldText(field).szText);
}

void SelectListItem(HWND hList, int index) {
    SendMessageA(hList, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int SelectedListItem(HWND hList) {
    return static_cast<int>(SendMessageA(hList, CB_GETCURSEL, 0, 0));
}

void LimitTyping(HWND hEdit, int limit) {
    SendMessageA(hEdit, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
}

void ApplyUrl1EnableState() {
    const BOOL enable = g_sFactoryConfig.byUrl1Enable != 0;
    EnableWindow(g_hStUrl1Enable, enable);
    EnableWindow(g_hGbUrl1, enable);
    EnableWindow(g_hEdUrl1, enable);
}

void KeepControlHandles(HWND hDlg) {
    g_hCbType = GetDlgItem(hDlg, IDC_CB_TYPE);
    g_hEdServer = GetDlgItem(hDlg, IDC_ED_SERVER);
    g_hEdPort = GetDlgItem(hDlg, IDC_ED_PORT);
    g_hStServer = GetDlgItem(hDlg, IDC_ST_SERVER);
    g_hStPort = GetDlgItem(hDlg, IDC_ST_PORT);
    g_hEdSavePath = GetDlgItem(hDlg, IDC_ED_SAVEPATH);
    g_hCkUrl1 = GetDlgItem(hDlg, IDC_CK_URL1);
    g_hStUrl1Enable = GetDlgItem(hDlg, IDC_ST_URL1_ENABLE);
    g_hGbUrl1 = GetDlgItem(hDlg, IDC_GB_URL1);
    g_hEdUrl1 = GetDlgItem(hDlg, IDC_ED_URL1);
    g_hGbFtpSet = GetDlgItem(hDlg, IDC_GB_FTPSET);
    g_hStUser = GetDlgItem(hDlg, IDC_ST_USER);
    g_hEdUser = GetDlgItem(hDlg, IDC_ED_USER);
    g_hStPassword = GetDlgItem(hDlg, IDC_ST_PASSWORD);
    g_hEdPassword = GetDlgItem(hDlg, IDC_ED_PASSWORD);
    g_hGbFtpDir = GetDlgItem(hDlg, IDC_GB_FTPDIR);
    g_hCbDirMode = GetDlgItem(hDlg, IDC_CB_DIRMODE);
    g_hEdFtpDir = GetDlgItem(hDlg, IDC_ED_FTPDIR);
}

void FillFromRecord() {
    const FactoryConfig& config = g_sFactoryConfig;
    ShowFieldText(g_hEdServer, config.szDebugUrl);
    char szPort[8];
    std::snprintf(szPort, sizeof szPort, "%d", config.uwDebugPort);
    SetWindowTextA(g_hEdPort, szPort);
    ShowFieldText(g_hEdUrl1, config.szUrl1);
    ShowFieldText(g_hEdUser, config.szFtpUser);
    ShowFieldText(g_hEdPassword, config.szFtpPassword);
}

BOOL OnInitDialog(HWND hDlg) {
    const HICON hIcon = LoadIconA(g_hInstance, MAKEINTRESOURCEA(IDI_APP));
    SendMessageA(hDlg, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(hIcon));
    KeepControlHandles(hDlg);
    if (g_bFirstInit != 0) {
        const LANGID wLangId = GetSystemDefaultLangID();
        g_bFirstInit = 0;
        SelectLanguage(wLangId);
        InitSavePathFromCwd();
        LoadConfig(); // without a file the record keeps its values at start
    }
    SetWindowTextA(g_hEdSavePath, g_szSavePath);
    ApplyLanguageTexts(hDlg);
    FillFromRecord();

    for (const char* szItem : SERVER_TYPE_ITEMS) {
        SendMessageA(g_hCbType, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(szItem));
    }
    SelectListItem(g_hCbType, g_sFactoryConfig.bySelectBy);
    for (const TextId item : {TXT_DIR_ROOT, TXT_DIR_SPECIFY}) {
        SendMessageA(g_hCbDirMode, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(GetText(item)));
    }
    SelectListItem(g_hCbDirMode, g_sFactoryConfig.iDirMode);

    // The upload directory is kept from the loaded file but not offered to the user.
    ShowWindow(g_hGbFtpDir, SW_HIDE);
    EnableWindow(g_hCbDirMode, FALSE);
    ShowWindow(g_hCbDirMode, SW_HIDE);
    EnableWindow(g_hEdFtpDir, FALSE);
    ShowWindow(g_hEdFtpDir, SW_HIDE);
    ApplyDirMode(g_sFactoryConfig.iDirMode);

    LimitTyping(g_hEdServer, SERVER_TYPING_LIMIT);
    LimitTyping(g_hEdPort, PORT_TYPING_LIMIT);
    LimitTyping(g_hEdSavePath, SAVE_PATH_TYPING_LIMIT);
    CheckDlgButton(hDlg, IDC_CK_URL1,
                   g_sFactoryConfig.byUrl1Enable != 0 ? BST_CHECKED : BST_UNCHECKED);
    RefreshEnableStates();
    return TRUE; // the window system focuses the first tab stop, the server edit
}

void OnUrl1Checkbox(HWND hDlg) {
    const UINT state = IsDlgButtonChecked(hDlg, IDC_CK_URL1);
    if (state == BST_CHECKED) {
        g_sFactoryConfig.byUrl1Enable = 1;
    } else if (state == BST_UNCHECKED) {
        g_sFactoryConfig.byUrl1Enable = 0;
    }
    ApplyUrl1EnableState();
}

// Changes only where the next Generate writes; nothing is loaded from the new folder.
void OnBrowse() {
    BROWSEINFOA info;
    std::memset(&info, 0, sizeof info);
    info.hwndOwner = GetForegroundWindow();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    const LPITEMIDLIST pidl = SHBrowseForFolderA(&info);
    if (pidl == nullptr) {
        return;
    }
    // A folder the shell cannot turn into a path keeps the previous one.
    char szFolder[MAX_PATH] = {};
    if (SHGetPathFromIDListA(pidl, szFolder) &&
        std::memchr(szFolder, '\0', sizeof szFolder) != nullptr) {
        std::memcpy(g_szSavePath, szFolder, sizeof g_szSavePath);
        SetWindowTextA(g_hEdSavePath, g_szSavePath);
    }
    ILFree(pidl);
}

void OnCommand(HWND hDlg, int id, int code) {
    switch (id) {
    case IDC_CB_TYPE:
        if (code == CBN_SELENDOK) {
            g_sFactoryConfig.bySelectBy = static_cast<std::uint8_t>(SelectedListItem(g_hCbType));
            RefreshEnableStates();
        }
        break;
    case IDC_BT_GENERATE: {
        DialogForm form(hDlg);
        GenerateCommand(form);
        break;
    }
    case IDC_BT_BROWSE:
        OnBrowse();
        break;
    case IDC_CK_URL1:
        OnUrl1Checkbox(hDlg);
        break;
    case IDC_CB_DIRMODE:
        if (code == CBN_SELCHANGE) {
            g_sFactoryConfig.iDirMode = SelectedListItem(g_hCbDirMode);
            ApplyDirMode(g_sFactoryConfig.iDirMode);
        }
        break;
    default:
        break; // IDOK and IDCANCEL among them: Enter and Escape do not close the dialog
    }
}

} // namespace

INT_PTR CALLBACK MainDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(hDlg);
    case WM_COMMAND:
        OnCommand(hDlg, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_SYSCOMMAND:
        // The close box, Alt+F4 and Close on the system menu; closing saves nothing.
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            EndDialog(hDlg, 0);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        // Escape in the multi-line save-path edit arrives as WM_CLOSE: it must not end the dialog.
        return TRUE;
    default:
        return FALSE;
    }
}

void InitSavePathFromCwd() {
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) {
        return;
    }
    const std::unique_ptr<char[]> buffer(new (std::nothrow) char[needed]);
    if (!buffer) {
        return;
    }
    const DWORD length = GetCurrentDirectoryA(needed, buffer.get());
    // A folder too long for the save path keeps "C:\" rather than a cut path.
    if (length == 0 || length >= needed || length >= static_cast<DWORD>(SAVE_PATH_SIZE)) {
        return;
    }
    std::memcpy(g_szSavePath, buffer.get(), length + 1);
    Trace("CurDir:%s\n", g_szSavePath);
}

void ApplyLanguageTexts(HWND hDlg) {
    SetWindowTextA(hDlg, GetText(TXT_TITLE));
    for (const ControlText& control : CONTROL_TEXTS) {
        SetWindowTextA(GetDlgItem(hDlg, control.id), GetText(control.text));
    }
}

void ApplyDirMode(int mode) {
    if (mode != 0) {
        EnableWindow(g_hEdFtpDir, TRUE);
    } else {
        StoreFieldText(g_sFactoryConfig.szFtpDir, "/");
        EnableWindow(g_hEdFtpDir, FALSE);
    }
    ShowFieldText(g_hEdFtpDir, g_sFactoryConfig.szFtpDir);
}

void RefreshEnableStates() {
    EnableWindow(g_hEdServer, TRUE);
    EnableWindow(g_hEdPort, TRUE);
    EnableWindow(g_hStServer, TRUE);
    EnableWindow(g_hStPort, TRUE);
    EnableWindow(g_hCkUrl1, TRUE);
    ApplyUrl1EnableState();
}
