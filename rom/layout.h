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

// Once the ids have been read:
// - no option-ROM structure at all: the board's built-in locations
//   (selectBoardModel), which only the three boards have; any other board
//   is refused with "<name> is not supported!", an unknown one with
//   "Unknow model!";
// - a legacy image of a known board with an information table: every
//   location comes from the image's own tables (locateFromImageTables);
// - a legacy image without one, wherever it starts, is refused with "Cannot
//   find the bios information table!": the built-in locations fit only the
//   builds they were written for, and nothing in such a file says it is one.
// False after a message.
bool chooseLayout(const FileBytes& file, const std::optional<LegacyImage>& image, BiosInfo& info);

}  // namespace veltra
