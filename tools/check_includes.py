#!/usr/bin/env python3
"""Checks the house's floors from the includes of every source file.

A lower floor never includes a higher one: fw < digest < base < html, effects, net < model <
ui < app.  Inside model/, thumbs -> ktb -> design -> paper, gfx, and nothing points back.  Tests of a
floor may also use testsupport/; bench/, tools/ and stubs/ stand beside the house and may use
any floor.  Prints each offending include and exits 1; prints a summary and exits 0 when
there is none.  Usage: check_includes.py [source-root]
"""
import os
import re
import sys

FLOORS = {"fw": 0, "digest": 1, "base": 2, "html": 3, "effects": 3, "net": 3, "model": 4, "ui": 5, "app": 6}
# Inside model/: a subfolder may include those of a lower rank only.
MODEL_RANKS = {"paper": 0, "gfx": 0, "design": 1, "ktb": 2, "thumbs": 3}
OUTSIDE = {"bench", "tools", "stubs", "testsupport", "res", "lang"}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def place(path):
    """(floor, model subfolder or None, is a test) of a path relative to the root."""
    parts = path.split("/")
    top = parts[0]
    test = "tests" in parts
    sub = None
    if top == "model" and len(parts) > 2 and parts[1] in MODEL_RANKS:
        sub = parts[1]
    return top, sub, test


def check(root):
    problems = []
    edges = set()
    files = 0
    for folder, dirs, names in os.walk(root):
        rel = os.path.relpath(folder, root)
        if rel == ".":
            dirs[:] = [d for d in dirs if not d.startswith(".") and not d.startswith("build")]
            continue
        for name in names:
            if not name.endswith((".cpp", ".h", ".rc")):
                continue
            path = os.path.join(rel, name).replace(os.sep, "/")
            top, sub, test = place(path)
            if top not in FLOORS:
                continue
            files += 1
            with open(os.path.join(root, path), encoding="latin-1") as f:
                text = f.read()
            for target in INCLUDE.findall(text):
                if "/" not in target:
                    continue   # a header beside the file, or a resource header on the include path
                ttop, tsub, ttest = place(target)
                if ttop == "testsupport" and test:
                    continue
                if ttop in ("res",) or (ttop in FLOORS and ttop == top and "/res/" in "/" + target):
                    continue
                if ttop not in FLOORS:
                    if ttop in OUTSIDE:
                        problems.append(f"{path}: includes {target} from {ttop}/, which stands outside the floors")
                    continue
                if ttest and not test:
                    problems.append(f"{path}: program code includes the test header {target}")
                if FLOORS[ttop] > FLOORS[top]:
                    problems.append(f"{path}: {top}/ includes {target} of the higher floor {ttop}/")
                elif FLOORS[ttop] == FLOORS[top] and ttop != top:
                    problems.append(f"{path}: {top}/ includes {target} of {ttop}/, a floor of the same height")
                if top == "model" and ttop == "model" and sub and tsub and sub != tsub:
                    edges.add((sub, tsub))
                    if MODEL_RANKS[tsub] >= MODEL_RANKS[sub]:
                        problems.append(f"{path}: model/{sub}/ includes {target} of model/{tsub}/, which may not point there")
                if top == "model" and ttop == "model" and tsub is None and not ttest and sub is not None:
                    problems.append(f"{path}: includes {target}, which lies in no subfolder of model/")
    # A cycle between model's subfolders, whatever the ranks say.
    graph = {}
    for a, b in edges:
        graph.setdefault(a, set()).add(b)

    def reaches(a, b, seen):
        for n in graph.get(a, ()):
            if n == b or (n not in seen and (seen.add(n) or reaches(n, b, seen))):
                return True
        return False

    for a in sorted(graph):
        if reaches(a, a, set()):
            problems.append(f"model/{a}/ lies on a cycle of includes between model's subfolders")
    return files, sorted(set(problems)), sorted(edges)


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    files, problems, edges = check(os.path.abspath(root))
    for p in problems:
        print(p)
    if problems:
        print(f"{len(problems)} include(s) against the floors of the house")
        return 1
    print(f"{files} files: no include points up a floor; model/: " +
          ", ".join(f"{a} -> {b}" for a, b in edges))
    return 0


if __name__ == "__main__":
    sys.exit(main())
