// The byte transform over every byte value, each direction, and the lengths it must ignore.
#include "config/byte_codec.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <set>

namespace {

// Worked by hand: 0x00 ^ 0xA6 = 0xA6 = 1010 0110, rotated right by two = 1010 1001.
struct KnownByte {
    std::uint8_t plain;
    std::uint8_t scrambled;
};
const KnownByte KNOWN[] = {{0x00, 0xA9}, {0xA6, 0x00}, {0xFF, 0x56}, {0x01, 0xE9}, {0x15, 0xEC}};

TEST(ByteCodec, KnownBytesEachDirection) {
    for (const KnownByte& known : KNOWN) {
        std::uint8_t b = known.plain;
        ScrambleRecord(&b, 1);
        EXPECT_EQ(b, known.scrambled) << "plain " << int{known.plain};
        UnscrambleRecord(&b, 1);
        EXPECT_EQ(b, known.plain);
    }
}

TEST(ByteCodec, EachDirectionIsAOneToOneInverseOverAllByteValues) {
    std::array<std::uint8_t, 256> scrambled{};
    std::array<std::uint8_t, 256> unscrambled{};
    for (int i = 0; i < 256; ++i) {
        scrambled[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        unscrambled[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
    ScrambleRecord(scrambled.data(), 256);
    UnscrambleRecord(unscrambled.data(), 256);
    EXPECT_EQ(std::set<std::uint8_t>(scrambled.begin(), scrambled.end()).size(), 256u);
    EXPECT_EQ(std::set<std::uint8_t>(unscrambled.begin(), unscrambled.end()).size(), 256u);

    for (int i = 0; i < 256; ++i) {
        const auto b = static_cast<std::uint8_t>(i);
        const unsigned x = b ^ SCRAMBLE_XOR;
        EXPECT_EQ(scrambled[b], static_cast<std::uint8_t>((x >> 2) | (x << 6))) << i;
        std::uint8_t back = scrambled[b];
        UnscrambleRecord(&back, 1);
        EXPECT_EQ(back, b) << i;
        back = unscrambled[b];
        ScrambleRecord(&back, 1);
        EXPECT_EQ(back, b) << i;
    }
}

TEST(ByteCodec, OnlyTheFirstLenBytesChange) {
    std::array<std::uint8_t, 4> bytes{1, 2, 3, 4};
    ScrambleRecord(bytes.data(), 2);
    EXPECT_NE(bytes[0], 1);
    EXPECT_EQ(bytes[2], 3);
    EXPECT_EQ(bytes[3], 4);
}

TEST(ByteCodec, NullBufferAndNonPositiveLengthsChangeNothing) {
    ScrambleRecord(nullptr, 308);
    UnscrambleRecord(nullptr, 308);
    for (const std::int32_t length : {0, -1, INT32_MIN}) {
        std::array<std::uint8_t, 3> bytes{7, 8, 9};
        ScrambleRecord(bytes.data(), length);
        UnscrambleRecord(bytes.data(), length);
        EXPECT_EQ(bytes, (std::array<std::uint8_t, 3>{7, 8, 9})) << length;
    }
}

} // namespace
