#include <gtest/gtest.h>

#include <string>

#include "ui/framework/win32/win32.h"
#include "ui/framework/window_system.h"
#include "ui/veltra_app.h"

int main(int argc, char** argv)
{
    // A desktop of the process's own: the window tests make their window the
    // active one, and several test processes run at once.
    const std::wstring name = L"veltra-tests-" + std::to_wstring(GetCurrentProcessId());
    if (HDESK desktop = CreateDesktopW(name.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr))
        SetThreadDesktop(desktop);
    veltra::WindowSystem windows(argc, argv, veltra::CVeltraApp::Identity());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
