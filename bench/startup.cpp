// Start-up of the real program, measured from outside: runs it several times
// under the start-up probe (startup_probe.cpp) in a fresh working folder and
// reports, as "name value" lines, the median time from process start to the
// libraries being loaded, to the window with its GL context, to the first
// presented frame and to the first menu frame (the one after the 45th
// update: 44 loader steps, then the menu), the time spent between opening and
// closing image and sound files (reading and decoding), and peak memory.
// Given a bare GLFW program as well, it alternates runs of the two and
// reports the bare window's times beside ours, as the reference.
//
// Usage: skitterbat_startup PROGRAM PROBE DATA_DIR [RUNS [BARE_PROGRAM]]
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kMenuUpdate = 45;
constexpr double kTimeoutSeconds = 30;

long long NowNs() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000000LL + ts.tv_nsec;
}

struct Run {
    double probeMs = -1;  // libraries loaded, before main
    double windowMs = -1; // window and GL context created
    double firstFrameMs = -1;
    double menuFrameMs = -1;
    double imageFileMs = 0; // open to close of every image file
    double soundFileMs = 0;
    int imageFiles = 0, soundFiles = 0;
    long peakKb = 0;
    int updates = 0;
};

long StatusKb(pid_t pid, const char* field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    const size_t length = std::strlen(field);
    while (std::getline(status, line))
        if (line.compare(0, length, field) == 0) return std::atol(line.c_str() + length + 1);
    return 0;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// firstFrameOnly: the run is over at the first presented frame (the bare window).
Run RunOnce(const std::string& program, const std::string& probe, const std::string& data,
            bool firstFrameOnly = false) {
    std::string folder = (fs::temp_directory_path() / "skitterbat-startup-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    fs::create_directory_symlink(fs::absolute(data), fs::path(folder) / "data");

    int fds[2];
    if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
    const long long start = NowNs();
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        setenv("LD_PRELOAD", probe.c_str(), 1);
        setenv("SKITTERBAT_PROBE_FD", std::to_string(fds[1]).c_str(), 1);
        setenv("ALSOFT_DRIVERS", "null", 0);
        if (chdir(folder.c_str()) != 0) _exit(127);
        if (!freopen("/dev/null", "w", stdout)) _exit(127);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);

    Run run;
    std::string pending;
    std::map<std::string, long long> opened;
    int updates = 0;
    bool done = false;
    while (!done && (NowNs() - start) / 1e9 < kTimeoutSeconds) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char buffer[4096];
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got <= 0) break;
        pending.append(buffer, static_cast<size_t>(got));
        size_t end;
        while (!done && (end = pending.find('\n')) != std::string::npos) {
            std::istringstream line(pending.substr(0, end));
            pending.erase(0, end + 1);
            char kind = 0;
            long long at = 0;
            std::string detail;
            line >> kind >> at;
            std::getline(line >> std::ws, detail);
            const double ms = static_cast<double>(at - start) / 1e6;
            if (kind == 'P') {
                run.probeMs = ms;
            } else if (kind == 'W') {
                if (run.windowMs < 0) run.windowMs = ms;
            } else if (kind == 'S') {
                if (run.firstFrameMs < 0) run.firstFrameMs = ms;
                if (updates >= kMenuUpdate || firstFrameOnly) {
                    run.menuFrameMs = ms;
                    done = true;
                }
            } else if (kind == 'U') {
                ++updates;
            } else if (kind == 'O') {
                opened[detail] = at;
            } else if (kind == 'C' && opened.count(detail)) {
                const double spent = static_cast<double>(at - opened[detail]) / 1e6;
                if (EndsWith(detail, ".png")) {
                    run.imageFileMs += spent;
                    ++run.imageFiles;
                } else {
                    run.soundFileMs += spent;
                    ++run.soundFiles;
                }
                opened.erase(detail);
            }
        }
    }
    run.peakKb = StatusKb(pid, "VmHWM:");
    run.updates = updates;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    close(fds[0]);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return run;
}

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s PROGRAM PROBE DATA_DIR [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
    const std::string bare = argc > 5 ? fs::absolute(argv[5]).string() : "";
    std::vector<double> libraries, window, first, menu, images, sounds, peak, bareWindow, bareFirst;
    int imageFiles = 0, soundFiles = 0;
    for (int i = 0; i < runs; ++i) {
        if (!bare.empty()) {
            const Run reference = RunOnce(bare, fs::absolute(argv[2]).string(), argv[3], true);
            if (reference.firstFrameMs < 0) {
                std::fprintf(stderr, "run %d: the bare window never showed a frame\n", i + 1);
                return 1;
            }
            bareWindow.push_back(reference.windowMs);
            bareFirst.push_back(reference.firstFrameMs);
        }
        // The program runs in its own folder: every path must be absolute.
        const Run run = RunOnce(fs::absolute(argv[1]).string(), fs::absolute(argv[2]).string(), argv[3]);
        if (run.menuFrameMs < 0) {
            std::fprintf(stderr, "run %d: the program never showed its menu (%d updates, first frame %s)\n",
                         i + 1, run.updates, run.firstFrameMs < 0 ? "never" : "shown");
            return 1;
        }
        libraries.push_back(run.probeMs);
        window.push_back(run.windowMs);
        first.push_back(run.firstFrameMs);
        menu.push_back(run.menuFrameMs);
        images.push_back(run.imageFileMs);
        sounds.push_back(run.soundFileMs);
        peak.push_back(static_cast<double>(run.peakKb));
        imageFiles = run.imageFiles;
        soundFiles = run.soundFiles;
    }
    std::printf("startup_runs %d\n", runs);
    std::printf("startup_libraries_ms %.1f\n", Median(libraries));
    std::printf("startup_window_ms %.1f\n", Median(window));
    std::printf("startup_first_frame_ms %.1f\n", Median(first));
    std::printf("startup_menu_frame_ms %.1f\n", Median(menu));
    std::printf("startup_image_files %d\n", imageFiles);
    std::printf("startup_image_decode_ms %.1f\n", Median(images));
    std::printf("startup_sound_files %d\n", soundFiles);
    std::printf("startup_sound_decode_ms %.1f\n", Median(sounds));
    std::printf("startup_peak_kb %.0f\n", Median(peak));
    if (!bare.empty()) {
        std::printf("startup_bare_window_ms %.1f\n", Median(bareWindow));
        std::printf("startup_bare_first_frame_ms %.1f\n", Median(bareFirst));
    }
    return 0;
}
