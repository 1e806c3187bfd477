#include "commands.h"
#include "json_view.h"
#include "output.h"

namespace veltra::cli {

namespace {

std::vector<ShownLine> comparedLines(const BiosInfo& info)
{
    std::vector<ShownLine> lines = identityLines(info);
    for (ShownLine& line : valueLines(info)) lines.push_back(std::move(line));
    return lines;
}

Json diffRecord(const DiffOptions& options, const std::vector<const FileMessages*>& messages, bool ok)
{
    return Json{
        {"format", jsonFormatVersion},
        {"command", "diff"},
        {"files", Json::array({options.fileA, options.fileB})},
        {"ok", ok},
        {"errors", errorsJson(messages)},
    };
}

}  // namespace

int runDiff(const DiffOptions& options)
{
    FileMessages messagesA(options.fileA);
    const std::optional<LoadedImage> a = loadImage(options.fileA);
    FileMessages messagesB(options.fileB);
    const std::optional<LoadedImage> b = a ? loadImage(options.fileB) : std::nullopt;
    if (!a || !b) {
        if (options.json) writeRecord(jsonLine(diffRecord(options, {&messagesA, &messagesB}, false)));
        return exitUsage;
    }

    // Every image has the same items in the same order, whatever its board.
    const std::vector<ShownLine> linesA = comparedLines(a->info);
    const std::vector<ShownLine> linesB = comparedLines(b->info);
    const Json itemsA = imageJson(*a);
    const Json itemsB = imageJson(*b);
    Json differences = Json::array();
    std::string text;
    for (std::size_t i = 0; i < linesA.size(); ++i) {
        const ShownLine& lineA = linesA[i];
        const ShownLine& lineB = linesB[i];
        if (lineA.text == lineB.text) continue;
        differences.push_back(Json{{"name", lineA.name}, {"a", itemsA[lineA.name]}, {"b", itemsB[lineA.name]}});
        text += lineA.name + ": " + lineA.text + " -> " + lineB.text + '\n';
    }
    if (options.json) {
        Json record = diffRecord(options, {&messagesA, &messagesB}, true);
        record["differences"] = differences;
        writeRecord(jsonLine(record));
    } else if (!text.empty()) {
        writeRecord(text);
    }
    return differences.empty() ? exitSuccess : exitDiffers;
}

}  // namespace veltra::cli
