#pragma once

#include <cstdint>
#include <optional>

#include "bios_info.h"
#include "file_bytes.h"
#include "option_rom.h"

namespace veltra {

// The offset of the image's information table (FF B8 "BIT" 00), searched
// from the image's start to its end; none when the image has none.
std::optional<std::uint32_t> findInformationTable(const FileBytes& file, const LegacyImage& image);

// Sets every location of `info` from the information table at `table`: the
// texts through its string token, the fields through the six tables its
// performance token points to, the checksum byte at the image's end. Each
// table's version and sizes are checked first. False, with a message that
// names the table and what is wrong, and nothing of `info` changed, when a
// token or table is missing, of an unknown version, too small for a field,
// or not inside the file, and ("Bios tables overlap!") when two fields, or a
// field and the checksum byte, share a byte.
bool locateFromImageTables(const FileBytes& file, const LegacyImage& image, std::uint32_t table, BiosInfo& info);

}  // namespace veltra
