#include "commands.h"
#include "json_view.h"
#include "output.h"

namespace veltra::cli {

namespace {

// The identity, then every value an image can have: the same names in the
// same order for every image, whatever its board.
std::vector<ValueLine> comparedLines(const BiosInfo& info)
{
    std::vector<ValueLine> lines;
    for (ShownLine& line : identityLines(info)) lines.push_back({std::move(line.name), std::move(line.text)});
    for (ValueLine& line : allValueLines(info)) lines.push_back(std::move(line));
    return lines;
}

// A value one image has and the other lacks reads "none" on the side that lacks it.
std::string comparedText(const std::optional<std::string>& text)
{
    return text.value_or("none");
}

Json comparedJson(const Json& items, const std::string& name)
{
    return items.contains(name) ? items[name] : Json(nullptr);
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

    const std::vector<ValueLine> linesA = comparedLines(a->info);
    const std::vector<ValueLine> linesB = comparedLines(b->info);
    const Json itemsA = imageJson(*a);
    const Json itemsB = imageJson(*b);
    Json differences = Json::array();
    std::string text;
    for (std::size_t i = 0; i < linesA.size(); ++i) {
        const ValueLine& lineA = linesA[i];
        const ValueLine& lineB = linesB[i];
        if (lineA.text == lineB.text) continue;
        differences.push_back(Json{
            {"name", lineA.name}, {"a", comparedJson(itemsA, lineA.name)}, {"b", comparedJson(itemsB, lineA.name)}});
        text += lineA.name + ": " + comparedText(lineA.text) + " -> " + comparedText(lineB.text) + '\n';
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
