// The record is the file format: every field's place and width, and the values at start.
#include "config/factory_config.h"
#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace {

struct FieldRow {
    const char* name;
    std::size_t offset;
    std::size_t width;
    std::size_t actualOffset;
    std::size_t actualWidth;
};

#define FIELD(name, offset, width)                                                                 \
    FieldRow {                                                                                     \
#name, offset, width, offsetof(FactoryConfig, name), sizeof(FactoryConfig::name)           \
    }

const FieldRow LAYOUT[] = {
    FIELD(bySelectBy, 0, 1),     FIELD(byAlign, 1, 1),       FIELD(uwDebugPort, 2, 2),
    FIELD(szDebugUrl, 4, 61),    FIELD(byUrl1Enable, 65, 1), FIELD(szUrl1, 66, 62),
    FIELD(iDirMode, 128, 4),     FIELD(szFtpDir, 132, 32),   FIELD(byReserved, 164, 1),
    FIELD(szFtpServer, 165, 61), FIELD(szFtpUser, 226, 49),  FIELD(szFtpPassword, 275, 33),
};

TEST(RecordLayout, EveryFieldSitsAtItsOffsetWithItsWidth) {
    for (const FieldRow& row : LAYOUT) {
        EXPECT_EQ(row.actualOffset, row.offset) << row.name;
        EXPECT_EQ(row.actualWidth, row.width) << row.name;
    }
}

TEST(RecordLayout, FieldsCoverTheRecordWithoutGapOrOverlap) {
    std::size_t next = 0;
    for (const FieldRow& row : LAYOUT) {
        EXPECT_EQ(row.offset, next) << row.name;
        next = row.offset + row.width;
    }
    EXPECT_EQ(next, std::size_t{CONFIG_RECORD_SIZE});
    EXPECT_EQ(sizeof(FactoryConfig), std::size_t{CONFIG_RECORD_SIZE});
}

TEST(RecordLayout, ValuesAtStartAreFtpOnPort21AndZeroElsewhere) {
    Bytes expected(CONFIG_RECORD_SIZE, 0);
    expected[0] = 1;
    expected[2] = 21;
    EXPECT_EQ(RecordBytes(CONFIG_AT_START), expected);
    EXPECT_EQ(RecordBytes(g_sFactoryConfig), expected);
}

TEST(RecordLayout, IntegersAreLittleEndian) {
    FactoryConfig config{};
    config.uwDebugPort = 21;
    config.iDirMode = -1;
    Bytes bytes = RecordBytes(config);
    EXPECT_EQ(bytes[2], 0x15);
    EXPECT_EQ(bytes[3], 0x00);
    EXPECT_EQ(Bytes(bytes.begin() + 128, bytes.begin() + 132), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));

    config.iDirMode = 1;
    bytes = RecordBytes(config);
    EXPECT_EQ(Bytes(bytes.begin() + 128, bytes.begin() + 132), (Bytes{0x01, 0x00, 0x00, 0x00}));
}

} // namespace
