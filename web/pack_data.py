#!/usr/bin/env python3
"""Splits the page's data folder into the packages the page fetches, each one
its files' bytes one after another:
  skitterbat.data        what the first menu shows: the smallest art of the
                         menus and the loading screen, and the fonts; fetched
                         with the page itself.
  skitterbat-play.data   what play needs beyond that: the sound effects,
                         encoded to Ogg Vorbis (an eighth of the WAV bytes),
                         and the smallest art of play; fetched once the menu
                         is up.
  skitterbat-hd.data, skitterbat-hd2.data
                         the sharper art levels, fetched once the menu is up
                         when the window needs them.
Writes the packages' manifest as JSON and as the script the page's program
starts with. The game reads a file from whichever package holds it: the
split only decides what comes before the first menu.
    pack_data.py FOLDER PACKAGES_DIR MANIFEST.json MANIFEST.js OGGENC"""

import json
import os
import subprocess
import sys

LEVELS = ["-hd", "-hd2"]
# The smallest level's art that only play and the badge gallery show.
PLAY_ART = {"gfx.png", "bg.png", "parts.png", "BadgesA.png"}
# Quality 2 keeps the synthesised noise and sweeps clean at about 96 kbit/s.
VORBIS_QUALITY = "2"


def package_of(name):
    stem, extension = os.path.splitext(name)
    if extension == ".png":
        for level in LEVELS:
            if stem.endswith(level):
                return f"skitterbat{level}.data"
    if name in PLAY_ART or name.startswith("sfx/"):
        return "skitterbat-play.data"
    return "skitterbat.data"


def encode_sounds(folder, oggenc):
    """Replaces each sfx/*.wav by sfx/*.ogg. The fixed stream serial keeps the
    bytes the same from build to build."""
    sfx = os.path.join(folder, "sfx")
    for name in sorted(os.listdir(sfx)) if os.path.isdir(sfx) else []:
        if not name.endswith(".wav"):
            continue
        wav = os.path.join(sfx, name)
        subprocess.run([oggenc, "-Q", "-q", VORBIS_QUALITY, "--serial", "1", "-o", wav[:-4] + ".ogg", wav],
                       check=True)
        os.remove(wav)


def main(folder, packages_dir, manifest_json, manifest_js, oggenc):
    encode_sounds(folder, oggenc)
    names = []
    for parent, _, files in os.walk(folder):
        for name in files:
            names.append(os.path.relpath(os.path.join(parent, name), folder).replace(os.sep, "/"))
    order = ["skitterbat.data", "skitterbat-play.data"] + [f"skitterbat{level}.data" for level in LEVELS]
    manifest = {"packages": []}
    for url in order:
        entries, offset = [], 0
        with open(os.path.join(packages_dir, url), "wb") as package:
            for name in sorted(n for n in names if package_of(n) == url):
                with open(os.path.join(folder, name), "rb") as f:
                    data = f.read()
                package.write(data)
                entries.append([name, offset, len(data)])
                offset += len(data)
        manifest["packages"].append({"url": url, "bytes": offset, "files": entries, "first": url == order[0]})
    text = json.dumps(manifest, separators=(",", ":"))
    with open(manifest_json, "w") as f:
        f.write(text)
    with open(manifest_js, "w") as f:
        f.write(f"Module.dataManifest = {text};\n")


if __name__ == "__main__":
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    main(*sys.argv[1:])
