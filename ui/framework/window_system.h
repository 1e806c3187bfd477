#pragma once

#include <memory>
#include <string>

namespace veltra {

// What the desktop is told of the program.
struct AppIdentity {
    std::string name;          // message boxes' title
    std::string version;
    std::string desktopEntry;  // the desktop entry's name, without ".desktop"
};

// The toolkit, from its start to its end. One per process, made after the
// command line has been read and before the first window; windows end before
// it does.
class WindowSystem {
public:
    // The toolkit may read and remove its own arguments.
    WindowSystem(int& argc, char** argv, const AppIdentity& identity);
    ~WindowSystem();
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;

private:
    struct Toolkit;
    std::unique_ptr<Toolkit> m_toolkit;
};

}  // namespace veltra
