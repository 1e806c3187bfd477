// Writes the seed corpora of the three fuzz targets into FOLDER/load,
// FOLDER/conversions and FOLDER/roundtrip: one valid image per board and the
// bent variants the tests know, all synthetic.
#include <filesystem>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>

#include "fuzz/fuzz_support.h"
#include "tests/support/image_builder.h"
#include "tests/support/structured_image.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace veltra;
using namespace veltra::testing;
namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

// Seeds stay at 64 KiB unless the length is the point: large inputs slow
// every execution down.
constexpr std::uint32_t seedLength = 65536;

Bytes image(BoardModel board, const std::function<void(ImageSpec&)>& bend = {})
{
    ImageSpec spec;
    spec.board = board;
    spec.length = seedLength;
    if (bend)
        bend(spec);
    return buildImage(spec);
}

std::vector<std::pair<std::string, Bytes>> images()
{
    std::vector<std::pair<std::string, Bytes>> seeds = {
        {"gtx660ti", image(BoardModel::Gtx660Ti)},
        {"gtx670", image(BoardModel::Gtx670)},
        {"gtx680", image(BoardModel::Gtx680)},
        {"wrong-checksum", image(BoardModel::Gtx680, [](ImageSpec& s) { s.correctChecksum = false; })},
        {"voltage-disagrees", image(BoardModel::Gtx660Ti, [](ImageSpec& s) { s.voltageDwords[5] = 11760000; })},
        {"voltage-below-a-millivolt", image(BoardModel::Gtx670, [](ImageSpec& s) { s.voltageDwords[3] = 1175999; })},
        {"other-vendor", image(BoardModel::Gtx680, [](ImageSpec& s) { s.vendorId = 0x10DF; })},
        {"other-device", image(BoardModel::Gtx680, [](ImageSpec& s) { s.deviceId = 0x1400; })},
        {"kepler-without-structure", image(BoardModel::Gtx680, [](ImageSpec& s) { s.deviceId = 0x1184; })},
        {"gtx660", image(BoardModel::Gtx680, [](ImageSpec& s) { s.deviceId = 0x11C0; })},
        {"negative-memory-clock", image(BoardModel::Gtx680, [](ImageSpec& s) { s.memClockWord = 12288; })},
        {"memory-words-differ", image(BoardModel::Gtx670, [](ImageSpec& s) { s.memClockSecondWord = 20000; })},
        {"sub-watt-power", image(BoardModel::Gtx660Ti, [](ImageSpec& s) { s.powerDefaultMilliwatts = 170500; })},
        {"fan-below-rule", image(BoardModel::Gtx670, [](ImageSpec& s) { s.fanMin = 5; })},
        {"ends-after-ids", image(BoardModel::Gtx680, [](ImageSpec& s) { s.length = 1432; })},
        {"ends-inside-fields", image(BoardModel::Gtx680, [](ImageSpec& s) { s.length = 30000; })},
        {"ends-before-checksum", image(BoardModel::Gtx670, [](ImageSpec& s) { s.length = 62975; })},
        {"full-capacity", image(BoardModel::Gtx680, [](ImageSpec& s) { s.length = RomImage::capacity; })},
        {"past-capacity", image(BoardModel::Gtx680, [](ImageSpec& s) { s.length = RomImage::capacity + 1; })},
        {"one-byte", Bytes{0x55}},
    };
    // Files with a real structure: the walk from the option-ROM header to
    // each table is what these give the fuzzer to bend.
    const auto structured = [](BoardModel board, std::uint32_t imageOffset,
                               const std::function<void(StructuredSpec&)>& bend = {}) {
        StructuredSpec spec;
        spec.values.board = board;
        spec.imageOffset = imageOffset;
        if (bend)
            bend(spec);
        return buildStructuredImage(spec).bytes;
    };
    seeds.insert(seeds.end(), {
        {"tables-raw-660ti", structured(BoardModel::Gtx660Ti, 0)},
        {"tables-0x400-670", structured(BoardModel::Gtx670, 0x400)},
        {"tables-0x600-680", structured(BoardModel::Gtx680, 0x600)},
        {"tables-uefi-after", structured(BoardModel::Gtx660Ti, 0, [](StructuredSpec& s) { s.uefiLength = 0x2000; })},
        {"tables-power-after-uefi", structured(BoardModel::Gtx680, 0, [](StructuredSpec& s) {
             s.uefiLength = 0x1000;
             s.powerTableAfterUefi = true;
         })},
        {"tables-stock-680", buildStructuredImage(stock680Spec()).bytes},
        {"tables-no-npde", structured(BoardModel::Gtx670, 0, [](StructuredSpec& s) { s.npde = false; })},
    });
    // One image of each family of the other boards, its tables as those
    // builds make them; without their UEFI image and trailing data, which
    // only make every run longer.
    for (const BoardFamily family : boardFamilies) {
        StructuredSpec spec = familySpec(family);
        spec.uefiLength = 0;
        spec.trailingLength = 0;
        std::string name = std::string("family-") + familyName(family);
        for (char& c : name)
            if (c == ' ')
                c = '-';
        seeds.emplace_back(name, buildStructuredImage(spec).bytes);
    }
    return seeds;
}

Bytes joined(const Bytes& first, const Bytes& second)
{
    Bytes bytes = first;
    bytes.insert(bytes.end(), fuzz::fileSeparator.begin(), fuzz::fileSeparator.end());
    bytes.insert(bytes.end(), second.begin(), second.end());
    return bytes;
}

Bytes pageTexts(const std::function<std::string(std::size_t)>& textOf, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += textOf(i) + (i + 1 < count ? "\n" : "");
    return Bytes(text.begin(), text.end());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: make_seeds FOLDER\n";
        return 2;
    }
    const fs::path folder = argv[1];
    for (const char* target : {"load", "conversions", "roundtrip"})
        fs::create_directories(folder / target);

    const auto seeds = images();
    for (const auto& [name, bytes] : seeds) {
        writeBytes(folder / "load" / name, bytes);
        if (bytes.size() <= RomImage::capacity)
            writeBytes(folder / "roundtrip" / name, bytes);
    }
    // By name: a seed added to the list must not shift what these join.
    const auto seed = [&](const std::string& name) -> const Bytes& {
        for (const auto& [each, bytes] : seeds)
            if (each == name)
                return bytes;
        throw std::logic_error("no seed " + name);
    };
    writeBytes(folder / "load" / "valid-then-other-vendor", joined(seed("gtx680"), seed("other-vendor")));
    writeBytes(folder / "load" / "valid-then-voltage-disagrees", joined(seed("gtx670"), seed("voltage-disagrees")));
    writeBytes(folder / "load" / "unknown-then-valid", joined(seed("other-device"), seed("gtx660ti")));
    writeBytes(folder / "load" / "tables-then-built-in", joined(seed("tables-raw-660ti"), seed("gtx680")));
    writeBytes(folder / "load" / "family-then-tables", joined(seed("family-mobile-like"), seed("tables-raw-660ti")));

    // Page texts, one per line in commit order: 3 clocks, 45 boost entries,
    // the voltage, 4 power and 2 fan values.
    constexpr std::size_t lines = 3 + 45 + 1 + 6;
    const auto valid = [](std::size_t i) -> std::string {
        if (i < 48)
            return i == 2 ? "1502.50" : "1058.50";
        const char* rest[] = {"1175", "170", "225", "150", "250", "30", "85"};
        return rest[i - 48];
    };
    const std::string hostile[] = {"1e309", "-1e309", "nan", "inf", "0x200", "99999999999999999999", "-0", "   ",
                                   "1071,5", "2000.00001", "299.99", "4294968096", "1500mV", "  1200.7"};
    writeBytes(folder / "conversions" / "valid", pageTexts(valid, lines));
    for (std::size_t h = 0; h < std::size(hostile); ++h) {
        // Each hostile text in a different edit, so the walk fails at different rules.
        const std::size_t line = (h * 7) % lines;
        writeBytes(folder / "conversions" / ("hostile-" + std::to_string(h)),
                   pageTexts([&](std::size_t i) { return i == line ? hostile[h] : valid(i); }, lines));
    }
    std::string nul("1200\0" "9999", 9);
    writeBytes(folder / "conversions" / "embedded-nul",
               pageTexts([&](std::size_t i) { return i == 48 ? nul : valid(i); }, lines));
    writeBytes(folder / "conversions" / "long-text",
               pageTexts([&](std::size_t i) { return i == 0 ? "1500" + std::string(10000, 'x') : valid(i); }, lines));
    return 0;
}
