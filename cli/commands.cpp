#include "commands.h"

#include <iostream>

#include "image_view.h"
#include "rom/rom_file.h"
#include "rom/message.h"

namespace veltra::cli {

int usageError(std::string_view command, std::string_view problem)
{
    const std::string program = command.empty() ? "veltra-cli" : "veltra-cli " + std::string(command);
    // The problem may quote what was typed; it must stay on its one line.
    std::cerr << program << ": " << escapeControls(std::string(problem)) << " (see " << program << " --help)\n";
    return exitUsage;
}

bool loadImage(const std::string& path, BiosInfo& info)
{
    if (loadRomFile(path, info)) return true;
    reportMessage("Load bios file failed!");
    return false;
}

void printImage(const std::string& file, const BiosInfo& info)
{
    std::cout << "file = " << escapeControls(file) << '\n';
    for (const ShownLine& line : identityLines(info)) std::cout << line.name << " = " << line.text << '\n';
    for (const ShownLine& line : valueLines(info)) std::cout << line.name << " = " << line.text << '\n';
}

void printOffsets(const std::string& file, const BiosInfo& info)
{
    std::cout << "file = " << escapeControls(file) << '\n';
    std::cout << "name = " << boardName(info) << '\n';
    for (const ShownLine& line : identityLines(info))
        if (line.name == "image" || line.name == "layout") std::cout << line.name << " = " << line.text << '\n';
    for (const ShownLine& line : offsetLines(info)) std::cout << line.name << " = " << line.text << '\n';
}

}  // namespace veltra::cli
