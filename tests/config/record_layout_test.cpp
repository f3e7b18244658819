// The record is the file format: every field's place and width, and the values at start.
#include "config/factory_config.h"
#include "tests/support/record_fields.h"
#include "tests/support/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace {

// Where the compiler put each member, by name.
struct MemberPlace {
    const char* name;
    std::size_t offset;
    std::size_t width;
};

#define MEMBER(name)                                                                               \
    MemberPlace {                                                                                  \
#name, offsetof(FactoryConfig, name), sizeof(FactoryConfig::name)                          \
    }

const MemberPlace MEMBERS[] = {
    MEMBER(bySelectBy),   MEMBER(byAlign),     MEMBER(uwDebugPort), MEMBER(szDebugUrl),
    MEMBER(byUrl1Enable), MEMBER(szUrl1),      MEMBER(iDirMode),    MEMBER(szFtpDir),
    MEMBER(byReserved),   MEMBER(szFtpServer), MEMBER(szFtpUser),   MEMBER(szFtpPassword),
};

TEST(RecordLayout, EveryFieldSitsAtItsOffsetWithItsWidth) {
    ASSERT_EQ(std::size(MEMBERS), std::size(RECORD_FIELDS));
    for (std::size_t i = 0; i < std::size(MEMBERS); ++i) {
        EXPECT_STREQ(MEMBERS[i].name, RECORD_FIELDS[i].name);
        EXPECT_EQ(MEMBERS[i].offset, RECORD_FIELDS[i].offset) << MEMBERS[i].name;
        EXPECT_EQ(MEMBERS[i].width, RECORD_FIELDS[i].width) << MEMBERS[i].name;
    }
}

TEST(RecordLayout, FieldsCoverTheRecordWithoutGapOrOverlap) {
    std::size_t next = 0;
    for (const RecordField& row : RECORD_FIELDS) {
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
