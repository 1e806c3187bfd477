// Writes valid, synthetic images into the given folder: one per board with
// built-in locations, and a GeForce GTX 770 that opens through its own
// tables alone, with a boost ladder of 52 entries.
#include <filesystem>
#include <iostream>

#include "tests/support/image_builder.h"
#include "tests/support/structured_image.h"
#include "tests/support/temp_dir.h"

namespace {

// P-states are bits 5-8 of a voltage-frequency entry's first word; 15 is
// P0, whose range of extra entries at +2 and +3, less its lowest, is the
// ladder.
std::vector<std::uint8_t> gtx770Sample()
{
    veltra::testing::StructuredSpec spec;
    spec.values.deviceId = 0x1184;
    spec.values.boardText = "Veltra sample 770";
    veltra::testing::StructuredImage image = veltra::testing::buildStructuredImage(spec);
    std::vector<std::uint8_t>& bytes = image.bytes;
    const std::uint32_t table = image.tables.voltageFrequency;
    for (std::uint32_t i = 0; i < bytes[table + 3]; ++i) {
        const std::uint32_t entry = table + bytes[table + 1] + i * bytes[table + 2];
        if (((veltra::testing::getU16(bytes, entry) >> 5) & 0xF) == 15) {
            bytes[entry + 2] = 0;
            bytes[entry + 3] = 52;
        }
    }
    const std::uint32_t checksumAt = image.imageOffset + image.imageLength - 1;
    std::uint8_t sum = 0;
    for (std::uint32_t i = image.imageOffset; i < checksumAt; ++i)
        sum = static_cast<std::uint8_t>(sum + bytes[i]);
    bytes[checksumAt] = static_cast<std::uint8_t>(0x100 - sum);
    return bytes;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_samples FOLDER\n";
        return 2;
    }
    using veltra::BoardModel;
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    const struct {
        BoardModel board;
        const char* file;
        const char* boardText;
    } samples[] = {
        {BoardModel::Gtx660Ti, "gtx660ti.rom", "Veltra sample 660Ti"},
        {BoardModel::Gtx670, "gtx670.rom", "Veltra sample 670"},
        {BoardModel::Gtx680, "gtx680.rom", "Veltra sample 680"},
    };
    for (const auto& sample : samples) {
        veltra::testing::ImageSpec spec;
        spec.board = sample.board;
        spec.boardText = sample.boardText;
        veltra::testing::writeBytes(folder / sample.file, veltra::testing::buildImage(spec));
    }
    veltra::testing::writeBytes(folder / "gtx770.rom", gtx770Sample());
    return 0;
}
