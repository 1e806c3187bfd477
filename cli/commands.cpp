#include "commands.h"

#include "output.h"
#include "rom/image.h"
#include "rom/message.h"
#include "rom/rom_file.h"

namespace veltra::cli {

namespace {

std::string line(std::string_view name, std::string_view text)
{
    return std::string(name) + " = " + std::string(text) + '\n';
}

}  // namespace

int usageError(std::string_view command, std::string_view problem)
{
    const std::string program = command.empty() ? "veltra-cli" : "veltra-cli " + std::string(command);
    // The problem may quote what was typed; it must stay on its one line.
    writeErrorLine(program + ": " + escapeControls(std::string(problem)) + " (see " + program + " --help)");
    return exitUsage;
}

std::optional<LoadedImage> loadImage(const std::string& path)
{
    LoadedImage image;
    if (!loadRomFile(fileArgument(path), image.info)) {
        reportMessage("Load bios file failed!");
        return std::nullopt;
    }
    image.fileLength = romImage().loadedLength;
    return image;
}

std::filesystem::path fileArgument(const std::string& argument)
{
#ifdef _WIN32
    return std::filesystem::path(std::u8string(argument.begin(), argument.end()));
#else
    return argument;
#endif
}

std::string imageText(const std::string& file, const LoadedImage& image)
{
    std::string text = line("file", escapeControls(file));
    for (const ShownLine& shown : identityLines(image.info)) text += line(shown.name, shown.text);
    for (const ShownLine& shown : valueLines(image.info)) text += line(shown.name, shown.text);
    return text;
}

std::string offsetsText(const std::string& file, const BiosInfo& info)
{
    std::string text = line("file", escapeControls(file));
    text += line("name", boardName(info));
    for (const ShownLine& shown : identityLines(info))
        if (shown.name == "image" || shown.name == "layout") text += line(shown.name, shown.text);
    for (const ShownLine& shown : offsetLines(info)) text += line(shown.name, shown.text);
    return text;
}

}  // namespace veltra::cli
