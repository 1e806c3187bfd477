#include "cli_process.h"

#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tests/support/temp_dir.h"

extern char** environ;

namespace veltra::testing {

namespace {

std::string slurp(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Files rather than pipes for its streams: nothing can block however much
// is written.
pid_t startCli(const std::vector<std::string>& args, const std::filesystem::path& outPath,
               const std::filesystem::path& errPath)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);

    std::vector<std::string> argv0 = {VELTRA_CLI_PATH};
    argv0.insert(argv0.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argv0) argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, VELTRA_CLI_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start veltra-cli");
    return pid;
}

int exitStatusOf(pid_t pid)
{
    int waitStatus = 0;
    while (waitpid(pid, &waitStatus, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

}  // namespace

CliRun runCli(const std::vector<std::string>& args, const std::filesystem::path& stdoutPath)
{
    TempDir streams;
    const std::filesystem::path outPath = stdoutPath.empty() ? streams / "stdout" : stdoutPath;
    CliRun run;
    run.status = exitStatusOf(startCli(args, outPath, streams / "stderr"));
    if (stdoutPath.empty()) run.out = slurp(outPath);
    run.err = slurp(streams / "stderr");
    return run;
}

std::vector<CliRun> runCliTogether(const std::vector<std::vector<std::string>>& commands)
{
    TempDir streams;
    std::vector<pid_t> pids;
    for (std::size_t i = 0; i < commands.size(); ++i)
        pids.push_back(startCli(commands[i], streams / ("out" + std::to_string(i)), streams / ("err" + std::to_string(i))));
    std::vector<CliRun> runs(commands.size());
    for (std::size_t i = 0; i < commands.size(); ++i) {
        runs[i].status = exitStatusOf(pids[i]);
        runs[i].out = slurp(streams / ("out" + std::to_string(i)));
        runs[i].err = slurp(streams / ("err" + std::to_string(i)));
    }
    return runs;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

}  // namespace veltra::testing
