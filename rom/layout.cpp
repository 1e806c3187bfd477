#include "layout.h"

#include "bit_tables.h"
#include "board.h"
#include "message.h"

namespace veltra {
namespace {

constexpr std::uint32_t pcirVendorIdAt = 0x04;  // the device id follows

}  // namespace

void placeIdentity(const std::optional<LegacyImage>& image, BiosInfo& info)
{
    info.versionText.offset = versionTextOffset;
    info.boardText.offset = boardTextOffset;
    info.dateText.offset = dateTextOffset;
    info.layout.idsOffset = image ? image->pcirOffset + pcirVendorIdAt : vendorIdOffset;
}

bool chooseLayout(const FileBytes& file, const std::optional<LegacyImage>& image, BiosInfo& info)
{
    if (image) {
        if (findBoard(info.vendorId, info.deviceId) == nullptr) {
            reportMessage("Unknow model!");
            return false;
        }
        if (const std::optional<std::uint32_t> table = findInformationTable(file, *image))
            return locateFromImageTables(file, *image, *table, info);
        reportMessage("Cannot find the bios information table!");
        return false;
    }
    if (!selectBoardModel(info))
        return false;
    info.layout.source = LayoutSource::BuiltInTable;
    info.layout.imageOffset = std::nullopt;
    info.layout.checksumStartOffset = builtInImageOffset;
    return true;
}

}  // namespace veltra
