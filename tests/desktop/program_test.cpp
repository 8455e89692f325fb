// The real program in a private X server with a window manager.
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

void Nap() {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

// Starts a program; `env` entries replace or (with an empty value after '=') remove
// variables. Standard output goes to `out`, standard error to `err` (else nowhere).
pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env, const std::string& out,
            const std::string& err = "") {
    pid_t pid = fork();
    if (pid != 0) return pid;
    for (const std::string& entry : env) {
        size_t eq = entry.find('=');
        std::string name = entry.substr(0, eq), value = entry.substr(eq + 1);
        if (value.empty())
            unsetenv(name.c_str());
        else
            setenv(name.c_str(), value.c_str(), 1);
    }
    dup2(open(out.empty() ? "/dev/null" : out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDOUT_FILENO);
    dup2(open(err.empty() ? "/dev/null" : err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), STDERR_FILENO);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

// The exit status, or -1000 after killing a program that did not end in time.
int WaitFor(pid_t pid, int seconds) {
    for (int i = 0; i < seconds * 20; ++i) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status);
        Nap();
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1000;
}

std::string Capture(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char chunk[256];
        for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) text.append(chunk, n);
        pclose(pipe);
    }
    return text;
}

class Program : public TempDirTest {
  protected:
    void SetUp() override {
        TempDirTest::SetUp();
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        xvfb_ = fork();
        if (xvfb_ == 0) {
            close(fds[0]);
            int log = open(".xvfb.log", O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(log, STDERR_FILENO);
            std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x1024x24", "-nolisten",
                   "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // The number may come in pieces; closing early would fail the server's next write.
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        ASSERT_FALSE(number.empty()) << "Xvfb did not start";
        display_ = ":" + number;
        bool managed = false;
        for (int i = 0; i < 200 && !managed; ++i) {
            int status;
            if (windowManager_ <= 0 || waitpid(windowManager_, &status, WNOHANG) == windowManager_)
                windowManager_ = Spawn({"openbox"}, {"DISPLAY=" + display_}, "openbox.log", "openbox.log");
            managed = std::system(("DISPLAY=" + display_ + " wmctrl -m >/dev/null 2>&1").c_str()) == 0;
            if (!managed) Nap();
        }
        ASSERT_TRUE(managed) << "openbox did not start: " << ReadBytes("openbox.log")
                             << ReadBytes(".xvfb.log");
    }
    void TearDown() override {
        if (windowManager_ > 0) {
            kill(windowManager_, SIGTERM);
            WaitFor(windowManager_, 5);
        }
        if (xvfb_ > 0) {
            kill(xvfb_, SIGTERM);
            WaitFor(xvfb_, 5);
        }
        TempDirTest::TearDown();
    }

    std::string X(const std::string& command) {
        return Capture("DISPLAY=" + display_ + " " + command + " 2>/dev/null");
    }

    // The id of the game's window, once it is mapped.
    std::string FindWindow(pid_t program) {
        for (int i = 0; i < 600; ++i) { // up to 30 s
            std::string id = X("xdotool search --onlyvisible --name '^Cobalt Game$'");
            if (!id.empty()) return id.substr(0, id.find('\n'));
            int status;
            if (waitpid(program, &status, WNOHANG) == program) return "";
            Nap();
        }
        return "";
    }

    int XwininfoValue(const std::string& info, const std::string& key) {
        size_t at = info.find(key);
        return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + key.size());
    }

    pid_t xvfb_ = -1;
    pid_t windowManager_ = -1;
    std::string display_;
};

} // namespace

TEST_F(Program, OpensItsWindowAndEndsCleanlyWhenClosed) {
    pid_t game = Spawn({SKITTERBAT_PROGRAM}, {"DISPLAY=" + display_, "ALSOFT_DRIVERS=null"}, "out.txt");
    std::string id = FindWindow(game);
    ASSERT_FALSE(id.empty()) << "no window; output: " << ReadBytes("out.txt");

    std::string info = X("xwininfo -id " + id);
    EXPECT_EQ(XwininfoValue(info, "Width: "), 640) << info;
    EXPECT_EQ(XwininfoValue(info, "Height: "), 640) << info;
    // Centred on the 1280 x 1024 desktop.
    EXPECT_EQ(XwininfoValue(info, "Absolute upper-left X: "), 320) << info;
    EXPECT_EQ(XwininfoValue(info, "Absolute upper-left Y: "), 192) << info;
    EXPECT_NE(info.find("\"Cobalt Game\""), std::string::npos) << info;

    X("wmctrl -c 'Cobalt Game'");
    EXPECT_EQ(WaitFor(game, 30), 0);
    EXPECT_EQ(ReadBytes("out.txt").find("failed"), std::string::npos) << ReadBytes("out.txt");
}

TEST_F(Program, RunsWithoutSoundAndSaysSo) {
    pid_t game =
        Spawn({SKITTERBAT_PROGRAM}, {"DISPLAY=" + display_, "ALSOFT_DRIVERS=no-such-backend"}, "out.txt");
    ASSERT_FALSE(FindWindow(game).empty()) << ReadBytes("out.txt");
    X("wmctrl -c 'Cobalt Game'");
    EXPECT_EQ(WaitFor(game, 30), 0);
    EXPECT_EQ(ReadBytes("out.txt").rfind("alcOpenDevice failed\n", 0), 0u) << ReadBytes("out.txt");
}

using ProgramWithoutDisplay = TempDirTest;

TEST_F(ProgramWithoutDisplay, FailsAtOnce) {
    pid_t game = Spawn({SKITTERBAT_PROGRAM}, {"DISPLAY=", "WAYLAND_DISPLAY="}, "out.txt");
    EXPECT_EQ(WaitFor(game, 30), 255);
    EXPECT_EQ(ReadBytes("out.txt"), "glfwInit failed\n");
}
