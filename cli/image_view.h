#pragma once

#include <string>
#include <vector>

#include "rom/bios_info.h"

namespace veltra::cli {

// One `name = text` line of show: what the window shows for one item.
struct ShownLine {
    std::string name;
    std::string text;
};

// The identity of a loaded image: name, board, date, version, device-id,
// checksum. The file name is not part of it.
std::vector<ShownLine> identityLines(const BiosInfo& info);

// Every settable value, by its NAME, in the form `set` reads back.
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
