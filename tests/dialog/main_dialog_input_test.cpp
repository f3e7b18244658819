// The user's input: typing, keys, commands, the close box and the save folder.
#include "tests/dialog/dialog_test_support.h"

#include "config/config_store.h"
#include "ui/text_catalogue.h"
#include "win/main_dialog.h"
#include "win/resource.h"

#include <cstring>

namespace fs = std::filesystem;

namespace {

using MainDialogInput = DialogTest;

bool SameRecord(const FactoryConfig& a, const FactoryConfig& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

DialogState WithoutSavePath(DialogState state) {
    for (ControlState& control : state.controls) {
        if (control.id == IDC_ED_SAVEPATH) {
            control.text.clear();
        }
    }
    return state;
}

struct Typing {
    const char* name;
    int id;
    std::string typed;
    std::string shown;
};

void PrintTo(const Typing& row, std::ostream* out) {
    *out << row.name;
}

class MainDialogTyping : public DialogTest, public testing::WithParamInterface<Typing> {};

// Typing replaces what the edit held, as after tabbing into it.
TEST_P(MainDialogTyping, EditTakesWhatItsStyleAndLimitAllow) {
    Run([&](HWND hDlg) {
        driver->Type(hDlg, GetParam().id, GetParam().typed);
        EXPECT_EQ(ControlText(hDlg, GetParam().id), GetParam().shown);
    });
}

INSTANTIATE_TEST_SUITE_P(
    MainDialog, MainDialogTyping,
    testing::Values(
        Typing{"PortDigitsOnly", IDC_ED_PORT, "8x0 8-0", "8080"},
        Typing{"PortFiveDigits", IDC_ED_PORT, "1234567", "12345"},
        Typing{"ServerSixtyCharacters", IDC_ED_SERVER, std::string(70, 's'), std::string(60, 's')},
        Typing{"UserUnlimited", IDC_ED_USER, std::string(70, 'u'), std::string(70, 'u')},
        Typing{"PasswordUnlimited", IDC_ED_PASSWORD, std::string(40, 'p'), std::string(40, 'p')},
        Typing{"SavePathSixtyFour", IDC_ED_SAVEPATH, std::string(70, 'c'), std::string(64, 'c')}),
    RowName());

struct KeyOnEdit {
    const char* name;
    Key key;
    int id;
};

void PrintTo(const KeyOnEdit& row, std::ostream* out) {
    *out << row.name;
}

class MainDialogKey : public DialogTest, public testing::WithParamInterface<KeyOnEdit> {};

// Neither key closes the dialog. Without a default push button they arrive as IDOK and
// IDCANCEL, which the dialog ignores. The save-path edit is multi-line: Enter there (no
// ES_WANTRETURN) still stands for the default button, but the edit takes Escape itself and
// answers it with WM_CLOSE to the dialog, which must not end it. EndDialog hides a dialog at
// once, so a shown dialog is an open one.
TEST_P(MainDialogKey, OnAnEditChangesNothingAndLeavesTheDialogOpen) {
    const KeyOnEdit& row = GetParam();
    Run([&](HWND hDlg) {
        EnterValidForm(hDlg);
        driver->Type(hDlg, row.id, ControlText(hDlg, row.id));
        ASSERT_EQ(GetFocus(), GetDlgItem(hDlg, row.id));
        const DialogState before = TakeDialogState(hDlg);
        const FactoryConfig record = g_sFactoryConfig;

        driver->Press(hDlg, row.key);

        EXPECT_NE(IsWindowVisible(hDlg), FALSE);
        EXPECT_EQ(TakeDialogState(hDlg), before);
        EXPECT_TRUE(SameRecord(g_sFactoryConfig, record));
        EXPECT_TRUE(driver->TakeMessageBoxes().empty());
    });
    EXPECT_EQ(workDir.Names(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(MainDialog, MainDialogKey,
                         testing::Values(KeyOnEdit{"EscapeOnServer", Key::Escape, IDC_ED_SERVER},
                                         KeyOnEdit{"EnterOnServer", Key::Enter, IDC_ED_SERVER},
                                         KeyOnEdit{"EscapeOnSavePath", Key::Escape,
                                                   IDC_ED_SAVEPATH},
                                         KeyOnEdit{"EnterOnSavePath", Key::Enter, IDC_ED_SAVEPATH}),
                         RowName());

TEST_F(MainDialogInput, EnterOnAFocusedPushButtonPressesIt) {
    TempFolder chosen;
    driver->AnswerFolderBrowser(chosen.String());
    Run([&](HWND hDlg) {
        driver->Type(hDlg, IDC_ED_PASSWORD, "secret");
        driver->Press(hDlg, Key::Tab);
        ASSERT_EQ(GetFocus(), GetDlgItem(hDlg, IDC_BT_BROWSE));
        driver->Press(hDlg, Key::Enter);
        std::error_code error;
        EXPECT_TRUE(fs::equivalent(ControlText(hDlg, IDC_ED_SAVEPATH), chosen.Path(), error));
    });
}

struct ProcCall {
    const char* name;
    UINT message;
    int id;
    int code;
    INT_PTR result;
};

void PrintTo(const ProcCall& row, std::ostream* out) {
    *out << row.name;
}

class MainDialogProcResult : public DialogTest, public testing::WithParamInterface<ProcCall> {};

// Every WM_COMMAND is the dialog's, handled or not; other messages go to the defaults.
TEST_P(MainDialogProcResult, IsTrueForEveryCommandAndFalseForOtherMessages) {
    const ProcCall& call = GetParam();
    Run([&](HWND hDlg) {
        const HWND hControl = GetDlgItem(hDlg, call.id);
        const WPARAM wParam =
            call.message == WM_COMMAND ? MAKEWPARAM(call.id, call.code) : WPARAM{0};
        EXPECT_EQ(MainDialogProc(hDlg, call.message, wParam, reinterpret_cast<LPARAM>(hControl)),
                  call.result);
        driver->TakeMessageBoxes();
    });
}

INSTANTIATE_TEST_SUITE_P(
    MainDialog, MainDialogProcResult,
    testing::Values(
        ProcCall{"Ok", WM_COMMAND, IDOK, BN_CLICKED, TRUE},
        ProcCall{"Cancel", WM_COMMAND, IDCANCEL, BN_CLICKED, TRUE},
        ProcCall{"IdZero", WM_COMMAND, 0, 0, TRUE},
        ProcCall{"UnknownId", WM_COMMAND, 12345, 0, TRUE},
        ProcCall{"HighestIdAndCode", WM_COMMAND, 0xFFFF, 0xFFFF, TRUE},
        ProcCall{"TypeListSelChange", WM_COMMAND, IDC_CB_TYPE, CBN_SELCHANGE, TRUE},
        ProcCall{"TypeListSelEndOk", WM_COMMAND, IDC_CB_TYPE, CBN_SELENDOK, TRUE},
        ProcCall{"TypeListDropDown", WM_COMMAND, IDC_CB_TYPE, CBN_DROPDOWN, TRUE},
        ProcCall{"DirListSelChange", WM_COMMAND, IDC_CB_DIRMODE, CBN_SELCHANGE, TRUE},
        ProcCall{"DirListEditChange", WM_COMMAND, IDC_CB_DIRMODE, CBN_EDITCHANGE, TRUE},
        ProcCall{"ServerChange", WM_COMMAND, IDC_ED_SERVER, EN_CHANGE, TRUE},
        ProcCall{"GenerateDoubleClick", WM_COMMAND, IDC_BT_GENERATE, BN_DOUBLECLICKED, TRUE},
        ProcCall{"BrowseDoubleClick", WM_COMMAND, IDC_BT_BROWSE, BN_DOUBLECLICKED, TRUE},
        ProcCall{"Url1Checkbox", WM_COMMAND, IDC_CK_URL1, BN_CLICKED, TRUE},
        ProcCall{"NullMessage", WM_NULL, 0, 0, FALSE}, ProcCall{"Timer", WM_TIMER, 0, 0, FALSE}),
    RowName());

// Each list acts on one notification only: the type list on a confirmed choice, the directory
// list on a changed selection. The selection is set first as a program sets it, unannounced.
struct ListNotification {
    const char* name;
    int id;
    int code;
    bool stored;
};

void PrintTo(const ListNotification& row, std::ostream* out) {
    *out << row.name;
}

class MainDialogListNotification : public DialogTest,
                                   public testing::WithParamInterface<ListNotification> {};

TEST_P(MainDialogListNotification, StoresTheSelectionOnItsOwnCodeOnly) {
    const ListNotification& row = GetParam();
    Run([&](HWND hDlg) {
        const HWND hList = GetDlgItem(hDlg, row.id);
        const bool typeList = row.id == IDC_CB_TYPE;
        const int newIndex = typeList ? 0 : 1; // the other item than at start
        SendMessageA(hList, CB_SETCURSEL, static_cast<WPARAM>(newIndex), 0);

        MainDialogProc(hDlg, WM_COMMAND, MAKEWPARAM(row.id, row.code),
                       reinterpret_cast<LPARAM>(hList));

        const int stored = typeList ? g_sFactoryConfig.bySelectBy : g_sFactoryConfig.iDirMode;
        const int atStart = typeList ? CONFIG_AT_START.bySelectBy : CONFIG_AT_START.iDirMode;
        EXPECT_EQ(stored, row.stored ? newIndex : atStart);
        if (!typeList) {
            EXPECT_EQ(IsWindowEnabled(GetDlgItem(hDlg, IDC_ED_FTPDIR)) != FALSE, row.stored)
                << "a specified directory enables its edit";
        }
    });
}

INSTANTIATE_TEST_SUITE_P(
    MainDialog, MainDialogListNotification,
    testing::Values(ListNotification{"TypeSelEndOk", IDC_CB_TYPE, CBN_SELENDOK, true},
                    ListNotification{"TypeSelChange", IDC_CB_TYPE, CBN_SELCHANGE, false},
                    ListNotification{"DirModeSelChange", IDC_CB_DIRMODE, CBN_SELCHANGE, true},
                    ListNotification{"DirModeSelEndOk", IDC_CB_DIRMODE, CBN_SELENDOK, false}),
    RowName());

TEST_F(MainDialogInput, CloseBoxEndsWithZeroAndSavesNothing) {
    const INT_PTR result = Run([&](HWND hDlg) {
        EnterValidForm(hDlg);
        driver->CloseBox(hDlg);
        EXPECT_EQ(IsWindowVisible(hDlg), FALSE);
    });
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(driver->TakeMessageBoxes().empty());
    EXPECT_EQ(workDir.Names(), std::vector<std::string>{});
}

// Only a confirmed Browse moves the save folder; nothing is loaded from the new folder, and the
// item the browser hands out is freed.
enum class SaveFolderStep { TypeIntoEdit, BrowseConfirmed, BrowseCancelled };

struct SaveFolderCase {
    const char* name;
    SaveFolderStep step;
    bool writesIntoOther;
};

void PrintTo(const SaveFolderCase& row, std::ostream* out) {
    *out << row.name;
}

class MainDialogSaveFolder : public DialogTest,
                             public testing::WithParamInterface<SaveFolderCase> {};

TEST_P(MainDialogSaveFolder, FollowsOnlyAConfirmedBrowse) {
    const SaveFolderCase& row = GetParam();
    TempFolder other;
    FactoryConfig otherRecord = LoadedRecord();
    std::strcpy(otherRecord.szDebugUrl, "other.example.com");
    WriteConfigFile(other.Path(), otherRecord);
    if (row.step != SaveFolderStep::TypeIntoEdit) {
        driver->AnswerFolderBrowser(row.step == SaveFolderStep::BrowseConfirmed
                                        ? std::optional<std::string>(other.String())
                                        : std::nullopt);
    }
    Run([&](HWND hDlg) {
        EnterValidForm(hDlg);
        const DialogState typed = TakeDialogState(hDlg);
        const FactoryConfig record = g_sFactoryConfig;
        if (row.step == SaveFolderStep::TypeIntoEdit) {
            driver->Type(hDlg, IDC_ED_SAVEPATH, other.String());
        } else {
            driver->Click(hDlg, IDC_BT_BROWSE);
        }

        const std::string shown = ControlText(hDlg, IDC_ED_SAVEPATH);
        std::error_code error;
        if (row.step == SaveFolderStep::TypeIntoEdit) {
            EXPECT_EQ(shown, other.String().substr(0, 64));
        } else {
            const fs::path& chosen =
                row.step == SaveFolderStep::BrowseConfirmed ? other.Path() : workDir.Path();
            EXPECT_TRUE(fs::equivalent(shown, chosen, error)) << shown;
        }
        EXPECT_TRUE(SameRecord(g_sFactoryConfig, record)) << "nothing is loaded";
        EXPECT_EQ(WithoutSavePath(TakeDialogState(hDlg)), WithoutSavePath(typed));

        driver->Click(hDlg, IDC_BT_GENERATE);
        const std::vector<SeenMessageBox> boxes = driver->TakeMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, GetText(MSG_SUCCESS));
    });
    const std::optional<FactoryConfig> inWorkDir = ReadConfigFile(workDir.Path());
    const std::optional<FactoryConfig> inOther = ReadConfigFile(other.Path());
    ASSERT_TRUE(inOther);
    EXPECT_EQ(FieldString(inOther->szDebugUrl),
              row.writesIntoOther ? "ftp.example.com" : "other.example.com");
    EXPECT_EQ(inWorkDir.has_value(), !row.writesIntoOther);
    if (const std::optional<int> notFreed = driver->FolderItemsNotFreed()) {
        EXPECT_EQ(*notFreed, 0) << "the browser's item is freed";
    }
}

INSTANTIATE_TEST_SUITE_P(
    MainDialog, MainDialogSaveFolder,
    testing::Values(SaveFolderCase{"TypedPath", SaveFolderStep::TypeIntoEdit, false},
                    SaveFolderCase{"BrowseConfirmed", SaveFolderStep::BrowseConfirmed, true},
                    SaveFolderCase{"BrowseCancelled", SaveFolderStep::BrowseCancelled, false}),
    RowName());

} // namespace
