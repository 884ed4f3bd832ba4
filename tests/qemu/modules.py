#!/usr/bin/env python3
"""Prints the kernel modules a set of modules needs, dependencies first.

Reads each module's "depends=" from its .modinfo section, so no depmod is needed.
Usage: modules.py MODULE_DIR NAME...
"""
import os
import re
import sys


def index(module_dir):
    paths = {}
    for root, _dirs, files in os.walk(module_dir):
        for f in files:
            if f.endswith(".ko"):
                paths[f[:-3].replace("-", "_")] = os.path.join(root, f)
    return paths


def depends(path):
    data = open(path, "rb").read()
    m = re.search(rb"\x00depends=([^\x00]*)\x00", data)
    if not m or not m.group(1):
        return []
    return [d.decode().replace("-", "_") for d in m.group(1).split(b",")]


def main():
    module_dir, names = sys.argv[1], sys.argv[2:]
    paths = index(module_dir)
    ordered, seen = [], set()

    def visit(name):
        name = name.replace("-", "_")
        if name in seen:
            return
        seen.add(name)
        if name not in paths:
            return  # built into the kernel
        for dep in depends(paths[name]):
            visit(dep)
        ordered.append(paths[name])

    for n in names:
        visit(n)
    print("\n".join(ordered))


if __name__ == "__main__":
    main()
