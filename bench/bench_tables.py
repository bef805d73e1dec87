"""Cost of the host tables as a switch grows.

Adds switches of growing size to the simulated host (64 to 4096 ports,
1024 to 131,072 MAC entries) and times, per size, the host call that hands
out the MAC table and the port table (with its release), against a memcpy
of the table's bytes in C (bench/overhead_baseline.c).  The mirror session
table of a distributed switch (1 to 64 sessions) and the runtime options
block are measured the same way.  (The layer's walks over these tables are
bench/bench_walks.py.)

Figures (medians over rounds, each taken in alternation with its
yardstick):
- "host / memcpy": the host call against the memcpy, at the largest size;
  target at most 3;
- "flat": the largest cost per entry of the host call over the smallest,
  from the second size on (where the fixed cost of a call no longer
  counts); target at most 3 over a 16-fold growth: a table that outgrows
  the caches costs more per entry (the memcpy's cost per entry, printed
  beside it, grows the same way), a cost that grows with the table
  (quadratic) would show 16;

    make bench   (TESSEL_HOST=simulated PYTHONPATH=build/python:build/bench)
"""

import ctypes
import os
import statistics
import sys

import _libtessel as m
import libtessel

import _tessel_baseline as b
from common import Figures, median_of, median_ratio, rounds_of

# (ports, learned MACs): the MAC table holds the learned ones and one per port.
SIZES = [(64, 1024 - 64), (256, 8192 - 256), (1024, 32768 - 1024), (4096, 131072 - 4096)]
MIRROR_SESSIONS = [1, 8, 64]
ROUNDS = 9
HOST_TARGET = 3.0
FLAT_TARGET = 3.0

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


def calls_for(entries):
    """Enough calls per round for a few milliseconds."""
    return max(3, 200000 // max(entries, 1))


def measure_table(figures, what, sizes, host, count_of, entry_size, header):
    print("%s table" % what)
    print("%8s %14s %14s %12s" % ("entries", "host us/entry", "memcpy us/ent", "host/memcpy"))
    per_entry = []
    last = None
    for name in sizes:
        count = count_of(name)
        nbytes = header + count * entry_size
        calls = calls_for(count)
        rows = rounds_of([host, lambda n: b.copy_bytes(nbytes)], (name,), calls, ROUNDS)
        host_ratio = median_ratio(rows, 0, 1)
        host_time = median_of(rows, 0)
        per_entry.append((count, host_time / count))
        last = (count, host_ratio)
        print("%8d %14.4f %14.4f %12.2f" % (count, host_time / count * 1e6, median_of(rows, 1) / count * 1e6,
                                            host_ratio))
        figures.add("%s table %d: host / memcpy" % (what, count), host_ratio, checked=False)
    count, host_ratio = last
    figures.add("%s table: host / memcpy" % what, host_ratio, HOST_TARGET, "at %d entries" % count)
    flat = [t for _, t in per_entry[1:]]
    figures.add("%s table: flat" % what, max(flat) / min(flat), FLAT_TARGET,
                "host cost per entry, largest over smallest from %d entries" % per_entry[1][0])


def mirror_bytes(name, alias):
    status, table = m.VSDVS_GetDVMirrorSessions(name, alias)
    assert status == m.HYX_OK, status
    try:
        return (SIZE["DVMirrorSessionTable"] + table.numSessions * SIZE["DVMirrorSession"] +
                table.numEntities * SIZE["DVMirrorEntity"] + table.numFilterRules * SIZE["DVMirrorFilterRule"] +
                table.numFilterIPs * SIZE["DVMirrorIpPrefix"]), table.numSessions
    finally:
        m.VSDVS_FreeMemory(table)


def c_ratio(kind, name, alias):
    """The host function against the memcpy, both timed in a C loop (no
    call from Python counted): the median over rounds."""
    rows = [b.time_host_table(kind, name, alias, 2000) for _ in range(ROUNDS)]
    return statistics.median(host / copy for host, copy, _ in rows)


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
    in_c = c_ratio("mirror", name, alias)
    libtessel.clear_mirror_sessions("dvs-prod")
    print("%d sessions, timed in C: the host call %.2fx the memcpy" % (MIRROR_SESSIONS[-1], in_c))
    figures.add("mirror table: host / memcpy", ratio, 3.0,
                "at %d sessions; with fewer, the fixed cost of a call dominates" % MIRROR_SESSIONS[-1])
    figures.add("mirror table: host / memcpy, timed in C", in_c, checked=False)


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
    in_c = c_ratio("options", "", None)
    print("timed in C: the host call %.2fx the memcpy" % in_c)
    figures.add("options block: host / memcpy", ratio, None, "%d bytes: the fixed cost of a call dominates" % nbytes)
    figures.add("options block: host / memcpy, timed in C", in_c, checked=False)


def add_switches():
    """The switches of SIZES, added to the simulated host: their names."""
    lib = ctypes.CDLL(os.path.join(os.path.dirname(m.__file__), "libtessel.so"))
    lib.tessel_sim_add_switch.argtypes = [ctypes.c_char_p, ctypes.c_uint, ctypes.c_uint]
    names = []
    for ports, macs in SIZES:
        name = "bench-%d" % ports
        if lib.tessel_sim_add_switch(name.encode(), ports, macs) != 0:
            sys.exit("could not add %s" % name)
        names.append(name)
    return names


def main():
    names = add_switches()
    figures = Figures("tables")
    measure_table(figures, "MAC", names, mac_host, mac_count, SIZE["VSMACEntry"], SIZE["VSMACTable"])
    measure_table(figures, "port", names, port_host, port_count, SIZE["VSPortInfo"], SIZE["VSSwitchPortInfo"])
    measure_mirror(figures)
    measure_options(figures)
    figures.write()


if __name__ == "__main__":
    main()
