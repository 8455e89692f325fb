// Real devices for host tests: a hidden GLFW window whose GL context is
// current, and an OpenAL context (ALSOFT_DRIVERS=null plays into nothing).
#pragma once

#include <AL/al.h>
#include <AL/alc.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

class HostEnvironment : public testing::Environment {
  public:
    void SetUp() override {
        ASSERT_TRUE(glfwInit()) << "host tests need an X server (run under xvfb-run)";
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        window_ = glfwCreateWindow(64, 64, "host tests", nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        glfwMakeContextCurrent(window_);
        device_ = alcOpenDevice(nullptr);
        ASSERT_NE(device_, nullptr) << "no OpenAL device (set ALSOFT_DRIVERS=null)";
        context_ = alcCreateContext(device_, nullptr);
        ASSERT_NE(context_, nullptr);
        ASSERT_TRUE(alcMakeContextCurrent(context_));
    }
    void TearDown() override {
        alcMakeContextCurrent(nullptr);
        if (context_) alcDestroyContext(context_);
        if (device_) alcCloseDevice(device_);
        if (window_) glfwDestroyWindow(window_);
        glfwTerminate();
    }

  private:
    GLFWwindow* window_ = nullptr;
    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
};
