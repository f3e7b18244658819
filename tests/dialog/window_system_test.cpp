// What the dialog relies on in the window system, asked of the dialog's own controls. On
// Windows these hold by the system's documentation; the stand-in must keep to them too.
#include "tests/dialog/dialog_test_support.h"

#include "win/resource.h"

#include <cstring>

namespace {

using WindowSystem = DialogTest;

// GetDlgItemTextA copies at most size - 1 bytes and a zero and returns the count; a size of 0
// writes nothing.
struct TextRead {
    int size;
    UINT count;
    const char* buffer; // what the buffer holds after the call
};

TEST_F(WindowSystem, GetDlgItemTextCopiesAtMostSizeLessOneBytesAndAZero) {
    const TextRead READS[] = {
        {0, 0, "########"}, {1, 0, ""},       {4, 3, "abc"},
        {7, 6, "abcdef"},   {8, 6, "abcdef"}, {100, 6, "abcdef"},
    };
    Run([&](HWND hDlg) {
        SetWindowTextA(GetDlgItem(hDlg, IDC_ED_SERVER), "abcdef");
        for (const TextRead& read : READS) {
            char buffer[128];
            std::memset(buffer, '#', sizeof buffer);
            buffer[8] = '\0';
            EXPECT_EQ(GetDlgItemTextA(hDlg, IDC_ED_SERVER, buffer, read.size), read.count)
                << "size " << read.size;
            EXPECT_STREQ(buffer, read.buffer) << "size " << read.size;
        }
        char buffer[8] = "#######";
        EXPECT_EQ(GetDlgItemTextA(hDlg, IDC_ED_USER, buffer, sizeof buffer), 0u) << "empty edit";
        EXPECT_STREQ(buffer, "");
    });
}

TEST_F(WindowSystem, ListSelectionOutsideTheListLeavesNoSelection) {
    Run([&](HWND hDlg) {
        const HWND hList = GetDlgItem(hDlg, IDC_CB_TYPE);
        for (const int index : {-1, 2, 255}) {
            EXPECT_EQ(SendMessageA(hList, CB_SETCURSEL, static_cast<WPARAM>(index), 0), CB_ERR);
            EXPECT_EQ(SendMessageA(hList, CB_GETCURSEL, 0, 0), CB_ERR) << "index " << index;
            EXPECT_EQ(WindowText(hList), "") << "index " << index;
        }
        EXPECT_EQ(SendMessageA(hList, CB_SETCURSEL, 0, 0), 0);
        EXPECT_EQ(WindowText(hList), "SFTP");
    });
}

TEST_F(WindowSystem, TypingLimitDoesNotLimitTheProgramsText) {
    const std::string text(70, 'w');
    Run([&](HWND hDlg) {
        SetWindowTextA(GetDlgItem(hDlg, IDC_ED_SERVER), text.c_str());
        EXPECT_EQ(ControlText(hDlg, IDC_ED_SERVER), text);
    });
}

// With length 0 or too short a buffer: the size needed with the zero; else the length written.
TEST_F(WindowSystem, GetCurrentDirectoryTellsTheSizeItNeeds) {
    Run([&](HWND) {
        const DWORD needed = GetCurrentDirectoryA(0, nullptr);
        ASSERT_GT(needed, 1u);
        std::vector<char> buffer(needed + 1, '#');
        EXPECT_EQ(GetCurrentDirectoryA(needed - 1, buffer.data()), needed);
        EXPECT_EQ(GetCurrentDirectoryA(needed, buffer.data()), needed - 1);
        EXPECT_EQ(std::strlen(buffer.data()), needed - 1);
        std::error_code error;
        EXPECT_TRUE(std::filesystem::equivalent(buffer.data(), workDir.Path(), error));
    });
}

} // namespace
