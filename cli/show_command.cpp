#include <iostream>

#include "commands.h"
#include "json_view.h"
#include "rom/image.h"

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
            std::cout << jsonLine(imageJson(file, info, romImage().loadedLength)) << '\n';
        } else {
            if (!first) std::cout << '\n';
            printImage(file, info);
        }
        first = false;
    }
    return status;
}

}  // namespace veltra::cli
