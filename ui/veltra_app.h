#pragma once

namespace veltra {

// Starts the program: the main window runs modally, and when it ends the
// program ends.
class CVeltraApp {
public:
    CVeltraApp() = default;
    virtual ~CVeltraApp() = default;

    // Runs the main window; false, since there is nothing to do afterwards.
    virtual bool InitInstance();
};

extern CVeltraApp theApp;

}  // namespace veltra
