#!/usr/bin/python3
"""Fails when a source file includes a header of a higher layer: the include
arrows of the program's folders run one way, from the top down.

    platform/   the stand-ins for the panel's hardware, processes and clock
    valve/      the drive, the regulation and the records
    remote/ manual/ script/ settings/ app/   the tabs and the shell

A folder includes its own headers and those of the layers below it."""
import pathlib
import re
import sys

LAYERS = {
    "platform": 0,
    "valve": 1,
    "remote": 2,
    "manual": 2,
    "script": 2,
    "settings": 2,
    "app": 2,
}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([A-Za-z0-9_]+)/[^"]+"', re.MULTILINE)


def upward_includes(root):
    """(file, line number, included folder) for every include that goes up."""
    found = []
    for folder, layer in sorted(LAYERS.items()):
        for path in sorted((root / folder).glob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            text = path.read_text(encoding="utf-8", errors="replace")
            for match in INCLUDE.finditer(text):
                target = match.group(1)
                if LAYERS.get(target, -1) > layer:
                    line = text.count("\n", 0, match.start()) + 1
                    found.append((path.relative_to(root), line, target))
    return found


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    if not (root / "valve").is_dir():
        print(f"no valve/ folder below {root}")
        return 2
    found = upward_includes(root)
    for path, line, target in found:
        print(f"{path}:{line}: includes {target}/, a higher layer")
    if found:
        return 1
    print("every include runs to the same or a lower layer")
    return 0


if __name__ == "__main__":
    sys.exit(main())
