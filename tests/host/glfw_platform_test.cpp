#include "host/glfw_platform.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

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

    glfwSetCursorPos(window, 30, 40);
    int x = -1, y = -1;
    platform.MousePosition(&x, &y);
    EXPECT_EQ(x, 30);
    EXPECT_EQ(y, 40);

    platform.RegisterCallbacks();
    platform.PollEvents();
    EXPECT_TRUE(platform.WindowOpened());
    glfwSetWindowShouldClose(window, GLFW_TRUE);
    EXPECT_FALSE(platform.WindowOpened());
    glfwDestroyWindow(window);
}
