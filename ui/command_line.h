#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace veltra {

// What `veltra [FILE]` was asked for.
struct CommandLine {
    QString file;  // to open at start; empty for none
    // Set when the program only prints: --help and --version (0), or a
    // command line it cannot read (2).
    std::optional<int> exitCode;
    QString standardOutput;
    QString standardError;
};

// Reads the arguments, program name first.
CommandLine readCommandLine(const QStringList& arguments);

}  // namespace veltra
