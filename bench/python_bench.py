"""A picture from Python against the same picture from vorla-render, side by side in one run.

Each round draws every case three ways, in an order that alternates from round to round:
vorla-render writing its PNG file (the process's whole wall time), Scene.render() alone, and
Scene.render() followed by Picture.save() of the same PNG file. The table gives the medians
over the rounds and their ratios to the renderer's. Run by scripts/bench-python.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

import vorla

# The pictures of the README's table of the kinds: (menu name, example).
CASES = [("convergence", 3), ("periodicity", 10), ("preperiodicity", 7), ("nth", 1),
         ("rectangle", 3), ("end-regions", 5), ("infinity", 10), ("closest-order", 11),
         ("last-two", 3), ("lyap-x", 3), ("lyap-y", 3), ("lyap-sum", 3), ("lyap-d", 3),
         ("closest-dist", 3)]


def timed(fn):
    start = time.perf_counter()
    fn()
    return time.perf_counter() - start


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("render", help="the vorla-render executable")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--threads", type=int, default=os.cpu_count())
    parser.add_argument("--kinds", nargs="*", help="only these kinds")
    args = parser.parse_args()
    cases = [c for c in CASES if not args.kinds or c[0] in args.kinds]
    folder = tempfile.mkdtemp(prefix="vorla-bench-")
    out = os.path.join(folder, "r.png")
    saved = os.path.join(folder, "p.png")
    times = {case: {"renderer": [], "render": [], "save": []} for case in cases}

    for round_ in range(args.rounds):
        for kind, example in cases:
            scene = vorla.Scene.example(example)
            command = [args.render, "--quiet", "--example", str(example), "--picture", kind,
                       "--seed", "1", "--threads", str(args.threads), out]
            ways = {
                "renderer": lambda: subprocess.run(command, check=True),
                "render": lambda: scene.render(kind, seed=1, threads=args.threads),
                "save": lambda: scene.render(kind, seed=1, threads=args.threads).save(saved),
            }
            order = list(ways) if round_ % 2 == 0 else list(reversed(ways))
            for way in order:
                times[kind, example][way].append(timed(ways[way]))
        print(f"round {round_ + 1} of {args.rounds} done", file=sys.stderr)

    print(f"{args.threads} threads, {args.rounds} rounds, medians; 542 x 450, seed 1\n")
    print("| Picture | Example | vorla-render | render() | Ratio | render() + save() | Ratio |")
    print("|---|---|---|---|---|---|---|")
    for (kind, example), t in times.items():
        renderer, render, save = (statistics.median(t[w]) * 1000 for w in t)
        print(f"| {kind} | {example:02d} | {renderer:.0f} ms | {render:.0f} ms | "
              f"{render / renderer:.3f} | {save:.0f} ms | {save / renderer:.3f} |")


if __name__ == "__main__":
    main()
