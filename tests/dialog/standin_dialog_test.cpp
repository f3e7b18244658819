// Dialog cases only the stand-in can stage: a working directory longer than a Windows path, and
// a folder the shell hands out but cannot turn into a path.
#include "config/config_store.h"
#include "tests/dialog/dialog_test_support.h"
#include "win/resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using StandinDialog = DialogTest;

// 259 characters still fit the save folder; one more must not be cut into a wrong folder.
TEST_F(StandinDialog, AWorkingDirectoryTooLongForTheSaveFolderKeepsTheDriveRoot) {
    for (const std::size_t length : {std::size_t{259}, std::size_t{260}, std::size_t{600}}) {
        const std::string directory = "C:\\" + std::string(length - 3, 'w');
        driver->UseWorkingDirectory(directory);
        std::string trace;
        testing::internal::CaptureStdout();
        Run([&](HWND hDlg) {
            trace = testing::internal::GetCapturedStdout();
            const std::string expected = length < SAVE_PATH_SIZE ? directory : "C:\\";
            EXPECT_EQ(ControlText(hDlg, IDC_ED_SAVEPATH), expected) << length;
            EXPECT_EQ(std::string(g_szSavePath), expected) << length;
            EXPECT_EQ(trace.find("CurDir:") == 0, length < SAVE_PATH_SIZE) << trace;
        });
    }
}

TEST_F(StandinDialog, AFolderWithoutAPathKeepsThePreviousSaveFolder) {
    driver->AnswerFolderBrowser("C:\\" + std::string(MAX_PATH, 'v'));
    Run([&](HWND hDlg) {
        const std::string before = g_szSavePath;
        driver->Click(hDlg, IDC_BT_BROWSE);
        EXPECT_EQ(std::string(g_szSavePath), before);
        EXPECT_EQ(ControlText(hDlg, IDC_ED_SAVEPATH), before);
    });
    EXPECT_EQ(driver->FolderItemsNotFreed(), 0);
}

} // namespace
