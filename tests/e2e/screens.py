"""What the program's screens look like, for pixel checks."""

import time

import e2e
from e2e import share

LOADING_BACKGROUND = (40, 40, 80)
# The loading screen's orange band (250, 160, 60) at alpha 0.7 over its background.
LOADING_BAND = (187, 124, 66)
MENU_BACKGROUND = (0, 0, 80)
# The menu's score panel: black at alpha 0.4 over the background.
MENU_PANEL = (0, 0, 48)


def virtual_to_screen(geometry, vx, vy):
    """Screen pixel of a point of the game's virtual screen (the design size 640 x 480 fills the window)."""
    x, y, w, h = geometry
    scale = max(w / 640, h / 480)
    return int(x + vx * scale), int(y + vy * scale)


def strip(image, geometry, vx0, vx1, vy0, vy1):
    """Pixels of a rectangle given in virtual units."""
    x0, y0 = virtual_to_screen(geometry, vx0, vy0)
    x1, y1 = virtual_to_screen(geometry, vx1, vy1)
    return image.region(x0, y0, max(1, x1 - x0), max(1, y1 - y0), 2)


def is_loading_screen(image, geometry):
    # The left edge of the virtual screen lies outside the spinner, the disc and the logo.
    top = strip(image, geometry, 2, 60, 20, 150)
    band = strip(image, geometry, 2, 60, 200, 280)
    return share(top, LOADING_BACKGROUND) > 0.95 and share(band, LOADING_BAND, 6) > 0.95


def menu_without_art(image, geometry):
    _, _, w, h = geometry
    scale = max(w / 640, h / 480)
    vw = w / scale
    left = strip(image, geometry, 2, 60, 2, 400)
    panel = strip(image, geometry, vw - 120, vw - 2, 2, 40)
    return share(left, MENU_BACKGROUND) > 0.95 and share(panel, MENU_PANEL) > 0.95


def start_at_menu(s, name="skitterbat", **env):
    """Starts the program and waits until its loading screen has given way to the menu."""
    game = s.start(name=name, **env)
    window = game.wait_window()
    geometry = s.geometry(window)

    def menu():
        # Neither the loading screen nor a window that has not drawn yet.
        image = s.screenshot("menu")
        return not is_loading_screen(image, geometry) and len(image.colours(*geometry)) > 100
    e2e.wait_until("the menu", menu, 90, 0.3)
    time.sleep(0.7)  # the menu slides in over 32 updates
    s.focus(window)
    return game, window, geometry
