"""Cost of the port and MAC tables as a switch grows.

Adds switches of growing size to the simulated host and times, per size:
the host call that builds the MAC table (and its release), the Python walk
that copies every entry out, and the port table.  The cost per entry should
stay flat as the table grows (linear total cost); the last column is the
growth of the process's peak memory.

    PYTHONPATH=build/python python3 bench/bench_tables.py
"""

import ctypes
import os
import resource
import sys
import time

import _libtessel as m
import libtessel

SIZES = [(1024, 32768), (2048, 65536), (4096, 131072)]
ROUNDS = 5


def best(func):
    times = []
    for _ in range(ROUNDS):
        start = time.perf_counter()
        func()
        times.append(time.perf_counter() - start)
    return min(times)


def host_table(name):
    status, table = m.VSHYX_GetMACTable(name, m.VS_MAC_ADDR_TYPE_ALL, m.VS_ALL_MAC_TABLE)
    assert status == m.HYX_OK
    count = table.numEntries
    m.VSHYX_FreeMemory(table)
    return count


def walk(name):
    return sum(1 for _ in libtessel.mac_table(name))


def port_table(name):
    status, table = m.VSHYX_GetSwitchPortInfo(name)
    assert status == m.HYX_OK
    m.VSHYX_FreeMemory(table)


def main():
    lib = ctypes.CDLL(os.path.join(os.path.dirname(m.__file__), "libtessel.so"))
    lib.tessel_sim_add_switch.argtypes = [ctypes.c_char_p, ctypes.c_uint, ctypes.c_uint]
    print("%6s %8s %14s %14s %14s %10s" % ("ports", "entries", "host us/entry", "walk us/entry",
                                          "ports us/port", "peak +MiB"))
    for ports, macs in SIZES:
        name = "bench-%d" % ports
        if lib.tessel_sim_add_switch(name.encode(), ports, macs) != 0:
            sys.exit("could not add %s" % name)
        peak = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
        count = host_table(name)
        host = best(lambda: host_table(name))
        walked = best(lambda: walk(name))
        port = best(lambda: port_table(name))
        grown = (resource.getrusage(resource.RUSAGE_SELF).ru_maxrss - peak) / 1024
        print("%6d %8d %14.3f %14.3f %14.3f %10.1f" % (ports, count, host / count * 1e6, walked / count * 1e6,
                                                      port / ports * 1e6, grown))


if __name__ == "__main__":
    main()
