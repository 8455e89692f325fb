"""Start-up and shut-down of the real program: window, loading screen, menu, exit status."""

import os
import shutil
import threading

import e2e
from e2e import check
from screens import is_loading_screen, menu_without_art


def check_centred_window(s, window):
    x, y, w, h = s.geometry(window)
    check((w, h) == (640, 640), f"window client area is {w}x{h}, not 640x640")
    left, _, top, _ = s.frame_extents(window)
    want = ((s.screen[0] - 640) // 2, (s.screen[1] - 640) // 2)
    # The program places its window; the window manager may keep either the
    # client area or its frame at the requested place.
    check((x, y) == want or (x - left, y - top) == want,
          f"window at {x},{y} (frame {x - left},{y - top}), not centred at {want[0]},{want[1]}")


def feed_fifo_later(fifo, source, release, game):
    """Writes the file into the pipe once released and once the program reads it."""
    def reader_ready():
        if not game.alive():
            return -1
        try:
            return os.open(fifo, os.O_WRONLY | os.O_NONBLOCK)
        except OSError:
            return None

    def feed():
        release.wait()
        fd = e2e.wait_until("the program to open the pipe", reader_ready, 60)
        if fd < 0:
            return
        os.set_blocking(fd, True)
        with os.fdopen(fd, "wb") as out, open(source, "rb") as src:
            out.write(src.read())
    thread = threading.Thread(target=feed, daemon=True)
    thread.start()
    return thread


def test_window_loading_menu_and_close(s):
    """A centred 640x640 window, the loading screen, the menu, then status 0 on close."""
    s.install_program(copy_data=True)
    # The last image of the loading sequence comes through a pipe, so the
    # program holds on its loading screen until the test has looked at it.
    last = os.path.join(s.workdir, "data", "bg-hd.png")
    real = os.path.join(s.tmp, "bg-hd.png")
    shutil.move(last, real)
    os.mkfifo(last)
    release = threading.Event()
    game = s.start()
    feeder = feed_fifo_later(last, real, release, game)
    try:
        window = game.wait_window()
        check_centred_window(s, window)
        geometry = s.geometry(window)
        e2e.wait_until("the loading screen", lambda: is_loading_screen(s.screenshot("loading"), geometry), 60, 0.3)
    finally:
        release.set()
        feeder.join(90)

    def menu_shown():
        image = s.screenshot("menu")
        return not is_loading_screen(image, geometry) and image
    menu = e2e.wait_until("the menu", menu_shown, 30, 0.3)
    # The menu's art covers its background (test_menu_without_art looks at that).
    colours = menu.colours(*geometry)
    check(len(colours) > 100, f"the menu shows only {len(colours)} colours")

    check(game.alive(), "the program ended on its own")
    status = game.close()
    check(status == 0, f"exit status {status} after closing the window\n{game.describe()}")
    check("Runtime Error" not in game.stdout(), game.describe())


def test_menu_without_art(s):
    """With an empty data folder the loading screen and the bare menu still show."""
    s.install_program(data=False)
    os.mkdir(os.path.join(s.workdir, "data"))
    game = s.start()
    window = game.wait_window()
    geometry = s.geometry(window)
    e2e.wait_until("the bare menu", lambda: menu_without_art(s.screenshot("menu"), geometry), 60, 0.3)
    status = game.close()
    check(status == 0, f"exit status {status}\n{game.describe()}")


@e2e.without_display
def test_no_display(s):
    """Without an X server the program says so and ends with status -1."""
    s.install_program()
    game = s.start()
    status = game.wait_exit(60)
    check(status == 255, f"exit status {status}, not 255\n{game.describe()}")
    check("glfwInit failed" in game.lines(), f"no \"glfwInit failed\" line\n{game.describe()}")
