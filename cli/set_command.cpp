#include <set>
#include <utility>

#include "commands.h"
#include "rom/conversions.h"
#include "rom/file.h"
#include "rom/rom_file.h"
#include "rom/rules.h"
#include "settable_values.h"

namespace veltra::cli {

namespace {

struct Assignment {
    const SettableValue* value;
    std::string text;
};

std::string_view trimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string inQuotes(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

// Reads every NAME=VALUE before any file is touched. On a problem, returns
// the usage message's text.
std::optional<std::string> parseAssignments(const std::vector<std::string>& pairs,
                                            std::vector<Assignment>& assignments)
{
    std::set<const SettableValue*> seen;
    for (const std::string& pair : pairs) {
        const auto equals = pair.find('=');
        if (equals == std::string::npos) return inQuotes(pair) + " is not NAME=VALUE";
        // Blanks around the name let show's "name = value" lines be fed back.
        const std::string_view name = trimBlanks(std::string_view(pair).substr(0, equals));
        const std::string text = pair.substr(equals + 1);
        const SettableValue* value = findSettable(name);
        if (!value) return "unknown NAME " + inQuotes(name);
        if (!seen.insert(value).second) return "NAME " + inQuotes(name) + " is given twice";
        if (value->reading == Reading::Unsigned && !parseUnsigned32(text))
            return value->name + " needs a whole number from 0 to 4294967295, not " + inQuotes(text);
        assignments.push_back({value, text});
    }
    return std::nullopt;
}

}  // namespace

int runSet(const SetOptions& options)
{
    std::vector<Assignment> assignments;
    if (const auto problem = parseAssignments(options.pairs, assignments))
        return usageError("set", *problem);

    // Held until the saved file has been read back: a second set on the same
    // file waits, then starts from what this one wrote.
    const std::optional<FileLock> lock = lockFile(options.file);
    BiosInfo info;
    if (!loadImage(options.file, info)) return exitFailure;
    const std::optional<FileIdentity> loaded = romImage().source;

    // Start from what the window would show, so unnamed values keep what the
    // file holds.
    PageValues values = pageValuesFrom(info);
    for (const Assignment& assignment : assignments) assignValue(values, *assignment.value, assignment.text);

    // The failing rule's message has been reported; nothing is written.
    if (commitPageValues(values, info)) return exitFailure;

    // Replacing the loaded file: another program's change since the load is
    // refused, not overwritten.
    const std::string target = options.output.value_or(options.file);
    const std::optional<FileIdentity> atTarget = options.output ? fileIdentity(target) : loaded;
    const bool inPlace = loaded && atTarget && atTarget->sameFileAs(*loaded);
    if (!saveRomFile(target, info, inPlace ? loaded : std::nullopt)) return exitFailure;

    // Show what is now on disk, not what was meant to be written.
    BiosInfo written;
    if (!loadImage(target, written)) return exitFailure;
    printImage(target, written);
    return exitSuccess;
}

}  // namespace veltra::cli
