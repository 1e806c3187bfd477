// The load sequence: file, image, board, layout, checksum, fields.
#include <algorithm>
#include <utility>

#include "board.h"
#include "checksum.h"
#include "codec.h"
#include "file.h"
#include "layout.h"
#include "message.h"
#include "option_rom.h"
#include "rom_file.h"

namespace veltra {
namespace {

// One scratch image for every load, so that a load neither allocates nor
// copies: on success it is swapped with the program's image.
RomImage& scratchImage()
{
    static RomImage scratch;
    return scratch;
}


// Everything after the read, over the scratch image that holds the file.
bool loadScratchImage(BiosInfo& info)
{
    RomImage& image = scratchImage();
    const FileBytes file(image.bytes.data(), image.loadedLength);

    const OptionRomSearch search = findLegacyImage(file);
    if (!search.ok)
        return false;

    BiosInfo loaded;
    placeIdentity(search.image, loaded);
    loaded.vendorId = image.readU16(loaded.layout.idsOffset);
    loaded.deviceId = image.readU16(loaded.layout.idsOffset + 2);
    if (!chooseLayout(file, search.image, loaded))
        return false;

    loaded.checksumStored = image.readU8(loaded.checksumReadOffset);
    if (!computeImageChecksum(image, loaded.layout.checksumStartOffset, loaded.checksumReadOffset,
                              loaded.checksumComputed))
        return false;

    decodeTexts(image, loaded);
    decodeClocks(image, loaded);
    decodeBoostTable(image, loaded);
    decodePower(image, loaded);
    decodeFan(image, loaded);
    if (!decodeVoltage(image, loaded))
        return false;

    std::swap(romImage(), image);
    info = loaded;
    return true;
}

}  // namespace

bool loadRomFile(const std::filesystem::path& path, BiosInfo& info)
{
    return readFile(path, scratchImage()) && loadScratchImage(info);
}

bool loadRomBytes(const std::uint8_t* data, std::size_t size, BiosInfo& info)
{
    if (size > RomImage::capacity) {
        reportMessage("Bios file is too large!");
        return false;
    }
    RomImage& image = scratchImage();
    const auto length = static_cast<std::uint32_t>(size);
    std::copy_n(data, size, image.receive(length));
    image.received(length);
    return loadScratchImage(info);
}

}  // namespace veltra
