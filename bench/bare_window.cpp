// The start-up reference: what GLFW alone costs to open a 640 x 640 window
// with a GL context and present one cleared frame on this X server. It keeps
// presenting until closed, like a program would.
#include <GL/gl.h>
#include <GLFW/glfw3.h>

int main() {
    if (!glfwInit()) return 1;
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    GLFWwindow* window = glfwCreateWindow(640, 640, "Cobalt Game", nullptr, nullptr);
    if (!window) return 1;
    glfwMakeContextCurrent(window);
    while (!glfwWindowShouldClose(window)) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glfwSwapBuffers(window);
        glfwWaitEventsTimeout(0.1);
    }
    glfwTerminate();
    return 0;
}
