// The desktop settings file: a small INI text, its folder under the XDG
// config home, reading that shrugs off damage, and writing through the
// atomic writer, which never tears it.
#include "desktop/desktop_settings.h"

#include "runtime/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far more than the file ever holds; anything larger is not ours.
constexpr size_t kMaxFileBytes = 64 * 1024;

std::string_view Trim(std::string_view text) {
    size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string_view::npos) return {};
    size_t end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] + 32) : a[i];
        if (x != b[i]) return false;
    }
    return true;
}

bool ParseBool(std::string_view value, bool* result) {
    for (const char* yes : {"true", "yes", "on", "1"}) {
        if (EqualsIgnoringCase(value, yes)) return *result = true, true;
    }
    for (const char* no : {"false", "no", "off", "0"}) {
        if (EqualsIgnoringCase(value, no)) return *result = false, true;
    }
    return false;
}

void Warn(const std::string& line) {
    std::fprintf(stderr, "skitterbat: %s\n", line.c_str());
}

// Like mkdir -p; new folders are private, as the XDG base directories ask.
bool MakeFolders(const std::string& folder) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        std::string part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) return true;
    }
}

} // namespace

bool ParseDesktopSettings(std::string_view text, DesktopSettings* settings, std::string* reason) {
    DesktopSettings parsed;
    std::string_view section;
    bool inSection = false;
    int number = 0;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = Trim(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        auto damaged = [&](const char* why) {
            *reason = "line " + std::to_string(number) + ": " + why;
            return false;
        };
        if (line.find('\0') != std::string_view::npos) return damaged("not text");
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        if (line[0] == '[') {
            if (line.back() != ']') return damaged("unclosed section name");
            section = Trim(line.substr(1, line.size() - 2));
            inSection = true;
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string_view::npos) return damaged("neither a section nor a key = value");
        if (!inSection) return damaged("key outside any section");
        std::string_view key = Trim(line.substr(0, equals));
        std::string_view value = Trim(line.substr(equals + 1));
        if (key.empty()) return damaged("empty key");
        if (section == "window" && key == "fullscreen" && !ParseBool(value, &parsed.fullscreen))
            return damaged("fullscreen is neither true nor false");
    }
    *settings = parsed;
    return true;
}

std::string FormatDesktopSettings(const DesktopSettings& settings) {
    std::string text = "# Skitterbat: how the window is shown. The game's own settings, badges\n"
                       "# and scores are in .cobaltstate.\n"
                       "[window]\n"
                       "fullscreen = ";
    text += settings.fullscreen ? "true\n" : "false\n";
    return text;
}

std::string DesktopSettingsPath() {
    // Relative values do not count, as the XDG base directories say.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || home[0] != '/') return {};
        base = std::string(home) + "/.config";
    }
    return base + "/skitterbat/settings.ini";
}

DesktopSettings LoadDesktopSettings(const std::string& path) {
    DesktopSettings settings;
    if (path.empty()) return settings;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno != ENOENT)
            Warn("cannot read " + path + " (" + std::strerror(errno) + "); using the defaults");
        return settings;
    }
    std::string text;
    char buffer[4096];
    int error = 0;
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) error = errno;
        if (got <= 0) break;
        text.append(buffer, static_cast<size_t>(got));
        if (text.size() > kMaxFileBytes) break;
    }
    ::close(fd);
    std::string reason;
    if (error != 0) {
        Warn("cannot read " + path + " (" + std::strerror(error) + "); using the defaults");
    } else if (text.size() > kMaxFileBytes) {
        Warn("ignoring " + path + ": larger than a settings file can be");
    } else if (!ParseDesktopSettings(text, &settings, &reason)) {
        Warn("ignoring damaged " + path + " (" + reason + ")");
    }
    return settings;
}

bool SaveDesktopSettings(const std::string& path, const DesktopSettings& settings) {
    if (path.empty()) return false;
    size_t slash = path.rfind('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash))) {
        Warn("cannot create the folder of " + path + " (" + std::strerror(errno) + ")");
        return false;
    }
    // A linked file (dotfile managers link it) stays a link: the writer replaces its target.
    return WriteFileAtomically(path.c_str(), FormatDesktopSettings(settings)) == 0;
}
