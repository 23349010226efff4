#!/usr/bin/env python3
"""Checks the include lines of src/: a file includes only files of its own folder or of a lower
layer, a model never includes its window, and no files include each other in a circle.
Prints what breaks a rule and exits 1; prints a summary and exits 0 otherwise.
Usage: layers.py [SRC_DIR]   (--graph prints the folder graph instead)"""
import os
import re
import sys

# Lower layers first. A folder's files may include their own folder and every folder of a lower
# rank; folders of one rank are independent of each other.
LAYERS = [
    ['base'],
    ['platform'],
    ['posix', 'win32', 'util'],
    ['settings', 'hotkeys'],
    ['ui', 'core'],
    ['clip/model', 'popup_menu/model', 'cmd_launcher/model', 'hotkeylist/model'],
    ['clip/window', 'popup_menu/window', 'cmd_launcher/window', 'hotkeylist/window'],
    ['app'],
    ['check'],
]
RANK = {folder: rank for rank, folders in enumerate(LAYERS) for folder in folders}
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def folder_of(path):
    # the longest known folder that holds the file
    parts = os.path.dirname(path).split('/')
    for n in range(len(parts), 0, -1):
        if '/'.join(parts[:n]) in RANK:
            return '/'.join(parts[:n])
    return None


def read_includes(src):
    graph = {}
    for root, _, names in os.walk(src):
        for name in names:
            if name.endswith(('.h', '.cpp')):
                full = os.path.join(root, name)
                path = os.path.relpath(full, src).replace(os.sep, '/')
                with open(full, encoding='utf-8') as f:
                    graph[path] = [i for i in INCLUDE.findall(f.read())]
    return graph


def cycles(graph):
    # Tarjan's strongly connected components over the files.
    index, low, stack, on, found, counter = {}, {}, [], set(), [], [0]

    def visit(v):
        index[v] = low[v] = counter[0]
        counter[0] += 1
        stack.append(v)
        on.add(v)
        for w in graph.get(v, []):
            if w not in graph:
                continue
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = []
            while True:
                w = stack.pop()
                on.discard(w)
                component.append(w)
                if w == v:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    sys.setrecursionlimit(10000)
    for v in sorted(graph):
        if v not in index:
            visit(v)
    return found


def main():
    args = [a for a in sys.argv[1:] if not a.startswith('--')]
    src = args[0] if args else os.path.join(os.path.dirname(__file__), '..', '..', 'src')
    graph = read_includes(src)
    problems = []
    edges = {}
    for path, includes in sorted(graph.items()):
        mine = folder_of(path)
        if mine is None:
            problems.append(f'{path}: its folder has no layer')
            continue
        for inc in includes:
            if inc not in graph:
                continue  # a header of the system or of a library
            theirs = folder_of(inc)
            if theirs is None or theirs == mine:
                continue
            edges.setdefault((mine, theirs), 0)
            edges[(mine, theirs)] += 1
            if RANK[theirs] >= RANK[mine]:
                problems.append(f'{path} includes {inc}: {theirs} is not below {mine}')
    for component in cycles(graph):
        problems.append('files include each other: ' + ' -> '.join(component))
    if '--graph' in sys.argv:
        for (a, b), n in sorted(edges.items(), key=lambda e: (RANK[e[0][0]], e[0])):
            print(f'{a} -> {b} ({n})')
    for p in problems:
        print('layers: ' + p)
    if problems:
        return 1
    print(f'layers: {len(graph)} files, {sum(len(v) for v in graph.values())} includes, '
          f'none upward, none circular')
    return 0


if __name__ == '__main__':
    sys.exit(main())
