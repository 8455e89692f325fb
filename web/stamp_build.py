#!/usr/bin/env python3
"""Names the page's build after its files' content and stamps that name on
the references the page's HTML and manifest make to its files (as ?b=NAME),
so that no cache can hand a page a file of another build, and the sizes of
the files whose download the page's loading bar counts (data-bytes). Writes build.json:
the name and every file with its size and SHA-256, which the service worker
keeps and checks.
    stamp_build.py FOLDER [--packages PACKAGES.json] [--icons DIR] FILE...
FILE names the page's files in FOLDER; --packages adds the art packages its
manifest lists and --icons copies the PNGs of DIR into FOLDER and adds them.
A file stamped before (with ?b=@BUILD@ or an earlier name) is stamped again."""

import argparse
import hashlib
import json
import os
import re
import shutil
import sys

STAMP = re.compile(rb"([\w./-]+)\?b=(?:@BUILD@|[0-9a-f]{16})")
# The page's loading bar counts the bytes of the files it downloads first,
# listed in the page as data-bytes="NAME:@ NAME:@" and stamped with each
# file's size.
SIZES = re.compile(rb'data-bytes="([^"]*)"')
STAMPED = (".html", ".webmanifest")


def stamp_sizes(data, size_of):
    def stamp(match):
        files = [name + b":" + size_of(name) for name in (entry.split(b":")[0] for entry in match.group(1).split())]
        return b'data-bytes="' + b" ".join(files) + b'"'
    return SIZES.sub(stamp, data)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--packages")
    parser.add_argument("--icons")
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()

    names = list(args.files)
    if args.packages:
        with open(args.packages) as f:
            names += [package["url"] for package in json.load(f)["packages"]]
    if args.icons:
        for icon in sorted(os.listdir(args.icons)):
            if icon.endswith(".png"):
                shutil.copyfile(os.path.join(args.icons, icon), os.path.join(args.folder, icon))
                names.append(icon)

    contents = {}
    for name in names:
        with open(os.path.join(args.folder, name), "rb") as f:
            contents[name] = f.read()

    # The name covers every file as it is before stamping, so stamping again
    # gives the same name.
    build = hashlib.sha256()
    for name in sorted(names):
        unstamped = contents[name]
        if name.endswith(STAMPED):
            referred = [m.group(1) for m in STAMP.finditer(unstamped)]
            for sizes in SIZES.finditer(unstamped):
                referred += [entry.split(b":")[0] for entry in sizes.group(1).split()]
            for file in referred:
                if file.decode() not in contents:
                    sys.exit(f"{name} refers to {file.decode()}, which is not one of the page's files")
            unstamped = stamp_sizes(STAMP.sub(rb"\1?b=@BUILD@", unstamped), lambda file: b"@")
        build.update(name.encode() + b"\0" + hashlib.sha256(unstamped).digest())
    build = build.hexdigest()[:16]

    files = []
    for name in names:
        data = contents[name]
        if name.endswith(STAMPED):
            data = stamp_sizes(STAMP.sub(rb"\1?b=" + build.encode(), data),
                               lambda file: str(len(contents[file.decode()])).encode())
            with open(os.path.join(args.folder, name), "wb") as f:
                f.write(data)
        files.append([name, len(data), hashlib.sha256(data).hexdigest()])
    with open(os.path.join(args.folder, "build.json"), "w") as f:
        lines = ",\n".join("  " + json.dumps(entry) for entry in files)
        f.write(f'{{"build": "{build}", "files": [\n{lines}\n]}}\n')


if __name__ == "__main__":
    main()
