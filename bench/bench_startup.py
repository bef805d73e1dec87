"""Start-up time: `import _libtessel`, `import libtessel` and the tool's
`python -m libtessel switches --json`, each in a fresh interpreter, against
`python -c pass` (subprocess wall time; the median of many runs, each
command run in turn so that all see the same machine).

Targets with the whole module built: the tool at most 2x `python -c pass`,
and `import libtessel` at most 3x `import _libtessel` (wall times, each
with the interpreter's own start; the times over `python -c pass` are
reported too).

    make bench-layer
"""

import os
import statistics
import subprocess
import sys
import time

from common import Figures

RUNS = int(os.environ.get("TESSEL_STARTUP_RUNS", "40"))

COMMANDS = [
    ("python -c pass", ["-c", "pass"]),
    ("import _libtessel", ["-c", "import _libtessel"]),
    ("import libtessel", ["-c", "import libtessel"]),
    ("libtessel switches --json", ["-m", "libtessel", "switches", "--json"]),
]


def run_once(args):
    start = time.perf_counter()
    subprocess.run([sys.executable] + args, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return time.perf_counter() - start


def main():
    env_ok = os.environ.get("TESSEL_HOST") == "simulated"
    if not env_ok:
        sys.exit("bench_startup: run with TESSEL_HOST=simulated (make bench-layer)")
    for _, args in COMMANDS:  # warm the file cache
        run_once(args)
    times = {name: [] for name, _ in COMMANDS}
    for _ in range(RUNS):
        for name, args in COMMANDS:
            times[name].append(run_once(args))
    med = {name: statistics.median(t) for name, t in times.items()}
    bare = med["python -c pass"]
    figures = Figures("startup")
    print("%-28s %10s %12s" % ("command", "median ms", "x -c pass"))
    for name, _ in COMMANDS:
        print("%-28s %10.1f %12.2f" % (name, med[name] * 1e3, med[name] / bare))
    tool = med["libtessel switches --json"] / bare
    layer = med["import libtessel"] / med["import _libtessel"]
    figures.add("startup: switches --json / python -c pass", tool, 2.0, "wall time, median of %d runs" % RUNS)
    figures.add("startup: import libtessel / import _libtessel", layer, 3.0, "wall time, median of %d runs" % RUNS)
    figures.add("startup: import _libtessel ms over python -c pass", (med["import _libtessel"] - bare) * 1e3,
                checked=False)
    figures.add("startup: import libtessel ms over python -c pass", (med["import libtessel"] - bare) * 1e3,
                checked=False)
    print("switches --json: %.2fx python -c pass (target 2); import libtessel: %.2fx import _libtessel "
          "(target 3)" % (tool, layer))
    figures.write()


if __name__ == "__main__":
    main()
