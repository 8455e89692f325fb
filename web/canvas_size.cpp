// The canvas follows its CSS box at device pixels: the box times
// devicePixelRatio, measured again whenever the box changes, on a resize of
// the window or of the visual viewport (which leads the window on phones
// whose address bar slides) and on a change of the ratio alone (zoom, a
// window moved to another screen), which is looked for at every animation
// frame: no event tells of it everywhere.
#include "web/canvas_size.h"

#include <emscripten.h>

// clang-format off
EM_JS(void, web_follow_canvas_size, (), {
    var canvas = Module.canvas;
    // Within what the GL context can draw to, and 4096 on a side: a larger
    // buffer costs memory and fill rate and shows nothing a phone could.
    var largest = 4096;
    try {
        var dims = GLctx.getParameter(GLctx.MAX_VIEWPORT_DIMS);
        largest = Math.min(largest, dims[0], dims[1], GLctx.getParameter(GLctx.MAX_RENDERBUFFER_SIZE));
    } catch (e) {}
    var measure = function() {
        var box = canvas.getBoundingClientRect();
        var ratio = window.devicePixelRatio || 1;
        var width = Math.max(1, Math.round(box.width * ratio));
        var height = Math.max(1, Math.round(box.height * ratio));
        var over = Math.max(width, height) / largest;
        if (over > 1) {
            width = Math.max(1, Math.floor(width / over));
            height = Math.max(1, Math.floor(height / over));
        }
        if (canvas.width != width || canvas.height != height) Module.setCanvasSize(width, height);
    };
    // The observer sees the canvas's box change whatever moved it; its size
    // in device pixels comes from the ratio, which emulated and zoomed pages
    // report where the observer's device-pixel box does not.
    if (window.ResizeObserver) new ResizeObserver(measure).observe(canvas);
    window.addEventListener("resize", measure);
    if (window.visualViewport) window.visualViewport.addEventListener("resize", measure);
    // Nothing tells of a new ratio alone everywhere: a media query on it
    // fires on some browsers only, and neither it nor the observer's
    // device-pixel box fires in Chromium for an emulated device. So the ratio
    // is compared once an animation frame: one number read, no layout.
    var seenRatio = window.devicePixelRatio || 1;
    var followRatio = function() {
        if ((window.devicePixelRatio || 1) != seenRatio) {
            seenRatio = window.devicePixelRatio || 1;
            measure();
        }
        window.requestAnimationFrame(followRatio);
    };
    window.requestAnimationFrame(followRatio);
    measure();
});
// clang-format on

void FollowCanvasSize() {
    web_follow_canvas_size();
}
