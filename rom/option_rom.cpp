#include "option_rom.h"

#include "message.h"

namespace veltra {
namespace {

constexpr std::uint32_t imageAlignment = 512;
constexpr std::uint32_t pcirPointerAt = 0x18;
constexpr std::uint32_t pcirSize = 0x18;  // the fields read here; its own length may be larger
constexpr std::uint32_t pcirLengthAt = 0x0A;
constexpr std::uint32_t pcirImageUnitsAt = 0x10;
constexpr std::uint32_t pcirCodeTypeAt = 0x14;
constexpr std::uint32_t npdeImageUnitsAt = 0x08;
constexpr std::uint8_t uefiCodeType = 3;

// An image header at `offset`: 55 AA and a pointer to "PCIR" in the file.
// Returns the PCI data structure's offset.
std::optional<std::uint32_t> pcirAt(const FileBytes& file, std::uint32_t offset)
{
    if (!file.matches(offset, "\x55\xAA"))
        return std::nullopt;
    const std::optional<std::uint16_t> pointer = file.u16(std::uint64_t{offset} + pcirPointerAt);
    if (!pointer)
        return std::nullopt;
    const std::uint64_t pcir = std::uint64_t{offset} + *pointer;
    if (!file.matches(pcir, "PCIR"))
        return std::nullopt;
    return static_cast<std::uint32_t>(pcir);
}

// The image's length in bytes: the vendor extension's where it follows the
// PCI data structure (the PCI structure's own count is not reliable on
// these boards), else the PCI structure's. None when the structure is cut
// off by the end of the file.
std::optional<std::uint32_t> imageLength(const FileBytes& file, std::uint32_t pcir)
{
    if (!file.holds(pcir, pcirSize))
        return std::nullopt;
    const std::uint64_t npde = (std::uint64_t{pcir} + *file.u16(pcir + pcirLengthAt) + 15) & ~std::uint64_t{15};
    if (file.matches(npde, "NPDE")) {
        if (const std::optional<std::uint16_t> units = file.u16(npde + npdeImageUnitsAt))
            return std::uint32_t{*units} * imageAlignment;
    }
    return std::uint32_t{*file.u16(pcir + pcirImageUnitsAt)} * imageAlignment;
}

// The length of a UEFI image that starts at `offset`, or 0.
std::uint32_t uefiImageLength(const FileBytes& file, std::uint64_t offset)
{
    if (offset >= file.length())
        return 0;
    const std::optional<std::uint32_t> pcir = pcirAt(file, static_cast<std::uint32_t>(offset));
    if (!pcir || file.u8(std::uint64_t{*pcir} + pcirCodeTypeAt) != uefiCodeType)
        return 0;
    return imageLength(file, *pcir).value_or(0);
}

}  // namespace

OptionRomSearch findLegacyImage(const FileBytes& file)
{
    for (std::uint64_t offset = 0; offset < file.length(); offset += imageAlignment) {
        // Most boundaries of a file without a signature fail at the first byte.
        if (file.u8(offset) != std::uint8_t{0x55})
            continue;
        const std::optional<std::uint32_t> pcir = pcirAt(file, static_cast<std::uint32_t>(offset));
        if (!pcir)
            continue;
        const std::optional<std::uint32_t> length = imageLength(file, *pcir);
        if (length == 0u) {
            reportMessage("Bios image length is wrong!");
            return {false, std::nullopt};
        }
        if (!length || !file.holds(offset, *length)) {
            reportMessage("Bios image does not fit in the file!");
            return {false, std::nullopt};
        }
        LegacyImage image;
        image.offset = static_cast<std::uint32_t>(offset);
        image.pcirOffset = *pcir;
        image.length = *length;
        image.uefiLength = uefiImageLength(file, offset + *length);
        return {true, image};
    }
    return {true, std::nullopt};
}

}  // namespace veltra
