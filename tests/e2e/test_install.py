"""The installed program: cmake --install into a staging root, and the Debian
package; the desktop entry, AppStream metadata and package pass Debian's checks."""

import glob
import gzip
import os
import re
import shutil
import struct
import subprocess
import xml.etree.ElementTree as ElementTree

import e2e
from e2e import check, without_display


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
    check(os.path.isfile(os.path.join(top, "share/man/man6/skitterbat.6.gz")), "no manual page")
    check(glob.glob(os.path.join(top, "share/metainfo/*.metainfo.xml")), "no AppStream metadata")
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
    # Options that only print leave no player folder behind.
    for option, output in (("--version", "skitterbat "), ("--help", "Usage")):
        said = subprocess.run([launcher, option], env=s.env(), capture_output=True, text=True, timeout=30)
        check(said.returncode == 0 and said.stdout.startswith(output), f"{option}: {said}")
    check(not os.path.exists(player), "--version or --help made the player's folder")
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


def make_package(s):
    packages = os.path.join(s.tmp, "packages")
    run(["cpack", "-G", "DEB", "-B", packages, "--config", os.path.join(s.build_dir, "CPackConfig.cmake")],
        cwd=s.build_dir)
    debs = glob.glob(os.path.join(packages, "*.deb"))
    check(len(debs) == 1, f"cpack made {debs}")
    return debs[0]


def require_tools(*tools):
    missing = [tool for tool in tools if not shutil.which(tool)]
    if missing:
        raise e2e.Skip(f"not installed: {' '.join(missing)} (scripts/deps test installs them)")


def test_debian_package(s):
    deb = make_package(s)
    fields = {name: run(["dpkg-deb", "-f", deb, name]).strip()
              for name in ("Package", "Section", "Maintainer", "Depends", "Description")}
    check(fields["Package"] == "skitterbat" and fields["Section"] == "games", f"control fields {fields}")
    check(fields["Maintainer"] and fields["Description"], f"control fields {fields}")
    depends = {d.strip().split(" ")[0] for d in fields["Depends"].split(",")}
    for library in ("libglfw3", "libopenal1", "libgl1"):
        check(library in depends, f"the package does not depend on {library}: {fields['Depends']}")
    root = os.path.join(s.tmp, "root")
    run(["dpkg-deb", "-x", deb, root])
    launcher, data = check_tree(root, "/usr")
    check_launcher(s, launcher, data)


@without_display
def test_desktop_and_metainfo_validate(s):
    require_tools("desktop-file-validate", "appstreamcli")
    root = os.path.join(s.tmp, "root")
    run(["cmake", "--install", s.build_dir, "--prefix", "/usr"], env={**os.environ, "DESTDIR": root})
    share = os.path.join(root, "usr/share")
    run(["desktop-file-validate", os.path.join(share, "applications/skitterbat.desktop")])
    metainfo = glob.glob(os.path.join(share, "metainfo/*.metainfo.xml"))
    check(len(metainfo) == 1, f"metainfo files {metainfo}")
    print(run(["appstreamcli", "validate", "--no-net", "--pedantic", metainfo[0]]))

    # One release everywhere: AppStream, the changelog and the manual page.
    component = ElementTree.parse(metainfo[0]).getroot()
    check(os.path.basename(metainfo[0]) == component.findtext("id") + ".metainfo.xml",
          f"{metainfo[0]} is not named after its id")
    check(component.find("launchable").text == "skitterbat.desktop", "the metainfo launches another entry")
    release = component.find("releases/release").get("version")
    with gzip.open(os.path.join(share, "doc/skitterbat/changelog.gz"), "rt") as f:
        changelog = re.match(r"skitterbat \(([^)]+)\)", f.readline())
    check(changelog and changelog.group(1) == release, f"changelog and metainfo disagree on {release}")
    with gzip.open(os.path.join(share, "man/man6/skitterbat.6.gz"), "rt") as f:
        page = f.read()
    title = re.search(r'^\.TH SKITTERBAT 6 \d{4}-\d\d-\d\d "Skitterbat ([^"]+)"', page, re.M)
    check(title and title.group(1) == release, "the manual page names another release")


@without_display
def test_lintian(s):
    require_tools("lintian")
    deb = make_package(s)
    # Errors and warnings fail; the remaining informational tags are printed.
    result = subprocess.run(["lintian", "--no-cfg", "--display-info", "--fail-on", "error,warning", deb],
                            capture_output=True, text=True)
    print(result.stdout)
    tags = [line for line in result.stdout.splitlines() if line[:2] in ("E:", "W:")]
    check(result.returncode == 0 and not tags, f"lintian:\n{result.stdout}\n{result.stderr}")
