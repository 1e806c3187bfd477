#include <iostream>

#include "commands.h"
#include "image_view.h"
#include "json_view.h"

namespace veltra::cli {

namespace {

std::vector<ShownLine> comparedLines(const BiosInfo& info)
{
    std::vector<ShownLine> lines = identityLines(info);
    for (ShownLine& line : valueLines(info)) lines.push_back(std::move(line));
    return lines;
}

}  // namespace

int runDiff(const DiffOptions& options)
{
    BiosInfo infoA;
    BiosInfo infoB;
    if (!loadImage(options.fileA, infoA) || !loadImage(options.fileB, infoB)) return exitUsage;

    // Every image has the same items in the same order, whatever its board.
    const std::vector<ShownLine> linesA = comparedLines(infoA);
    const std::vector<ShownLine> linesB = comparedLines(infoB);
    Json differences = Json::array();
    std::size_t count = 0;
    for (std::size_t i = 0; i < linesA.size(); ++i) {
        const ShownLine& a = linesA[i];
        const ShownLine& b = linesB[i];
        if (a.text == b.text) continue;
        ++count;
        if (options.json)
            differences.push_back(Json{{"field", a.name}, {"a", a.text}, {"b", b.text}});
        else
            std::cout << a.name << ": " << a.text << " -> " << b.text << '\n';
    }
    if (options.json) std::cout << jsonLine(differences) << '\n';
    return count == 0 ? exitSuccess : exitDiffers;
}

}  // namespace veltra::cli
