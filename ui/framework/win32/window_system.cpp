#include "win32.h"

#include <objbase.h>

#include "registry.h"
#include "win32_backend.h"
#include "../backend.h"
#include "../window_system.h"

namespace veltra {

struct WindowSystem::Toolkit {
    bool comStarted = false;
};

WindowSystem::WindowSystem(int&, char**, const AppIdentity& identity) : m_toolkit(std::make_unique<Toolkit>())
{
    // The version 6 controls the manifest asks for, the tab control among them.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    // The file dialogs browse folders through COM.
    m_toolkit->comStarted = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    win32::applicationName() = win32::wide(identity.name);
}

WindowSystem::~WindowSystem()
{
    if (m_toolkit->comStarted)
        CoUninitialize();
}

}  // namespace veltra

namespace veltra::backend {

std::vector<std::string> programArguments(int argc, char** argv)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments)
        return std::vector<std::string>(argv, argv + argc);
    std::vector<std::string> values;
    for (int i = 0; i < count; ++i)
        values.push_back(win32::utf8(arguments[i]));
    LocalFree(arguments);
    return values;
}

}  // namespace veltra::backend
