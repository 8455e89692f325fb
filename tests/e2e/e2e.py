"""Drives the real program in a private X server, the way a player would.

A test gets a Session: its own Xvfb with openbox, its own working folder
holding the program and its data, and an artifacts folder that keeps the
program's output, screenshots and traces for a look after a failure.
Everything a session starts is ended when it closes.
"""

import ctypes
import os
import random
import re
import shutil
import signal
import subprocess
import tempfile
import time

TITLE = "Cobalt Game"
SCREEN_W, SCREEN_H = 1600, 1200


_libc = ctypes.CDLL(None, use_errno=True)
PR_SET_PDEATHSIG = 1


def _die_with_driver():
    """In a child: end when the driver ends, even when it is killed without a chance to clean up."""
    _libc.prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def spawn(argv, **kwargs):
    """Starts a helper or the program in a session of its own, tied to the driver's life."""
    return subprocess.Popen(argv, stdin=subprocess.DEVNULL, start_new_session=True,
                            preexec_fn=_die_with_driver, **kwargs)


class Failure(AssertionError):
    pass


class Skip(Exception):
    pass


def without_display(test):
    """Marks a test that wants no X server."""
    test.without_display = True
    return test


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_until(what, predicate, timeout, interval=0.1):
    """Polls predicate until it returns something true; fails with `what` after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


class Image:
    """An RGB screenshot with pixel look-ups."""

    def __init__(self, width, height, rgb, path):
        self.width, self.height, self.rgb, self.path = width, height, rgb, path

    def pixel(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.rgb[i:i + 3])

    def region(self, x, y, w, h, step=1):
        """Pixels of a rectangle (sampled every `step` pixels)."""
        return [self.pixel(px, py) for py in range(y, y + h, step) for px in range(x, x + w, step)]

    def colours(self, x, y, w, h, step=4):
        """How often each colour occurs in a rectangle."""
        counts = {}
        for p in self.region(x, y, w, h, step):
            counts[p] = counts.get(p, 0) + 1
        return counts


def near(colour, expected, tolerance=3):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def share(pixels, expected, tolerance=3):
    """Fraction of the pixels within tolerance of the expected colour."""
    return sum(1 for p in pixels if near(p, expected, tolerance)) / max(1, len(pixels))


class Program:
    """One run of the game (or of its launcher) with captured output."""

    def __init__(self, session, argv, cwd, env, name):
        self.session = session
        self.name = name
        self.stdout_path = os.path.join(session.artifacts, f"{name}.stdout")
        self.stderr_path = os.path.join(session.artifacts, f"{name}.stderr")
        self._out = open(self.stdout_path, "wb")
        self._err = open(self.stderr_path, "wb")
        self.proc = spawn(argv, cwd=cwd, env=env, stdout=self._out, stderr=self._err)
        self.window = None
        self.returncode = None

    def alive(self):
        return self.proc.poll() is None

    def stdout(self):
        with open(self.stdout_path, "rb") as f:
            return f.read().decode("latin-1")

    def stderr(self):
        with open(self.stderr_path, "rb") as f:
            return f.read().decode("latin-1")

    def lines(self):
        return self.stdout().splitlines()

    def describe(self):
        return (f"--- {self.name} stdout ---\n{self.stdout()[-3000:]}"
                f"--- {self.name} stderr ---\n{self.stderr()[-3000:]}")

    def wait_window(self, timeout=60):
        """Waits until the program's window is mapped and returns its id."""
        def find():
            if not self.alive():
                raise Failure(f"{self.name} ended with status {self.proc.returncode} "
                              f"before its window appeared\n{self.describe()}")
            ids = self.session.xdotool("search", "--onlyvisible", "--name", f"^{TITLE}$",
                                       check=False).split()
            return ids[0] if ids else None
        self.window = wait_until(f"the window \"{TITLE}\"", find, timeout, 0.2)
        return self.window

    def wait_output(self, text, timeout=30):
        """Waits until a line of standard output contains text."""
        def seen():
            if text in self.stdout():
                return True
            if not self.alive():
                raise Failure(f"{self.name} ended before printing {text!r}\n{self.describe()}")
            return False
        wait_until(f"{text!r} on standard output", seen, timeout)

    def wait_exit(self, timeout=30):
        try:
            self.returncode = self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"{self.name} did not end within {timeout} s\n{self.describe()}")
        return self.returncode

    def close(self, timeout=30):
        """Closes the window through the window manager and returns the exit status."""
        self.session.run(["wmctrl", "-c", TITLE])
        return self.wait_exit(timeout)

    def kill(self):
        if self.alive():
            try:
                os.killpg(self.proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.proc.wait()
        self._out.close()
        self._err.close()


class Session:
    """A private X server with a window manager and a fresh working folder."""

    def __init__(self, name, build_dir):
        self.name = name
        self.build_dir = os.path.abspath(build_dir)
        self.program = os.path.join(self.build_dir, "skitterbat")
        self.data = os.path.join(self.build_dir, "data")
        self.artifacts = os.path.join(self.build_dir, "e2e-artifacts", name)
        shutil.rmtree(self.artifacts, ignore_errors=True)
        os.makedirs(self.artifacts)
        self.tmp = tempfile.mkdtemp(prefix=f"skitterbat-e2e-{name}-")
        self.workdir = os.path.join(self.tmp, "work")
        os.makedirs(self.workdir)
        os.makedirs(os.path.join(self.tmp, "home"))
        self._helpers = []
        self._programs = []
        self.display = None
        self._shots = {}  # label -> order of first use

    # --- X server -----------------------------------------------------------------
    def start_display(self, width=SCREEN_W, height=SCREEN_H):
        read_fd, write_fd = os.pipe()
        xvfb = spawn(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
            stderr=open(os.path.join(self.artifacts, "xvfb.log"), "wb"))
        os.close(write_fd)
        self._helpers.append(xvfb)
        number = b""
        with os.fdopen(read_fd, "rb") as pipe:
            while not number.endswith(b"\n"):
                chunk = pipe.read(1)
                if not chunk:
                    raise Failure("Xvfb did not start")
                number += chunk
        self.display = ":" + number.decode().strip()
        self.screen = (width, height)
        wm = spawn(["openbox", "--sm-disable"], env=self.env(), stdout=subprocess.DEVNULL,
                   stderr=open(os.path.join(self.artifacts, "openbox.log"), "wb"))
        self._helpers.append(wm)
        wait_until("the window manager", lambda: self.run(["wmctrl", "-m"], check=False) is not None, 20)
        return self.display

    def env(self, **extra):
        """The environment programs of this session see."""
        env = {k: v for k, v in os.environ.items() if k not in ("WAYLAND_DISPLAY", "XAUTHORITY")}
        if self.display:
            env["DISPLAY"] = self.display
        else:
            env.pop("DISPLAY", None)
        env.setdefault("ALSOFT_DRIVERS", "null")
        env.setdefault("ASAN_OPTIONS", "detect_leaks=0")
        env["HOME"] = os.path.join(self.tmp, "home")
        env.pop("XDG_DATA_HOME", None)
        env.pop("XDG_CONFIG_HOME", None)
        for k, v in extra.items():  # None removes a variable
            if v is None:
                env.pop(k, None)
            else:
                env[k] = v
        return env

    def run(self, argv, check=True, timeout=30, env=None):
        """Runs a helper tool against this session's display; returns its output or None."""
        result = subprocess.run(argv, env=env or self.env(), stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=timeout)
        if result.returncode != 0:
            if check:
                raise Failure(f"{' '.join(argv)} failed ({result.returncode}): "
                              f"{result.stderr.decode(errors='replace')}")
            return None
        return result.stdout.decode(errors="replace")

    def xdotool(self, *args, check=True):
        return self.run(["xdotool", *args], check=check) or ""

    # --- the program ----------------------------------------------------------
    def install_program(self, data=True, copy_data=False, workdir=None):
        """Puts the program (and its data, linked or copied) into a working folder."""
        workdir = workdir or self.workdir
        if not os.path.exists(self.program):
            raise Failure(f"{self.program} is not built")
        os.symlink(self.program, os.path.join(workdir, "skitterbat"))
        if data:
            if not os.path.isdir(self.data):
                raise Failure(f"{self.data} is missing: the data generator has not run")
            if copy_data:
                shutil.copytree(self.data, os.path.join(workdir, "data"))
            else:
                os.symlink(self.data, os.path.join(workdir, "data"))
        return workdir

    def start(self, argv=None, cwd=None, name="skitterbat", strace=None, **env):
        """Starts the program (or argv) in the working folder."""
        argv = argv or ["./skitterbat"]
        if strace:
            argv = ["strace", "-f", "-qq", "-e", "trace=openat", "-o", strace, "--", *argv]
        program = Program(self, argv, cwd or self.workdir, self.env(**env), name)
        self._programs.append(program)
        return program

    # --- the player -------------------------------------------------------------
    def focus(self, window):
        self.xdotool("windowactivate", "--sync", window)

    def key(self, name, hold=0.2, after=0.2):
        """Presses and releases a key as a person would. The game samples held keys 60 times a
        second; a press shorter than an update (or than a stall of a busy machine) goes unseen."""
        self.xdotool("keydown", name)
        time.sleep(hold)
        self.xdotool("keyup", name)
        time.sleep(after)

    def keys(self, *names, hold=0.2, after=0.2):
        for name in names:
            self.key(name, hold, after)

    # --- looking at it -----------------------------------------------------------
    def geometry(self, window):
        """Client area of a window: (x, y, width, height) in screen pixels."""
        info = self.run(["xwininfo", "-id", window])
        values = dict(re.findall(r"^\s*([A-Za-z -]+):\s+(-?\d+)\s*$", info, re.M))
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]),
                int(values["Width"]), int(values["Height"]))

    def frame_extents(self, window):
        """Decoration sizes (left, right, top, bottom) the window manager added."""
        out = self.run(["xprop", "-id", window, "_NET_FRAME_EXTENTS"], check=False) or ""
        numbers = [int(n) for n in re.findall(r"\d+", out.split("=", 1)[-1])] if "=" in out else []
        return tuple(numbers) if len(numbers) == 4 else (0, 0, 0, 0)

    def screenshot(self, label=None):
        """Captures the whole screen; the last PNG of each label stays in the artifacts folder."""
        label = label or "shot"
        if label not in self._shots:
            self._shots[label] = len(self._shots) + 1
        path = os.path.join(self.artifacts, f"{self._shots[label]:02d}-{label}.png")
        self.run(["import", "-window", "root", path])
        rgb = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], capture_output=True,
                             check=True).stdout
        w, h = self.screen
        check(len(rgb) == w * h * 3, f"screenshot of unexpected size ({len(rgb)} bytes)")
        return Image(w, h, rgb, path)

    # --- files --------------------------------------------------------------------
    def state_path(self, workdir=None):
        return os.path.join(workdir or self.workdir, ".cobaltstate")

    def close(self, keep=False):
        for program in self._programs:
            program.kill()
        for helper in reversed(self._helpers):
            if helper.poll() is None:
                try:
                    os.killpg(helper.pid, signal.SIGTERM)
                    helper.wait(5)
                except (ProcessLookupError, subprocess.TimeoutExpired):
                    try:
                        os.killpg(helper.pid, signal.SIGKILL)
                    except ProcessLookupError:
                        pass
                    helper.wait()
        if not keep:
            shutil.rmtree(self.tmp, ignore_errors=True)


def damage_files(folder, how, seed=1):
    """Truncates or scrambles every PNG and WAV file under folder; returns how many."""
    rng = random.Random(seed)
    count = 0
    for root, _, files in os.walk(folder):
        for name in sorted(files):
            if not name.lower().endswith((".png", ".wav")):
                continue
            path = os.path.join(root, name)
            size = os.path.getsize(path)
            if how == "truncate":
                # Alternate between a bare header and a file cut in the middle of its data.
                keep = min(size, 24 + rng.randrange(40)) if count % 2 == 0 else size // 2
                with open(path, "r+b") as f:
                    f.truncate(keep)
            elif how == "random":
                with open(path, "wb") as f:
                    f.write(rng.randbytes(size))
            elif how == "body":
                # Intact signature and header, garbage after them.
                with open(path, "r+b") as f:
                    f.seek(min(size, 44))
                    f.write(rng.randbytes(max(0, size - 44)))
            else:
                raise ValueError(how)
            count += 1
    return count
