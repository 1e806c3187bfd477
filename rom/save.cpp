// The save sequence: encode at the located offsets, checksum, write.
#include <exception>
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

namespace {

bool saveStaged(const std::filesystem::path& path, BiosInfo& info, const std::optional<FileIdentity>& unchangedSince)
{
    // Allocated before the temporary file exists, so that running out of
    // memory cannot leave one behind; encodeImage fills it.
    auto image = std::make_unique<RomImage>();
    std::optional<SaveFile> file = openSaveFile(path, unchangedSince);
    if (!file)
        return false;

    const std::uint8_t checksum = encodeImage(info, *image);

    if (!writeFile(std::move(*file), *image))
        return false;

    std::swap(romImage(), *image);
    info.checksumComputed = checksum;
    return true;
}

}  // namespace

bool saveRomFile(const std::filesystem::path& path, BiosInfo& info, const std::optional<FileIdentity>& unchangedSince)
{
    // Nothing loaded: there is no image to write, and an empty file must
    // never replace the user's.
    if (romImage().loadedLength == 0) {
        reportMessage("Cannot save bios file!");
        return false;
    }
    try {
        return saveStaged(path, info, unchangedSince);
    } catch (const std::exception&) {
        // Out of memory, most likely; a temporary file that existed has gone
        // with its SaveFile, and nothing was renamed.
        reportMessage("Cannot save bios file!");
        return false;
    }
}

}  // namespace veltra
