// Writes stop one byte short of the field and keep the old tail; reads stop at the width.
#include "config/factory_config.h"
#include "config/text_field.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string Raw(const char* field, std::size_t width) {
    return std::string(field, width);
}

TEST(TextField, ShorterTextKeepsTheOldTailBehindItsTerminator) {
    char field[8] = "abcdef";
    StoreFieldText(field, "xy");
    EXPECT_EQ(Raw(field, 8), std::string("xy\0def\0\0", 8));
}

TEST(TextField, LongTextIsCutOneByteShortOfTheWidth) {
    FactoryConfig config{};
    std::memset(config.szDebugUrl, 'T', sizeof config.szDebugUrl);
    const std::string text(70, 'a');
    StoreFieldText(config.szDebugUrl, text.c_str());
    EXPECT_EQ(Raw(config.szDebugUrl, 61), std::string(60, 'a') + '\0');
    EXPECT_EQ(config.byUrl1Enable, 0) << "the byte after the field was written";
}

TEST(TextField, DirectoryRootWritesTwoBytesOnly) {
    FactoryConfig config{};
    std::memset(config.szFtpDir, 'd', sizeof config.szFtpDir);
    StoreFieldText(config.szFtpDir, "/");
    EXPECT_EQ(Raw(config.szFtpDir, 32), std::string("/\0", 2) + std::string(30, 'd'));
}

TEST(TextField, ReadStopsAtTheFirstZeroOrAtTheWidth) {
    const char terminated[6] = {'a', 'b', '\0', 'c', 'd', 'e'};
    EXPECT_STREQ(FieldText(terminated).szText, "ab");

    const char full[6] = {'a', 'b', 'c', 'd', 'e', 'f'};
    EXPECT_STREQ(FieldText(full).szText, "abcdef");
}

} // namespace
