#include <gtest/gtest.h>

#include "ui/framework/window_system.h"
#include "ui/veltra_app.h"

int main(int argc, char** argv)
{
    veltra::WindowSystem windows(argc, argv, veltra::CVeltraApp::Identity());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
