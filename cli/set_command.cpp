#include <charconv>
#include <set>
#include <utility>

#include "commands.h"
#include "json_view.h"
#include "output.h"
#include "read_only_values.h"
#include "rom/conversions.h"
#include "rom/file.h"
#include "rom/message.h"
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
        if (isReadOnlyName(name)) return std::string(name) + " is read-only";
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

// The bytes of `image` where an assigned value lies.
std::vector<std::uint8_t> bytesOf(const Assignment& assignment, const BiosInfo& info, const RomImage& image)
{
    std::vector<std::uint8_t> bytes;
    for (const ByteSpan& span : assignment.value->spans(info))
        bytes.insert(bytes.end(), image.bytes.begin() + span.offset, image.bytes.begin() + span.offset + span.width);
    return bytes;
}

// The first assigned value that a file of `length` bytes cannot hold whole:
// a save would not write it.
const Assignment* beyondTheEnd(const std::vector<Assignment>& assignments, const BiosInfo& info,
                               std::uint32_t length)
{
    for (const Assignment& assignment : assignments)
        for (const ByteSpan& span : assignment.value->spans(info))
            if (span.offset >= length || span.width > length - span.offset) return &assignment;
    return nullptr;
}

// The first assigned value whose bytes differ between two images.
const Assignment* firstDiffering(const std::vector<Assignment>& assignments, const BiosInfo& info,
                                 const RomImage& a, const RomImage& b)
{
    for (const Assignment& assignment : assignments)
        if (bytesOf(assignment, info, a) != bytesOf(assignment, info, b)) return &assignment;
    return nullptr;
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

    // Held until the saved file has been read back: a second set on the same
    // file waits, then starts from what this one wrote.
    const std::optional<FileLock> lock = lockFile(fileArgument(options.file));
    std::optional<LoadedImage> loaded = loadImage(options.file);
    if (!loaded) return fail();
    BiosInfo& info = loaded->info;
    const std::optional<FileIdentity> source = romImage().source;

    // A value the image's tables do not define has no place to be written to.
    for (const Assignment& assignment : assignments) {
        if (!isPresent(info, *assignment.value)) {
            reportMessage("Cannot set " + assignment.value->name + ": the bios file has no such value!");
            return fail();
        }
    }
    if (const Assignment* missing = beyondTheEnd(assignments, info, loaded->fileLength)) {
        reportMessage("Cannot set " + missing->value->name + ": it lies beyond the end of the bios file!");
        return fail();
    }

    // Start from what the window would show, so unnamed values keep what the
    // file holds.
    PageValues values = pageValuesFrom(info);
    for (const Assignment& assignment : assignments) assignValue(values, *assignment.value, assignment.text);

    // The failing rule's message has been reported; nothing is written.
    if (commitPageValues(values, info)) return fail();

    // Replacing the loaded file: another program's change since the load is
    // refused, not overwritten.
    messages.setFile(target);
    const std::optional<FileIdentity> atTarget = options.output ? fileIdentity(fileArgument(target)) : source;
    const bool inPlace = source && atTarget && atTarget->sameFileAs(*source);
    if (!saveRomFile(fileArgument(target), info, inPlace ? source : std::nullopt)) return fail();
    const RomImage saved = romImage();

    // Show what is now on disk, not what was meant to be written.
    const std::optional<LoadedImage> written = loadImage(target);
    if (!written) return fail();
    if (const Assignment* differing = firstDiffering(assignments, info, saved, romImage())) {
        reportMessage("Bios file read back differs in " + differing->value->name + "!");
        return fail();
    }

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
