#include "commands.h"
#include "json_view.h"
#include "output.h"

namespace veltra::cli {

namespace {

const char* checksumWord(const std::optional<bool>& right)
{
    if (!right) return "checksum not checkable";
    return *right ? "checksum right" : "checksum wrong";
}

}  // namespace

// One line per file; a file passes when it loads and its checksum byte is
// right, the state a file should be in before it is flashed.
int runCheck(const CheckOptions& options)
{
    int status = exitSuccess;
    for (const std::string& file : options.files) {
        FileMessages messages(file);
        const std::optional<LoadedImage> image = loadImage(file);
        const std::optional<bool> right = image ? checksumRight(*image) : std::nullopt;
        const bool passes = image && right == true;
        if (!passes) status = exitFailure;

        if (options.json) {
            Json record = recordJson("check", file, messages, passes);
            if (image) {
                const Json items = imageJson(*image);
                for (const char* name : {"name", "image", "layout", "checksum"}) record[name] = items[name];
            }
            writeRecord(jsonLine(record));
        } else if (image) {
            writeRecord(escapeControls(file) + ": loads, " + boardName(image->info) + ", " + layoutName(image->info) +
                        ", " + checksumWord(right) + '\n');
        } else {
            writeRecord(escapeControls(file) + ": does not load\n");
        }
    }
    return status;
}

}  // namespace veltra::cli
