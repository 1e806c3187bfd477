// Writes one valid, synthetic image per editable board into the given folder.
#include <filesystem>
#include <iostream>

#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

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
    return 0;
}
