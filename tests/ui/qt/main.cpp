#include <gtest/gtest.h>

#include <cstdlib>

#include "ui/framework/window_system.h"
#include "ui/veltra_app.h"

int main(int argc, char** argv)
{
    // The window tests need no display.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    veltra::WindowSystem windows(argc, argv, veltra::CVeltraApp::Identity());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
