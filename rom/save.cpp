// The save sequence: encode at the located offsets, checksum, write.
#include <memory>
#include <optional>

#include "checksum.h"
#include "codec.h"
#include "file.h"
#include "message.h"
#include "rom_file.h"

namespace veltra {

std::uint8_t encodeImage(const BiosInfo& info, RomImage& out)
{
    out.copyFrom(romImage());
    encodeClocks(out, info);
    encodeBoostTable(out, info);
    encodePower(out, info);
    encodeFan(out, info);
    encodeVoltage(out, info);

    std::uint8_t checksum = info.checksumComputed;
    // An empty range keeps the previous byte; no layout gives one.
    computeImageChecksum(out, info.layout.checksumStartOffset, info.checksumReadOffset, checksum);
    out.writeU8(info.checksumWriteOffset, checksum);
    return checksum;
}

bool saveRomFile(const std::filesystem::path& path, BiosInfo& info)
{
    // Nothing loaded: there is no image to write, and an empty file must
    // never replace the user's.
    if (romImage().loadedLength == 0) {
        reportMessage("Cannot save bios file!");
        return false;
    }
    std::optional<SaveFile> file = openSaveFile(path);
    if (!file)
        return false;

    auto image = std::make_unique<RomImage>();
    const std::uint8_t checksum = encodeImage(info, *image);

    if (!writeFile(std::move(*file), *image))
        return false;

    std::swap(romImage(), *image);
    info.checksumComputed = checksum;
    return true;
}

}  // namespace veltra
