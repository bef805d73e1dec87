"""The Python layer's walks over the MAC and port tables (a Python-owned
copy of each entry, `libtessel.mac_table` and `libtessel.ports`) against
the same walk written with the raw module: the host call, a loop of element
copies, the release.  Switches of 64 to 4096 ports and 1024 to 131,072 MAC
entries (those of bench/bench_tables.py).

Figure: "layer / raw walk" at the largest size, the median over rounds
taken in alternation; target at most 1.2.  It measures the layer, so it is
checked with the start-up (make bench-layer).
"""

import _libtessel as m
import libtessel

from bench_tables import ROUNDS, add_switches, calls_for, mac_count, port_count
from common import Figures, median_of, median_ratio, rounds_of

TARGET = 1.2


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


def measure(figures, what, names, layer_walk, raw_walk, count_of):
    print("%s table" % what)
    print("%8s %14s %14s %12s" % ("entries", "layer us/ent", "raw us/ent", "layer/raw"))
    for name in names:
        count = count_of(name)
        rows = rounds_of([layer_walk, raw_walk], (name,), max(2, calls_for(count) // 10), ROUNDS)
        ratio = median_ratio(rows, 0, 1)
        print("%8d %14.4f %14.4f %12.3f" % (count, median_of(rows, 0) / count * 1e6, median_of(rows, 1) / count * 1e6,
                                            ratio))
        figures.add("%s table %d: layer / raw walk" % (what, count), ratio, checked=False)
    figures.add("%s table: layer / raw walk" % what, ratio, TARGET, "at %d entries" % count)


def main():
    names = add_switches()
    figures = Figures("walks")
    measure(figures, "MAC", names, mac_layer_walk, mac_raw_walk, mac_count)
    measure(figures, "port", names, port_layer_walk, port_raw_walk, port_count)
    figures.write()


if __name__ == "__main__":
    main()
