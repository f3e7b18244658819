// The upload-server record that "CfgFtpDn.bin" holds, byte for byte.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little,
              "the record is moved to and from the file as raw little-endian bytes");

constexpr int CONFIG_RECORD_SIZE = 308;

struct FactoryConfig {
    std::uint8_t bySelectBy;   // 0 = SFTP, 1 = FTP
    std::uint8_t byAlign;      // reserved
    std::uint16_t uwDebugPort; // server port
    char szDebugUrl[61];       // server address
    std::uint8_t byUrl1Enable; // spare address in use
    char szUrl1[62];           // spare address
    std::int32_t iDirMode;     // 0 = root, 1 = specified directory, -1 = none selected
    char szFtpDir[32];         // upload directory
    std::uint8_t byReserved;   // reserved
    char szFtpServer[61];      // second copy of the server address
    char szFtpUser[49];        // user name
    char szFtpPassword[33];    // password, in clear
};

// The file format depends on every one of these.
static_assert(offsetof(FactoryConfig, bySelectBy) == 0);
static_assert(offsetof(FactoryConfig, byAlign) == 1);
static_assert(offsetof(FactoryConfig, uwDebugPort) == 2);
static_assert(offsetof(FactoryConfig, szDebugUrl) == 4);
static_assert(offsetof(FactoryConfig, byUrl1Enable) == 65);
static_assert(offsetof(FactoryConfig, szUrl1) == 66);
static_assert(offsetof(FactoryConfig, iDirMode) == 128);
static_assert(offsetof(FactoryConfig, szFtpDir) == 132);
static_assert(offsetof(FactoryConfig, byReserved) == 164);
static_assert(offsetof(FactoryConfig, szFtpServer) == 165);
static_assert(offsetof(FactoryConfig, szFtpUser) == 226);
static_assert(offsetof(FactoryConfig, szFtpPassword) == 275);
static_assert(sizeof(FactoryConfig) == CONFIG_RECORD_SIZE);

// FTP on port 21, every text empty, every other byte zero.
constexpr FactoryConfig CONFIG_AT_START = {1, 0, 21, {}, 0, {}, 0, {}, 0, {}, {}, {}};

extern FactoryConfig g_sFactoryConfig;
