#pragma once

#include <string>
#include <vector>

#include "ui/command_line.h"
#include "ui/framework/window_system.h"

namespace veltra {

// Starts the program: the command line is read first; then the main window
// runs modally, and when it ends the program ends.
class CVeltraApp {
public:
    CVeltraApp() = default;
    virtual ~CVeltraApp() = default;

    // The whole program: prints help, the version or a usage error without
    // any window system, or starts one and runs InitInstance. Returns the
    // process's exit code.
    int Run(int argc, char** argv);
    // Runs the main window, with the command line's FILE opened in it; false,
    // since there is nothing to do afterwards. The window system runs.
    virtual bool InitInstance();
    // Run's steps for the given arguments, program name first, in a process
    // whose window system runs already.
    bool RunCommandLine(const std::vector<std::string>& arguments);
    // The process's exit code once InitInstance has returned.
    int ExitInstance() const { return m_exitCode; }

    // What the desktop is told of the program.
    static AppIdentity Identity();

private:
    // Prints what the command line asks to print; false when the program
    // ends there.
    bool ReadCommandLine(const std::vector<std::string>& arguments);

    CommandLine m_commandLine;
    int m_exitCode = 0;
};

extern CVeltraApp theApp;

}  // namespace veltra
