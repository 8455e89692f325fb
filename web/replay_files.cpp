// Replay files in and out of the page: a file the page hands over (dropped,
// picked or carried by a link) goes to the game to watch once it is on its
// menu, a replay the player exports becomes a download, and the page's own
// controls show while no round is played.
#include "web/web_platform.h"

#include "game/replay/replay_file.h"
#include "game/replay/replays.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// The page writes a file and its name here, then hands them over.
std::vector<uint8_t> incomingFile;
std::string incomingName;

// clang-format off
EM_JS(void, web_offer_download, (const char* name, const unsigned char* bytes, size_t size), {
    var fileName = UTF8ToString(name);
    var file = HEAPU8.slice(bytes, bytes + size);
    var address = URL.createObjectURL(new Blob([file], { type: "application/octet-stream" }));
    var link = document.createElement("a");
    link.href = address;
    link.download = fileName;
    link.style.display = "none";
    document.body.appendChild(link);
    link.click();
    link.remove();
    // The browser reads the blob when the download starts, not at the click.
    setTimeout(function() { URL.revokeObjectURL(address); }, 60000);
    if (Module.onDownloadOffered) Module.onDownloadOffered(fileName, file);
});

EM_JS(void, web_show_page_controls, (int shown), {
    if (Module.showPageControls) Module.showPageControls(shown != 0);
});
// clang-format on

} // namespace

// No replay is larger: the page hands over at most this much of a file, and
// the game refuses one cut there by its own reading.
extern "C" EMSCRIPTEN_KEEPALIVE double web_replay_max_bytes() {
    return static_cast<double>(kReplayMaxFileBytes + 1);
}

extern "C" EMSCRIPTEN_KEEPALIVE uint8_t* web_replay_file_buffer(int size) {
    incomingFile.assign(static_cast<size_t>(std::max(0, size)), 0);
    return incomingFile.data();
}

// `size` bytes, the terminating zero included.
extern "C" EMSCRIPTEN_KEEPALIVE char* web_replay_name_buffer(int size) {
    incomingName.assign(static_cast<size_t>(std::max(1, size)), '\0');
    return incomingName.data();
}

extern "C" EMSCRIPTEN_KEEPALIVE void web_watch_replay() {
    std::string name(incomingName.c_str());
    replays::WatchWhenReady(std::move(incomingFile), std::move(name));
    incomingFile = {};
    incomingName = {};
}

bool WebPlatform::OffersDownloads() {
    return true;
}

void WebPlatform::OfferDownload(const char* name, const unsigned char* bytes, size_t size) {
    web_offer_download(name, bytes, size);
}

void WebPlatform::ShowPageControls(bool shown) {
    web_show_page_controls(shown ? 1 : 0);
}
