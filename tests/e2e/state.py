"""Reads and checks the game's state file ".cobaltstate"."""

from e2e import check

FIELDS = 98


def wrap32(value):
    return (value + 2 ** 31) % 2 ** 32 - 2 ** 31


def checksums(settings, words, best, recent):
    s = wrap32(sum(i * v for i, v in enumerate(settings)))
    b = wrap32(sum(words))
    h = [wrap32(sum((k + 4) * best[d][k] + (d + k + 3) * recent[d][k] for k in range(10))) for d in range(3)]
    return s, b, h


class State:
    """The saved settings, badge words and score lists, with every checksum verified."""

    def __init__(self, text):
        fields = text.split("|")
        check(fields[-1] == "", f"the state text does not end with '|': {text!r}")
        check(len(fields) - 1 == FIELDS, f"{len(fields) - 1} fields instead of {FIELDS}: {text!r}")
        n = [int(f) for f in fields[:-1]]
        self.settings = n[0:25]
        self.badge_words = n[26:34]
        self.best = [n[35 + 21 * d:55 + 21 * d:2] for d in range(3)]
        self.recent = [n[36 + 21 * d:56 + 21 * d:2] for d in range(3)]
        s, b, h = checksums(self.settings, self.badge_words, self.best, self.recent)
        check(n[25] == s, f"settings checksum {n[25]}, expected {s}")
        check(n[34] == b, f"badge checksum {n[34]}, expected {b}")
        for d in range(3):
            check(n[55 + 21 * d] == h[d], f"highscore checksum of difficulty {d} is {n[55 + 21 * d]}, expected {h[d]}")

    @staticmethod
    def read(path):
        with open(path, "rb") as f:
            return State(f.read().decode("utf-8"))


def text(settings, badge_words=(0,) * 8, best=((0,) * 10,) * 3, recent=((0,) * 10,) * 3):
    """A valid state text from its parts."""
    s, b, h = checksums(settings, badge_words, best, recent)
    numbers = list(settings) + [s] + list(badge_words) + [b]
    for d in range(3):
        for k in range(10):
            numbers += [best[d][k], recent[d][k]]
        numbers.append(h[d])
    return "".join(f"{v}|" for v in numbers)
