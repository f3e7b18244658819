// The file store against real files: the golden file, every wrong size, pass-through of any
// content, the exact trace lines, and failures that must leave the previous file alone.
#include "config/byte_codec.h"
#include "config/config_store.h"
#include "config/factory_config.h"
#include "config/file_system.h"
#include "tests/support/child_process.h"
#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string SEPARATOR_LINE = std::string(48, '_') + "\n";

// The record that fixtures/make_golden.sh scrambles into golden.bin: one distinctive value per
// field, and tails behind terminators.
FactoryConfig DistinctRecord() {
    FactoryConfig config{};
    config.bySelectBy = 0;
    config.byAlign = 0xA1;
    config.uwDebugPort = 8021;
    std::memcpy(config.szDebugUrl, "ftp.example.com\0old-server-tail", 31);
    config.byUrl1Enable = 1;
    std::strcpy(config.szUrl1, "spare.example.net");
    config.iDirMode = 1;
    std::memcpy(config.szFtpDir, "/upload/cam\0tail", 16);
    config.byReserved = 0xC3;
    std::memcpy(config.szFtpServer, "ftp.example.com\0second-tail", 27);
    std::memcpy(config.szFtpUser, "camera01\0old-user", 17);
    std::strcpy(config.szFtpPassword, "p@ss:W0rd");
    return config;
}

Bytes Scrambled(Bytes bytes) {
    ScrambleRecord(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    return bytes;
}

std::string Captured(const std::function<void()>& action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}

class ConfigStore : public testing::Test {
  protected:
    void SetUp() override {
        ResetProcessState();
        UseFolder(folder.Path());
    }
    void TearDown() override { ResetProcessState(); }

    static void UseFolder(const std::string& path) {
        ASSERT_LT(path.size(), sizeof g_szSavePath);
        std::strcpy(g_szSavePath, path.c_str());
    }
    std::string ConfigPath() const {
        return std::string(g_szSavePath) + PATH_SEPARATOR + CONFIG_FILE_NAME;
    }
    std::string LoadTraceHead(int size) const {
        return "sizeof = 308\niGetFileSize = " + std::to_string(size) + "\n";
    }

  public:
    ScratchFolder folder;
};

TEST_F(ConfigStore, SaveReproducesTheGoldenFileByteForByte) {
    g_sFactoryConfig = DistinctRecord();
    std::string trace;
    trace = Captured([] { EXPECT_EQ(SaveConfig(), 1); });

    EXPECT_EQ(ReadFileBytes(ConfigPath()), ReadFileBytes(FIXTURE_DIR "/golden.bin"));
    EXPECT_EQ(RecordBytes(g_sFactoryConfig), RecordBytes(DistinctRecord()))
        << "save changed the record";
    EXPECT_EQ(trace, "Open file - \"" + ConfigPath() + "\" success!\n" + SEPARATOR_LINE);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{CONFIG_FILE_NAME});
}

TEST_F(ConfigStore, LoadOfTheGoldenFileGivesTheRecordAndItsTraceLines) {
    WriteFileBytes(ConfigPath(), ReadFileBytes(FIXTURE_DIR "/golden.bin"));
    std::string trace;
    trace = Captured([] { EXPECT_EQ(LoadConfig(), 1); });

    EXPECT_EQ(RecordBytes(g_sFactoryConfig), RecordBytes(DistinctRecord()));
    EXPECT_EQ(trace, LoadTraceHead(308) + "Open file - \"" + ConfigPath() + "\" success!\n" +
                         "g_sFactoryConfig.bySelectBy =0\n"
                         "g_sFactoryConfig.uwDebugPort=8021\n"
                         "g_sFactoryConfig.szDebugUrl =ftp.example.com\n");
}

TEST_F(ConfigStore, SaveThenLoadKeepsEveryByteAndTwoSavesWriteTheSameFile) {
    g_sFactoryConfig = DistinctRecord();
    Captured([] { EXPECT_EQ(SaveConfig(), 1); });
    const Bytes first = ReadFileBytes(ConfigPath());
    g_sFactoryConfig = CONFIG_AT_START;
    Captured([] { EXPECT_EQ(LoadConfig(), 1); });
    EXPECT_EQ(RecordBytes(g_sFactoryConfig), RecordBytes(DistinctRecord()));
    Captured([] { EXPECT_EQ(SaveConfig(), 1); });
    EXPECT_EQ(ReadFileBytes(ConfigPath()), first);
}

TEST_F(ConfigStore, OneChangedRecordByteChangesOnlyTheFileByteAtTheSameOffset) {
    g_sFactoryConfig = DistinctRecord();
    Captured([] { SaveConfig(); });
    const Bytes base = ReadFileBytes(ConfigPath());
    for (std::size_t offset = 0; offset < CONFIG_RECORD_SIZE; ++offset) {
        Bytes record = RecordBytes(DistinctRecord());
        record[offset] ^= 0x5A;
        g_sFactoryConfig = RecordFromBytes(record);
        Captured([] { SaveConfig(); });
        const Bytes file = ReadFileBytes(ConfigPath());
        ASSERT_EQ(file.size(), base.size());
        for (std::size_t i = 0; i < file.size(); ++i) {
            EXPECT_EQ(file[i] != base[i], i == offset)
                << "changed " << offset << ", differs at " << i;
        }
    }
}

TEST_F(ConfigStore, EveryOtherFileSizeIsRejectedAndLeavesTheRecordAlone) {
    const FactoryConfig before = DistinctRecord();
    for (int size = 0; size <= 1024; ++size) {
        if (size == CONFIG_RECORD_SIZE) {
            continue;
        }
        WriteFileBytes(ConfigPath(), Bytes(static_cast<std::size_t>(size), 0x5A));
        g_sFactoryConfig = before;
        std::string trace;
        trace = Captured([] { EXPECT_EQ(LoadConfig(), 0); });
        EXPECT_EQ(trace, LoadTraceHead(size) + "File szie != struct size!\n") << size;
        ASSERT_EQ(RecordBytes(g_sFactoryConfig), RecordBytes(before)) << size;
    }
}

TEST_F(ConfigStore, MissingFileTracesInOrderAndLeavesTheRecordAlone) {
    g_sFactoryConfig = DistinctRecord();
    std::string trace;
    trace = Captured([] { EXPECT_EQ(LoadConfig(), 0); });
    EXPECT_EQ(trace,
              "sizeof = 308\nFile not exist!\niGetFileSize = 0\nFile szie != struct size!\n");
    EXPECT_EQ(RecordBytes(g_sFactoryConfig), RecordBytes(DistinctRecord()));
}

TEST_F(ConfigStore, AnyContentOfTheRightSizeIsAcceptedAndPassesThroughUnchanged) {
    std::mt19937 random(308);
    for (int round = 0; round < 32; ++round) {
        Bytes content(CONFIG_RECORD_SIZE);
        for (auto& b : content) {
            b = static_cast<std::uint8_t>(random());
        }
        WriteFileBytes(ConfigPath(), content);
        Captured([] { EXPECT_EQ(LoadConfig(), 1); });
        Bytes plain = content;
        UnscrambleRecord(plain.data(), CONFIG_RECORD_SIZE);
        ASSERT_EQ(RecordBytes(g_sFactoryConfig), plain) << round;
        Captured([] { EXPECT_EQ(SaveConfig(), 1); });
        ASSERT_EQ(ReadFileBytes(ConfigPath()), content) << round;
    }
}

TEST_F(ConfigStore, LoadTraceStopsAtTheFieldWidthWhenTheServerHasNoTerminator) {
    Bytes plain(CONFIG_RECORD_SIZE, 'X');
    std::memset(plain.data() + 4, 'u', 61);
    WriteFileBytes(ConfigPath(), Scrambled(plain));
    std::string trace;
    trace = Captured([] { EXPECT_EQ(LoadConfig(), 1); });
    EXPECT_NE(trace.find("g_sFactoryConfig.szDebugUrl =" + std::string(61, 'u') + "\n"),
              std::string::npos)
        << trace;
}

TEST_F(ConfigStore, TheSeparatorIsInsertedEvenAfterAFolderEndingInOne) {
    UseFolder(folder.Path() + PATH_SEPARATOR);
    const std::string doubled = folder.Path() + PATH_SEPARATOR + PATH_SEPARATOR + CONFIG_FILE_NAME;
    std::string trace;
    trace = Captured([] { EXPECT_EQ(SaveConfig(), 1); });
    EXPECT_EQ(trace, "Open file - \"" + doubled + "\" success!\n" + SEPARATOR_LINE);
    EXPECT_TRUE(FileExists(folder.File(CONFIG_FILE_NAME)));
}

TEST_F(ConfigStore, TheFolderAtStartIsADriveRoot) {
    ResetProcessState();
    std::string trace;
    trace = Captured([] { EXPECT_EQ(LoadConfig(), 0); });
    EXPECT_EQ(std::string(g_szSavePath), "C:\\");
    EXPECT_EQ(trace,
              "sizeof = 308\nFile not exist!\niGetFileSize = 0\nFile szie != struct size!\n");
}

// A folder fits while the composed path fits its 268-byte buffer: 254 characters.
TEST_F(ConfigStore, TheLongestFolderThatFitsWorksAndOneMoreFailsCleanly) {
    for (const std::size_t length : {std::size_t{254}, std::size_t{255}}) {
        const std::string path =
            folder.Path() + "/" + std::string(length - folder.Path().size() - 1, 'd');
        ASSERT_EQ(path.size(), length);
        ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
        UseFolder(path);
        g_sFactoryConfig = DistinctRecord();
        const bool fits = length == 254;
        std::string trace;
        trace = Captured([&] { EXPECT_EQ(SaveConfig(), fits ? 1 : 0) << length; });
        EXPECT_NE(trace.find(fits ? "\" success!\n" : "\" err!\n"), std::string::npos) << trace;
        trace = Captured([&] { EXPECT_EQ(LoadConfig(), fits ? 1 : 0) << length; });
        if (!fits) {
            EXPECT_EQ(trace, "sizeof = 308\nFile not exist!\niGetFileSize = 0\n"
                             "File szie != struct size!\n");
            EXPECT_TRUE(std::filesystem::is_empty(path));
        }
        EXPECT_EQ(RecordBytes(g_sFactoryConfig), RecordBytes(DistinctRecord()));
    }
}

// The save runs in a child: a file-size limit and its signal stay there.
ChildRun SaveInChild(rlim_t fileSizeLimit) {
    return RunInChild([fileSizeLimit] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{fileSizeLimit, RLIM_INFINITY};
        setrlimit(RLIMIT_FSIZE, &limit);
        return SaveConfig();
    });
}

struct SaveFailure {
    const char* name;
    std::function<void(ConfigStore&)> arrange;
    bool opened; // the trace says the file was opened before the failure
};
void PrintTo(const SaveFailure& failure, std::ostream* out) {
    *out << failure.name;
}

class SaveFailures : public ConfigStore, public testing::WithParamInterface<SaveFailure> {};

TEST_P(SaveFailures, ReturnFailureAndLeaveThePreviousFileAndNoTemporaryFile) {
    const Bytes previous = ReadFileBytes(FIXTURE_DIR "/golden.bin");
    WriteFileBytes(ConfigPath(), previous);
    const std::string folderPath = g_szSavePath;
    g_sFactoryConfig = CONFIG_AT_START;
    g_sFactoryConfig.uwDebugPort = 990;
    const Bytes record = RecordBytes(g_sFactoryConfig);

    GetParam().arrange(*this);
    const std::string path = ConfigPath();
    const ChildRun save = SaveInChild(RLIM_INFINITY);

    EXPECT_EQ(save.exitCode, 0);
    const std::string opened = GetParam().opened ? "\" success!\n" : "\" err!\n";
    EXPECT_EQ(save.output, "Open file - \"" + path + opened + SEPARATOR_LINE);
    EXPECT_EQ(RecordBytes(g_sFactoryConfig), record);
    EXPECT_EQ(ReadFileBytes(folder.File(CONFIG_FILE_NAME)), previous);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{CONFIG_FILE_NAME});
}

INSTANTIATE_TEST_SUITE_P(
    ConfigStore, SaveFailures,
    testing::Values(SaveFailure{"MissingFolder",
                                [](ConfigStore&) { std::strcat(g_szSavePath, "/absent"); }, false},
                    SaveFailure{"ReadOnlyFile",
                                [](ConfigStore& test) {
                                    chmod(test.folder.File(CONFIG_FILE_NAME).c_str(), 0444);
                                },
                                false},
                    SaveFailure{"FolderTooLong",
                                [](ConfigStore&) {
                                    const std::size_t length = std::strlen(g_szSavePath);
                                    std::strcat(g_szSavePath,
                                                ("/" + std::string(254 - length, 'x')).c_str());
                                },
                                false}),
    [](const testing::TestParamInfo<SaveFailure>& row) { return row.param.name; });

TEST_F(ConfigStore, AFullDiskFailsTheSaveAndKeepsThePreviousFile) {
    const Bytes previous = ReadFileBytes(FIXTURE_DIR "/golden.bin");
    WriteFileBytes(ConfigPath(), previous);
    g_sFactoryConfig = CONFIG_AT_START;

    const ChildRun save = SaveInChild(100);

    EXPECT_EQ(save.exitCode, 0);
    EXPECT_EQ(save.output, "Open file - \"" + ConfigPath() + "\" success!\n" + SEPARATOR_LINE);
    EXPECT_EQ(ReadFileBytes(ConfigPath()), previous);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{CONFIG_FILE_NAME});
}

// A file replaced by a shorter one between the size probe and the read must not leave half a
// record. Files are swapped whole by rename, so every open sees one complete file.
TEST_F(ConfigStore, AFileShrinkingDuringTheLoadNeverLeavesAPartRecord) {
    const Bytes content = ReadFileBytes(FIXTURE_DIR "/golden.bin");
    const Bytes shorter(content.begin(), content.begin() + 100);
    WriteFileBytes(ConfigPath(), content);
    std::atomic<bool> stop{false};
    std::thread shrinker([&] {
        const std::string next = folder.File("next");
        while (!stop) {
            for (const Bytes* bytes : {&shorter, &content}) {
                WriteFileBytes(next, *bytes);
                std::rename(next.c_str(), ConfigPath().c_str());
            }
        }
    });

    FactoryConfig untouched = CONFIG_AT_START;
    untouched.byReserved = 0x77;
    int partRecordAt = -1;
    testing::internal::CaptureStdout();
    for (int i = 0; i < 4000 && partRecordAt < 0; ++i) {
        g_sFactoryConfig = untouched;
        const FactoryConfig& expected = LoadConfig() == 1 ? DistinctRecord() : untouched;
        if (RecordBytes(g_sFactoryConfig) != RecordBytes(expected)) {
            partRecordAt = i;
        }
    }
    const std::string trace = testing::internal::GetCapturedStdout();
    stop = true;
    shrinker.join();
    EXPECT_EQ(partRecordAt, -1)
        << "a load left a record that is neither the file's nor the old one";
    int shortReads = 0;
    for (std::size_t at = 0; (at = trace.find("success!\nsizeof", at)) != std::string::npos; ++at) {
        ++shortReads;
    }
    RecordProperty("short_reads", shortReads);
}

} // namespace
