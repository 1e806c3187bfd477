#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "rom/bios_info.h"

namespace veltra::cli {

// A loaded image and the length of its file.
struct LoadedImage {
    BiosInfo info;
    std::uint32_t fileLength = 0;
};

// Whether the checksum byte agrees with the image; none when the file is too
// short to hold that byte, so that nothing can be said of it.
std::optional<bool> checksumRight(const LoadedImage& image);

// One `name = text` line of show: what the window shows for one item.
struct ShownLine {
    std::string name;
    std::string text;
};

// The identity of a loaded image: name, board, date, version, device-id,
// checksum, where the image starts and where its layout came from. The file
// name is not part of it.
std::vector<ShownLine> identityLines(const BiosInfo& info);

// Where one item lies in its file: one offset, or several for an item the
// file holds more than once; none for a value the image does not have.
struct OffsetLine {
    std::string name;  // as show names the item; the boost entries one by one
    std::vector<std::uint32_t> offsets;
    // The table entry of each offset; none for the identity's items.
    std::vector<FieldOrigin> origins;
};
// The identity's items, every value set takes (those the image lacks with
// no offsets, boost entries only as far as its ladder runs), then the
// read-only values the image has.
std::vector<OffsetLine> offsetList(const BiosInfo& info);

// The same as `name = 0x1234 (clock table, entry 1)` lines, for show
// --offsets: the map a user checks before flashing. Values the image does
// not have are left out.
std::vector<ShownLine> offsetLines(const BiosInfo& info);

// Where the places came from, as show --offsets says it after them:
// " (clock table, entry 1)", " (voltage table, entries 0 and 1)"; empty
// for built-in locations.
std::string originText(const std::vector<FieldOrigin>& origins);

// An offset as show prints it, and the name of the layout's source.
std::string hexOffset(std::uint32_t offset);
std::string layoutName(const BiosInfo& info);

// Every value show can print, by its NAME, in show's order: the values set
// takes, then the read-only ones. The text is in the form `set` reads back;
// none where the image does not have the value.
struct ValueLine {
    std::string name;
    std::optional<std::string> text;
};
std::vector<ValueLine> allValueLines(const BiosInfo& info);

// The values the image has, as show prints them.
std::vector<ShownLine> valueLines(const BiosInfo& info);

// The board's display name; empty for ids outside the board table.
std::string boardName(const BiosInfo& info);

// An 8-bit image text as UTF-8, each byte taken as Latin-1.
std::string latin1ToUtf8(const std::string& bytes);

// The same for a terminal: control characters become \xNN, so that a text in
// the image cannot break the one-line-per-item form or drive the terminal.
std::string terminalText(const std::string& bytes);

// A file name or an argument for a terminal: control characters become \xNN,
// every other byte stays as it is (the system's own encoding).
std::string escapeControls(const std::string& text);

}  // namespace veltra::cli
