#pragma once

#include <functional>
#include <optional>
#include <string>

#include <sys/resource.h>

namespace veltra::testing {

// Faults that only a separate process can meet safely: a smaller file-size
// limit (a full disk) or the permissions of an ordinary user while the suite
// runs as root.
struct ChildOptions {
    bool asNobody = false;                  // drop to uid/gid 65534 first
    // RLIMIT_FSIZE, with SIGXFSZ at its default action, as for any program a
    // user starts: whatever the body runs must ignore it itself.
    std::optional<rlim_t> fileSizeLimit;
};

inline ChildOptions asNobody()
{
    return {.asNobody = true, .fileSizeLimit = std::nullopt};
}

inline ChildOptions withFileSizeLimit(rlim_t bytes)
{
    return {.asNobody = false, .fileSizeLimit = bytes};
}

struct ChildOutcome {
    bool exitedNormally = false;
    int exitCode = -1;
    std::string report;  // what the child's body returned
};

constexpr unsigned nobodyId = 65534;

// Cases that change owners or drop to another user need root; as anyone
// else they skip with this reason.
bool runningAsRoot();
constexpr const char* needsRoot = "needs root: it changes file owners or runs a child as another user";

// Forks, applies `options` in the child, runs `body` there and hands its
// text back through a pipe. The child never returns into the test framework.
ChildOutcome runInChild(const ChildOptions& options, const std::function<std::string()>& body);

}  // namespace veltra::testing
