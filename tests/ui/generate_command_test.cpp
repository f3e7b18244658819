// The Generate command driven by a form built on plain strings that records what it is asked.
#include "config/byte_codec.h"
#include "config/config_store.h"
#include "config/factory_config.h"
#include "config/file_system.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_folder.h"
#include "ui/generate_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct Message {
    std::string text;
    std::string caption;
    MessageIcon icon;
};

class RecordingForm : public GenerateForm {
  public:
    int typeIndex = 1;
    int dirModeIndex = 0;
    std::map<FormField, std::string> fields = {{FIELD_SERVER, "ftp.example.com"},
                                               {FIELD_PORT, "21"},
                                               {FIELD_USER, "camera"},
                                               {FIELD_PASSWORD, "secret"},
                                               {FIELD_FTPDIR, "/"}};
    // Every question in order, e.g. "type", "server/61", "dirmode".
    std::vector<std::string> asked;
    std::vector<Message> messages;

    int GetTypeIndex() override {
        asked.push_back("type");
        return typeIndex;
    }
    int GetFieldText(FormField field, char* buffer, int size) override {
        static const char* const names[] = {"server", "port", "user", "password", "ftpdir"};
        asked.push_back(std::string(names[field]) + "/" + std::to_string(size));
        const std::string& text = fields[field];
        const std::size_t count = std::min(text.size(), static_cast<std::size_t>(size - 1));
        std::memcpy(buffer, text.data(), count);
        buffer[count] = '\0';
        return static_cast<int>(count);
    }
    int GetDirModeIndex() override {
        asked.push_back("dirmode");
        return dirModeIndex;
    }
    void ShowMessage(const char* text, const char* caption, MessageIcon icon) override {
        messages.push_back({text, caption, icon});
    }
};

const std::vector<std::string> ALL_QUESTIONS = {"type",        "server/61", "port/6",   "user/49",
                                                "password/33", "dirmode",   "ftpdir/32"};

std::vector<std::string> FirstQuestions(std::size_t count) {
    return {ALL_QUESTIONS.begin(), ALL_QUESTIONS.begin() + static_cast<long>(count)};
}

std::string Field(const char* field, std::size_t width) {
    return std::string(field, width);
}

class Generate : public testing::Test {
  protected:
    void SetUp() override {
        ResetProcessState();
        g_nLanguage = 1;
        std::strcpy(g_szSavePath, folder.Path().c_str());
    }
    void TearDown() override {
        ResetProcessState();
        g_nLanguage = 1;
    }

    GenerateOutcome Run() {
        testing::internal::CaptureStdout();
        const GenerateOutcome outcome = GenerateCommand(form);
        trace = testing::internal::GetCapturedStdout();
        return outcome;
    }
    std::string ConfigPath() const { return folder.File(CONFIG_FILE_NAME); }
    FactoryConfig FileRecord() const {
        Bytes bytes = ReadFileBytes(ConfigPath());
        EXPECT_EQ(bytes.size(), std::size_t{CONFIG_RECORD_SIZE});
        UnscrambleRecord(bytes.data(), static_cast<std::int32_t>(bytes.size()));
        return RecordFromBytes(bytes);
    }
    void ExpectOneMessage(TextId id, MessageIcon icon) {
        ASSERT_EQ(form.messages.size(), 1u);
        EXPECT_EQ(form.messages[0].text, GetText(id));
        EXPECT_EQ(form.messages[0].caption, GetText(TXT_CAPTION_NOTICE));
        EXPECT_EQ(form.messages[0].icon, icon);
    }

    ScratchFolder folder;
    RecordingForm form;
    std::string trace;
};

// A run that stops early: its message, the questions asked, and what the record already holds.
struct EarlyStop {
    const char* name;
    std::map<FormField, std::string> typed;
    TextId message;
    std::size_t questions;
    std::function<void(const FactoryConfig&)> expectRecord;
};

void PrintTo(const EarlyStop& stop, std::ostream* out) {
    *out << stop.name;
}

class GenerateEarlyStop : public Generate, public testing::WithParamInterface<EarlyStop> {};

TEST_P(GenerateEarlyStop, WarnsStopsAskingAndWritesNoFile) {
    FactoryConfig before = CONFIG_AT_START;
    std::strcpy(before.szDebugUrl, "old.server");
    std::strcpy(before.szFtpServer, "old.server");
    before.uwDebugPort = 2121;
    std::strcpy(before.szFtpUser, "olduser");
    std::strcpy(before.szFtpPassword, "oldpass");
    g_sFactoryConfig = before;
    for (const auto& [field, text] : GetParam().typed) {
        form.fields[field] = text;
    }
    form.typeIndex = 0;

    const GenerateOutcome outcome = Run();

    EXPECT_TRUE(outcome.bHasMessage);
    EXPECT_EQ(outcome.idText, GetParam().message);
    EXPECT_EQ(outcome.eIcon, MSGICON_WARNING);
    ExpectOneMessage(GetParam().message, MSGICON_WARNING);
    EXPECT_EQ(form.asked, FirstQuestions(GetParam().questions));
    EXPECT_EQ(trace, "[MAKE]\n* bySelectBy =0\n");
    EXPECT_EQ(g_sFactoryConfig.bySelectBy, 0) << "the type is stored before any check";
    GetParam().expectRecord(g_sFactoryConfig);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{});
}

void ServerIsNew(const FactoryConfig& c) {
    EXPECT_STREQ(c.szDebugUrl, "ftp.example.com");
    EXPECT_STREQ(c.szFtpServer, "ftp.example.com");
}
void PortUnchanged(const FactoryConfig& c) {
    ServerIsNew(c);
    EXPECT_EQ(c.uwDebugPort, 2121);
    EXPECT_STREQ(c.szFtpUser, "olduser");
}

INSTANTIATE_TEST_SUITE_P(
    Generate, GenerateEarlyStop,
    testing::Values(
        EarlyStop{"AllEmpty",
                  {{FIELD_SERVER, ""}, {FIELD_PORT, ""}, {FIELD_USER, ""}, {FIELD_PASSWORD, ""}},
                  MSG_NEED_SERVER,
                  2,
                  [](const FactoryConfig& c) {
                      EXPECT_EQ(Field(c.szDebugUrl, 11), std::string("\0ld.server\0", 11));
                      EXPECT_STREQ(c.szFtpServer, "old.server");
                      EXPECT_EQ(c.uwDebugPort, 2121);
                  }},
        EarlyStop{"NoPort", {{FIELD_PORT, ""}}, MSG_NEED_PORT, 3, PortUnchanged},
        EarlyStop{"PortLettersOnly", {{FIELD_PORT, "abc"}}, MSG_NEED_PORT, 3, PortUnchanged},
        EarlyStop{"PortSingleBlank", {{FIELD_PORT, " "}}, MSG_NEED_PORT, 3, PortUnchanged},
        EarlyStop{"PortSignOnly", {{FIELD_PORT, "+"}}, MSG_NEED_PORT, 3, PortUnchanged},
        EarlyStop{"PortNegative", {{FIELD_PORT, "-1"}}, MSG_NEED_PORT, 3, PortUnchanged},
        EarlyStop{
            "PortNegativeAfterBlanks", {{FIELD_PORT, " -999"}}, MSG_NEED_PORT, 3, PortUnchanged},
        EarlyStop{"Port65536", {{FIELD_PORT, "65536"}}, MSG_PORT_RANGE, 3, PortUnchanged},
        EarlyStop{"Port99999", {{FIELD_PORT, "99999"}}, MSG_PORT_RANGE, 3, PortUnchanged},
        EarlyStop{"NoUser",
                  {{FIELD_PORT, "8021"}, {FIELD_USER, ""}},
                  MSG_NEED_USER,
                  4,
                  [](const FactoryConfig& c) {
                      ServerIsNew(c);
                      EXPECT_EQ(c.uwDebugPort, 8021);
                      EXPECT_EQ(c.szFtpUser[0], '\0');
                      EXPECT_STREQ(c.szFtpUser + 1, "lduser");
                      EXPECT_STREQ(c.szFtpPassword, "oldpass");
                  }},
        EarlyStop{"NoPassword",
                  {{FIELD_PASSWORD, ""}},
                  MSG_NEED_PASSWORD,
                  5,
                  [](const FactoryConfig& c) {
                      ServerIsNew(c);
                      EXPECT_STREQ(c.szFtpUser, "camera");
                      EXPECT_EQ(c.szFtpPassword[0], '\0');
                      EXPECT_EQ(c.iDirMode, 0);
                  }}),
    [](const testing::TestParamInfo<EarlyStop>& row) { return row.param.name; });

TEST_F(Generate, SuccessWritesTheFileReadsItBackAndInforms) {
    const GenerateOutcome outcome = Run();

    EXPECT_TRUE(outcome.bHasMessage);
    EXPECT_EQ(outcome.idText, MSG_SUCCESS);
    EXPECT_EQ(outcome.eIcon, MSGICON_INFORMATION);
    ExpectOneMessage(MSG_SUCCESS, MSGICON_INFORMATION);
    EXPECT_EQ(form.asked, ALL_QUESTIONS);
    const FactoryConfig file = FileRecord();
    EXPECT_EQ(RecordBytes(file), RecordBytes(g_sFactoryConfig));
    EXPECT_EQ(file.bySelectBy, 1);
    EXPECT_EQ(file.uwDebugPort, 21);
    EXPECT_STREQ(file.szDebugUrl, "ftp.example.com");
    EXPECT_STREQ(file.szFtpServer, "ftp.example.com");
    EXPECT_STREQ(file.szFtpUser, "camera");
    EXPECT_STREQ(file.szFtpPassword, "secret");
    EXPECT_STREQ(file.szFtpDir, "/");

    const std::string path = std::string(g_szSavePath) + PATH_SEPARATOR + CONFIG_FILE_NAME;
    EXPECT_EQ(trace, "[MAKE]\n* bySelectBy =1\n"
                     "Open file - \"" +
                         path + "\" success!\n" + std::string(48, '_') + "\n" +
                         "sizeof = 308\niGetFileSize = 308\n"
                         "Open file - \"" +
                         path +
                         "\" success!\n"
                         "g_sFactoryConfig.bySelectBy =1\n"
                         "g_sFactoryConfig.uwDebugPort=21\n"
                         "g_sFactoryConfig.szDebugUrl =ftp.example.com\n");
}

TEST_F(Generate, MessagesSpeakTheSelectedLanguage) {
    g_nLanguage = 0;
    Run();
    ExpectOneMessage(MSG_SUCCESS, MSGICON_INFORMATION);
    EXPECT_EQ(form.messages[0].caption, "\xCD\xA8\xD6\xAA");
}

TEST_F(Generate, AcceptedPortTexts) {
    const struct {
        const char* typed;
        int stored;
    } ports[] = {{"0", 0},    {"00021", 21}, {"65535", 65535}, {"123456", 12345}, {" 21", 21},
                 {"+80", 80}, {"-0", 0},     {"21ab", 21},     {"\t\n990", 990},  {"1", 1}};
    for (const auto& port : ports) {
        form.fields[FIELD_PORT] = port.typed;
        form.messages.clear();
        const GenerateOutcome outcome = Run();
        EXPECT_EQ(outcome.idText, MSG_SUCCESS) << port.typed;
        EXPECT_EQ(g_sFactoryConfig.uwDebugPort, port.stored) << port.typed;
        EXPECT_EQ(FileRecord().uwDebugPort, port.stored) << port.typed;
    }
}

TEST_F(Generate, EveryFieldIsCutToItsWidth) {
    form.fields = {{FIELD_SERVER, std::string(70, 's')},
                   {FIELD_PORT, "21"},
                   {FIELD_USER, std::string(60, 'u')},
                   {FIELD_PASSWORD, std::string(40, 'p')},
                   {FIELD_FTPDIR, std::string(40, 'd')}};
    ASSERT_EQ(Run().idText, MSG_SUCCESS);
    const FactoryConfig file = FileRecord();
    EXPECT_EQ(Field(file.szDebugUrl, 61), std::string(60, 's') + '\0');
    EXPECT_EQ(Field(file.szFtpServer, 61), std::string(60, 's') + '\0');
    EXPECT_EQ(Field(file.szFtpUser, 49), std::string(48, 'u') + '\0');
    EXPECT_EQ(Field(file.szFtpPassword, 33), std::string(32, 'p') + '\0');
    EXPECT_EQ(Field(file.szFtpDir, 32), std::string(31, 'd') + '\0');
    EXPECT_EQ(file.byUrl1Enable, 0);
    EXPECT_EQ(file.byReserved, 0);
}

TEST_F(Generate, ShorterTextsLeaveTheOldTailsBehindTheirTerminators) {
    std::strcpy(g_sFactoryConfig.szFtpUser, "longuser");
    std::strcpy(g_sFactoryConfig.szFtpServer, "a.much.longer.server");
    form.fields[FIELD_USER] = "abc";
    form.fields[FIELD_SERVER] = "b.srv";
    ASSERT_EQ(Run().idText, MSG_SUCCESS);
    for (const FactoryConfig& c : {g_sFactoryConfig, FileRecord()}) {
        EXPECT_EQ(Field(c.szFtpUser, 9), std::string("abc\0user\0", 9));
        EXPECT_EQ(Field(c.szFtpServer, 21), std::string("b.srv\0.longer.server\0", 21));
    }
}

TEST_F(Generate, NoSelectionStoresTypeAs255AndDirectoryModeAsMinusOne) {
    form.typeIndex = -1;
    form.dirModeIndex = -1;
    form.fields[FIELD_FTPDIR] = "";
    std::strcpy(g_sFactoryConfig.szFtpDir, "/old");
    ASSERT_EQ(Run().idText, MSG_SUCCESS);
    EXPECT_EQ(trace.substr(0, 24), "[MAKE]\n* bySelectBy =255");
    const FactoryConfig file = FileRecord();
    EXPECT_EQ(file.bySelectBy, 255);
    EXPECT_EQ(file.iDirMode, -1);
    EXPECT_EQ(Field(file.szFtpDir, 5), std::string("\0old\0", 5));
}

TEST_F(Generate, SettingsTheFormDoesNotShowPassThrough) {
    g_sFactoryConfig.byAlign = 0x11;
    g_sFactoryConfig.byUrl1Enable = 7;
    std::strcpy(g_sFactoryConfig.szUrl1, "spare.example.net");
    g_sFactoryConfig.byReserved = 0x99;
    ASSERT_EQ(Run().idText, MSG_SUCCESS);
    const FactoryConfig file = FileRecord();
    EXPECT_EQ(file.byAlign, 0x11);
    EXPECT_EQ(file.byUrl1Enable, 7);
    EXPECT_STREQ(file.szUrl1, "spare.example.net");
    EXPECT_EQ(file.byReserved, 0x99);
}

TEST_F(Generate, TwoRunsWithTheSameFormWriteIdenticalFiles) {
    ASSERT_EQ(Run().idText, MSG_SUCCESS);
    const Bytes first = ReadFileBytes(ConfigPath());
    ASSERT_EQ(Run().idText, MSG_SUCCESS);
    EXPECT_EQ(ReadFileBytes(ConfigPath()), first);
}

TEST_F(Generate, AFolderThatCannotBeWrittenWarnsAndKeepsTheFormValues) {
    std::strcat(g_szSavePath, "/absent");
    form.dirModeIndex = 1;
    form.fields[FIELD_FTPDIR] = "/up";
    const GenerateOutcome outcome = Run();
    EXPECT_EQ(outcome.idText, MSG_SAVE_FAILED);
    ExpectOneMessage(MSG_SAVE_FAILED, MSGICON_WARNING);
    EXPECT_STREQ(g_sFactoryConfig.szFtpUser, "camera");
    EXPECT_STREQ(g_sFactoryConfig.szFtpPassword, "secret");
    EXPECT_EQ(g_sFactoryConfig.iDirMode, 1);
    EXPECT_STREQ(g_sFactoryConfig.szFtpDir, "/up");
    EXPECT_EQ(trace.find("sizeof"), std::string::npos) << "no read-back after a failed save";
}

// A file that is written but cannot be read back must not pass in silence: the child makes
// files nobody may read and, as root, gives up the right to read them anyway.
TEST_F(Generate, AFileThatFailsTheReadBackIsReported) {
    chmod(folder.Path().c_str(), 0777);
    const ChildRun child = RunInChild([this] {
        umask(0777);
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            return 2;
        }
        const GenerateOutcome outcome = GenerateCommand(form);
        const bool stored = std::strcmp(g_sFactoryConfig.szFtpUser, "camera") == 0;
        return outcome.bHasMessage && outcome.idText == MSG_SAVE_FAILED &&
                       outcome.eIcon == MSGICON_WARNING && form.messages.size() == 1 &&
                       form.messages[0].text == GetText(MSG_SAVE_FAILED) && stored
                   ? 0
                   : 1;
    });
    EXPECT_EQ(child.exitCode, 0) << child.output;
    EXPECT_NE(child.output.find("File not exist!\n"), std::string::npos) << child.output;
    EXPECT_TRUE(FileExists(ConfigPath()));
}

} // namespace
