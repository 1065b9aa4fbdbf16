#!/usr/bin/env python3
"""The include graph of src/: units (a header and its source), folders, and
where arrows run against the layers.

  include-graph.py SRC [--dot FILE] [--check]

A unit is a file's path without its extension: app/Glyph_MW.h and
Glyph_MW.cpp are one unit, and a source named after a unit and a concern
(Glyph_MW_Pages.cpp) belongs to that unit too. Prints: files and lines, the
largest file, the folder graph, folder edges that lie on a folder cycle (back
arrows), and include circles between units of different names. --dot writes
the folder graph for graphviz (back arrows in red); --check exits with 1 when
there is a back arrow or a circle."""
import os, re, sys, collections

def units(src):
    files = {}
    for root, _, names in os.walk(src):
        for n in names:
            if n.endswith(('.h', '.cpp')):
                p = os.path.relpath(os.path.join(root, n), src)
                files[p] = open(os.path.join(root, n), encoding='utf-8', errors='replace').read()
    return files

def folder(path):
    d = os.path.dirname(path)
    return d

def unit_of(path, text):
    base = os.path.splitext(path)[0]
    if path.endswith('.cpp') and not os.path.exists(base + '.h'):
        # A class split over files: Glyph_MW_Pages.cpp includes Glyph_MW.h first.
        inc = re.findall(r'#include "([^"]+)"', text)
        if inc:
            owner = os.path.splitext(inc[0])[0]
            if os.path.dirname(owner) == os.path.dirname(base) and \
                    os.path.basename(base).startswith(os.path.basename(owner) + '_'):
                return owner
    return base

def sccs(graph):
    index, low, stack, on, out, n = {}, {}, [], set(), [], [0]
    sys.setrecursionlimit(10000)
    def visit(v):
        index[v] = low[v] = n[0]; n[0] += 1; stack.append(v); on.add(v)
        for w in graph.get(v, ()):
            if w not in index:
                visit(w); low[v] = min(low[v], low[w])
            elif w in on:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            comp = []
            while True:
                w = stack.pop(); on.discard(w); comp.append(w)
                if w == v: break
            out.append(comp)
    for v in list(graph):
        if v not in index: visit(v)
    return out

def main():
    src = sys.argv[1]
    dotfile = sys.argv[sys.argv.index('--dot') + 1] if '--dot' in sys.argv else None
    if dotfile:
        dotfile = os.path.abspath(dotfile)
    os.chdir(src)
    files = units('.')
    files = {k[2:] if k.startswith('./') else k: v for k, v in files.items()}
    unit = {p: unit_of(p, t) for p, t in files.items()}
    ugraph = collections.defaultdict(set)
    fgraph = collections.defaultdict(collections.Counter)
    for p, t in files.items():
        for inc in re.findall(r'#include "([^"]+)"', t):
            if inc not in files:
                continue
            a, b = unit[p], unit[inc]
            if a != b:
                ugraph[a].add(b)
            fa, fb = folder(p), folder(inc)
            if fa != fb:
                fgraph[fa][fb] += 1
        ugraph.setdefault(unit[p], set())
    lines = {p: t.count('\n') for p, t in files.items()}
    big = max(lines, key=lines.get)
    print(f"files {len(files)}, lines {sum(lines.values())}, largest {big} ({lines[big]} lines)")
    print("folder graph (includes):")
    for a in sorted(fgraph):
        print(f"  {a:16} -> " + ", ".join(f"{b} ({c})" for b, c in sorted(fgraph[a].items())))
    fsimple = {a: set(bs) for a, bs in fgraph.items()}
    back = []
    for comp in sccs(fsimple):
        if len(comp) > 1:
            cs = set(comp)
            for a in comp:
                for b in fsimple.get(a, ()):
                    if b in cs:
                        back.append((a, b, fgraph[a][b]))
    print(f"folder edges on a folder cycle (back arrows): {len(back)}")
    for a, b, c in back:
        print(f"  {a} -> {b} ({c} includes)")
    circles = [c for c in sccs(ugraph) if len(c) > 1]
    print(f"include circles between units of different names: {len(circles)}")
    for c in circles:
        print("  " + " <-> ".join(sorted(c)))
    if dotfile:
        with open(dotfile, 'w') as f:
            f.write('digraph include { rankdir=BT; node [shape=box,fontsize=10];\n')
            for a in sorted(fgraph):
                for b, c in sorted(fgraph[a].items()):
                    col = 'red' if any(x == a and y == b for x, y, _ in back) else 'black'
                    f.write(f'  "{a}" -> "{b}" [label="{c}",color={col},fontcolor={col}];\n')
            f.write('}\n')
    return 1 if '--check' in sys.argv and (back or circles) else 0

sys.exit(main())
