#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace veltra {

// What `veltra [FILE]` was asked for. It is read before any window system
// starts, so what only prints needs no display.
struct CommandLine {
    std::filesystem::path file;  // to open at start; empty for none
    // Set when the program only prints: --help and --version (0), or a
    // command line it cannot read (2).
    std::optional<int> exitCode;
    std::string standardOutput;
    std::string standardError;
};

// Reads the arguments, program name first, as UTF-8.
CommandLine readCommandLine(const std::vector<std::string>& arguments);

}  // namespace veltra
