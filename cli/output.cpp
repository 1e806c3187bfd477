#include "output.h"

#include <cerrno>
#include <cstdio>
#include <iostream>

#include <unistd.h>

#include "image_view.h"
#include "rom/message.h"

namespace veltra::cli {
namespace {

bool failed = false;
FileMessages* innermost = nullptr;

bool writeAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void reportToStandardError(const std::string& message)
{
    if (innermost != nullptr) {
        innermost->report(message);
        return;
    }
    writeErrorLine("veltra-cli: " + message);
}

}  // namespace

bool writeRecord(std::string_view record)
{
    if (failed)
        return false;
    failed = !writeAll(STDOUT_FILENO, record);
    return !failed;
}

bool outputFailed()
{
    return failed;
}

void writeErrorLine(std::string_view line)
{
    std::string text(line);
    text += '\n';
    (void)writeAll(STDERR_FILENO, text);
}

FileMessages::FileMessages(std::string file) : m_file(std::move(file)), m_outer(innermost)
{
    innermost = this;
}

FileMessages::~FileMessages()
{
    innermost = m_outer;
}

void FileMessages::report(const std::string& text)
{
    m_messages.push_back({m_file, text});
    writeErrorLine("veltra-cli: " + escapeControls(m_file) + ": " + text);
}

void installMessageHandler()
{
    setMessageHandler(reportToStandardError);
}

}  // namespace veltra::cli
