#pragma once

#include <filesystem>
#include <string>

namespace veltra {

// printf into a string; for integers and text, which no locale changes.
std::string formatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// A path as the window shows it (UTF-8), and a UTF-8 text as a path.
std::string pathText(const std::filesystem::path& path);
std::filesystem::path pathFromText(const std::string& text);

}  // namespace veltra
