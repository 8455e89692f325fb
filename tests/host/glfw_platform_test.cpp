#include "host/glfw_platform.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

TEST(GlfwPlatform, ReportsTheRealWindowAndClock) {
    glfwWindowHint(GLFW_VISIBLE, GLFW_TRUE);
    GLFWwindow* window = glfwCreateWindow(200, 120, "platform test", nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    GlfwPlatform platform(window);

    int width = 0, height = 0;
    platform.WindowSize(&width, &height);
    EXPECT_EQ(width, 200);
    EXPECT_EQ(height, 120);
    platform.FramebufferSize(&width, &height);
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0);
    EXPECT_FALSE(platform.WindowIconified());

    double before = platform.Time();
    platform.Sleep(0.01);
    EXPECT_GT(platform.Time(), before);
    platform.Sleep(-1); // nothing to wait for

    // No joystick in a virtual X server: no data and a count of 0, also once
    // GLFW (initialised: it refuses mappings before) knows a standard pad layout.
    ASSERT_TRUE(glfwUpdateGamepadMappings(
        "030000005e0400008e02000014010000,Test Pad,a:b0,b:b1,x:b2,y:b3,back:b6,start:b7,"
        "dpleft:h0.8,dpup:h0.1,dpright:h0.2,dpdown:h0.4,leftx:a0,lefty:a1,platform:Linux,"));
    EXPECT_FALSE(glfwJoystickIsGamepad(GLFW_JOYSTICK_1));
    int count = -1;
    EXPECT_EQ(platform.JoystickAxes(&count), nullptr);
    EXPECT_EQ(count, 0);
    count = -1;
    EXPECT_EQ(platform.JoystickButtons(&count), nullptr);
    EXPECT_EQ(count, 0);

    // Sizes and the cursor are what the window's events last said, seen at
    // the poll that delivers them and never asked of the server meanwhile.
    platform.RegisterCallbacks();
    glfwSetWindowSize(window, 260, 150);
    glfwSetCursorPos(window, 30, 40);
    int x = -1, y = -1;
    for (int poll = 0; poll < 200 && (width != 260 || x != 30 || y != 40); ++poll) {
        platform.Sleep(0.005);
        platform.PollEvents();
        platform.WindowSize(&width, &height);
        platform.MousePosition(&x, &y);
    }
    EXPECT_EQ(width, 260);
    EXPECT_EQ(height, 150);
    platform.FramebufferSize(&width, &height);
    EXPECT_EQ(width, 260);
    EXPECT_EQ(x, 30);
    EXPECT_EQ(y, 40);
    EXPECT_TRUE(platform.WindowOpened());
    glfwSetWindowShouldClose(window, GLFW_TRUE);
    EXPECT_FALSE(platform.WindowOpened());
    glfwDestroyWindow(window);
}

TEST(GlfwPlatform, DesktopWithoutMonitorFallsBackToTheWindowSize) {
    // GLFW knows no monitor once it is shut down; a null monitor must never
    // reach GLFW, which aborts on it. The child re-runs the test on a connection
    // of its own, leaving the shared window alone.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            glfwTerminate();
            int width = 0;
            int height = 0;
            DesktopSize(&width, &height);
            std::fprintf(stderr, "%dx%d\n", width, height);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "640x640");
}
