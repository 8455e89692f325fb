// A preloaded library that watches the real program from outside its code:
// it wraps glfwCreateWindow (window and GL context ready), glfwSwapBuffers (a
// presented frame), glfwGetCursorPos (read once per update by the input
// device) and fopen/fclose of data files, and writes
// one line per event with its CLOCK_MONOTONIC time to the file descriptor
// named by SKITTERBAT_PROBE_FD. Only the benchmark launcher sets that.
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <time.h>
#include <unistd.h>

namespace {

int probeFd = -1;

long long NowNs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

void Emit(char kind, const char* detail) {
    if (probeFd < 0) return;
    char line[512];
    const int length = std::snprintf(line, sizeof line, "%c %lld %s\n", kind, NowNs(), detail ? detail : "");
    if (length > 0) (void)!write(probeFd, line, static_cast<size_t>(length < 511 ? length : 511));
}

template <class F> F Next(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// Open data files, so their close can name them.
constexpr int kTracked = 16;
FILE* trackedFiles[kTracked];
char trackedNames[kTracked][256];

__attribute__((constructor)) void StartProbe() {
    const char* fd = std::getenv("SKITTERBAT_PROBE_FD");
    if (fd != nullptr) probeFd = std::atoi(fd);
    Emit('P', "loaded");
}

} // namespace

extern "C" {

GLFWwindow* glfwCreateWindow(int width, int height, const char* title, GLFWmonitor* monitor,
                             GLFWwindow* share) {
    static auto real =
        Next<GLFWwindow* (*)(int, int, const char*, GLFWmonitor*, GLFWwindow*)>("glfwCreateWindow");
    GLFWwindow* window = real(width, height, title, monitor, share);
    Emit('W', "");
    return window;
}

void glfwSwapBuffers(GLFWwindow* window) {
    static auto real = Next<void (*)(GLFWwindow*)>("glfwSwapBuffers");
    real(window);
    Emit('S', "");
}

void glfwGetCursorPos(GLFWwindow* window, double* x, double* y) {
    static auto real = Next<void (*)(GLFWwindow*, double*, double*)>("glfwGetCursorPos");
    Emit('U', "");
    real(window, x, y);
}

FILE* fopen(const char* path, const char* mode) {
    static auto real = Next<FILE* (*)(const char*, const char*)>("fopen");
    FILE* file = real(path, mode);
    if (file != nullptr && path != nullptr && std::strstr(path, "data/") != nullptr) {
        Emit('O', path);
        for (int i = 0; i < kTracked; ++i) {
            if (trackedFiles[i] == nullptr) {
                trackedFiles[i] = file;
                std::snprintf(trackedNames[i], sizeof trackedNames[i], "%s", path);
                break;
            }
        }
    }
    return file;
}

int fclose(FILE* file) {
    static auto real = Next<int (*)(FILE*)>("fclose");
    const int result = real(file);
    for (int i = 0; i < kTracked; ++i) {
        if (file != nullptr && trackedFiles[i] == file) {
            trackedFiles[i] = nullptr;
            Emit('C', trackedNames[i]);
            break;
        }
    }
    return result;
}
}
