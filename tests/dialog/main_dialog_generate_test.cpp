// Generate in the dialog: what the file holds, what passes through from a loaded file, and what
// the user is told.
#include "tests/dialog/dialog_test_support.h"

#include "config/config_store.h"
#include "ui/text_catalogue.h"
#include "win/main_dialog.h"
#include "win/resource.h"

#include <cstring>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

using MainDialogGenerate = DialogTest;

constexpr UINT WARNING_BOX = 0x30;     // MB_OK | MB_ICONWARNING
constexpr UINT INFORMATION_BOX = 0x40; // MB_OK | MB_ICONINFORMATION

void ExpectOneBox(DialogDriver& driver, HWND hDlg, TextId text, UINT type) {
    const std::vector<SeenMessageBox> boxes = driver.TakeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, GetText(text));
    EXPECT_EQ(boxes[0].caption, GetText(TXT_CAPTION_NOTICE));
    EXPECT_EQ(boxes[0].type, type);
    EXPECT_EQ(boxes[0].hOwner, hDlg);
}

TEST_F(MainDialogGenerate, WritesExactlyWhatWasTypedAndSaysSo) {
    std::string trace;
    Run([&](HWND hDlg) {
        EnterValidForm(hDlg);
        driver->Pick(hDlg, IDC_CB_TYPE, 0);
        const DialogState typed = TakeDialogState(hDlg);
        testing::internal::CaptureStdout();
        driver->Click(hDlg, IDC_BT_GENERATE);
        trace = testing::internal::GetCapturedStdout();

        ExpectOneBox(*driver, hDlg, MSG_SUCCESS, INFORMATION_BOX);
        EXPECT_STREQ(GetText(TXT_CAPTION_NOTICE), "Notice");
        EXPECT_EQ(TakeDialogState(hDlg), typed) << "the controls are not refilled";
        EXPECT_NE(IsWindowVisible(hDlg), FALSE) << "the dialog stays open";
    });
    FactoryConfig expected = CONFIG_AT_START;
    expected.bySelectBy = 0;
    expected.uwDebugPort = 2121;
    std::strcpy(expected.szDebugUrl, "ftp.example.com");
    std::strcpy(expected.szFtpServer, "ftp.example.com");
    std::strcpy(expected.szFtpUser, "camera");
    std::strcpy(expected.szFtpPassword, "secret");
    std::strcpy(expected.szFtpDir, "/");
    const std::optional<FactoryConfig> written = ReadConfigFile(workDir.Path());
    ASSERT_TRUE(written);
    EXPECT_EQ(DifferingFields(*written, expected), std::vector<std::string>{});
    EXPECT_EQ(DifferingFields(g_sFactoryConfig, expected), std::vector<std::string>{})
        << "the record holds what was read back";
    EXPECT_EQ(trace.rfind("[MAKE]\n* bySelectBy =0\n", 0), 0u) << trace;
}

// A save replaces the file by renaming a new one over it, which the file system allows even for
// a read-only file: its protection must still refuse the save, and the file must stay as it was.
TEST_F(MainDialogGenerate, AReadOnlyFileIsLeftAsItWasAndTheUserIsWarned) {
    WriteConfigFile(workDir.Path(), LoadedRecord());
    const fs::path file = workDir.Path() / CONFIG_FILE_NAME;
    const std::optional<FactoryConfig> before = ReadConfigFile(workDir.Path());
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    Run([&](HWND hDlg) {
        driver->Type(hDlg, IDC_ED_PORT, "990");
        driver->Click(hDlg, IDC_BT_GENERATE);
        ExpectOneBox(*driver, hDlg, MSG_SAVE_FAILED, WARNING_BOX);
    });
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
    const std::optional<FactoryConfig> after = ReadConfigFile(workDir.Path());
    ASSERT_TRUE(before && after);
    EXPECT_EQ(DifferingFields(*after, *before), std::vector<std::string>{});
    EXPECT_EQ(workDir.Names(), std::vector<std::string>{CONFIG_FILE_NAME}) << "no file left behind";
}

// An existing file is replaced whole, also where rename() refuses an existing target.
TEST_F(MainDialogGenerate, ASecondGenerateReplacesTheFirstFile) {
    Run([&](HWND hDlg) {
        EnterValidForm(hDlg);
        driver->Click(hDlg, IDC_BT_GENERATE);
        driver->Type(hDlg, IDC_ED_PORT, "990");
        driver->Click(hDlg, IDC_BT_GENERATE);
        const std::vector<SeenMessageBox> boxes = driver->TakeMessageBoxes();
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[1].text, GetText(MSG_SUCCESS));
    });
    const std::optional<FactoryConfig> written = ReadConfigFile(workDir.Path());
    ASSERT_TRUE(written);
    EXPECT_EQ(written->uwDebugPort, 990);
    EXPECT_EQ(workDir.Names(), std::vector<std::string>{CONFIG_FILE_NAME});
}

struct RefusedForm {
    const char* name;
    const char* server;
    const char* port;
    const char* user;
    const char* password;
    TextId message;
};

void PrintTo(const RefusedForm& form, std::ostream* out) {
    *out << form.name;
}

class MainDialogRefusedForm : public DialogTest, public testing::WithParamInterface<RefusedForm> {};

TEST_P(MainDialogRefusedForm, WarnsAndLeavesEveryControlAsTyped) {
    const RefusedForm& form = GetParam();
    Run([&](HWND hDlg) {
        Enter(hDlg, IDC_ED_SERVER, form.server);
        Enter(hDlg, IDC_ED_PORT, form.port);
        Enter(hDlg, IDC_ED_USER, form.user);
        Enter(hDlg, IDC_ED_PASSWORD, form.password);
        const DialogState typed = TakeDialogState(hDlg);

        driver->Click(hDlg, IDC_BT_GENERATE);

        ExpectOneBox(*driver, hDlg, form.message, WARNING_BOX);
        EXPECT_EQ(TakeDialogState(hDlg), typed);
        EXPECT_NE(IsWindowVisible(hDlg), FALSE) << "the dialog stays open";
    });
    EXPECT_EQ(workDir.Names(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    MainDialog, MainDialogRefusedForm,
    testing::Values(
        RefusedForm{"EmptyServer", "", "21", "camera", "secret", MSG_NEED_SERVER},
        RefusedForm{"EmptyPort", "ftp.example.com", "", "camera", "secret", MSG_NEED_PORT},
        RefusedForm{"PortAbove65535", "ftp.example.com", "65536", "camera", "secret",
                    MSG_PORT_RANGE},
        RefusedForm{"EmptyUser", "ftp.example.com", "21", "", "secret", MSG_NEED_USER},
        RefusedForm{"EmptyPassword", "ftp.example.com", "21", "camera", "", MSG_NEED_PASSWORD}),
    RowName());

// A loaded type the list lacks leaves it without a selection: Generate stores the low byte of
// -1 until the user picks an entry, which is stored at once.
struct LoadedType {
    const char* name;
    std::uint8_t loaded;
    int pick; // -1: no pick
    int shownSelection;
    const char* shownText;
    std::uint8_t stored;
};

void PrintTo(const LoadedType& row, std::ostream* out) {
    *out << row.name;
}

class MainDialogLoadedType : public DialogTest, public testing::WithParamInterface<LoadedType> {};

TEST_P(MainDialogLoadedType, ListShowsItAndGenerateStoresTheSelection) {
    const LoadedType& row = GetParam();
    FactoryConfig loaded = LoadedRecord();
    loaded.bySelectBy = row.loaded;
    WriteConfigFile(workDir.Path(), loaded);
    Run([&](HWND hDlg) {
        if (row.pick >= 0) {
            driver->Pick(hDlg, IDC_CB_TYPE, row.pick);
            EXPECT_EQ(g_sFactoryConfig.bySelectBy, row.stored) << "a pick is stored at once";
        }
        EXPECT_EQ(ListSelection(hDlg, IDC_CB_TYPE), row.shownSelection);
        EXPECT_EQ(ControlText(hDlg, IDC_CB_TYPE), row.shownText);
        driver->Click(hDlg, IDC_BT_GENERATE);
        ExpectOneBox(*driver, hDlg, MSG_SUCCESS, INFORMATION_BOX);
    });
    FactoryConfig expected = loaded;
    expected.bySelectBy = row.stored;
    const std::optional<FactoryConfig> written = ReadConfigFile(workDir.Path());
    ASSERT_TRUE(written);
    EXPECT_EQ(DifferingFields(*written, expected), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(MainDialog, MainDialogLoadedType,
                         testing::Values(LoadedType{"OutsideListNoPick", 7, -1, -1, "", 255},
                                         LoadedType{"OutsideListPickSftp", 7, 0, 0, "SFTP", 0},
                                         LoadedType{"OutsideListPickFtp", 7, 1, 1, "FTP", 1},
                                         LoadedType{"SftpNoPick", 0, -1, 0, "SFTP", 0}),
                         RowName());

// The hidden directory controls are filled from the loaded file and read back by Generate.
// Behind the loaded directory's zero byte lie bytes that must survive.
struct LoadedDirMode {
    const char* name;
    std::int32_t loaded;
    int shownSelection;
    const char* shownDir;
    bool editEnabled;
    std::int32_t stored;
};

void PrintTo(const LoadedDirMode& row, std::ostream* out) {
    *out << row.name;
}

class MainDialogLoadedDirMode : public DialogTest,
                                public testing::WithParamInterface<LoadedDirMode> {};

TEST_P(MainDialogLoadedDirMode, HiddenControlsShowItAndGenerateStoresIt) {
    const LoadedDirMode& row = GetParam();
    FactoryConfig loaded = LoadedRecord();
    loaded.iDirMode = row.loaded;
    std::memset(loaded.szFtpDir, 'q', sizeof loaded.szFtpDir);
    std::memcpy(loaded.szFtpDir, "/camera/uploads", 16);
    WriteConfigFile(workDir.Path(), loaded);
    Run([&](HWND hDlg) {
        EXPECT_EQ(ListSelection(hDlg, IDC_CB_DIRMODE), row.shownSelection);
        EXPECT_EQ(ControlText(hDlg, IDC_ED_FTPDIR), row.shownDir);
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(hDlg, IDC_ED_FTPDIR)) != FALSE, row.editEnabled);
        driver->Click(hDlg, IDC_BT_GENERATE);
        ExpectOneBox(*driver, hDlg, MSG_SUCCESS, INFORMATION_BOX);
    });
    FactoryConfig expected = loaded;
    expected.iDirMode = row.stored;
    if (row.loaded == 0) {
        expected.szFtpDir[0] = '/'; // "/" over the start; bytes 134 to 163 stay as loaded
        expected.szFtpDir[1] = '\0';
    }
    const std::optional<FactoryConfig> written = ReadConfigFile(workDir.Path());
    ASSERT_TRUE(written);
    EXPECT_EQ(DifferingFields(*written, expected), std::vector<std::string>{});
    EXPECT_EQ(std::memcmp(written->szFtpDir + 2, loaded.szFtpDir + 2, 30), 0);
}

INSTANTIATE_TEST_SUITE_P(
    MainDialog, MainDialogLoadedDirMode,
    testing::Values(LoadedDirMode{"Root", 0, 0, "/", false, 0},
                    LoadedDirMode{"Specified", 1, 1, "/camera/uploads", true, 1},
                    LoadedDirMode{"OutsideList", 5, -1, "/camera/uploads", true, -1},
                    LoadedDirMode{"Negative", -1, -1, "/camera/uploads", true, -1}),
    RowName());

// URL 1 is never shown: its flag and text, and the reserved bytes, go from the loaded file into
// the generated one whatever they hold.
class MainDialogUrl1 : public DialogTest, public testing::WithParamInterface<std::uint8_t> {};

TEST_P(MainDialogUrl1, PassesFromTheLoadedFileIntoTheGeneratedOne) {
    FactoryConfig loaded = LoadedRecord();
    loaded.byUrl1Enable = GetParam();
    std::memset(loaded.szUrl1, 'r', sizeof loaded.szUrl1);
    std::memcpy(loaded.szUrl1, "backup.example.com", 19);
    WriteConfigFile(workDir.Path(), loaded);
    Run([&](HWND hDlg) {
        const bool enabled = GetParam() != 0;
        EXPECT_EQ(ControlText(hDlg, IDC_ED_URL1), "backup.example.com");
        EXPECT_EQ(IsDlgButtonChecked(hDlg, IDC_CK_URL1), enabled ? 1u : 0u);
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(hDlg, IDC_ED_URL1)) != FALSE, enabled);
        EXPECT_EQ(IsWindowEnabled(GetDlgItem(hDlg, IDC_ST_URL1_ENABLE)) != FALSE, enabled);
        driver->Click(hDlg, IDC_BT_GENERATE);
        ExpectOneBox(*driver, hDlg, MSG_SUCCESS, INFORMATION_BOX);
    });
    const std::optional<FactoryConfig> written = ReadConfigFile(workDir.Path());
    ASSERT_TRUE(written);
    EXPECT_EQ(DifferingFields(*written, loaded), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(MainDialog, MainDialogUrl1, testing::Values(0, 1, 7));

// A server text cut at the field's 60 bytes must not leave the lead byte of a double-byte
// character in the record. The text is set as a program would, past the typing limit.
struct ServerText {
    const char* name;
    std::size_t asciiBytes;
    std::size_t storedBytes;
};

void PrintTo(const ServerText& row, std::ostream* out) {
    *out << row.name;
}

// Run where such names are typed: a Chinese system.
class MainDialogChineseServer : public DialogTest, public testing::WithParamInterface<ServerText> {
  protected:
    LANGID SystemLanguage() const override { return 0x0804; }
};

TEST_P(MainDialogChineseServer, KeepsOnlyWholeCharacters) {
    if (GetACP() != 936) {
        GTEST_SKIP() << "needs the ANSI code page 936, this system has " << GetACP();
    }
    const std::string middle = "\xD6\xD0"; // one character, two bytes
    const std::string server = std::string(GetParam().asciiBytes, 'a') + middle;
    Run([&](HWND hDlg) {
        EnterValidForm(hDlg);
        SetWindowTextA(GetDlgItem(hDlg, IDC_ED_SERVER), server.c_str());
        driver->Click(hDlg, IDC_BT_GENERATE);
        ExpectOneBox(*driver, hDlg, MSG_SUCCESS, INFORMATION_BOX);
    });
    const std::optional<FactoryConfig> written = ReadConfigFile(workDir.Path());
    ASSERT_TRUE(written);
    EXPECT_EQ(FieldString(written->szDebugUrl), server.substr(0, GetParam().storedBytes));
    EXPECT_EQ(FieldString(written->szFtpServer), server.substr(0, GetParam().storedBytes));
}

INSTANTIATE_TEST_SUITE_P(MainDialog, MainDialogChineseServer,
                         testing::Values(ServerText{"EndsAtTheLimit", 58, 60},
                                         ServerText{"CrossesTheLimit", 59, 59}),
                         RowName());

} // namespace
