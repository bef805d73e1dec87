"""Abandoned-call soak: 100,000 calls through the exception guard, each
abandoned by the simulated host while the wrapper holds text copies and
out-value slots, with an ordinary call between them.  Whatever an
abandoned call had made must be released on the way out: the process's
resident memory after the soak must be within 1 MiB of what it was after a
warm-up of the same calls.

    make soak   (PYTHONPATH=build/python python3 bench/soak_guard.py [calls])
"""

import ctypes
import gc
import os
import sys

import _libtessel as m

CALLS = int(sys.argv[1]) if len(sys.argv) > 1 else 100000
WARM_UP = 10000
LIMIT = 1 << 20

LONG = "n" * 300  # longer than every host buffer: copies of their own
CALLS_TO_ABANDON = [
    # A text copied into a host-writable buffer of at least 128 bytes, and a
    # second text.
    ("VSHYX_DVSAliasToSwitchId", lambda: m.VSHYX_DVSAliasToSwitchId(LONG, LONG)),
    # Two texts and a record out-value slot.
    ("VSHYX_GetPortInfo", lambda: m.VSHYX_GetPortInfo("switch0" + LONG, "hostport0")),
    # A text and a scalar out-value.
    ("VSDVS_GetLearnStatic", lambda: m.VSDVS_GetLearnStatic(LONG)),
    # A table out-value slot.
    ("VSHYX_GetMACTable", lambda: m.VSHYX_GetMACTable(LONG, 3, 0)),
    # A text escaped into a copy of its own.
    ("Panic", lambda: m.Panic("100% " + LONG)),
]


def resident_bytes():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def soak(basekit, calls):
    for i in range(calls):
        name, call = CALLS_TO_ABANDON[i % len(CALLS_TO_ABANDON)]
        basekit.tessel_sim_inject_fault(name.encode(), KeyError, b"abandoned")
        try:
            call()
        except KeyError:
            pass
        else:
            sys.exit("%s was not abandoned" % name)
        # An ordinary call in between: the guard is armed again.
        status, table = m.VSHYX_GetMACTable("switch0", 3, 0)
        m.VSHYX_FreeMemory(table)


def main():
    basekit = ctypes.CDLL(os.path.join(os.path.dirname(m.__file__), "libbasekit.so"))
    basekit.tessel_sim_inject_fault.argtypes = [ctypes.c_char_p, ctypes.py_object, ctypes.c_char_p]
    basekit.tessel_sim_inject_fault.restype = None
    basekit.tessel_sim_outstanding_blocks.restype = ctypes.c_long
    soak(basekit, WARM_UP)
    gc.collect()
    before, blocks_before = resident_bytes(), basekit.tessel_sim_outstanding_blocks()
    soak(basekit, CALLS)
    gc.collect()
    after, blocks_after = resident_bytes(), basekit.tessel_sim_outstanding_blocks()
    growth = after - before
    print("abandoned calls:        %d (+%d ordinary)" % (CALLS, CALLS))
    print("resident before/after:  %.2f MiB / %.2f MiB" % (before / 2**20, after / 2**20))
    print("growth:                 %+d bytes (limit %d)" % (growth, LIMIT))
    print("host blocks before/after: %d / %d" % (blocks_before, blocks_after))
    if growth > LIMIT or blocks_after != blocks_before:
        print("FAILED")
        return 1
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
