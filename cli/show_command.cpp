#include "commands.h"
#include "json_view.h"
#include "output.h"

namespace veltra::cli {

int runShow(const ShowOptions& options)
{
    int status = exitSuccess;
    bool first = true;
    for (const std::string& file : options.files) {
        FileMessages messages(file);
        const std::optional<LoadedImage> image = loadImage(file);
        // Go on with the other files; the failure shows in the status.
        if (!image) status = exitFailure;

        if (options.json) {
            Json record = recordJson("show", file, messages, image.has_value());
            if (image && options.offsets) {
                const Json identity = imageJson(*image);
                for (const char* name : {"name", "image", "layout"}) record[name] = identity[name];
                record["offsets"] = offsetsJson(image->info);
            } else if (image) {
                addMembers(record, imageJson(*image));
            }
            writeRecord(jsonLine(record));
        } else if (image) {
            const std::string block = options.offsets ? offsetsText(file, image->info) : imageText(file, *image);
            writeRecord(first ? block : "\n" + block);
            first = false;
        }
    }
    return status;
}

}  // namespace veltra::cli
