#!/usr/bin/env python3
"""Keeps the folders layered as the README's Layout table says.

Each row of the table names a folder and the folders its code may include.
The check fails when the table's graph has a cycle, when a folder of code is
missing from the table, or when a file includes a folder its own folder may
not. Usage: check_layers.py [ROOT]
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
SOURCES = {".h", ".cpp"}
# Folders that hold no library code: tests and benchmarks may use every layer.
UNLAYERED = {"tests", "bench", "scripts", "packaging", "build"}


def read_table():
    text = (ROOT / "README.md").read_text(encoding="utf-8")
    section = text.split("\n## Layout\n", 1)[1].split("\n## ", 1)[0]
    allowed = {}
    for line in section.splitlines():
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        if len(cells) < 3 or not cells[0].startswith("`"):
            continue
        folder = cells[0].strip("`/")
        allowed[folder] = set(re.findall(r"`([\w]+)/`", cells[1]))
    return allowed


def find_cycle(allowed):
    state = {}

    def visit(folder, path):
        state[folder] = "open"
        for below in sorted(allowed.get(folder, ())):
            if state.get(below) == "open":
                return path + [folder, below]
            if below not in state:
                cycle = visit(below, path + [folder])
                if cycle:
                    return cycle
        state[folder] = "done"
        return None

    for folder in sorted(allowed):
        if folder not in state:
            cycle = visit(folder, [])
            if cycle:
                return cycle
    return None


def main():
    allowed = read_table()
    problems = []
    cycle = find_cycle(allowed)
    if cycle:
        problems.append("the Layout table's folders include each other in a circle: "
                        + " -> ".join(cycle[cycle.index(cycle[-1]):]))
    for folder in sorted(allowed):
        for below in sorted(allowed[folder] - set(allowed)):
            problems.append(f"{folder}/ may include {below}/, which the table does not list")
    include = re.compile(r'^\s*#\s*include\s*"([\w]+)/')
    for path in sorted(ROOT.rglob("*")):
        if path.suffix not in SOURCES or not path.is_file():
            continue
        relative = path.relative_to(ROOT)
        folder = relative.parts[0]
        if len(relative.parts) < 2 or folder in UNLAYERED or folder.startswith((".", "build")):
            continue
        if folder not in allowed:
            problems.append(f"{relative}: folder {folder}/ is not in the README's Layout table")
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = include.match(line)
            if not match or match.group(1) == folder:
                continue
            target = match.group(1)
            if target not in allowed[folder]:
                problems.append(f"{relative}:{number}: {folder}/ may not include {target}/")
    for problem in problems:
        print(f"check_layers: {problem}", file=sys.stderr)
    if problems:
        return 1
    print(f"check_layers: {len(allowed)} folders, includes follow the Layout table")
    return 0


if __name__ == "__main__":
    sys.exit(main())
