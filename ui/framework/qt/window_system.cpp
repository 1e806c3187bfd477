#include "../window_system.h"

#include <QApplication>

#include "qt_backend.h"
#include "registry.h"
#include "../backend.h"

namespace veltra {

struct WindowSystem::Toolkit {
    Toolkit(int& argc, char** argv) : application(argc, argv) {}
    QApplication application;
};

WindowSystem::WindowSystem(int& argc, char** argv, const AppIdentity& identity)
    : m_toolkit(std::make_unique<Toolkit>(argc, argv))
{
    QApplication::setApplicationName(QString::fromStdString(identity.name));
    QApplication::setApplicationVersion(QString::fromStdString(identity.version));
    // Wayland finds the window's icon and name through its desktop entry.
    QGuiApplication::setDesktopFileName(QString::fromStdString(identity.desktopEntry));
    qt::startReporting();
}

WindowSystem::~WindowSystem() = default;

}  // namespace veltra

namespace veltra::backend {

std::vector<std::string> programArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

}  // namespace veltra::backend
