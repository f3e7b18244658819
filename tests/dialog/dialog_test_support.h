// Common ground of the dialog tests: a driver and a scratch working directory per test, the
// process state put back before each run, the configuration file as a record, and what the
// controls show. Standard library and Win32 only, so that it builds for Windows too.
#pragma once

#include "config/factory_config.h"
#include "tests/dialog/dialog_driver.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// A folder of its own under the system's temporary folder, removed with all it holds.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string String() const { return path_.string(); }
    // Every name in the folder, sorted.
    std::vector<std::string> Names() const;

  private:
    std::filesystem::path path_;
};

// The record scrambled into folder/CfgFtpDn.bin, as the tool stores it.
void WriteConfigFile(const std::filesystem::path& folder, const FactoryConfig& record);
// The record in folder/CfgFtpDn.bin; nullopt when there is no such file of the record's size.
std::optional<FactoryConfig> ReadConfigFile(const std::filesystem::path& folder);

// The record's fields by name, offset and width, for telling which of two records' fields
// differ.
std::vector<std::string> DifferingFields(const FactoryConfig& actual,
                                         const FactoryConfig& expected);
// A text field up to its zero byte, or whole when it has none.
template <std::size_t N> std::string FieldString(const char (&field)[N]) {
    std::size_t length = 0;
    while (length < N && field[length] != '\0') {
        ++length;
    }
    return std::string(field, length);
}

// A file with a value in every field the dialog shows or passes on, fit to be generated again
// unchanged: FTP on port 2121, directory mode 1.
FactoryConfig LoadedRecord();

// What the controls show.
std::string WindowText(HWND hWnd);
std::string ControlText(HWND hDlg, int id);
int ListSelection(HWND hDlg, int id);
std::vector<std::string> ListItems(HWND hDlg, int id);
// The dialog's controls in creation order, walked as the system links them.
std::vector<HWND> Controls(HWND hDlg);

struct ControlState {
    int id;
    std::string text;
    bool visible;
    bool enabled;
    bool operator==(const ControlState&) const = default;
};
void PrintTo(const ControlState& state, std::ostream* out);

// All the user can see of the dialog, for telling that nothing changed.
struct DialogState {
    std::string title;
    std::vector<ControlState> controls;
    int typeSelection;
    int dirModeSelection;
    UINT url1Check;
    bool operator==(const DialogState&) const = default;
};
void PrintTo(const DialogState& state, std::ostream* out);
DialogState TakeDialogState(HWND hDlg);

// Test names from the table rows' names.
struct RowName {
    template <typename Row> std::string operator()(const testing::TestParamInfo<Row>& row) const {
        return row.param.name;
    }
};

// Each test gets a fresh driver, a scratch working directory and its system language, English
// unless it says otherwise; Run puts the process state back first, as a fresh process has it.
class DialogTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // A platform that cannot give this language skips the test.
    virtual LANGID SystemLanguage() const { return 0x0409; }

    INT_PTR Run(const std::function<void(HWND hDlg)>& user);

    // Types text, or empties the edit as a user who selects all and deletes.
    void Enter(HWND hDlg, int id, const std::string& text);
    // Server, port, user name and password that Generate accepts.
    void EnterValidForm(HWND hDlg);

    std::unique_ptr<DialogDriver> driver;
    TempFolder workDir;

  private:
    // Put back before the scratch folder goes: Windows cannot remove a working directory.
    std::filesystem::path previousDirectory_ = std::filesystem::current_path();
};
