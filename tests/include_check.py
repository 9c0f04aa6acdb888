#!/usr/bin/env python3
"""The layering bar, checked over the sources' #include lines.

Each top-level folder may include only its own headers and those of the
folders below it: world < render < sim < game < runner, app. Qt lives only in
app/ and OpenGL only in render/'s GL binding. No header and source pair may
reach itself through its includes (no include cycles).
Usage: include_check.py SOURCE_ROOT   (exit 0 clean, 1 with one line a fault)
"""
import os
import re
import sys

LAYERS = {"world": 0, "render": 1, "sim": 2, "game": 3, "runner": 4, "app": 4}
FOLDERS = ["world", "render", "sim", "game", "runner", "app"]
QUOTED = re.compile(r'^\s*#\s*include\s+"([^"]+)"')
ANGLED = re.compile(r"^\s*#\s*include\s+<([^>]+)>")
GL_BINDING = ("render/opengl_gl.h", "render/opengl_gl.cc")


def sources(root):
    for folder in FOLDERS:
        for base, _, names in os.walk(os.path.join(root, folder)):
            for name in sorted(names):
                if name.endswith((".h", ".cc")):
                    path = os.path.join(base, name)
                    yield os.path.relpath(path, root).replace(os.sep, "/")


def unit(path):
    """A header and its source are one unit: cycles are looked for between units."""
    return path.rsplit(".", 1)[0]


def main(root):
    faults = []
    edges = {}
    for path in sources(root):
        folder = path.split("/", 1)[0]
        with open(os.path.join(root, path), encoding="utf-8") as f:
            for number, line in enumerate(f, 1):
                where = f"{path}:{number}"
                quoted = QUOTED.match(line)
                if quoted:
                    target = quoted.group(1)
                    to_folder = target.split("/", 1)[0]
                    if to_folder not in LAYERS:
                        continue
                    if to_folder != folder and LAYERS[to_folder] >= LAYERS[folder]:
                        faults.append(f"{where}: {folder}/ may not include {target}")
                    if not os.path.exists(os.path.join(root, target)):
                        faults.append(f"{where}: {target} does not exist")
                    if unit(target) != unit(path):
                        edges.setdefault(unit(path), set()).add(unit(target))
                    continue
                angled = ANGLED.match(line)
                if not angled:
                    continue
                header = angled.group(1)
                if folder != "app" and re.match(r"Q[A-Za-z]", header):
                    faults.append(f"{where}: Qt header <{header}> outside app/")
                if path not in GL_BINDING and folder != "app" and header.startswith("GL/"):
                    faults.append(f"{where}: GL header <{header}> outside the GL binding")
    faults += cycles(edges)
    for fault in faults:
        print(fault)
    print(f"include check: {len(faults)} faults")
    return 1 if faults else 0


def cycles(edges):
    """One line for each include cycle found by a depth-first walk."""
    found = []
    state = {}

    def visit(node, stack):
        state[node] = 1
        stack.append(node)
        for nxt in sorted(edges.get(node, ())):
            if state.get(nxt) == 1:
                loop = stack[stack.index(nxt):] + [nxt]
                found.append("include cycle: " + " -> ".join(loop))
            elif nxt not in state:
                visit(nxt, stack)
        stack.pop()
        state[node] = 2

    for node in sorted(edges):
        if node not in state:
            visit(node, [])
    return found


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
