"""A scripted player with eyes: it reads the window's pixels from the X server,
finds the ball and the paddle in them, and steers with the mouse or the arrow
keys through XTEST, the way a person at the screen would. It talks to the X
server through Xlib directly: a new xdotool process for every move and a
screenshot through ImageMagick would see and act a tenth of a second late.
"""

import ctypes
import ctypes.util
import time

# The game's design screen, which the virtual screen keeps the shape of.
RAW_W, RAW_H = 640, 480
NARROWEST_W, LOWEST_H = 320, 360

# The ball and the paddle are drawn in (150, 255, 150) at alpha 0.8, so over
# the dark playfield they read as a light green with red and blue alike; the
# green of a pod or a mushroom, and of the score and the counts (100, 255,
# 100), has less red and blue. X gives BGRX bytes; this finds the greens.
_GREEN_ENOUGH = bytes(1 if value >= 0xC0 else 0 for value in range(256))
# Every third pixel of every third row: a ball is 16 pixels across at the least.
_STEP = 3


def virtual_scale(width, height):
    """The game's scale from virtual units to window pixels for a window size."""
    sx, sy = width / RAW_W, height / RAW_H
    s = max(sx, sy)
    if width / s < NARROWEST_W:
        s = width / NARROWEST_W
    elif height / s < LOWEST_H:
        s = height / LOWEST_H
    return s


class _XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


_ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)


class Scene:
    """What one look at the window found, in virtual units."""

    def __init__(self, width, height, ball, paddle, ball_on_paddle):
        self.width, self.height = width, height  # of the virtual screen
        self.ball = ball  # (x, y) of a ball away from the paddle, or None
        self.paddle = paddle  # (x, y) of the paddle's centre, or None
        self.ball_on_paddle = ball_on_paddle


class Player:
    """Eyes and hands on one X display, for one window."""

    def __init__(self, display, window):
        self.x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
        self.xtst = ctypes.CDLL(ctypes.util.find_library("Xtst") or "libXtst.so.6")
        x11, xtst = self.x11, self.xtst
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XDefaultRootWindow.restype = ctypes.c_ulong
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x11.XGetImage.restype = ctypes.POINTER(_XImage)
        x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                  ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        x11.XDestroyImage.argtypes = [ctypes.POINTER(_XImage)]
        x11.XTranslateCoordinates.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_int,
                                              ctypes.c_int, ctypes.POINTER(ctypes.c_int),
                                              ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong)]
        x11.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong)] + \
            [ctypes.POINTER(ctypes.c_int)] * 2 + [ctypes.POINTER(ctypes.c_uint)] * 4
        x11.XStringToKeysym.restype = ctypes.c_ulong
        x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        x11.XFlush.argtypes = [ctypes.c_void_p]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        x11.XSetErrorHandler.argtypes = [_ERROR_HANDLER]
        xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                              ctypes.c_ulong]
        xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]

        self.dpy = x11.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError(f"cannot open display {display}")
        # A window iconified or resized under a capture is an X error, and
        # Xlib's own handler ends the process on one: this one lets it pass.
        self._on_error = _ERROR_HANDLER(lambda dpy, event: 0)
        x11.XSetErrorHandler(self._on_error)
        self.root = x11.XDefaultRootWindow(self.dpy)
        self.window = int(window)
        self.held = set()
        self._keycodes = {}
        self.last_ball = None  # (x, y, seconds)
        self.velocity = (0.0, 0.0)  # virtual units a second

    def close(self):
        for name in list(self.held):
            self.release(name)
        self.x11.XCloseDisplay(self.dpy)

    # --- where the window is ------------------------------------------------------
    def geometry(self):
        """The window's client area in root coordinates: (x, y, width, height)."""
        x, y = ctypes.c_int(), ctypes.c_int()
        child = ctypes.c_ulong()
        self.x11.XTranslateCoordinates(self.dpy, self.window, self.root, 0, 0, ctypes.byref(x), ctypes.byref(y),
                                       ctypes.byref(child))
        root = ctypes.c_ulong()
        gx, gy = ctypes.c_int(), ctypes.c_int()
        w, h, border, depth = ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint()
        self.x11.XGetGeometry(self.dpy, self.window, ctypes.byref(root), ctypes.byref(gx), ctypes.byref(gy),
                              ctypes.byref(w), ctypes.byref(h), ctypes.byref(border), ctypes.byref(depth))
        return x.value, y.value, w.value, h.value

    def to_screen(self, geometry, vx, vy):
        x, y, w, h = geometry
        s = virtual_scale(w, h)
        return int(x + vx * s), int(y + vy * s)

    # --- seeing -------------------------------------------------------------------
    def look(self):
        """Finds the ball and the paddle in the window's pixels; None when the window cannot be read."""
        geometry = self.geometry()
        wx, wy, w, h = geometry
        if w <= 0 or h <= 0:
            return None
        image = self.x11.XGetImage(self.dpy, self.root, wx, wy, w, h, 0xFFFFFFFF, 2)
        if not image:
            return None
        try:
            img = image.contents
            if img.bits_per_pixel != 32:
                return None
            stride = img.bytes_per_line
            data = ctypes.string_at(img.data, stride * img.height)
        finally:
            self.x11.XDestroyImage(image)
        s = virtual_scale(w, h)
        # The score and the counts are written in a green of their own at the
        # top and the foot; nothing to follow lies there.
        top, foot = int(26 * s), int(h - 24 * s)
        cell = 8
        cells = {}
        for row in range(top, foot, _STEP):
            base = row * stride
            greens = data[base + 1:base + 4 * w:4 * _STEP].translate(_GREEN_ENOUGH)
            i = greens.find(1)
            while i != -1:
                at = base + 4 * _STEP * i
                b, g, r = data[at], data[at + 1], data[at + 2]
                if 105 <= r <= 210 and 105 <= b <= 210 and g - r >= 40 and g - b >= 40 and abs(r - b) <= 40:
                    key = (_STEP * i // cell, row // cell)
                    cells[key] = cells.get(key, 0) + 1
                i = greens.find(1, i + 1)
        blobs = []
        seen = set()
        for start in cells:
            if start in seen:
                continue
            seen.add(start)
            stack, members = [start], []
            while stack:
                c = stack.pop()
                members.append(c)
                for dx in (-1, 0, 1):
                    for dy in (-1, 0, 1):
                        n = (c[0] + dx, c[1] + dy)
                        if n in cells and n not in seen:
                            seen.add(n)
                            stack.append(n)
            xs = [c[0] for c in members]
            ys = [c[1] for c in members]
            count = sum(cells[c] for c in members)
            blobs.append(((min(xs) * cell) / s, (min(ys) * cell) / s, ((max(xs) + 1) * cell) / s,
                          ((max(ys) + 1) * cell) / s, count))
        vw, vh = w / s, h / s
        paddle = ball = None
        ball_on_paddle = False
        for x0, y0, x1, y1, count in blobs:
            bw, bh = x1 - x0, y1 - y0
            if count < 3:
                continue
            if bw > 44 and y0 > vh * 0.6:
                paddle = ((x0 + x1) / 2, (y0 + y1) / 2)
                ball_on_paddle = bh > 22
            elif bw <= 32 and bh <= 32 and bw >= 8:
                if ball is None or y1 > ball[1]:
                    ball = ((x0 + x1) / 2, (y0 + y1) / 2)
        return Scene(vw, vh, ball, paddle, ball_on_paddle)

    def follow(self, scene):
        """Where the paddle should go for this look: under where the ball comes down."""
        now = time.monotonic()
        if scene.ball is None:
            self.last_ball = None
            return None
        x, y = scene.ball
        if self.last_ball is not None and (x, y) == self.last_ball[:2]:
            # The same frame again: a loaded machine renders less often than the player looks.
            pass
        else:
            if self.last_ball is not None:
                lx, ly, lt = self.last_ball
                dt = now - lt
                if 0.005 < dt < 0.3:
                    vx, vy = (x - lx) / dt, (y - ly) / dt
                    self.velocity = (0.5 * self.velocity[0] + 0.5 * vx, 0.5 * self.velocity[1] + 0.5 * vy)
            self.last_ball = (x, y, now)
        vx, vy = self.velocity
        paddle_y = scene.paddle[1] if scene.paddle else scene.height - 48
        # Ahead by what the eyes and hands lose, and no further than the paddle line.
        ahead = 0.12
        if vy > 30:
            ahead = min(ahead + 0.1, (paddle_y - y) / vy)
        target = x + vx * max(0.0, ahead)
        left, right = 16, scene.width - 16
        # Off the walls as the ball would bounce.
        if target < left:
            target = 2 * left - target
        if target > right:
            target = 2 * right - target
        return min(max(target, left), right)

    # --- hands --------------------------------------------------------------------
    def _flush(self):
        self.x11.XFlush(self.dpy)

    def move_to(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.dpy, -1, int(x), int(y), 0)
        self._flush()

    def button(self, down):
        self.xtst.XTestFakeButtonEvent(self.dpy, 1, 1 if down else 0, 0)
        self._flush()

    def click(self, hold=0.1):
        self.button(True)
        time.sleep(hold)
        self.button(False)

    def _keycode(self, name):
        if name not in self._keycodes:
            self._keycodes[name] = self.x11.XKeysymToKeycode(self.dpy, self.x11.XStringToKeysym(name.encode()))
        return self._keycodes[name]

    def press(self, name):
        if name not in self.held:
            self.xtst.XTestFakeKeyEvent(self.dpy, self._keycode(name), 1, 0)
            self.held.add(name)
            self._flush()

    def release(self, name):
        if name in self.held:
            self.xtst.XTestFakeKeyEvent(self.dpy, self._keycode(name), 0, 0)
            self.held.discard(name)
            self._flush()

    def tap(self, name, hold=0.15):
        self.press(name)
        time.sleep(hold)
        self.release(name)
