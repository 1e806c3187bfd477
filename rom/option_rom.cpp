#include "option_rom.h"

#include "checksum.h"
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
constexpr std::uint8_t legacyCodeType = 0;
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

// An image's two lengths in bytes: the PCI structure's, which reaches the
// next image, and the vendor extension's where it follows the PCI structure,
// which is the part the checksum covers (else the PCI structure's again).
// None when the structure is cut off by the end of the file.
struct Lengths {
    std::uint32_t pci, summed;
};
std::optional<Lengths> imageLengths(const FileBytes& file, std::uint32_t pcir)
{
    if (!file.holds(pcir, pcirSize))
        return std::nullopt;
    const std::uint32_t pci = std::uint32_t{*file.u16(pcir + pcirImageUnitsAt)} * imageAlignment;
    const std::uint64_t npde = (std::uint64_t{pcir} + *file.u16(pcir + pcirLengthAt) + 15) & ~std::uint64_t{15};
    if (file.matches(npde, "NPDE")) {
        if (const std::optional<std::uint16_t> units = file.u16(npde + npdeImageUnitsAt))
            return Lengths{pci, std::uint32_t{*units} * imageAlignment};
        return std::nullopt;
    }
    return Lengths{pci, pci};
}

// The length of a UEFI image that starts at `offset`, or 0.
std::uint32_t uefiImageLength(const FileBytes& file, std::uint64_t offset)
{
    if (offset >= file.length())
        return 0;
    const std::optional<std::uint32_t> pcir = pcirAt(file, static_cast<std::uint32_t>(offset));
    if (!pcir || file.u8(std::uint64_t{*pcir} + pcirCodeTypeAt) != uefiCodeType)
        return 0;
    const std::optional<Lengths> lengths = imageLengths(file, *pcir);
    return lengths ? lengths->pci : 0;
}

// True when the bytes sum to zero modulo 256, as a legacy image's do.
bool sumsToZero(const FileBytes& file, std::uint32_t offset, std::uint32_t length)
{
    std::uint8_t checksum = 0;
    const std::optional<const std::uint8_t*> bytes = file.bytes(offset, length);
    return bytes && computeChecksum(*bytes, static_cast<std::int32_t>(length), checksum) && checksum == 0;
}

// Anything that says the file holds an option ROM.
bool showsStructure(const FileBytes& file)
{
    for (std::uint64_t offset = 0; offset < file.length(); offset += imageAlignment)
        if (file.matches(offset, "\x55\xAA"))
            return true;
    return file.find("PCIR", 0, file.length()) || file.find(informationTableSignature, 0, file.length());
}

OptionRomSearch refuse(const char* message)
{
    reportMessage(message);
    return {false, std::nullopt};
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
        // The legacy image comes first; finding another first means its header is gone.
        if (file.u8(std::uint64_t{*pcir} + pcirCodeTypeAt) != legacyCodeType)
            return refuse("Bios image header is damaged!");
        const std::optional<Lengths> lengths = imageLengths(file, *pcir);
        if (!lengths)
            return refuse("Bios image does not fit in the file!");
        if (lengths->summed == 0 || lengths->summed > lengths->pci)
            return refuse("Bios image length is wrong!");
        if (!file.holds(offset, lengths->summed))
            return refuse("Bios image does not fit in the file!");
        // A shorter checksummed part is real on some boards; a damaged length
        // looks the same, except that its bytes do not sum to zero.
        if (lengths->summed < lengths->pci && !sumsToZero(file, static_cast<std::uint32_t>(offset), lengths->summed))
            return refuse("Bios image length is wrong!");
        LegacyImage image;
        image.offset = static_cast<std::uint32_t>(offset);
        image.pcirOffset = *pcir;
        image.length = lengths->summed;
        image.pciLength = lengths->pci;
        image.uefiLength = uefiImageLength(file, offset + lengths->pci);
        return {true, image};
    }
    if (showsStructure(file))
        return refuse("Bios image header is damaged!");
    return {true, std::nullopt};
}

}  // namespace veltra
