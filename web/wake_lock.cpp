// The screen kept on while a round is played: the Screen Wake Lock where the
// browser has one, released in the menus and the pause panel, dropped by the
// browser whenever the page is hidden and taken again when it shows while a
// round goes on.
#include "web/web_platform.h"

#include <emscripten.h>

namespace {

// clang-format off
EM_JS(void, web_keep_screen_on, (int on), {
    var wake = Module.screenWake;
    if (!wake) {
        wake = Module.screenWake = { wanted: false, lock: null, asking: false };
        wake.update = function() {
            if (!navigator.wakeLock) return;
            if (wake.wanted && !wake.lock && !wake.asking && document.visibilityState === "visible") {
                wake.asking = true;
                navigator.wakeLock.request("screen").then(function(lock) {
                    wake.asking = false;
                    wake.lock = lock;
                    lock.addEventListener("release", function() {
                        if (wake.lock === lock) wake.lock = null;
                    });
                    wake.update(); // the round may have stopped meanwhile
                }, function() {
                    wake.asking = false;
                });
            } else if (!wake.wanted && wake.lock) {
                var lock = wake.lock;
                wake.lock = null;
                lock.release().catch(function() {});
            }
        };
        document.addEventListener("visibilitychange", wake.update);
    }
    wake.wanted = on != 0;
    wake.update();
});
// clang-format on

} // namespace

void WebPlatform::KeepScreenOn(bool on) {
    if (on == screenKept_) return;
    screenKept_ = on;
    web_keep_screen_on(on ? 1 : 0);
    ShowPageControls(!on);
}
