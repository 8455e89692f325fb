// The browser's prefers-reduced-motion, followed as it changes: the media
// query's listener keeps a flag that the game reads at every update.
#include "web/web_platform.h"

#include <emscripten.h>

namespace {

// clang-format off
EM_JS(void, web_watch_reduced_motion, (int* flag), {
    if (!window.matchMedia) return;
    var query = window.matchMedia("(prefers-reduced-motion: reduce)");
    var update = function() { HEAP32[flag >> 2] = query.matches ? 1 : 0; };
    update();
    if (query.addEventListener) query.addEventListener("change", update);
    else if (query.addListener) query.addListener(update);
});
// clang-format on

} // namespace

void WebPlatform::WatchReducedMotion() {
    web_watch_reduced_motion(&reducedMotion_);
}

bool WebPlatform::PrefersReducedMotion() {
    return reducedMotion_ != 0;
}
