"""Cost of the host tables as a switch grows.

Adds switches of growing size to the simulated host (64 to 4096 ports,
1024 to 131,072 MAC entries) and times, per size, the host call that hands
out the MAC table and the port table (with its release), against a memcpy
of the table's bytes in C (bench/overhead_baseline.c), and the Python
layer's walk over the MAC and port tables (a Python-owned copy of each
entry) against the same walk written with the raw module.  The mirror
session table of a distributed switch (1 to 64 sessions) and the runtime
options block are measured the same way.

Figures (medians over rounds, each taken in alternation with its
yardstick):
- "host / memcpy": the host call against the memcpy, at the largest size;
  target at most 3;
- "flat": the largest cost per entry over the smallest, from the sizes
  where the per-call cost no longer dominates; target at most 1.5 (the
  cost is linear in the entries);
- "layer / raw walk": target at most 1.2.

    make bench   (TESSEL_HOST=simulated PYTHONPATH=build/python:build/bench)
"""

import ctypes
import os
import sys

import _libtessel as m
import libtessel

import _tessel_baseline as b
from common import Figures, median_of, median_ratio, rounds_of

# (ports, learned MACs): the MAC table holds the learned ones and one per port.
SIZES = [(64, 1024 - 64), (256, 8192 - 256), (1024, 32768 - 1024), (4096, 131072 - 4096)]
# The sizes whose cost per entry is compared ("flat"): the small ones carry
# the fixed cost of a call.
FLAT_FROM_PORTS = 256
FLAT_FROM_MACS = 8192
MIRROR_SESSIONS = [1, 8, 64]
ROUNDS = 9
HOST_TARGET = 3.0
FLAT_TARGET = 1.5
WALK_TARGET = 1.2

SIZE = b.sizes()


def mac_host(name):
    status, table = m.VSHYX_GetMACTable(name, m.VS_MAC_ADDR_TYPE_ALL, m.VS_ALL_MAC_TABLE)
    m.VSHYX_FreeMemory(table)


def port_host(name):
    status, table = m.VSHYX_GetSwitchPortInfo(name)
    m.VSHYX_FreeMemory(table)


def mac_count(name):
    status, table = m.VSHYX_GetMACTable(name, m.VS_MAC_ADDR_TYPE_ALL, m.VS_ALL_MAC_TABLE)
    assert status == m.HYX_OK, status
    count = m.VSMACTable_numEntries_get(table)
    m.VSHYX_FreeMemory(table)
    return count


def port_count(name):
    status, table = m.VSHYX_GetSwitchPortInfo(name)
    assert status == m.HYX_OK, status
    count = m.VSSwitchPortInfo_numEntries_get(table)
    m.VSHYX_FreeMemory(table)
    return count


def mac_raw_walk(name):
    status, table = m.VSHYX_GetMACTable(name, m.VS_MAC_ADDR_TYPE_ALL, m.VS_ALL_MAC_TABLE)
    try:
        first = m.VSMACTable_macEntries_get(table)
        copy = m.VSMACEntry___getitem__
        for i in range(m.VSMACTable_numEntries_get(table)):
            copy(first, i)
    finally:
        m.VSHYX_FreeMemory(table)


def port_raw_walk(name):
    status, table = m.VSHYX_GetSwitchPortInfo(name)
    try:
        first = m.VSSwitchPortInfo_entries_get(table)
        copy = m.VSPortInfo___getitem__
        for i in range(m.VSSwitchPortInfo_numEntries_get(table)):
            copy(first, i)
    finally:
        m.VSHYX_FreeMemory(table)


def mac_layer_walk(name):
    for _ in libtessel.mac_table(name):
        pass


def port_layer_walk(name):
    for _ in libtessel.ports(name):
        pass


def calls_for(entries):
    """Enough calls per round for a few milliseconds."""
    return max(3, 200000 // max(entries, 1))


def measure_table(figures, what, sizes, host, raw_walk, layer_walk, count_of, entry_size, header, flat_from):
    print("%s table" % what)
    print("%8s %14s %14s %12s %12s %10s" % ("entries", "host us/entry", "walk us/entry", "host/memcpy",
                                             "layer/raw", "walk ms"))
    per_entry = {}
    last = None
    for name in sizes:
        count = count_of(name)
        nbytes = header + count * entry_size
        calls = calls_for(count)
        rows = rounds_of([host, lambda n: b.copy_bytes(nbytes)], (name,), calls, ROUNDS)
        host_ratio = median_ratio(rows, 0, 1)
        host_time = median_of(rows, 0)
        walks = rounds_of([layer_walk, raw_walk], (name,), max(2, calls // 10), ROUNDS)
        walk_ratio = median_ratio(walks, 0, 1)
        walk_time = median_of(walks, 0)
        per_entry[count] = host_time / count
        last = (count, host_ratio, walk_ratio)
        print("%8d %14.4f %14.4f %12.2f %12.3f %10.2f" % (count, host_time / count * 1e6, walk_time / count * 1e6,
                                                          host_ratio, walk_ratio, walk_time * 1e3))
        figures.add("%s table %d: host / memcpy" % (what, count), host_ratio, checked=False)
        figures.add("%s table %d: layer / raw walk" % (what, count), walk_ratio, checked=False)
    count, host_ratio, walk_ratio = last
    figures.add("%s table: host / memcpy" % what, host_ratio, HOST_TARGET, "at %d entries" % count)
    figures.add("%s table: layer / raw walk" % what, walk_ratio, WALK_TARGET, "at %d entries" % count)
    flat = [t for c, t in per_entry.items() if c >= flat_from]
    figures.add("%s table: flat" % what, max(flat) / min(flat), FLAT_TARGET,
                "cost per entry, largest over smallest from %d entries" % flat_from)


def mirror_bytes(name, alias):
    status, table = m.VSDVS_GetDVMirrorSessions(name, alias)
    assert status == m.HYX_OK, status
    try:
        return (SIZE["DVMirrorSessionTable"] + table.numSessions * SIZE["DVMirrorSession"] +
                table.numEntities * SIZE["DVMirrorEntity"] + table.numFilterRules * SIZE["DVMirrorFilterRule"] +
                table.numFilterIPs * SIZE["DVMirrorIpPrefix"]), table.numSessions
    finally:
        m.VSDVS_FreeMemory(table)


def measure_mirror(figures):
    name = libtessel.resolve_switch("dvs-prod")
    alias = "dvs-prod"
    print("mirror session table")
    print("%8s %8s %14s %12s" % ("sessions", "bytes", "host us/entry", "host/memcpy"))

    def host(n):
        status, table = m.VSDVS_GetDVMirrorSessions(name, alias)
        m.VSDVS_FreeMemory(table)

    per_entry = []
    ratio = None
    for n in MIRROR_SESSIONS:
        sessions = [libtessel.mirror_session("bench-%d" % i, "bench %d" % i, sources=["uplink%d" % (i % 4)],
                                             snap_len=128) for i in range(n)]
        libtessel.set_mirror_sessions("dvs-prod", sessions)
        nbytes, count = mirror_bytes(name, alias)
        rows = rounds_of([host, lambda n: b.copy_bytes(nbytes)], (n,), calls_for(count * 8), ROUNDS)
        ratio = median_ratio(rows, 0, 1)
        per_entry.append(median_of(rows, 0) / count)
        print("%8d %8d %14.4f %12.2f" % (count, nbytes, per_entry[-1] * 1e6, ratio))
        figures.add("mirror table %d: host / memcpy" % count, ratio, checked=False)
    libtessel.clear_mirror_sessions("dvs-prod")
    figures.add("mirror table: host / memcpy", ratio, HOST_TARGET, "at %d sessions" % MIRROR_SESSIONS[-1])


def measure_options(figures):
    status, block = m.VSHYX_GetRuntimeOptions(None, 0)
    assert status == m.HYX_OK, status
    nbytes = block.totalLength
    m.VSHYX_FreeMemory(block)

    def host():
        status, block = m.VSHYX_GetRuntimeOptions(None, 0)
        m.VSHYX_FreeMemory(block)

    rows = rounds_of([host, lambda: b.copy_bytes(nbytes)], (), 20000, ROUNDS)
    ratio = median_ratio(rows, 0, 1)
    print("runtime options block: %d bytes, host call %.2f us, %.2fx a memcpy call" %
          (nbytes, median_of(rows, 0) * 1e6, ratio))
    figures.add("options block: host / memcpy", ratio, None, "%d bytes: the cost of a call dominates" % nbytes)


def main():
    lib = ctypes.CDLL(os.path.join(os.path.dirname(m.__file__), "libtessel.so"))
    lib.tessel_sim_add_switch.argtypes = [ctypes.c_char_p, ctypes.c_uint, ctypes.c_uint]
    names = []
    for ports, macs in SIZES:
        name = "bench-%d" % ports
        if lib.tessel_sim_add_switch(name.encode(), ports, macs) != 0:
            sys.exit("could not add %s" % name)
        names.append(name)
    figures = Figures("tables")
    measure_table(figures, "MAC", names, mac_host, mac_raw_walk, mac_layer_walk, mac_count, SIZE["VSMACEntry"],
                  SIZE["VSMACTable"], FLAT_FROM_MACS)
    measure_table(figures, "port", names, port_host, port_raw_walk, port_layer_walk, port_count, SIZE["VSPortInfo"],
                  SIZE["VSSwitchPortInfo"], FLAT_FROM_PORTS)
    measure_mirror(figures)
    measure_options(figures)
    figures.write()


if __name__ == "__main__":
    main()
