#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltra::cli {

// Writes one record (a file's text block or JSON line) to standard output
// with a single write, so that runs sharing a pipe never tear each other's
// records. False when it could not be written; outputFailed() then stays true.
bool writeRecord(std::string_view record);
bool outputFailed();

// One line on standard error, in a single write.
void writeErrorLine(std::string_view line);

// While one lives, the image model's messages name the file the command is
// working on ("veltra-cli: card.rom: Unknow model!") and are kept for the
// command's record.
class FileMessages {
public:
    struct Message {
        std::string file;
        std::string text;
    };

    explicit FileMessages(std::string file);
    ~FileMessages();
    FileMessages(const FileMessages&) = delete;
    FileMessages& operator=(const FileMessages&) = delete;

    // The file that later messages are about (set saves to another file).
    void setFile(std::string file) { m_file = std::move(file); }
    const std::string& file() const { return m_file; }
    const std::vector<Message>& messages() const { return m_messages; }
    // A message of the command's own about the current file, reported the same way.
    void report(const std::string& text);

private:
    std::string m_file;
    std::vector<Message> m_messages;
    FileMessages* m_outer;
};

// Points the image model's messages at standard error, through the
// innermost FileMessages.
void installMessageHandler();

}  // namespace veltra::cli
