"""The Options screen in the real program: left and right bound to two other keys by the
keyboard, the paddle steered with them, and the binding still there after a restart."""

import time

import e2e
from e2e import check
from screens import start_at_menu, virtual_to_screen
from state import State

# Settings entries of the Left and Right bindings; a binding keeps its first key in the low bits.
LEFT, RIGHT = 15, 16
KEY_N, KEY_M = 78, 77
# Down from the first row (game speed) to the Left row of the controls.
DOWNS_TO_LEFT = 7


def paddle_x(s, geometry):
    """The paddle's centre in game units, from its light green along its line (the window is
    landscape: the paddle line is 48 units above the foot)."""
    x, y, w, h = geometry
    scale = max(w / 640, h / 480)
    line = h / scale - 48 + 3
    image = s.screenshot("play")
    _, row = virtual_to_screen(geometry, 0, line)
    xs = [px for px in range(x, x + w, 2)
          if (lambda r, g, b: g > 200 and 110 < r < 200 and 110 < b < 200)(*image.pixel(px, row))]
    check(xs, "no paddle on its line")
    return ((xs[0] + xs[-1]) / 2 - x) / scale, w / scale


def hold(s, key, seconds):
    s.key(key, hold=seconds, after=0.4)


def test_left_and_right_bound_to_other_keys_steer(s):
    s.install_program()
    game, window, geometry = start_at_menu(s)
    # Back on the menu opens the Options screen; the keys work it.
    s.key("Escape", after=0.5)
    for _ in range(DOWNS_TO_LEFT):
        s.key("Down")
    s.key("Return")
    s.key("n")
    s.key("Down")
    s.key("Return")
    s.key("m")
    s.key("Escape")

    def bound():
        try:
            settings = State.read(s.state_path()).settings
        except (OSError, e2e.Failure):
            return False
        return settings[LEFT] & 511 == KEY_N and settings[RIGHT] & 511 == KEY_M
    e2e.wait_until("both bindings saved", bound, 10)

    def steers(label):
        s.key("Return", after=1.0)  # a game at the difficulty chosen at start
        hold(s, "m", 0.7)
        right, width = paddle_x(s, geometry)
        check(right > 0.8 * width, f"{label}: M did not take the paddle right ({right:.0f} of {width:.0f})")
        hold(s, "n", 0.7)
        left, _ = paddle_x(s, geometry)
        check(left < 0.2 * width, f"{label}: N did not take the paddle left ({left:.0f} of {width:.0f})")
        # The Left arrow gave its place to N.
        hold(s, "m", 0.7)
        hold(s, "Left", 0.5)
        still, _ = paddle_x(s, geometry)
        check(still > 0.8 * width, f"{label}: the Left arrow still steers ({still:.0f} of {width:.0f})")

    steers("first run")
    check(game.close() == 0, game.describe())

    again, window, geometry = start_at_menu(s, name="restart")
    steers("after a restart")
    check(again.close() == 0, again.describe())
