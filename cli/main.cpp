// veltra-cli: the image model from a terminal. Results go to standard output,
// every message to standard error.
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

#include <CLI/CLI.hpp>

#include "commands.h"
#include "output.h"
#include "rom/file.h"

using namespace veltra::cli;

namespace {

constexpr const char* namesFooter =
    "NAME is one of gpu-clock, boost-clock, mem-clock (MHz), boost-01 ... boost-64 (MHz,\n"
    "as far as the image's boost ladder runs), power-default, power-max,\n"
    "power-limit-lo, power-limit-hi (W), fan-min, fan-max (%), voltage (mV); a value\n"
    "the image does not have cannot be set. boost-limit, cooler-fan-min and\n"
    "cooler-fan-max are shown but read-only. VALUE is a decimal number for the\n"
    "clocks and a whole number for the others. Every value is checked as the\n"
    "editor checks it before anything is written; the saved file is read back and\n"
    "shown, and a value the file cannot hold exactly (clocks go in steps of\n"
    "0.5 MHz) is named on stderr.";

constexpr const char* diffFooter =
    "Exit status 0 when nothing differs, 1 when something does, 2 on trouble.";

constexpr const char* checkFooter =
    "Exit status 0 only when every file loads and its checksum byte is right.";

constexpr const char* programFooter =
    "Messages go to stderr, each naming its file. `veltra-cli set --help` lists\n"
    "every NAME; docs/json.md describes the --json records.";

// The subcommand a parse error belongs to, for the usage line.
std::string parsedCommand(const CLI::App& app)
{
    for (const CLI::App* sub : app.get_subcommands()) return sub->get_name();
    return "";
}

int run(int argc, char** argv)
{
    veltra::ignoreFileSizeLimitSignal();
    installMessageHandler();

    CLI::App app{"Shows, sets and compares the values of video BIOS images (*.rom).", "veltra-cli"};
    // Options are --long and -s alone: on Windows, CLI11 would also take
    // /name for an option, and so refuse a FILE such as /cards/card.rom.
    app.allow_windows_style_options(false);
    app.set_version_flag("--version", "veltra-cli " VELTRA_VERSION);
    app.require_subcommand(0, 1);
    app.footer(programFooter);

    ShowOptions show;
    CLI::App* showCommand = app.add_subcommand("show", "Print the identity and every value of each image.");
    CLI::Option* showFiles = showCommand->add_option("FILE", show.files, "Image files")->type_name("");
    showCommand->add_flag("--json", show.json, "One JSON object per file, one per line (docs/json.md)");
    showCommand->add_flag("--offsets", show.offsets, "Where each item lies in the file instead of its value");

    SetOptions set;
    CLI::App* setCommand = app.add_subcommand("set", "Change values, check them, save and show the result.");
    CLI::Option* setFile = setCommand->add_option("FILE", set.file, "Image file")->type_name("");
    setCommand->add_option("-o,--output", set.output, "Save to OUT instead of FILE")->option_text("OUT");
    setCommand->add_option("NAME=VALUE", set.pairs, "Values to set; none re-saves the file")->type_name("");
    setCommand->add_flag("--json", set.json, "The saved file's record as one line of JSON");
    setCommand->footer(namesFooter);

    DiffOptions diff;
    CLI::App* diffCommand = app.add_subcommand("diff", "List the identity items and values that differ.");
    CLI::Option* diffFileA = diffCommand->add_option("FILE_A", diff.fileA, "First image")->type_name("");
    CLI::Option* diffFileB = diffCommand->add_option("FILE_B", diff.fileB, "Second image")->type_name("");
    diffCommand->add_flag("--json", diff.json, "An array of {field, a, b}");
    diffCommand->footer(diffFooter);

    CheckOptions check;
    CLI::App* checkCommand =
        app.add_subcommand("check", "One line per file: loads, board, layout, checksum right or wrong.");
    CLI::Option* checkFiles = checkCommand->add_option("FILE", check.files, "Image files")->type_name("");
    checkCommand->add_flag("--json", check.json, "One JSON object per file, one per line");
    checkCommand->footer(checkFooter);

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& e) {
        return app.exit(e);  // --help or --version, on standard output
    } catch (const CLI::ParseError& e) {
        return usageError(parsedCommand(app), e.what());
    }

    int status = exitSuccess;
    if (showCommand->parsed()) {
        if (showFiles->count() == 0) return usageError("show", "missing FILE");
        status = runShow(show);
    } else if (setCommand->parsed()) {
        if (setFile->count() == 0) return usageError("set", "missing FILE");
        status = runSet(set);
    } else if (diffCommand->parsed()) {
        if (diffFileA->count() == 0) return usageError("diff", "missing FILE_A and FILE_B");
        if (diffFileB->count() == 0) return usageError("diff", "missing FILE_B");
        status = runDiff(diff);
    } else if (checkCommand->parsed()) {
        if (checkFiles->count() == 0) return usageError("check", "missing FILE");
        status = runCheck(check);
    } else {
        return usageError("", "missing command: show, set, diff or check");
    }

    // A result that did not reach its reader is a failure, not a success.
    if (outputFailed()) {
        writeErrorLine("veltra-cli: cannot write to standard output");
        return diffCommand->parsed() ? exitUsage : exitFailure;
    }
    return status;
}

}  // namespace

#ifdef _WIN32
// Windows hands the arguments over as UTF-16; the program works in UTF-8 as
// it does elsewhere. Its output is the same bytes as elsewhere too: UTF-8,
// and "\n" line ends rather than the C library's "\r\n".
int wmain(int argc, wchar_t** wargv)
{
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i) {
        const int size = ::WideCharToMultiByte(CP_UTF8, 0, wargv[i], -1, nullptr, 0, nullptr, nullptr);
        std::string argument(size > 0 ? static_cast<std::size_t>(size) : 1, '\0');
        if (size > 0) ::WideCharToMultiByte(CP_UTF8, 0, wargv[i], -1, argument.data(), size, nullptr, nullptr);
        argument.pop_back();
        arguments.push_back(std::move(argument));
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    ::SetConsoleOutputCP(CP_UTF8);
    return run(argc, argv.data());
}
#else
int main(int argc, char** argv)
{
    return run(argc, argv);
}
#endif
