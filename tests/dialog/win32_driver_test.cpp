// The Win32 driver against the real window system: that each of its operations reaches the
// dialog as a person's action would, and that the real controls, not the driver, decide what
// arrives. The dialog's own behaviour is tested by the shared dialog tests.
#include "tests/dialog/dialog_test_support.h"

#include "config/config_store.h"
#include "ui/text_catalogue.h"
#include "win/main_dialog.h"
#include "win/resource.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Runs under whatever language the system has; the texts are taken from the catalogue.
class Win32DriverTest : public DialogTest {
  protected:
    LANGID SystemLanguage() const override { return GetSystemDefaultLangID(); }

    // Fills the four required entries; the port keeps its 21.
    void FillRequired(HWND hDlg) {
        driver->Type(hDlg, IDC_ED_SERVER, "ftp.example.com");
        driver->Type(hDlg, IDC_ED_USER, "camera");
        driver->Type(hDlg, IDC_ED_PASSWORD, "secret");
    }
};

TEST_F(Win32DriverTest, ScriptRunsInsideTheOpenDialogAndTheCloseBoxEndsItWithZero) {
    bool ran = false;
    const INT_PTR result = Run([&](HWND hDlg) {
        ran = true;
        EXPECT_TRUE(IsWindowVisible(hDlg));
        EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, IDC_ED_SERVER));
        EXPECT_EQ(ControlText(hDlg, IDC_ED_PORT), "21");
        EXPECT_EQ(ControlText(hDlg, IDC_ED_SAVEPATH), workDir.String());
    });
    EXPECT_TRUE(ran);
    EXPECT_EQ(result, 0);
}

// The driver sends characters; the edit's own styles and limits filter them.
TEST_F(Win32DriverTest, TypingReplacesTheTextAndTheRealEditFiltersIt) {
    struct Case {
        int id;
        std::string typed;
        std::string shown;
    };
    const Case CASES[] = {
        {IDC_ED_PORT, "8a0b8c0", "8080"},                            // ES_NUMBER refuses letters
        {IDC_ED_PORT, "1234567", "12345"},                           // limit 5
        {IDC_ED_SERVER, std::string(70, 's'), std::string(60, 's')}, // limit 60
        {IDC_ED_USER, "user name", "user name"},                     // no limit, no filter
    };
    Run([&](HWND hDlg) {
        for (const Case& c : CASES) {
            driver->Type(hDlg, c.id, c.typed);
            EXPECT_EQ(ControlText(hDlg, c.id), c.shown) << "control " << c.id;
        }
    });
}

TEST_F(Win32DriverTest, MessageBoxesAreRecordedWithOwnerCaptionTextAndType) {
    Run([&](HWND hDlg) {
        driver->Click(hDlg, IDC_BT_GENERATE);
        FillRequired(hDlg);
        driver->Click(hDlg, IDC_BT_GENERATE);
        const std::vector<SeenMessageBox> boxes = driver->TakeMessageBoxes();
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[0].hOwner, hDlg);
        EXPECT_STREQ(boxes[0].caption.c_str(), GetText(TXT_CAPTION_NOTICE));
        EXPECT_STREQ(boxes[0].text.c_str(), GetText(MSG_NEED_SERVER));
        EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
        EXPECT_STREQ(boxes[1].text.c_str(), GetText(MSG_SUCCESS));
        EXPECT_EQ(boxes[1].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
        EXPECT_TRUE(driver->TakeMessageBoxes().empty());
    });
    const std::optional<FactoryConfig> saved = ReadConfigFile(workDir.Path());
    ASSERT_TRUE(saved.has_value());
    EXPECT_EQ(saved->uwDebugPort, 21);
}

TEST_F(Win32DriverTest, KeysGoThroughTheDialogManager) {
    Run([&](HWND hDlg) {
        driver->Press(hDlg, Key::Tab);
        EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, IDC_ED_PORT));
        // No default push button: Enter and Escape in an edit reach IDOK and IDCANCEL, which the
        // dialog ignores.
        driver->Press(hDlg, Key::Enter);
        driver->Press(hDlg, Key::Escape);
        EXPECT_TRUE(IsWindowVisible(hDlg));
        EXPECT_TRUE(driver->TakeMessageBoxes().empty());
        // Enter on a focused push button presses it.
        FillRequired(hDlg);
        SendMessageA(hDlg, WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(GetDlgItem(hDlg, IDC_BT_GENERATE)), TRUE);
        driver->Press(hDlg, Key::Enter);
        const std::vector<SeenMessageBox> boxes = driver->TakeMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_STREQ(boxes[0].text.c_str(), GetText(MSG_SUCCESS));
    });
}

TEST_F(Win32DriverTest, PickTellsTheDialogAsAClickInTheListDoes) {
    Run([&](HWND hDlg) {
        driver->Pick(hDlg, IDC_CB_TYPE, 0);
        EXPECT_EQ(ListSelection(hDlg, IDC_CB_TYPE), 0);
        EXPECT_EQ(g_sFactoryConfig.bySelectBy, 0);
        driver->Pick(hDlg, IDC_CB_TYPE, 1);
        EXPECT_EQ(g_sFactoryConfig.bySelectBy, 1);
    });
}

TEST_F(Win32DriverTest, FolderBrowserIsAnsweredWithTheFolderOrCancelled) {
    TempFolder chosen;
    Run([&](HWND hDlg) {
        driver->AnswerFolderBrowser(std::nullopt);
        driver->Click(hDlg, IDC_BT_BROWSE);
        EXPECT_EQ(ControlText(hDlg, IDC_ED_SAVEPATH), workDir.String());

        driver->AnswerFolderBrowser(chosen.String());
        driver->Click(hDlg, IDC_BT_BROWSE);
        EXPECT_EQ(ControlText(hDlg, IDC_ED_SAVEPATH), chosen.String());
        FillRequired(hDlg);
        driver->Click(hDlg, IDC_BT_GENERATE);
    });
    EXPECT_TRUE(fs::exists(chosen.Path() / CONFIG_FILE_NAME));
    EXPECT_FALSE(fs::exists(workDir.Path() / CONFIG_FILE_NAME));
}

// Typing sends bytes; on a code page 936 system a lead byte and its trail byte sent one after
// the other must arrive as the one character they make.
TEST_F(Win32DriverTest, DoubleByteCharacterTypedByteByByteArrivesWhole) {
    if (GetACP() != 936) {
        GTEST_SKIP() << "needs the ANSI code page 936";
    }
    Run([&](HWND hDlg) {
        driver->Type(hDlg, IDC_ED_USER, "\xD3\xC3\xBB\xA7"); // 用户
        EXPECT_EQ(ControlText(hDlg, IDC_ED_USER), "\xD3\xC3\xBB\xA7");
        driver->Type(hDlg, IDC_ED_SERVER, "a\xB7\xFE"); // a服
        EXPECT_EQ(ControlText(hDlg, IDC_ED_SERVER), "a\xB7\xFE");
    });
}

} // namespace
