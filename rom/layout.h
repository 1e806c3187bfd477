#pragma once

#include <optional>

#include "bios_info.h"
#include "file_bytes.h"
#include "option_rom.h"

namespace veltra {

// Before the board is known: where the texts and the ids are. A legacy
// image holds its ids in its PCI data structure; a file without one is read
// at the fixed locations.
void placeIdentity(const std::optional<LegacyImage>& image, BiosInfo& info);

// After the board has been selected, which set its built-in locations:
// - no option-ROM structure at all: the built-in locations stand;
// - a legacy image with an information table: every location comes from the
//   image's own tables (locateFromImageTables);
// - a legacy image without one, wherever it starts, is refused with "Cannot
//   find the bios information table!": the built-in locations fit only the
//   builds they were written for, and nothing in such a file says it is one.
// False after a message; `info` is then as it was.
bool chooseLayout(const FileBytes& file, const std::optional<LegacyImage>& image, BiosInfo& info);

}  // namespace veltra
