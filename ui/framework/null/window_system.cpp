// The null backend needs no window system: nothing starts or ends.
#include "../backend.h"
#include "../window_system.h"

namespace veltra {

struct WindowSystem::Toolkit {};

WindowSystem::WindowSystem(int&, char**, const AppIdentity&) : m_toolkit(std::make_unique<Toolkit>()) {}

WindowSystem::~WindowSystem() = default;

namespace backend {

std::vector<std::string> programArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace backend
}  // namespace veltra
