#include "tests/hardening/child_process.h"

#include <cerrno>
#include <csignal>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace veltra::testing {
namespace {

bool writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Exit codes of a child that could not set itself up, distinct from a body
// that ran.
constexpr int setupFailed = 90;
constexpr int reportFailed = 91;

[[noreturn]] void childMain(int out, const ChildOptions& options, const std::function<std::string()>& body)
{
    if (options.asNobody) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobodyId) != 0 || ::setuid(nobodyId) != 0)
            ::_exit(setupFailed);
    }
    if (options.fileSizeLimit) {
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(setupFailed);
    }
    const std::string report = body();
    // _exit: no destructors, no atexit handlers of the parent's test runner.
    ::_exit(writeAll(out, report) ? 0 : reportFailed);
}

}  // namespace

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

ChildOutcome runInChild(const ChildOptions& options, const std::function<std::string()>& body)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return {};
    }
    if (pid == 0) {
        ::close(fds[0]);
        childMain(fds[1], options, body);
    }
    ::close(fds[1]);

    ChildOutcome outcome;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        outcome.report.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);

    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    outcome.exitedNormally = WIFEXITED(status);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

}  // namespace veltra::testing
