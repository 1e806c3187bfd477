#include "cli_process.h"

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <errno.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

#include "tests/support/temp_dir.h"

namespace veltra::testing {

namespace {

std::string slurp(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

#ifdef _WIN32
using Process = HANDLE;

// One argument quoted as the C runtime's parser reads it back: backslashes
// count only before a quote.
std::wstring quoted(const std::wstring& argument)
{
    std::wstring text = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        text.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        text += c;
    }
    text.append(2 * backslashes, L'\\');
    return text + L"\"";
}

HANDLE inheritable(const std::filesystem::path& path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Files rather than pipes for its streams: nothing can block however much
// is written. The arguments go over as UTF-16, as a Windows shell passes them.
Process startCli(const std::vector<std::string>& args, const std::filesystem::path& outPath,
                 const std::filesystem::path& errPath)
{
    std::wstring command = quoted(std::filesystem::path(VELTRA_CLI_PATH).make_preferred().native());
    for (const std::string& arg : args) command += L" " + quoted(fromUtf8(arg).native());
    // Under Wine on a busy machine a start fails now and then; a few tries
    // tell that from a program that cannot start at all.
    DWORD error = 0;
    for (int attempt = 0; attempt < 3; ++attempt, ::Sleep(200)) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = inheritable("NUL", GENERIC_READ, OPEN_EXISTING);
        startup.hStdOutput = inheritable(outPath, GENERIC_WRITE, CREATE_ALWAYS);
        startup.hStdError = inheritable(errPath, GENERIC_WRITE, CREATE_ALWAYS);
        PROCESS_INFORMATION process{};
        const bool started = ::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                              &startup, &process);
        error = ::GetLastError();
        for (HANDLE stream : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) ::CloseHandle(stream);
        if (started) {
            ::CloseHandle(process.hThread);
            return process.hProcess;
        }
    }
    throw std::runtime_error("cannot start veltra-cli: error " + std::to_string(error));
}

int exitStatusOf(Process process)
{
    DWORD code = 0;
    const bool exited = ::WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0 &&
                        ::GetExitCodeProcess(process, &code);
    ::CloseHandle(process);
    return exited ? static_cast<int>(code) : -1;
}
#else
using Process = pid_t;

// Files rather than pipes for its streams: nothing can block however much
// is written.
Process startCli(const std::vector<std::string>& args, const std::filesystem::path& outPath,
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

int exitStatusOf(Process pid)
{
    int waitStatus = 0;
    while (waitpid(pid, &waitStatus, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}
#endif

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
    std::vector<Process> pids;
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

std::string utf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path fromUtf8(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

}  // namespace veltra::testing
