"""Cost of the module's wrappers against hand-written METH_VARARGS functions
doing the same conversions (bench/overhead_baseline.c).

For five calls (a scalar getter and setter, a text field, a host call with
two texts and an out-value together with its release, an element copy) it
prints the time per call of each and their ratio.  The cost of a call from
Python itself (a do-nothing METH_VARARGS function given the same arguments,
"call ns") is subtracted from both, so "ratio" compares what the functions
do; "raw" is the plain ratio of the times per call.  The target is a ratio
of at most 1.10.

    make bench   (builds the baseline, then runs this with the build tree)
"""

import os
import sys
import time

import _libtessel as m
import libtessel

import _tessel_baseline as b

ROUNDS = 15
CALLS = 50000


def per_call(funcs, args):
    """The best time per call of each function, measured in alternation so
    that both see the same machine."""
    best = [float("inf")] * len(funcs)
    for _ in range(ROUNDS):
        for i, func in enumerate(funcs):
            start = time.perf_counter()
            for _ in range(CALLS):
                func(*args)
            best[i] = min(best[i], time.perf_counter() - start)
    return [t / CALLS * 1e9 for t in best]


def host_pair(get, free):
    def call(switch, port):
        free(get(switch, port)[1])
    return call


def main():
    b.init_types(m.new_VSInfo(), m.new_VSPortInfo(), m.new_VSMACEntry(), libtessel.VSPortInfo, libtessel.VSMACEntry,
                 sys.modules["swig_runtime_data4"].type_pointer_capsule)
    info = libtessel.VSInfo()
    port = libtessel.port_info("switch0", "web-01.eth0")
    status, table = m.VSHYX_GetMACTable("switch0", m.VS_MAC_ADDR_TYPE_ALL, m.VS_ALL_MAC_TABLE)
    entries = table.macEntries
    cases = [
        ("scalar getter", m.VSInfo_mtu_get, b.mtu_get, (info,)),
        ("scalar setter", m.VSInfo_mtu_set, b.mtu_set, (info, 1500)),
        ("text field", m.VSPortInfo_clientName_get, b.client_name_get, (port,)),
        ("host call, 2 texts", host_pair(m.VSHYX_GetPortInfo, m.VSHYX_FreeMemory),
         host_pair(b.get_port_info, b.free_memory), ("switch0", "web-01.eth0")),
        ("element copy", m.VSMACEntry___getitem__, b.entry_copy, (entries, 3)),
    ]
    print("%-20s %12s %12s %12s %8s %8s" % ("call", "module ns", "hand ns", "call ns", "ratio", "raw"))
    worst = 0.0
    for name, wrapped, hand, args in cases:
        if name.startswith("host"):
            noop = host_pair(lambda *a: (None, None), b.noop)
        else:
            noop = b.noop
        mod, ref, base = per_call([wrapped, hand, noop], args)
        ratio = (mod - base) / (ref - base)
        worst = max(worst, ratio)
        print("%-20s %12.1f %12.1f %12.1f %8.3f %8.3f" % (name, mod, ref, base, ratio, mod / ref))
    m.VSHYX_FreeMemory(table)
    print("worst ratio %.3f (target 1.10)" % worst)


if __name__ == "__main__":
    sys.exit(main())
