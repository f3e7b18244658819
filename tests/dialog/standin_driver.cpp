// The dialog tests' driver over the stand-in's harness: the user, the modal windows and the
// system's settings are all played by the harness.
#include "tests/dialog/dialog_driver.h"

#include "win32_standin/harness.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// A step the user could not take is the test's mistake, not the dialog's.
void Check(const std::string& error) {
    if (!error.empty()) {
        ADD_FAILURE() << "the user cannot do that: " << error;
    }
}

class StandinDriver final : public DialogDriver {
  public:
    StandinDriver() { standin::ResetHarness(); }
    ~StandinDriver() override { standin::ResetHarness(); }
    StandinDriver(const StandinDriver&) = delete;
    StandinDriver& operator=(const StandinDriver&) = delete;

    bool UseSystemLanguage(LANGID langId) override {
        standin::SetSystemLanguage(langId);
        return true;
    }
    void UseWorkingDirectory(const std::string& path) override {
        standin::SetWorkingDirectory(path);
    }
    void AnswerFolderBrowser(std::optional<std::string> folder) override {
        standin::AnswerFolderBrowser(std::move(folder));
    }

    // As the exe runs: WinMain with this module, which initialises the common controls and runs
    // the dialog.
    INT_PTR Run(const std::function<void(HWND hDlg)>& user) override {
        standin::SetModalUser([&user](HWND hDlg) {
            EXPECT_TRUE(standin::CommonControlsInitialised())
                << "the common controls are initialised before the dialog is created";
            user(hDlg);
        });
        char commandLine[] = "";
        const INT_PTR result = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOW);
        standin::SetModalUser(nullptr);
        if (!standin::LastTemplateError().empty()) {
            ADD_FAILURE() << standin::LastTemplateError();
        }
        return result;
    }

    void Type(HWND hDlg, int id, const std::string& text) override {
        Check(standin::TypeText(GetDlgItem(hDlg, id), text));
    }
    void Pick(HWND hDlg, int id, int index) override {
        Check(standin::PickItem(GetDlgItem(hDlg, id), index));
    }
    void Click(HWND hDlg, int id) override { Check(standin::ClickControl(GetDlgItem(hDlg, id))); }
    void Press(HWND hDlg, Key key) override {
        switch (key) {
        case Key::Enter:
            Check(standin::PressEnter(hDlg));
            break;
        case Key::Escape:
            Check(standin::PressEscape(hDlg));
            break;
        case Key::Tab:
            Check(standin::PressTab(hDlg));
            break;
        }
    }
    void CloseBox(HWND hDlg) override { Check(standin::PressCloseBox(hDlg)); }

    std::vector<SeenMessageBox> TakeMessageBoxes() override {
        std::vector<SeenMessageBox> seen;
        for (standin::SeenMessageBox& box : standin::TakeMessageBoxes()) {
            seen.push_back({box.hOwner, std::move(box.text), std::move(box.caption), box.type});
        }
        return seen;
    }

    std::optional<int> FolderItemsNotFreed() override { return standin::FolderItemsNotFreed(); }
};

} // namespace

std::unique_ptr<DialogDriver> MakeDialogDriver() {
    return std::make_unique<StandinDriver>();
}
