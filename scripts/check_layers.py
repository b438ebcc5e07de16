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


INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def included_folder(line, relative, code_folders):
    """The project folder an #include line reaches, in any spelling: "folder/x.h",
    <folder/x.h>, "../folder/x.h" (resolved against the including file), or None."""
    match = INCLUDE.match(line)
    if not match:
        return None
    name = match.group(2).strip()
    parts = pathlib.PurePosixPath(name).parts
    if ".." in parts or (parts and parts[0] == "."):
        resolved = []
        for part in relative.parent.parts + parts:
            if part == "..":
                if not resolved:
                    return "(outside the project)"
                resolved.pop()
            elif part != ".":
                resolved.append(part)
        parts = tuple(resolved)
        return parts[0] if len(parts) > 1 else None
    if len(parts) > 1 and parts[0] in code_folders:
        return parts[0]
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
    code_folders = {path.name for path in ROOT.iterdir() if path.is_dir()} - UNLAYERED
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
            target = included_folder(line, relative, code_folders)
            if target is None or target == folder:
                continue
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
