"""Memory of the host tables and of repeated calls.

- Peak growth per entry: in a fresh interpreter per size, the growth of the
  process's peak resident memory while the host's MAC table is held, and
  while the layer's copies of every entry are held (a list of records).
- No growth: 10^5 cycles of handing out and releasing a port record, a
  MAC table and an element copy; the resident memory after them must be
  within 1 MiB of what it was after a warm-up of the same cycles, and the
  host must hold no block more than before.

    make bench
"""

import ctypes
import gc
import os
import resource
import subprocess
import sys

from common import Figures

MAC_SIZES = [(64, 8192 - 64), (1024, 131072 - 1024)]
CYCLES = int(os.environ.get("TESSEL_MEMORY_CYCLES", "100000"))
WARM_UP = CYCLES // 10
GROWTH_LIMIT = 1 << 20


def resident():
    with open("/proc/self/statm") as f:
        return int(f.read().split()[1]) * os.sysconf("SC_PAGE_SIZE")


def peak():
    return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss * 1024


def child(ports, macs):
    """Run in a fresh interpreter: prints entries, host bytes/entry, copies
    bytes/entry."""
    import _libtessel as m
    import libtessel

    lib = ctypes.CDLL(os.path.join(os.path.dirname(m.__file__), "libtessel.so"))
    lib.tessel_sim_add_switch.argtypes = [ctypes.c_char_p, ctypes.c_uint, ctypes.c_uint]
    if lib.tessel_sim_add_switch(b"bench-mem", ports, macs) != 0:
        sys.exit("could not add the switch")
    # The table's record class is made the first time the module hands one
    # out; made here, it does not count as the entries' memory.
    libtessel.records.VSMACTable
    gc.collect()
    before = peak()
    status, table = m.VSHYX_GetMACTable("bench-mem", m.VS_MAC_ADDR_TYPE_ALL, m.VS_ALL_MAC_TABLE)
    count = m.VSMACTable_numEntries_get(table)
    host = peak() - before
    m.VSHYX_FreeMemory(table)
    # One walk first, so that importing the layer's MAC module and making its
    # record class do not count as the entries' memory.
    list(libtessel.mac_table("switch0"))
    gc.collect()
    before = peak()
    copies = list(libtessel.mac_table("bench-mem"))
    held = peak() - before
    assert len(copies) == count
    print(count, host / count, held / count)


def cycles(m, lib, n):
    copy = m.VSMACEntry___getitem__
    for _ in range(n):
        status, rec = m.VSHYX_GetPortInfo("switch0", "web-01.eth0")
        m.VSHYX_FreeMemory(rec)
        status, table = m.VSHYX_GetMACTable("switch0", m.VS_MAC_ADDR_TYPE_ALL, m.VS_ALL_MAC_TABLE)
        entry = copy(m.VSMACTable_macEntries_get(table), 0)
        m.VSHYX_FreeMemory(table)
        del entry


def main():
    if len(sys.argv) == 3:
        child(int(sys.argv[1]), int(sys.argv[2]))
        return
    import _libtessel as m

    figures = Figures("memory")
    print("%8s %18s %18s" % ("entries", "host table B/entry", "copies B/entry"))
    for ports, macs in MAC_SIZES:
        out = subprocess.run([sys.executable, __file__, str(ports), str(macs)], check=True, capture_output=True,
                             text=True).stdout.split()
        count, host, held = int(out[0]), float(out[1]), float(out[2])
        print("%8d %18.1f %18.1f" % (count, host, held))
        figures.add("memory: MAC table %d, host table bytes per entry" % count, host)
        figures.add("memory: MAC table %d, copies bytes per entry" % count, held)

    lib = ctypes.CDLL(os.path.join(os.path.dirname(m.__file__), "libtessel.so"))
    lib.tessel_sim_outstanding_blocks.restype = ctypes.c_long
    cycles(m, lib, WARM_UP)
    gc.collect()
    blocks, start = lib.tessel_sim_outstanding_blocks(), resident()
    cycles(m, lib, CYCLES)
    gc.collect()
    grown, left = resident() - start, lib.tessel_sim_outstanding_blocks() - blocks
    print("%d get-and-release cycles: resident memory %+.1f KiB, host blocks %+d" % (CYCLES, grown / 1024, left))
    figures.add("memory: growth over %d cycles, KiB" % CYCLES, max(grown, 0) / 1024, GROWTH_LIMIT / 1024)
    figures.add("memory: host blocks left over %d cycles" % CYCLES, left, 0)
    figures.write()


if __name__ == "__main__":
    main()
