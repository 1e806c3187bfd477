// The whole load sequence over arbitrary file bytes, in memory, twice in a
// row, so that a failed load is seen to leave the previous one standing.
#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <string>

#include "fuzz/fuzz_support.h"
#include "rom/layout.h"
#include "rom/option_rom.h"
#include "rom/rom.h"
#include "tests/hardening/hardening_support.h"
#include "tests/support/image_builder.h"
#include "tests/support/temp_dir.h"

namespace veltra::fuzz {
namespace {

std::set<std::string> buildLoadMessages()
{
    std::set<std::string> messages = {
        "Cannot open bios file!", "Cannot read bios file!", "Bios file is too large!", "Unknow model!",
        "Read voltage error!", "Bios image length is wrong!",
        "Bios image does not fit in the file!", "Bios image header is damaged!", "Bios tables overlap!",
    };
    // A board without built-in locations, in a file without structure.
    for (const BoardEntry& board : boardTable)
        messages.insert(std::string(board.displayName) + " is not supported!");
    for (const BoardEntry& board : keplerBoards())
        messages.insert(std::string(board.displayName) + " is not supported!");
    // What the structure walk says of each table it reads.
    for (std::string table : {"bios information table", "string table", "pointer table", "clock table",
                              "memory clock table", "memory type table", "boost table", "power table", "fan table",
                              "voltage table"}) {
        std::string capitalised = table;
        capitalised[0] = static_cast<char>(capitalised[0] - 'a' + 'A');
        messages.insert({"Cannot find the " + table + "!", "Unknown " + table + " version!",
                         "Unknown " + table + " layout!", capitalised + " does not fit in the file!",
                         capitalised + " is too small!"});
    }
    return messages;
}

const std::set<std::string> loadMessages = buildLoadMessages();

// The structure walk alone, over a copy exactly as long as the file, so that
// the address sanitizer sees any read past its end: whatever the pointers,
// lengths and counts say, every located field must lie inside the table that
// holds it, and every table inside the file.
void walkExactCopy(const std::uint8_t* data, std::size_t size)
{
    if (size > RomImage::capacity)
        return;
    const std::vector<std::uint8_t> exact(data, data + size);
    const FileBytes file(exact.data(), static_cast<std::uint32_t>(size));
    testing::MessageRecorder quiet;
    const OptionRomSearch search = findLegacyImage(file);
    if (!search.ok || !search.image)
        return;
    BiosInfo info;
    placeIdentity(search.image, info);
    check(file.holds(info.layout.idsOffset, 4), "the ids lie inside the file");
    if (!chooseLayout(file, search.image, info) || info.layout.source != LayoutSource::ImageTables)
        return;
    const auto inside = [&](std::uint32_t offset, std::uint32_t width) { return file.holds(offset, width); };
    check(inside(info.checksumReadOffset, 1) && inside(info.versionText.offset, versionTextLength) &&
              inside(info.boardText.offset, boardTextLength) && inside(info.dateText.offset, dateTextLength),
          "the texts and the checksum byte lie inside the file");
    // Each field lies inside the table that holds it, and each table inside the file.
    const ImageLayout& l = info.layout;
    for (const TableExtent* table : {&l.clockTable, &l.memoryClockTable, &l.boostTable, &l.powerTable, &l.fanTable,
                                     &l.voltageTable, &l.clockRangeTable, &l.coolerTable})
        check(inside(table->offset, table->length), "every table lies inside the file");
    // An absent field lies nowhere.
    const auto in = [](const TableExtent& table, const auto& field, std::uint32_t width) {
        return !field.present || table.holds(field.offset, width);
    };
    bool held = in(l.clockTable, info.gpuClock, 2) && in(l.clockTable, info.boostClock, 2) &&
                in(l.memoryClockTable, info.memClock, 2) &&
                (!info.memClock.present || info.memClock.secondOffset == 0 ||
                 l.memoryClockTable.holds(info.memClock.secondOffset, 2)) &&
                in(l.fanTable, info.fanMin, 1) && in(l.fanTable, info.fanMax, 1) &&
                in(l.clockRangeTable, info.boostLimit, 2) && in(l.coolerTable, info.coolerFanMin, 1) &&
                in(l.coolerTable, info.coolerFanMax, 1);
    for (const auto* power : {&info.powerDefault, &info.powerMax, &info.powerLimitLo, &info.powerLimitHi})
        held = held && in(l.powerTable, *power, 4);
    check(info.boostTable.size() <= maxBoostEntryCount, "the boost ladder has at most 64 entries");
    for (const auto& entry : info.boostTable)
        held = held && in(l.boostTable, entry, 2);
    for (const auto& slot : info.voltage)
        held = held && in(l.voltageTable, slot, 4);
    check(held, "every field located from the image's tables lies inside the table that holds it");
    check(info.layout.checksumStartOffset < info.checksumReadOffset, "the checksum range is not empty");
}

struct Outcome {
    bool ok = false;
    BiosInfo info;
};

// The bytes of the last load that succeeded: what romImage() must still hold
// after any load that fails.
std::vector<std::uint8_t>& lastLoaded()
{
    static std::vector<std::uint8_t> bytes;
    return bytes;
}

// Whether romImage() holds these bytes; with `zerosPast`, also whether every
// byte past them is zero. memcmp, not a loop: the fuzzer instruments every
// comparison in a loop.
bool imageHolds(const std::uint8_t* data, std::size_t size, bool zerosPast)
{
    static const std::vector<std::uint8_t> zeros(RomImage::capacity, 0);
    const RomImage& image = romImage();
    return image.loadedLength == size && image.bytes.size() >= std::max<std::size_t>(size, RomImage::minimumSpan) &&
           (size == 0 || std::memcmp(image.bytes.data(), data, size) == 0) &&
           (!zerosPast || std::memcmp(image.bytes.data() + size, zeros.data(), image.bytes.size() - size) == 0);
}

// One load and its checks; `thorough` also checks the whole zero tail.
Outcome loadOnce(const std::uint8_t* data, std::size_t size, BiosInfo& info, bool thorough = false)
{
    const BiosInfo before = info;
    const std::uint8_t* imageBefore = romImage().bytes.data();

    testing::MessageRecorder recorder;
    const bool ok = loadRomBytes(data, size, info);
    if (!ok) {
        check(recorder.messages().size() == 1, "a failed load reports exactly one message");
        check(loadMessages.count(recorder.messages().front()) == 1, "a failed load reports a load message");
        check(info == before, "a failed load leaves the record as it was");
        check(romImage().bytes.data() == imageBefore && imageHolds(lastLoaded().data(), lastLoaded().size(), false),
              "a failed load leaves the image as it was");
        return {false, info};
    }
    check(recorder.messages().empty(), "a successful load reports nothing");
    check(imageHolds(data, size, thorough), "the image holds the file and zeros past it");
    check(findBoard(info.vendorId, info.deviceId) != nullptr, "only a known board loads");
    std::uint8_t computed = 0;
    check(computeImageChecksum(romImage(), info.layout.checksumStartOffset, info.checksumReadOffset, computed) &&
              computed == info.checksumComputed,
          "the computed checksum is the image's");
    for (const auto& slot : info.voltage)
        check(slot.present == info.voltage[0].present && (!slot.present || slot.value == info.voltage[0].value),
              "the voltage slots agree");
    lastLoaded().assign(data, data + size);
    return {true, info};
}

const std::vector<std::uint8_t>& validImage()
{
    static const std::vector<std::uint8_t> bytes = [] {
        testing::ImageSpec spec;
        spec.board = BoardModel::Gtx670;
        spec.length = 65536;
        return testing::buildImage(spec);
    }();
    return bytes;
}

}  // namespace

int loadTarget(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find(fileSeparator);
    BiosInfo info;
    walkExactCopy(data, split == std::string_view::npos ? size : split);
    // Whatever loaded before this input (another target, in the replay) is
    // what a failed load must leave standing.
    const RomImage& standing = romImage();
    lastLoaded().assign(standing.bytes.begin(), standing.bytes.begin() + standing.loadedLength);

    if (split != std::string_view::npos) {
        const std::size_t second = split + fileSeparator.size();
        loadOnce(data, split, info, true);
        loadOnce(data + second, size - second, info, true);
        return 0;
    }

    // One file: load it, then a valid image, then the file again. The valid
    // image must load whatever came before, and the file must do the same
    // thing both times.
    const Outcome first = loadOnce(data, size, info, true);
    const Outcome valid = loadOnce(validImage().data(), validImage().size(), info);
    check(valid.ok, "a valid image loads after any other load");
    const Outcome again = loadOnce(data, size, info);
    check(again.ok == first.ok, "a load gives the same result every time");
    if (first.ok)
        check(again.info == first.info, "a load decodes the same every time");
    return 0;
}

}  // namespace veltra::fuzz

VELTRA_FUZZ_ENTRY(loadTarget)
