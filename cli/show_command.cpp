#include <iostream>

#include "commands.h"
#include "json_view.h"

namespace veltra::cli {

int runShow(const ShowOptions& options)
{
    int status = exitSuccess;
    bool first = true;
    for (const std::string& file : options.files) {
        BiosInfo info;
        if (!loadImage(file, info)) {
            // Go on with the other files; the failure shows in the status.
            status = exitFailure;
            continue;
        }
        if (options.json) {
            std::cout << jsonLine(options.offsets ? offsetsJson(file, info) : imageJson(file, info)) << '\n';
        } else {
            if (!first) std::cout << '\n';
            if (options.offsets)
                printOffsets(file, info);
            else
                printImage(file, info);
        }
        first = false;
    }
    return status;
}

}  // namespace veltra::cli
