#include "config/config_store.h"

#include "config/byte_codec.h"
#include "config/factory_config.h"
#include "config/file_system.h"
#include "config/text_field.h"
#include "config/trace.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

char g_szSavePath[SAVE_PATH_SIZE] = "C:\\";

namespace {

// The composed path may have at most 267 characters, which leaves 254 for the folder; the
// buffer takes any folder, so that a refused path is still traced whole.
constexpr int PATH_MAX_LENGTH = 267;
constexpr int PATH_BUFFER_SIZE = SAVE_PATH_SIZE + 16;
constexpr char NEW_SUFFIX[] = ".new";
constexpr char OLD_SUFFIX[] = ".old";

using Path = char[PATH_BUFFER_SIZE];
using SiblingPath = char[PATH_BUFFER_SIZE + sizeof NEW_SUFFIX];

// 0 when the folder is too long for the path buffer; callers then fail as for a file that
// cannot be opened.
int ComposePath(Path& szPath) {
    szPath[0] = '\0';
    if (std::memchr(g_szSavePath, '\0', sizeof g_szSavePath) == nullptr) {
        return 0;
    }
    const int length = std::snprintf(szPath, sizeof szPath, "%s%c%s", g_szSavePath, PATH_SEPARATOR,
                                     CONFIG_FILE_NAME);
    return length > 0 && length <= PATH_MAX_LENGTH;
}

void ComposeSibling(const Path& szPath, const char* suffix, SiblingPath& szSibling) {
    std::snprintf(szSibling, sizeof szSibling, "%s%s", szPath, suffix);
}

std::int32_t ReportNoFile() {
    Trace("File not exist!\n");
    return 0;
}

// rename() would replace a read-only file without a word, so the target's own protection is
// looked at first. A folder or a locked file in its place refuses the update open. A read-only
// file refuses it on Windows but not to root elsewhere (nor under Wine run by root): there the
// permissions tell.
bool IsWriteProtected(const char* szPath) {
    std::FILE* file = std::fopen(szPath, "r+b");
    if (file == nullptr) {
        return errno != ENOENT;
    }
    std::fclose(file);
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(szPath, error);
    constexpr fs::perms anyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return !error && (status.permissions() & anyWrite) == fs::perms::none;
}

bool WriteScrambledRecord(std::FILE* file) {
    std::uint8_t abyRecord[CONFIG_RECORD_SIZE];
    std::memcpy(abyRecord, &g_sFactoryConfig, sizeof abyRecord);
    ScrambleRecord(abyRecord, CONFIG_RECORD_SIZE);
    const bool written = std::fwrite(abyRecord, 1, sizeof abyRecord, file) == sizeof abyRecord &&
                         std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

// Windows' rename() refuses an existing target: the old file steps aside first and comes back
// when the new one cannot take its place, so a good file is never lost.
bool ReplaceFile(const SiblingPath& szNewPath, const Path& szPath) {
    if (std::rename(szNewPath, szPath) == 0) {
        return true;
    }
    SiblingPath szOldPath;
    ComposeSibling(szPath, OLD_SUFFIX, szOldPath);
    std::remove(szOldPath);
    if (std::rename(szPath, szOldPath) != 0) {
        return false;
    }
    if (std::rename(szNewPath, szPath) != 0) {
        std::rename(szOldPath, szPath);
        return false;
    }
    std::remove(szOldPath);
    return true;
}

} // namespace

std::int32_t GetConfigFileSize(const char* szPath) {
    std::FILE* file = std::fopen(szPath, "rb");
    if (file == nullptr) {
        return ReportNoFile();
    }
    std::int32_t size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) {
        size = static_cast<std::int32_t>(std::ftell(file));
    }
    std::fclose(file);
    return size;
}

int LoadConfig() {
    Trace("sizeof = %d\n", CONFIG_RECORD_SIZE);
    Path szPath;
    const std::int32_t iGetFileSize =
        ComposePath(szPath) ? GetConfigFileSize(szPath) : ReportNoFile();
    Trace("iGetFileSize = %d\n", iGetFileSize);
    if (iGetFileSize != CONFIG_RECORD_SIZE) {
        Trace("File szie != struct size!\n");
        return 0;
    }
    std::FILE* file = std::fopen(szPath, "rb");
    if (file == nullptr) {
        Trace("Open file - \"%s\" err!\n", szPath);
        return 0;
    }
    Trace("Open file - \"%s\" success!\n", szPath);

    // The file may have changed since its size was taken: only a read of exactly the record's
    // bytes replaces the record.
    std::uint8_t abyRecord[CONFIG_RECORD_SIZE];
    const bool complete = std::fread(abyRecord, 1, sizeof abyRecord, file) == sizeof abyRecord &&
                          std::fgetc(file) == EOF && !std::ferror(file);
    std::fclose(file);
    if (!complete) {
        return 0;
    }
    UnscrambleRecord(abyRecord, CONFIG_RECORD_SIZE);
    std::memcpy(&g_sFactoryConfig, abyRecord, sizeof abyRecord);

    Trace("g_sFactoryConfig.bySelectBy =%d\n", g_sFactoryConfig.bySelectBy);
    Trace("g_sFactoryConfig.uwDebugPort=%d\n", g_sFactoryConfig.uwDebugPort);
    Trace("g_sFactoryConfig.szDebugUrl =%s\n", FieldText(g_sFactoryConfig.szDebugUrl).szText);
    return 1;
}

int SaveConfig() {
    // The record goes to a file of its own beside the target first, so that a failed write
    // never leaves a damaged "CfgFtpDn.bin" behind.
    Path szPath;
    SiblingPath szNewPath;
    std::FILE* file = nullptr;
    if (ComposePath(szPath) && !IsWriteProtected(szPath)) {
        ComposeSibling(szPath, NEW_SUFFIX, szNewPath);
        file = std::fopen(szNewPath, "wb");
    }
    if (file == nullptr) {
        Trace("Open file - \"%s\" err!\n", szPath);
        Trace("________________________________________________\n");
        return 0;
    }
    Trace("Open file - \"%s\" success!\n", szPath);

    const bool saved = WriteScrambledRecord(file) && ReplaceFile(szNewPath, szPath);
    if (!saved) {
        std::remove(szNewPath);
    }
    Trace("________________________________________________\n");
    return saved ? 1 : 0;
}
