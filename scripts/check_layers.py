#!/usr/bin/python3
"""Fails when a lower library includes a header of a higher one.

The linker catches a call into a higher library, but not a header used for a
constant or an inline function; this catches those too.

    check_layers.py SOURCE_DIR
"""
import pathlib
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)

# The folders of each library (the image providers beside their classes
# belong to the UI library) and the folders each may include from.
CORE = ("skin", "styles", "panel", "tools")
ALLOWED = {
    "core": set(CORE),
    "cli": set(CORE) | {"cli"},
}


def library(path):
    folder = path.parent.name
    if folder in CORE and "imageprovider" not in path.name:
        return "core"
    if folder == "cli" and path.name != "main.cpp":
        return "cli"
    return None


def main():
    src = pathlib.Path(sys.argv[1]) / "src"
    problems = []
    for path in sorted(src.glob("*/*.[ch]*")):
        layer = library(path)
        if layer is None:
            continue
        for name in INCLUDE.findall(path.read_text(encoding="utf-8")):
            target = (path.parent / name) if "/" not in name else (src / name)
            if not target.exists():
                continue
            folder = target.parent.name
            if folder not in ALLOWED[layer] or (layer == "core" and "imageprovider" in target.name):
                problems.append(f"{path.relative_to(src.parent)}: the {layer} library includes {name}")
    for problem in problems:
        print(problem, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
