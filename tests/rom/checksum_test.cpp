#include <gtest/gtest.h>

#include "rom/rom.h"

namespace veltra {
namespace {

TEST(Checksum, TwosComplementOfTheByteSum)
{
    const std::uint8_t abc[] = {0x61, 0x62, 0x63};
    std::uint8_t out = 0x55;
    ASSERT_TRUE(computeChecksum(abc, 3, out));
    EXPECT_EQ(out, 0xDA);
}

}  // namespace
}  // namespace veltra
