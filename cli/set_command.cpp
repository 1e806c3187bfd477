#include <charconv>
#include <set>
#include <utility>

#include "commands.h"
#include "json_view.h"
#include "output.h"
#include "rom/conversions.h"
#include "rom/rom_file.h"
#include "rom/rules.h"
#include "settable_values.h"

namespace veltra::cli {

namespace {

struct Assignment {
    const SettableValue* value;
    std::string text;  // blanks trimmed
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

// Reads every NAME=VALUE before any file is touched: the whole VALUE must be
// a number in the value's own form. On a problem, returns the usage
// message's text.
std::optional<std::string> parseAssignments(const std::vector<std::string>& pairs,
                                            std::vector<Assignment>& assignments)
{
    std::set<const SettableValue*> seen;
    for (const std::string& pair : pairs) {
        const auto equals = pair.find('=');
        if (equals == std::string::npos) return inQuotes(pair) + " is not NAME=VALUE";
        // Blanks around the name and the value let show's "name = value"
        // lines be fed back.
        const std::string_view name = trimBlanks(std::string_view(pair).substr(0, equals));
        const std::string_view text = trimBlanks(std::string_view(pair).substr(equals + 1));
        const SettableValue* value = findSettable(name);
        if (!value) return "unknown NAME " + inQuotes(name);
        if (!seen.insert(value).second) return "NAME " + inQuotes(name) + " is given twice";
        if (!isValueText(*value, text)) return value->name + " needs " + valueForm(*value) + ", not " + inQuotes(text);
        assignments.push_back({value, std::string(text)});
    }
    return std::nullopt;
}

// A requested decimal the file cannot hold exactly: what was asked and what
// the file now holds.
struct Inexact {
    std::string name;
    std::string requested;
    std::string stored;
};

std::vector<Inexact> inexactValues(const std::vector<Assignment>& assignments, const BiosInfo& written)
{
    const PageValues stored = pageValuesFrom(written);
    std::vector<Inexact> inexact;
    for (const Assignment& assignment : assignments) {
        if (assignment.value->reading != Reading::Decimal) continue;
        const std::string storedText = valueText(stored, *assignment.value);
        if (decimalValue(assignment.text) != decimalValue(storedText))
            inexact.push_back({assignment.value->name, assignment.text, storedText});
    }
    return inexact;
}

}  // namespace

int runSet(const SetOptions& options)
{
    std::vector<Assignment> assignments;
    if (const auto problem = parseAssignments(options.pairs, assignments))
        return usageError("set", *problem);

    const std::string target = options.output.value_or(options.file);
    FileMessages messages(options.file);
    const auto fail = [&] {
        if (options.json) {
            Json record = recordJson("set", target, messages, false);
            record["source"] = options.file;
            writeRecord(jsonLine(record));
        }
        return exitFailure;
    };

    std::optional<LoadedImage> loaded = loadImage(options.file);
    if (!loaded) return fail();
    BiosInfo& info = loaded->info;

    // Start from what the window would show, so unnamed values keep what the
    // file holds.
    PageValues values = pageValuesFrom(info);
    for (const Assignment& assignment : assignments) assignValue(values, *assignment.value, assignment.text);

    // The failing rule's message has been reported; nothing is written.
    if (commitPageValues(values, info)) return fail();

    messages.setFile(target);
    if (!saveRomFile(target, info)) return fail();

    // Show what is now on disk, not what was meant to be written.
    const std::optional<LoadedImage> written = loadImage(target);
    if (!written) return fail();

    const std::vector<Inexact> inexact = inexactValues(assignments, written->info);
    for (const Inexact& value : inexact)
        writeErrorLine("veltra-cli: " + escapeControls(target) + ": " + value.name + " = " + value.requested +
                       " is stored as " + value.stored);

    if (!options.json) {
        writeRecord(imageText(target, *written));
        return exitSuccess;
    }
    Json record = recordJson("set", target, messages, true);
    record["source"] = options.file;
    addMembers(record, imageJson(*written));
    Json notes = Json::array();
    for (const Inexact& value : inexact)
        notes.push_back(Json{{"name", value.name},
                             {"requested", decimalValue(value.requested)},
                             {"stored", decimalValue(value.stored)}});
    record["inexact"] = notes;
    writeRecord(jsonLine(record));
    return exitSuccess;
}

}  // namespace veltra::cli
