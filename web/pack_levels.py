#!/usr/bin/env python3
"""Moves the larger art levels out of the page's data folder into packages of
their own, fetched by the page only when the window first needs that level.
Writes skitterbat-hd.data and skitterbat-hd2.data (the files' bytes one after
another) and a manifest of which package holds which file at which offset.
The smallest level, the sounds and everything else stay in the folder, which
the page preloads."""

import json
import os
import sys

LEVELS = ["-hd", "-hd2"]


def level_of(name):
    stem, extension = os.path.splitext(name)
    if extension != ".png":
        return None
    for level in LEVELS:
        if stem.endswith(level):
            return level
    return None


def main(folder, packages_dir, manifest_path):
    found = {level: [] for level in LEVELS}
    for parent, _, files in os.walk(folder):
        for name in files:
            level = level_of(name)
            if level:
                path = os.path.join(parent, name)
                found[level].append(os.path.relpath(path, folder).replace(os.sep, "/"))
    manifest = {"packages": []}
    for level in LEVELS:
        url = f"skitterbat{level}.data"
        entries, offset = [], 0
        with open(os.path.join(packages_dir, url), "wb") as package:
            for name in sorted(found[level]):
                path = os.path.join(folder, name)
                with open(path, "rb") as f:
                    data = f.read()
                package.write(data)
                entries.append([name, offset, len(data)])
                offset += len(data)
                os.remove(path)
        manifest["packages"].append({"url": url, "bytes": offset, "files": entries})
    with open(manifest_path, "w") as f:
        json.dump(manifest, f, separators=(",", ":"))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], sys.argv[3])
