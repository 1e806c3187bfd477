#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace veltra::testing {

// What one run of veltra-cli left behind.
struct CliRun {
    std::string out;
    std::string err;
    int status = -1;  // exit status; -1 when it did not exit normally
};

// Runs veltra-cli with `args`, standard input empty. Standard output goes to
// `stdoutPath` when one is given (e.g. /dev/full), else it is captured.
CliRun runCli(const std::vector<std::string>& args, const std::filesystem::path& stdoutPath = {});

// Starts one veltra-cli per argument list at once and waits for them all.
std::vector<CliRun> runCliTogether(const std::vector<std::vector<std::string>>& commands);

// A path as veltra-cli takes and prints it (UTF-8 on every system), and back.
std::string utf8(const std::filesystem::path& path);
std::filesystem::path fromUtf8(const std::string& text);

// Splits text into lines without their newlines.
std::vector<std::string> lines(const std::string& text);

}  // namespace veltra::testing
