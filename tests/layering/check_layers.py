#!/usr/bin/env python3
"""Keeps the source tree in layers: a file may include headers of its own
folder and of the layers below it, never of a layer above it nor of a
sibling subsystem. Prints every offending include as file:line and exits 1.

Usage: check_layers.py SRC_DIR
"""
import os
import re
import sys

# Folder -> rank, bottom to top; folders of one rank are siblings and may
# not include each other.
LAYERS = {
    "abi": 0, "resources": 0,
    "core": 1,
    "ui": 2,
    "watermark": 3, "overlay": 3, "color": 3, "finishing": 3,
    "jobopts": 4,
    "plugin": 5,
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
SOURCES = (".h", ".hpp", ".cpp", ".c", ".rc", ".rc2")


def offences(src):
    for folder in sorted(os.listdir(src)):
        top = os.path.join(src, folder)
        if not os.path.isdir(top):
            continue
        if folder not in LAYERS:
            yield f"{top}: error: folder '{folder}' belongs to no layer"
            continue
        rank = LAYERS[folder]
        for root, _, files in os.walk(top):
            for name in sorted(files):
                if not name.endswith(SOURCES):
                    continue
                path = os.path.join(root, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m or "/" not in m.group(1):
                            continue  # same folder, generated or system header
                        target = m.group(1).split("/")[0]
                        if target == folder or target not in LAYERS:
                            continue
                        if LAYERS[target] < rank:
                            continue
                        how = "climbs to" if LAYERS[target] > rank else "reaches the sibling"
                        yield (f"{path}:{number}: error: {folder} {how} {target}: "
                               f'#include "{m.group(1)}"')


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    found = list(offences(sys.argv[1]))
    for line in found:
        print(line)
    print(f"{len(found)} include(s) against the layers")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
