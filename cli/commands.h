#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "image_view.h"

namespace veltra::cli {

// Exit statuses. diff uses 1 for "the images differ", as diff(1) does, and 2
// for every kind of trouble.
constexpr int exitSuccess = 0;
constexpr int exitFailure = 1;
constexpr int exitDiffers = 1;
constexpr int exitUsage = 2;

struct ShowOptions {
    std::vector<std::string> files;
    bool json = false;
    bool offsets = false;  // where each item lies instead of its value
};

struct SetOptions {
    std::string file;
    std::optional<std::string> output;
    std::vector<std::string> pairs;
    bool json = false;
};

struct DiffOptions {
    std::string fileA;
    std::string fileB;
    bool json = false;
};

struct CheckOptions {
    std::vector<std::string> files;
    bool json = false;
};

int runShow(const ShowOptions& options);
int runSet(const SetOptions& options);
int runDiff(const DiffOptions& options);
int runCheck(const CheckOptions& options);

// Writes "veltra-cli COMMAND: PROBLEM (see ...)" to standard error and
// returns exitUsage. An empty command stands for the program as a whole.
int usageError(std::string_view command, std::string_view problem);

// loadRomFile, followed by "Load bios file failed!" when it fails, as the
// window does. The messages go to the caller's FileMessages.
std::optional<LoadedImage> loadImage(const std::string& path);

// The file a FILE argument names. Arguments are UTF-8 on every system; on
// Windows the system's own path form is UTF-16, not the code page's.
std::filesystem::path fileArgument(const std::string& argument);

// The text form of show for one image: file, identity, every value; one
// line each.
std::string imageText(const std::string& file, const LoadedImage& image);

// The text form of show --offsets: file, name, image, layout, then every
// item's file offsets.
std::string offsetsText(const std::string& file, const BiosInfo& info);

}  // namespace veltra::cli
