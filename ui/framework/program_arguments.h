#pragma once

#include <string>
#include <vector>

namespace veltra {

// The program's command line as UTF-8, whatever the system hands main():
// on Windows the arguments are read again as the UTF-16 they were given in,
// so that any file name arrives whole.
class ProgramArguments {
public:
    ProgramArguments(int argc, char** argv);

    int& argc() { return m_argc; }
    char** argv() { return m_pointers.data(); }

private:
    std::vector<std::string> m_values;
    std::vector<char*> m_pointers;
    int m_argc = 0;
};

}  // namespace veltra
