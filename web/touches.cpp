// Every finger on the canvas as the game's touches: the page's touch events,
// at the drawing buffer's pixels, numbered by TouchSlots. The first finger is
// also the mouse, as on a desktop where touch 0 is the left button; the
// browser's own handling (scrolling, zooming, the mouse events it makes up
// after a touch, and GLFW's reading of touches as clicks) is stopped.
#include "web/web_platform.h"

#include "host/gxtk_app.h"

#include <emscripten.h>

namespace {

enum TouchPhase { kTouchBegan = 0, kTouchMoved = 1, kTouchEnded = 2 };

WebPlatform* touchPlatform = nullptr;

// clang-format off
EM_JS(void, web_watch_touches, (), {
    var canvas = Module.canvas;
    var phases = { touchstart: 0, touchmove: 1, touchend: 2, touchcancel: 2 };
    var onTouch = function(event) {
        if (event.target !== canvas) return;
        event.preventDefault();
        event.stopPropagation();
        canvas.focus();
        var box = canvas.getBoundingClientRect();
        var scaleX = canvas.width / Math.max(1, box.width), scaleY = canvas.height / Math.max(1, box.height);
        var phase = phases[event.type];
        for (var i = 0; i < event.changedTouches.length; ++i) {
            var touch = event.changedTouches[i];
            Module._web_touch(phase, touch.identifier, (touch.clientX - box.left) * scaleX,
                              (touch.clientY - box.top) * scaleY);
        }
    };
    // On the window and capturing, so they come before the canvas's own listeners.
    for (var type in phases) window.addEventListener(type, onTouch, { capture: true, passive: false });
});
// clang-format on

} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void web_touch(int phase, int finger, double x, double y) {
    if (touchPlatform) touchPlatform->Touch(phase, finger, x, y);
}

void WebPlatform::WatchTouches() {
    touchPlatform = this;
    web_watch_touches();
}

void WebPlatform::Touch(int phase, long finger, double x, double y) {
    const int slot = phase == kTouchBegan   ? touches_.Down(finger)
                     : phase == kTouchMoved ? touches_.Find(finger)
                                            : touches_.Up(finger);
    if (slot < 0) return;
    if (slot > 0) {
        gxtkApp::OnTouch(slot, phase != kTouchEnded, static_cast<float>(x), static_cast<float>(y));
        return;
    }
    SetCursor(x, y);
    if (phase == kTouchBegan) gxtkApp::OnMouseButton(gxtkMouseLeft, gxtkKeyPressed);
    if (phase == kTouchEnded) gxtkApp::OnMouseButton(gxtkMouseLeft, gxtkKeyReleased);
}
