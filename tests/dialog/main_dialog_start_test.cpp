// What the dialog shows once it has started: values, language, which controls the user meets,
// and where the keyboard goes.
#include "tests/dialog/dialog_test_support.h"

#include "config/config_store.h"
#include "ui/text_catalogue.h"
#include "win/main_dialog.h"
#include "win/resource.h"

#include <cstring>

namespace fs = std::filesystem;

namespace {

using MainDialogStart = DialogTest;

TEST_F(MainDialogStart, WithoutAFileShowsTheValuesAtStartAndTheWorkingDirectory) {
    std::string trace;
    bool traceTaken = false;
    testing::internal::CaptureStdout();
    const INT_PTR result = Run([&](HWND hDlg) {
        trace = testing::internal::GetCapturedStdout();
        traceTaken = true;
        EXPECT_EQ(ListItems(hDlg, IDC_CB_TYPE), (std::vector<std::string>{"SFTP", "FTP"}));
        EXPECT_EQ(ListSelection(hDlg, IDC_CB_TYPE), 1);
        EXPECT_EQ(ControlText(hDlg, IDC_CB_TYPE), "FTP");
        EXPECT_EQ(ControlText(hDlg, IDC_ED_PORT), "21");
        EXPECT_EQ(ControlText(hDlg, IDC_ED_SERVER), "");
        EXPECT_EQ(ControlText(hDlg, IDC_ED_USER), "");
        EXPECT_EQ(ControlText(hDlg, IDC_ED_PASSWORD), "");

        const std::string shown = ControlText(hDlg, IDC_ED_SAVEPATH);
        std::error_code error;
        EXPECT_TRUE(fs::equivalent(shown, workDir.Path(), error))
            << shown << " is not " << workDir.String();
        EXPECT_STREQ(g_szSavePath, shown.c_str());
        EXPECT_EQ(trace.rfind("CurDir:" + shown + "\n", 0), 0u)
            << "the working directory is traced first: " << trace;

        EXPECT_NE(SendMessageA(hDlg, WM_GETICON, ICON_SMALL, 0), 0) << "the small icon is set";
        EXPECT_EQ(SendMessageA(hDlg, WM_GETICON, ICON_BIG, 0), 0) << "no large icon is set";
        EXPECT_EQ(g_bFirstInit, 0);
    });
    if (!traceTaken) {
        testing::internal::GetCapturedStdout();
    }
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(driver->TakeMessageBoxes().empty());
    EXPECT_EQ(workDir.Names(), std::vector<std::string>{}) << "starting writes no file";
}

// One row per control in template order. The template hides the URL 1 group; start-up hides the
// upload-directory group; the version label is disabled by the template.
struct ControlAtStart {
    int id;
    bool visible;
    bool enabled;
};

const ControlAtStart CONTROLS_AT_START[] = {
    {IDC_ST_TYPE, true, true},          {IDC_CB_TYPE, true, true},
    {IDC_GB_FTPSET, true, true},        {IDC_ST_SERVER, true, true},
    {IDC_ED_SERVER, true, true},        {IDC_ST_PORT, true, true},
    {IDC_ED_PORT, true, true},          {IDC_ST_USER, true, true},
    {IDC_ED_USER, true, true},          {IDC_ST_PASSWORD, true, true},
    {IDC_GB_URL1, false, false},        {IDC_ED_PASSWORD, true, true},
    {IDC_GB_URL1, false, false},        {IDC_CK_URL1, false, true},
    {IDC_ST_URL1_ENABLE, false, false}, {IDC_GB_FTPDIR, false, true},
    {IDC_ED_URL1, false, false},        {IDC_CB_DIRMODE, false, false},
    {IDC_ED_FTPDIR, false, false},      {IDC_GB_SAVEPATH, true, true},
    {IDC_BT_BROWSE, true, true},        {IDC_ED_SAVEPATH, true, true},
    {IDC_BT_GENERATE, true, true},      {IDC_ST_VERSION, true, false},
};

TEST_F(MainDialogStart, ShowsSixteenControlsAndHidesTheEightOthers) {
    Run([&](HWND hDlg) {
        const std::vector<HWND> controls = Controls(hDlg);
        ASSERT_EQ(controls.size(), std::size(CONTROLS_AT_START));
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const ControlAtStart& row = CONTROLS_AT_START[i];
            SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(row.id));
            EXPECT_EQ(GetDlgCtrlID(controls[i]), row.id);
            EXPECT_EQ(IsWindowVisible(controls[i]) != FALSE, row.visible);
            EXPECT_EQ(IsWindowEnabled(controls[i]) != FALSE, row.enabled);
        }
        EXPECT_EQ(GetDlgItem(hDlg, IDC_GB_URL1), controls[10])
            << "of the two controls with id 40012 the search finds the group box";
        EXPECT_EQ(WindowText(controls[12]), "URL 1") << "the second one keeps its template text";
        EXPECT_EQ(WindowText(controls[13]), "Check1");
    });
}

TEST_F(MainDialogStart, FocusStartsOnTheServerAndTabWalksTheVisibleTabStops) {
    const int TAB_ORDER[] = {IDC_ED_PORT,     IDC_ED_USER,     IDC_ED_PASSWORD, IDC_BT_BROWSE,
                             IDC_ED_SAVEPATH, IDC_BT_GENERATE, IDC_ED_SERVER};
    Run([&](HWND hDlg) {
        EXPECT_EQ(GetFocus(), GetDlgItem(hDlg, IDC_ED_SERVER));
        for (const int id : TAB_ORDER) {
            driver->Press(hDlg, Key::Tab);
            EXPECT_EQ(GetDlgCtrlID(GetFocus()), id);
        }
    });
}

struct LanguageCase {
    const char* name;
    LANGID langId;
    int language; // what g_nLanguage becomes: 0 Chinese, 1 English
};

void PrintTo(const LanguageCase& row, std::ostream* out) {
    *out << row.name;
}

class MainDialogLanguage : public DialogTest, public testing::WithParamInterface<LanguageCase> {
  protected:
    LANGID SystemLanguage() const override { return GetParam().langId; }
};

struct LabelText {
    int id;
    TextId text;
};

const LabelText LABELS[] = {
    {IDC_ST_TYPE, TXT_SELECT_TYPE},  {IDC_GB_FTPSET, TXT_FTP_PARAMS},
    {IDC_ST_SERVER, TXT_SERVER},     {IDC_ST_PORT, TXT_PORT},
    {IDC_ST_USER, TXT_USER},         {IDC_ST_PASSWORD, TXT_PASSWORD},
    {IDC_GB_FTPDIR, TXT_UPLOAD_DIR}, {IDC_GB_SAVEPATH, TXT_SAVE_PATH},
    {IDC_BT_BROWSE, TXT_BROWSE},     {IDC_BT_GENERATE, TXT_GENERATE},
    {IDC_ST_VERSION, TXT_VERSION},
};

// The Chinese texts are code page 936 bytes, which a window keeps byte for byte only when the
// system's ANSI code page is 936.
TEST_P(MainDialogLanguage, TitleLabelsListsAndMessagesSpeakTheSystemLanguage) {
    if (GetParam().language == 0 && GetACP() != 936) {
        GTEST_SKIP() << "Chinese texts need the ANSI code page 936, this system has " << GetACP();
    }
    Run([&](HWND hDlg) {
        ASSERT_EQ(g_nLanguage, GetParam().language);
        EXPECT_EQ(WindowText(hDlg), GetText(TXT_TITLE));
        for (const LabelText& label : LABELS) {
            EXPECT_EQ(ControlText(hDlg, label.id), GetText(label.text)) << "control " << label.id;
        }
        EXPECT_EQ(ListItems(hDlg, IDC_CB_DIRMODE),
                  (std::vector<std::string>{GetText(TXT_DIR_ROOT), GetText(TXT_DIR_SPECIFY)}));
        EXPECT_EQ(ListItems(hDlg, IDC_CB_TYPE), (std::vector<std::string>{"SFTP", "FTP"}));

        driver->Click(hDlg, IDC_BT_GENERATE);
        const std::vector<SeenMessageBox> boxes = driver->TakeMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, GetText(MSG_NEED_SERVER));
        EXPECT_EQ(boxes[0].caption, GetText(TXT_CAPTION_NOTICE));
    });
}

INSTANTIATE_TEST_SUITE_P(MainDialog, MainDialogLanguage,
                         testing::Values(LanguageCase{"ChinesePrc", 0x0804, 0},
                                         LanguageCase{"ChineseTaiwan", 0x0404, 1},
                                         LanguageCase{"EnglishUs", 0x0409, 1}),
                         RowName());

// A file made elsewhere may fill a text field to its width without a zero byte: each display
// stops at the field's width. Every byte of this record is 'k', so no neighbour ends the text.
struct FieldDisplay {
    int id;
    std::size_t width;
};

TEST_F(MainDialogStart, TextFieldsWithoutAZeroByteShowCutAtTheirWidth) {
    FactoryConfig record;
    std::memset(&record, 'k', sizeof record);
    WriteConfigFile(workDir.Path(), record);
    const FieldDisplay DISPLAYS[] = {{IDC_ED_SERVER, 61},
                                     {IDC_ED_URL1, 62},
                                     {IDC_ED_FTPDIR, 32},
                                     {IDC_ED_USER, 49},
                                     {IDC_ED_PASSWORD, 33}};
    Run([&](HWND hDlg) {
        for (const FieldDisplay& display : DISPLAYS) {
            EXPECT_EQ(ControlText(hDlg, display.id), std::string(display.width, 'k'))
                << "control " << display.id;
        }
        EXPECT_EQ(ControlText(hDlg, IDC_ED_PORT), "27499") << "0x6B6B";
    });
}

} // namespace
