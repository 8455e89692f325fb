// skitterbat-assets: writes the game's data folder (images at three
// resolution levels, fonts, sound effects) and optionally a contact sheet and
// the desktop icon and the page's icons.
// Usage: skitterbat-assets DATA_DIR [--preview FILE.png] [--icon FILE.png] [--web-icons DIR]
#include "art.h"
#include "effects.h"
#include "preview.h"
#include "sheets.h"
#include "synth.h"

#include <stb_image_write.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool writeBytes(const fs::path& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

// The page's icons, named as its manifest and index.html name them.
struct IconFile {
    const char* name;
    int size;
    void (*draw)(const View&, int);
};
constexpr IconFile kWebIcons[] = {
    {"icon-192.png", 192, drawAppIcon},
    {"icon-512.png", 512, drawAppIcon},
    {"icon-maskable-512.png", 512, drawMaskableIcon},
    {"apple-touch-icon.png", 180, drawMaskableIcon},
};

// The icon's drawing is 256 design units wide at any size.
bool writeIcon(const fs::path& path, int size, void (*draw)(const View&, int)) {
    Canvas canvas(size, size);
    draw(View{&canvas, 0, 0, size, size, size / 256.0f}, 0);
    return writePng(path.string(), size, size, canvas.rgba8());
}

// Runs the jobs on a few threads; each job owns its output, so the files do
// not depend on the order the jobs finish in.
void runAll(const std::vector<std::function<bool()>>& jobs, std::atomic<int>& failures) {
    std::atomic<size_t> next{0};
    unsigned count = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < count; ++t)
        threads.emplace_back([&] {
            for (size_t i = next++; i < jobs.size(); i = next++)
                if (!jobs[i]()) ++failures;
        });
    for (std::thread& t : threads) t.join();
}

} // namespace

int main(int argc, char** argv) {
    std::string previewPath, iconPath, webIconDir;
    bool usage = argc < 2 || argc % 2 != 0;
    for (int i = 2; !usage && i + 1 < argc; i += 2) {
        std::string option = argv[i];
        if (option == "--preview")
            previewPath = argv[i + 1];
        else if (option == "--icon")
            iconPath = argv[i + 1];
        else if (option == "--web-icons")
            webIconDir = argv[i + 1];
        else
            usage = true;
    }
    if (usage) {
        std::fprintf(stderr, "usage: %s DATA_DIR [--preview FILE.png] [--icon FILE.png] [--web-icons DIR]\n",
                     argv[0]);
        return 2;
    }
    fs::path out = argv[1];

    std::error_code ec;
    for (const char* sub : {"", "common", "fonts", "sfx"}) fs::create_directories(out / sub, ec);
    if (!fs::is_directory(out / "sfx")) {
        std::fprintf(stderr, "cannot create %s\n", (out / "sfx").c_str());
        return 1;
    }

    const auto& layouts = sheetLayouts();
    std::vector<PreviewItem> preview(layouts.size());
    std::vector<std::function<bool()>> jobs;
    // The largest sheets first, so the threads finish together.
    for (int level : {4, 2, 1})
        for (size_t i = 0; i < layouts.size(); ++i) {
            const SheetLayout& layout = layouts[i];
            if (!layout.levels && level != 1) continue;
            jobs.push_back([&, i, level] {
                Image c = renderSheet(layout, level);
                fs::path file = out / sheetFile(layout, level);
                bool ok = writePng(file.string(), c.width, c.height, c.rgba);
                if (!ok) std::fprintf(stderr, "cannot write %s\n", file.c_str());
                if (level == (layout.levels ? 2 : 1))
                    preview[i] = {layout.name,           c.width,          c.height, layout.frameW * level,
                                  layout.frameH * level, std::move(c.rgba)};
                return ok;
            });
        }
    for (int n : effectNumbers())
        jobs.push_back([&, n] {
            fs::path file = out / effectFile(n);
            bool ok = writeBytes(file, wavFile(synthesiseEffect(n), synth::kRate));
            if (!ok) std::fprintf(stderr, "cannot write %s\n", file.c_str());
            return ok;
        });

    // One fixed row filter (Paeth) instead of trying all five per row: half
    // the encoding time for files of much the same size.
    stbi_write_force_png_filter = 4;
    std::atomic<int> failures{0};
    runAll(jobs, failures);
    if (!iconPath.empty()) {
        Image icon = renderSheet({"icon", 256, 256, 1, 1, false, drawAppIcon}, 1);
        if (!writePng(iconPath, icon.width, icon.height, icon.rgba)) {
            std::fprintf(stderr, "cannot write %s\n", iconPath.c_str());
            ++failures;
        }
    }
    if (!webIconDir.empty()) {
        fs::create_directories(webIconDir, ec);
        for (const IconFile& icon : kWebIcons) {
            fs::path file = fs::path(webIconDir) / icon.name;
            if (!writeIcon(file, icon.size, icon.draw)) {
                std::fprintf(stderr, "cannot write %s\n", file.c_str());
                ++failures;
            }
        }
    }
    if (!previewPath.empty() && !writePreview(previewPath, preview)) {
        std::fprintf(stderr, "cannot write %s\n", previewPath.c_str());
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
