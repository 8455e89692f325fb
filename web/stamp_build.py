#!/usr/bin/env python3
"""Names the page's build after its files' content and stamps that name on
the references the page's HTML and manifest make to its files (as ?b=NAME),
so that no cache can hand a page a file of another build. Writes build.json:
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
STAMPED = (".html", ".webmanifest")


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
            for match in STAMP.finditer(unstamped):
                if match.group(1).decode() not in contents:
                    sys.exit(f"{name} refers to {match.group(1).decode()}, which is not one of the page's files")
            unstamped = STAMP.sub(rb"\1?b=@BUILD@", unstamped)
        build.update(name.encode() + b"\0" + hashlib.sha256(unstamped).digest())
    build = build.hexdigest()[:16]

    files = []
    for name in names:
        data = contents[name]
        if name.endswith(STAMPED):
            data = STAMP.sub(rb"\1?b=" + build.encode(), data)
            with open(os.path.join(args.folder, name), "wb") as f:
                f.write(data)
        files.append([name, len(data), hashlib.sha256(data).hexdigest()])
    with open(os.path.join(args.folder, "build.json"), "w") as f:
        lines = ",\n".join("  " + json.dumps(entry) for entry in files)
        f.write(f'{{"build": "{build}", "files": [\n{lines}\n]}}\n')


if __name__ == "__main__":
    main()
