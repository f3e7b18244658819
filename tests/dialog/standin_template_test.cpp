// The stand-in reads its dialogs from a resource script: what it understands, and the message it
// gives for what it does not. Native only: it sets the stand-in's script.
#include "tests/dialog/dialog_test_support.h"

#include "win32_standin/harness.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

constexpr int SCRIPT_DIALOG = 100;
constexpr INT_PTR CLOSED = 7;

INT_PTR CALLBACK ClosingProc(HWND hDlg, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) {
        EndDialog(hDlg, CLOSED);
        return TRUE;
    }
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

class StandinTemplate : public testing::Test {
  protected:
    void SetUp() override { standin::ResetHarness(); }
    void TearDown() override { standin::ResetHarness(); }

    void WriteFile(const std::string& name, const std::string& text) {
        std::ofstream(folder.Path() / name, std::ios::binary) << text;
    }
    INT_PTR RunScript(const std::string& text, const std::function<void(HWND)>& user) {
        WriteFile("test.rc", text);
        standin::SetResourceScript((folder.Path() / "test.rc").string());
        standin::SetModalUser(user);
        return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(SCRIPT_DIALOG), nullptr,
                               ClosingProc, 0);
    }

    TempFolder folder;
};

TEST_F(StandinTemplate, ReadsControlsWithDefinesStylesAndDoubleByteTexts) {
    WriteFile("ids.h", "#ifndef IDS_H\n#define IDS_H\n#define IDD_TEST 100\n"
                       "#define IDC_FIRST (40000 + 1)\n#define IDC_SECOND IDC_FIRST\n#endif\n");
    // 0xD5 0x5C is one code page 936 character whose trail byte is a backslash.
    const std::string script = "#include <windows.h>\n"
                               "#include \"ids.h\"\n"
                               "#pragma code_page(936)\n"
                               "LANGUAGE 0, 0\n"
                               "IDI_X ICON \"x.ico\"\n"
                               "/* a comment\n   over lines */\n"
                               "IDD_TEST DIALOG DISCARDABLE 0, 0, 100, 50\n"
                               "STYLE DS_MODALFRAME | WS_POPUP\n"
                               "CAPTION \"Say \"\"hi\"\"\"\n"
                               "FONT 8, \"Ms Shell Dlg\"\n"
                               "BEGIN\n"
                               "    CONTROL \"\xD5\x5C\", IDC_FIRST, \"EDIT\", WS_TABSTOP | "
                               "NOT WS_VISIBLE, 1, 2, 3, 4, WS_EX_RIGHT // hidden\n"
                               "    CONTROL \"two\", IDC_SECOND, BUTTON, 0x50010003 | WS_DISABLED,"
                               " -1, 2, 3, 4\n"
                               "END\n"
                               "STRINGTABLE\nBEGIN\n    1 \"x\"\nEND\n";
    const INT_PTR result = RunScript(script, [](HWND hDlg) {
        EXPECT_EQ(WindowText(hDlg), "Say \"hi\"");
        const std::vector<HWND> controls = Controls(hDlg);
        ASSERT_EQ(controls.size(), 2u);
        EXPECT_EQ(GetDlgCtrlID(controls[0]), 40001);
        EXPECT_EQ(WindowText(controls[0]), "\xD5\x5C");
        EXPECT_EQ(IsWindowVisible(controls[0]), FALSE);
        EXPECT_EQ(GetDlgCtrlID(controls[1]), 40001);
        EXPECT_EQ(WindowText(controls[1]), "two");
        EXPECT_NE(IsWindowVisible(controls[1]), FALSE);
        EXPECT_EQ(IsWindowEnabled(controls[1]), FALSE);
        EXPECT_EQ(GetDlgItem(hDlg, 40001), controls[0]);
        EXPECT_EQ(GetFocus(), nullptr) << "no control is a shown, enabled tab stop";
    });
    EXPECT_EQ(result, CLOSED);
    EXPECT_EQ(standin::LastTemplateError(), "");
}

struct BadScript {
    const char* name;
    std::string body; // the lines inside BEGIN ... END, or a whole script when it has no BEGIN
    std::string message;
};

void PrintTo(const BadScript& row, std::ostream* out) {
    *out << row.name;
}

class StandinBadTemplate : public StandinTemplate, public testing::WithParamInterface<BadScript> {};

TEST_P(StandinBadTemplate, FailsTheDialogWithWhereAndWhy) {
    const std::string& body = GetParam().body;
    const std::string script =
        body.find("DIALOG") != std::string::npos
            ? body
            : "100 DIALOG 0, 0, 10, 10\nCAPTION \"x\"\nBEGIN\n" + body + "END\n";
    bool ran = false;
    EXPECT_EQ(RunScript(script, [&](HWND) { ran = true; }), -1);
    EXPECT_FALSE(ran);
    EXPECT_NE(standin::LastTemplateError().find(GetParam().message), std::string::npos)
        << standin::LastTemplateError();
}

INSTANTIATE_TEST_SUITE_P(
    Standin, StandinBadTemplate,
    testing::Values(
        BadScript{"ShortForm", "    LTEXT \"x\", 1, 0, 0, 5, 5\n",
                  "test.rc:4: 'LTEXT' inside the DIALOG is not understood"},
        BadScript{"UnknownStyle", "    CONTROL \"x\", 1, \"EDIT\", WS_FOO, 0, 0, 5, 5\n",
                  "test.rc:4: unknown name 'WS_FOO'"},
        BadScript{"UnknownClass", "    CONTROL \"x\", 1, \"SysListView32\", 0, 0, 0, 5, 5\n",
                  "test.rc:4: class \"SysListView32\" is none of"},
        BadScript{"MissingComma", "    CONTROL \"x\", 1, \"EDIT\", 0, 0, 0, 5 5\n",
                  "test.rc:4: expected ',' after the control's width, found '5'"},
        BadScript{"TextNotQuoted", "    CONTROL x, 1, \"EDIT\", 0, 0, 0, 5, 5\n",
                  "test.rc:4: expected the control's text in double quotes, found 'x'"},
        BadScript{"StringNotClosed", "    CONTROL \"x, 1, \"EDIT\", 0, 0, 0, 5, 5\n",
                  "test.rc:4: string not closed on its line"},
        BadScript{"NoEnd",
                  "100 DIALOG 0, 0, 10, 10\nBEGIN\n CONTROL \"x\", 1, EDIT, 0, 0, 0, 1, 1\n",
                  "expected END of the DIALOG, found the end of the file"},
        BadScript{"UnknownOption", "100 DIALOG 0, 0, 10, 10\nCOLOUR 3\nBEGIN\nEND\n",
                  "test.rc:2: 'COLOUR' is no DIALOG option"},
        BadScript{"NoSuchDialog", "101 DIALOG 0, 0, 10, 10\nBEGIN\nEND\n", "no DIALOG named 100"}),
    RowName());

TEST_F(StandinTemplate, MissingScriptFailsTheDialog) {
    standin::SetResourceScript((folder.Path() / "absent.rc").string());
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(SCRIPT_DIALOG), nullptr, ClosingProc, 0),
              -1);
    EXPECT_NE(standin::LastTemplateError().find("absent.rc: cannot read the file"),
              std::string::npos)
        << standin::LastTemplateError();
}

} // namespace
