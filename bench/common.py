"""What the benchmarks share: timing in alternation, medians, and the
figures each run leaves for bench/check.py.

A figure is a ratio against a yardstick measured in the same run, so the
speed of the machine divides out; each is the median over rounds, and
within a round the functions compared run one after the other, so a busy
neighbour slows both."""

import json
import os
import statistics
import time


def timed(func, args, calls):
    """Seconds per call of func(*args) over calls calls."""
    start = time.perf_counter()
    for _ in range(calls):
        func(*args)
    return (time.perf_counter() - start) / calls


def rounds_of(funcs, args, calls, rounds):
    """For each round, the seconds per call of each function given args,
    measured in alternation: [[t0, t1, ...], ...]."""
    return [[timed(f, args, calls) for f in funcs] for _ in range(rounds)]


def median_ratio(rows, num, den, base=None):
    """The median over rounds of rows[num] / rows[den], or, with base,
    of (rows[num] - rows[base]) / (rows[den] - rows[base])."""
    ratios = []
    for row in rows:
        if base is None:
            ratios.append(row[num] / row[den])
        else:
            ratios.append((row[num] - row[base]) / (row[den] - row[base]))
    return statistics.median(ratios)


def median_of(rows, index):
    return statistics.median(row[index] for row in rows)


class Figures:
    """The figures of one benchmark: name -> {"value", "target", "checked",
    "note"}.  A target is the most the value may be (None: none); a figure
    not checked is reported only (bench/check.py compares the others with
    the committed ones)."""

    def __init__(self, bench):
        self.bench = bench
        self.items = {}

    def add(self, name, value, target=None, note="", checked=True):
        self.items[name] = {"value": round(value, 4), "target": target, "checked": checked, "note": note}

    def write(self):
        """Writes them to $TESSEL_BENCH_OUT/<bench>.json when set."""
        folder = os.environ.get("TESSEL_BENCH_OUT")
        if not folder:
            return
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, self.bench + ".json"), "w") as out:
            json.dump({"bench": self.bench, "figures": self.items}, out, indent=1, sort_keys=True)
            out.write("\n")
