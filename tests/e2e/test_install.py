"""The installed program: cmake --install into a staging root, and the Debian package."""

import glob
import os
import struct
import subprocess

import e2e
from e2e import check


def run(argv, **kwargs):
    result = subprocess.run(argv, capture_output=True, text=True, **kwargs)
    check(result.returncode == 0, f"{' '.join(argv)} failed:\n{result.stdout}\n{result.stderr}")
    return result.stdout


def png_size(path):
    with open(path, "rb") as f:
        head = f.read(24)
    check(head[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG")
    return struct.unpack(">II", head[16:24])


def check_tree(root, prefix):
    """The files an installation must hold, relative to the staging root."""
    top = root + prefix
    launcher = os.path.join(top, "games/skitterbat")
    check(os.access(launcher, os.X_OK), "no launcher in games/")
    check(os.access(os.path.join(top, "lib/skitterbat/skitterbat"), os.X_OK), "no program in lib/skitterbat/")
    data = os.path.join(top, "share/games/skitterbat/data")
    check(os.path.isfile(os.path.join(data, "common/TarnLogo.png")), "no data folder")
    icon = os.path.join(top, "share/icons/hicolor/256x256/apps/skitterbat.png")
    check(png_size(icon) == (256, 256), "the icon is not a 256x256 PNG")
    with open(os.path.join(top, "share/applications/skitterbat.desktop")) as f:
        entry = dict(line.strip().split("=", 1) for line in f if "=" in line)
    check(entry.get("Type") == "Application" and entry.get("Name") == "Skitterbat", f"desktop entry {entry}")
    check(entry.get("Exec") == os.path.join(prefix, "games/skitterbat"), f"desktop entry runs {entry.get('Exec')}")
    check(entry.get("Icon") == "skitterbat", f"desktop entry icon {entry.get('Icon')}")
    return launcher, data


def play_from_launcher(s, launcher, data, player, **env):
    """Starts the launcher, checks the player's folder and link, and closes the game."""
    game = s.start([launcher], cwd=s.tmp, name="launcher", **env)
    game.wait_window()
    # The launcher execs the game, so the process is the same.
    cwd = os.path.realpath(f"/proc/{game.proc.pid}/cwd")
    check(cwd == os.path.realpath(player), f"the game runs in {cwd}, not in {player}")
    link = os.path.join(player, "data")
    check(os.path.islink(link) and os.readlink(link) == data, f"{link} does not point at {data}")
    status = game.close()
    check(status == 0, f"exit status {status}\n{game.describe()}")


def check_launcher(s, launcher, data):
    home = os.path.join(s.tmp, "home")
    player = os.path.join(home, ".local/share/skitterbat")
    play_from_launcher(s, launcher, data, player)
    # The player's folder is kept; a stale link (a moved installation) is repaired.
    marker = os.path.join(player, "keep-me")
    open(marker, "w").close()
    os.remove(os.path.join(player, "data"))
    os.symlink("/nonexistent/skitterbat/data", os.path.join(player, "data"))
    play_from_launcher(s, launcher, data, player)
    check(os.path.exists(marker), "the player's folder was not reused")
    # XDG_DATA_HOME chooses another place.
    xdg = os.path.join(s.tmp, "xdg")
    play_from_launcher(s, launcher, data, os.path.join(xdg, "skitterbat"), XDG_DATA_HOME=xdg)


def test_cmake_install(s):
    root = os.path.join(s.tmp, "root")
    run(["cmake", "--install", s.build_dir, "--prefix", "/opt/skitterbat"], env={**os.environ, "DESTDIR": root})
    launcher, data = check_tree(root, "/opt/skitterbat")
    check_launcher(s, launcher, data)


def test_debian_package(s):
    packages = os.path.join(s.tmp, "packages")
    run(["cpack", "-G", "DEB", "-B", packages, "--config", os.path.join(s.build_dir, "CPackConfig.cmake")],
        cwd=s.build_dir)
    debs = glob.glob(os.path.join(packages, "*.deb"))
    check(len(debs) == 1, f"cpack made {debs}")
    fields = {name: run(["dpkg-deb", "-f", debs[0], name]).strip()
              for name in ("Package", "Section", "Maintainer", "Depends", "Description")}
    check(fields["Package"] == "skitterbat" and fields["Section"] == "games", f"control fields {fields}")
    check(fields["Maintainer"] and fields["Description"], f"control fields {fields}")
    depends = {d.strip().split(" ")[0] for d in fields["Depends"].split(",")}
    for library in ("libglfw3", "libopenal1", "libgl1"):
        check(library in depends, f"the package does not depend on {library}: {fields['Depends']}")
    root = os.path.join(s.tmp, "root")
    run(["dpkg-deb", "-x", debs[0], root])
    launcher, data = check_tree(root, "/usr")
    check_launcher(s, launcher, data)
