#include "tests/dialog/dialog_test_support.h"

#include "config/byte_codec.h"
#include "config/config_store.h"
#include "tests/support/record_fields.h"
#include "ui/text_catalogue.h"
#include "win/main_dialog.h"
#include "win/resource.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr int TEXT_BUFFER_SIZE = 1024;

fs::path ConfigPath(const fs::path& folder) {
    return folder / CONFIG_FILE_NAME;
}

} // namespace

TempFolder::TempFolder() {
    std::random_device entropy;
    std::mt19937 random(entropy());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate =
            fs::temp_directory_path() / ("cfgftp-dialog-" + std::to_string(random() % 1000000000));
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a scratch folder");
}

TempFolder::~TempFolder() {
    std::error_code error;
    fs::remove_all(path_, error);
}

std::vector<std::string> TempFolder::Names() const {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void WriteConfigFile(const fs::path& folder, const FactoryConfig& record) {
    std::uint8_t bytes[CONFIG_RECORD_SIZE];
    std::memcpy(bytes, &record, sizeof bytes);
    ScrambleRecord(bytes, CONFIG_RECORD_SIZE);
    std::ofstream out(ConfigPath(folder), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes), sizeof bytes);
    if (!out) {
        throw std::runtime_error("cannot write " + ConfigPath(folder).string());
    }
}

std::optional<FactoryConfig> ReadConfigFile(const fs::path& folder) {
    std::ifstream in(ConfigPath(folder), std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    if (!in.is_open() || bytes.size() != CONFIG_RECORD_SIZE) {
        return std::nullopt;
    }
    std::uint8_t record[CONFIG_RECORD_SIZE];
    std::memcpy(record, bytes.data(), sizeof record);
    UnscrambleRecord(record, CONFIG_RECORD_SIZE);
    FactoryConfig config;
    std::memcpy(&config, record, sizeof config);
    return config;
}

std::vector<std::string> DifferingFields(const FactoryConfig& actual,
                                         const FactoryConfig& expected) {
    const auto* a = reinterpret_cast<const unsigned char*>(&actual);
    const auto* b = reinterpret_cast<const unsigned char*>(&expected);
    std::vector<std::string> names;
    for (const RecordField& field : RECORD_FIELDS) {
        if (std::memcmp(a + field.offset, b + field.offset, field.width) != 0) {
            names.emplace_back(field.name);
        }
    }
    return names;
}

FactoryConfig LoadedRecord() {
    FactoryConfig record = CONFIG_AT_START;
    record.bySelectBy = 1;
    record.byAlign = 0x5A;
    record.uwDebugPort = 2121;
    std::strcpy(record.szDebugUrl, "loaded.example.com");
    record.iDirMode = 1;
    std::strcpy(record.szFtpDir, "/camera/uploads");
    record.byReserved = 0xA5;
    std::strcpy(record.szFtpServer, "loaded.example.com");
    std::strcpy(record.szFtpUser, "loaded-user");
    std::strcpy(record.szFtpPassword, "loaded-pass");
    return record;
}

std::string WindowText(HWND hWnd) {
    char text[TEXT_BUFFER_SIZE] = {};
    const int length = GetWindowTextA(hWnd, text, sizeof text);
    return std::string(text, static_cast<std::size_t>(std::max(length, 0)));
}

std::string ControlText(HWND hDlg, int id) {
    return WindowText(GetDlgItem(hDlg, id));
}

int ListSelection(HWND hDlg, int id) {
    return static_cast<int>(SendMessageA(GetDlgItem(hDlg, id), CB_GETCURSEL, 0, 0));
}

std::vector<std::string> ListItems(HWND hDlg, int id) {
    const HWND hList = GetDlgItem(hDlg, id);
    const int count = static_cast<int>(SendMessageA(hList, CB_GETCOUNT, 0, 0));
    std::vector<std::string> items;
    for (int i = 0; i < count; ++i) {
        char text[TEXT_BUFFER_SIZE] = {};
        if (SendMessageA(hList, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) >= TEXT_BUFFER_SIZE) {
            items.emplace_back("<too long>");
            continue;
        }
        SendMessageA(hList, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

std::vector<HWND> Controls(HWND hDlg) {
    std::vector<HWND> controls;
    for (HWND hControl = GetWindow(hDlg, GW_CHILD); hControl != nullptr;
         hControl = GetWindow(hControl, GW_HWNDNEXT)) {
        controls.push_back(hControl);
    }
    return controls;
}

void PrintTo(const ControlState& state, std::ostream* out) {
    *out << "{" << state.id << " \"" << state.text << "\"" << (state.visible ? " shown" : " hidden")
         << (state.enabled ? " enabled" : " disabled") << "}";
}

void PrintTo(const DialogState& state, std::ostream* out) {
    *out << "title \"" << state.title << "\", type " << state.typeSelection << ", dir mode "
         << state.dirModeSelection << ", url1 check " << state.url1Check << ", controls";
    for (const ControlState& control : state.controls) {
        *out << " ";
        PrintTo(control, out);
    }
}

DialogState TakeDialogState(HWND hDlg) {
    DialogState state{WindowText(hDlg),
                      {},
                      ListSelection(hDlg, IDC_CB_TYPE),
                      ListSelection(hDlg, IDC_CB_DIRMODE),
                      IsDlgButtonChecked(hDlg, IDC_CK_URL1)};
    for (const HWND hControl : Controls(hDlg)) {
        state.controls.push_back({GetDlgCtrlID(hControl), WindowText(hControl),
                                  IsWindowVisible(hControl) != FALSE,
                                  IsWindowEnabled(hControl) != FALSE});
    }
    return state;
}

void DialogTest::SetUp() {
    driver = MakeDialogDriver();
    driver->UseWorkingDirectory(workDir.String());
    if (!driver->UseSystemLanguage(SystemLanguage())) {
        GTEST_SKIP() << "needs the system language 0x" << std::hex << SystemLanguage();
    }
}

void DialogTest::TearDown() {
    std::error_code error;
    fs::current_path(previousDirectory_, error);
}

INT_PTR DialogTest::Run(const std::function<void(HWND hDlg)>& user) {
    g_bFirstInit = 1;
    g_sFactoryConfig = CONFIG_AT_START;
    std::strcpy(g_szSavePath, "C:\\");
    g_nLanguage = 1;
    return driver->Run(user);
}

void DialogTest::Enter(HWND hDlg, int id, const std::string& text) {
    if (text.empty()) {
        SetWindowTextA(GetDlgItem(hDlg, id), "");
    } else {
        driver->Type(hDlg, id, text);
    }
}

void DialogTest::EnterValidForm(HWND hDlg) {
    driver->Type(hDlg, IDC_ED_SERVER, "ftp.example.com");
    driver->Type(hDlg, IDC_ED_PORT, "2121");
    driver->Type(hDlg, IDC_ED_USER, "camera");
    driver->Type(hDlg, IDC_ED_PASSWORD, "secret");
}
