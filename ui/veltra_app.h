#pragma once

#include <QStringList>

namespace veltra {

// Starts the program: the main window runs modally, and when it ends the
// program ends.
class CVeltraApp {
public:
    CVeltraApp() = default;
    virtual ~CVeltraApp() = default;

    // Reads the process's command line and runs the main window; false,
    // since there is nothing to do afterwards.
    virtual bool InitInstance();
    // The same for the given arguments, program name first: prints help, the
    // version or a usage error without a window, or runs the window with
    // FILE opened in it.
    bool RunCommandLine(const QStringList& arguments);
    // The process's exit code once InitInstance has returned.
    int ExitInstance() const { return m_exitCode; }

private:
    int m_exitCode = 0;
};

extern CVeltraApp theApp;

}  // namespace veltra
