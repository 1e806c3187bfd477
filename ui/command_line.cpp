#include "command_line.h"

#include <CLI/CLI.hpp>

#include "ui/framework/text.h"
#include "ui/res/strings.h"

namespace veltra {

namespace {

// A usage error: what is wrong, then the whole usage.
CommandLine refused(const std::string& why, const CLI::App& parser)
{
    CommandLine line;
    line.exitCode = 2;
    line.standardError = why + "\n\n" + parser.help();
    return line;
}

}  // namespace

CommandLine readCommandLine(const std::vector<std::string>& arguments)
{
    CLI::App parser{res::commandLineDescription, arguments.empty() ? std::string(res::appName) : arguments.front()};
    // On Windows CLI11 would also take /name for an option, and so refuse a
    // FILE such as /cards/card.rom.
    parser.allow_windows_style_options(false);
    parser.set_help_flag("-h,--help", res::helpOptionText);
    parser.set_version_flag("-v,--version", std::string(res::appName) + " " + res::appVersion, res::versionOptionText);
    std::string file;
    parser.add_option("FILE", file, res::fileArgumentText)->type_name("");

    // CLI11 takes the arguments last first, without the program's name.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    if (!reversed.empty())
        reversed.pop_back();
    CommandLine line;
    try {
        parser.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        line.exitCode = 0;
        line.standardOutput = parser.help();
        return line;
    } catch (const CLI::CallForVersion& version) {
        line.exitCode = 0;
        line.standardOutput = std::string(version.what()) + "\n";
        return line;
    } catch (const CLI::ParseError& error) {
        return refused(error.what(), parser);
    }
    line.file = pathFromText(file);
    return line;
}

}  // namespace veltra
