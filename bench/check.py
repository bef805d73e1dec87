"""Checks the figures of a benchmark run against their targets and against
the figures committed in bench/baseline.json.

    python bench/check.py RESULTS_DIR BENCH...          # check
    python bench/check.py --update RESULTS_DIR BENCH... # write them as the baseline

A figure fails when it misses its target (the most it may be), or when it
is more than 20% above the committed figure (a regression; the committed
figure is the yardstick, also when the target is met).  Figures are ratios
and sizes where lower is better.  `make bench BENCH_UPDATE=1` records a
run as the new baseline, for the benches it ran; commit bench/baseline.json
with the change that moved them.
"""

import json
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
BASELINE = os.path.join(HERE, "baseline.json")
REGRESSION = 1.20
# Figures at or below this are noise around nothing (e.g. 0.0 KiB of
# growth): a regression is counted only above it.
FLOOR = {"KiB": 256.0}


def load(path):
    if not os.path.exists(path):
        return {}
    with open(path) as f:
        return json.load(f)


def run_figures(results, benches):
    figures = {}
    for bench in benches:
        path = os.path.join(results, bench + ".json")
        if not os.path.exists(path):
            raise SystemExit("check: no figures of %s in %s" % (bench, results))
        figures[bench] = load(path)["figures"]
    return figures


def judge(name, figure, committed):
    """The failures of one figure (texts)."""
    value, target = figure["value"], figure.get("target")
    failures = []
    if target is not None and value > target:
        failures.append("%s: %.3f misses its target %.3f" % (name, value, target))
    if committed is not None and figure.get("checked", True):
        floor = next((f for unit, f in FLOOR.items() if unit in name), 0.0)
        limit = max(committed * REGRESSION, floor)
        if value > limit and value > committed + 1e-9:
            failures.append("%s: %.3f is more than %d%% above the committed %.3f" %
                            (name, value, round((REGRESSION - 1) * 100), committed))
    return failures


def check(figures, baseline):
    failures = []
    for bench, items in figures.items():
        committed = baseline.get(bench, {})
        for name, figure in sorted(items.items()):
            failures.extend(judge(name, figure, committed.get(name)))
    return failures


def update(figures, baseline):
    for bench, items in figures.items():
        baseline[bench] = {name: figure["value"] for name, figure in sorted(items.items())
                           if figure.get("checked", True)}
    with open(BASELINE, "w") as out:
        json.dump(baseline, out, indent=1, sort_keys=True)
        out.write("\n")


def main(argv):
    do_update = argv[:1] == ["--update"]
    if do_update:
        argv = argv[1:]
    if len(argv) < 2:
        raise SystemExit(__doc__)
    results, benches = argv[0], argv[1:]
    figures = run_figures(results, benches)
    baseline = load(BASELINE)
    if do_update:
        update(figures, baseline)
        print("check: %s written for %s" % (os.path.relpath(BASELINE), ", ".join(benches)))
        return 0
    failures = check(figures, baseline)
    count = sum(len(items) for items in figures.values())
    for text in failures:
        print("FAIL " + text)
    print("check: %d figures of %s, %d failing" % (count, ", ".join(benches), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
