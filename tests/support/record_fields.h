// The record's fields as the file format fixes them, written down once for every test.
#pragma once

#include <cstddef>

struct RecordField {
    const char* name;
    std::size_t offset;
    std::size_t width;
};

inline constexpr RecordField RECORD_FIELDS[] = {
    {"bySelectBy", 0, 1},     {"byAlign", 1, 1},       {"uwDebugPort", 2, 2},
    {"szDebugUrl", 4, 61},    {"byUrl1Enable", 65, 1}, {"szUrl1", 66, 62},
    {"iDirMode", 128, 4},     {"szFtpDir", 132, 32},   {"byReserved", 164, 1},
    {"szFtpServer", 165, 61}, {"szFtpUser", 226, 49},  {"szFtpPassword", 275, 33},
};
