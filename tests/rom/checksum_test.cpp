#include <gtest/gtest.h>

#include "rom/rom.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

namespace veltra {
namespace {

using testing::ImageSpec;

TEST(Checksum, IsTheTwosComplementOfTheByteSum)
{
    struct Case {
        std::vector<std::uint8_t> bytes;
        std::uint8_t expected;
    } const cases[] = {
        {{0x61, 0x62, 0x63}, 0xDA},  // sum 0x26
        {{0x00, 0x00, 0x00, 0x00}, 0x00},
        {{0x80, 0x81}, 0xFF},        // sum 1 modulo 256
        {{0xFF}, 0x01},
    };
    for (const Case& c : cases) {
        std::uint8_t out = 0x55;
        ASSERT_TRUE(computeChecksum(c.bytes.data(), static_cast<std::int32_t>(c.bytes.size()), out));
        EXPECT_EQ(out, c.expected);
    }
}

// The sum runs in blocks of 64 and 16 bytes; every length and alignment must give
// what a byte-by-byte sum gives.
TEST(Checksum, AgreesWithAPlainByteSumForEveryLengthAndAlignment)
{
    std::vector<std::uint8_t> bytes(70000);
    std::uint32_t state = 12345;
    for (auto& b : bytes) {
        state = state * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(state >> 16);
    }
    std::fill(bytes.begin() + 40000, bytes.end(), 0xFF);  // lanes at their largest
    for (std::size_t start : {0u, 1u, 3u, 7u}) {
        for (std::size_t length : {1u, 7u, 8u, 9u, 15u, 16u, 17u, 63u, 64u, 65u, 80u, 1023u, 1024u, 1025u, 64511u, 65535u, 69000u}) {
            std::uint8_t plain = 0;
            for (std::size_t i = start; i < start + length; ++i)
                plain = static_cast<std::uint8_t>(plain + bytes[i]);
            std::uint8_t out = 0;
            ASSERT_TRUE(computeChecksum(bytes.data() + start, static_cast<std::int32_t>(length), out));
            EXPECT_EQ(out, static_cast<std::uint8_t>(0x100 - plain)) << start << " " << length;
        }
    }
}

TEST(Checksum, RefusesAnEmptyRangeAndLeavesTheOutputAlone)
{
    const std::uint8_t data[] = {1, 2, 3};
    for (std::int32_t length : {0, -1, -1000}) {
        std::uint8_t out = 0x55;
        EXPECT_FALSE(computeChecksum(data, length, out));
        EXPECT_EQ(out, 0x55);
    }
    std::uint8_t out = 0x55;
    EXPECT_FALSE(computeChecksum(nullptr, 3, out));
    EXPECT_EQ(out, 0x55);

    RomImage image;
    for (std::uint32_t end : {0u, 1000u, 1024u}) {
        EXPECT_FALSE(computeImageChecksum(image, end, out));
        EXPECT_EQ(out, 0x55);
    }
    EXPECT_TRUE(computeImageChecksum(image, 1025, out));
}

// Only bytes from 1024 up to, not including, the board's checksum byte count.
TEST(Checksum, CoversExactlyTheBoardsRange)
{
    struct Case {
        BoardModel board;
        std::uint32_t checksumAt;
    } const cases[] = {{BoardModel::Gtx660Ti, 0xFFFF}, {BoardModel::Gtx670, 0xF5FF}, {BoardModel::Gtx680, 0xFFFF}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.checksumAt);
        ImageSpec spec;
        spec.board = c.board;
        const auto valid = testing::buildImage(spec);
        const testing::TempDir dir;
        testing::MessageRecorder messages;

        auto loadWithByteBumped = [&](std::uint32_t offset) {
            auto bytes = valid;
            bytes[offset] = static_cast<std::uint8_t>(bytes[offset] + 1);
            BiosInfo info;
            EXPECT_TRUE(loadRomFile(dir.write("bent.rom", bytes), info));
            return info.checksumStored == info.checksumComputed;
        };
        EXPECT_TRUE(loadWithByteBumped(1023));
        EXPECT_TRUE(loadWithByteBumped(c.checksumAt + 1));
        EXPECT_FALSE(loadWithByteBumped(1024));
        EXPECT_FALSE(loadWithByteBumped(c.checksumAt - 1));
        EXPECT_FALSE(loadWithByteBumped(c.checksumAt));  // the stored byte itself
        EXPECT_TRUE(messages.messages().empty());
    }
}

}  // namespace
}  // namespace veltra
