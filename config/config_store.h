// Moves g_sFactoryConfig between memory and "CfgFtpDn.bin" in the save folder.
#pragma once

#include <cstdint>

constexpr char CONFIG_FILE_NAME[] = "CfgFtpDn.bin";

constexpr int SAVE_PATH_SIZE = 260;

// The folder the file is loaded from and saved to; "C:\" until the dialog sets it.
extern char g_szSavePath[SAVE_PATH_SIZE];

// The file's size in bytes; 0 when it cannot be opened.
std::int32_t GetConfigFileSize(const char* szPath);

// 1 when all 308 bytes were read into g_sFactoryConfig; 0 leaves the record untouched.
int LoadConfig();

// 1 when the file now holds the scrambled record; 0 leaves any earlier file as it was.
int SaveConfig();
