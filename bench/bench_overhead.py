"""Cost of the module's wrappers against hand-written METH_VARARGS functions
doing the same conversions (bench/overhead_baseline.c).

Six calls: a scalar getter and setter, a text field, a host call with two
texts and two out-values (VSDVS_GetPortVLANPolicy, with the release of the
record it hands out), an element copy out of a host table, and a sized
constructor (new_VSUplinkPorts).  For each, "ratio" is the median over
rounds of (time per call of the wrapper) / (time per call of the
hand-written function), both measured in alternation; the target is at most
1.10.  "net" subtracts from both the cost of a call from Python itself (a
do-nothing METH_VARARGS function given the same arguments): it compares
what the functions do, and is reported only.

    make bench   (builds the baseline, then runs this with the build tree)
"""

import sys

import _libtessel as m
import libtessel

import _tessel_baseline as b
from common import Figures, median_of, median_ratio, rounds_of

ROUNDS = 31
CALLS = 20000
TARGET = 1.10


def released(get, free):
    """A host call whose record is released at once, as a caller would."""
    def call(switch, port):
        free(get(switch, port)[1])
    return call


def setup():
    b.set_runtime(m.new_VSInfo(), sys.modules["swig_runtime_data4"].type_pointer_capsule)
    status, policy, _ = m.VSDVS_GetPortVLANPolicy("switch0", "web-01.eth0")
    assert status == m.HYX_OK
    samples = [
        (b.T_INFO, m.new_VSInfo(), None),
        (b.T_PORT, m.new_VSPortInfo(), libtessel.VSPortInfo),
        (b.T_ENTRY, m.new_VSMACEntry(), libtessel.VSMACEntry),
        (b.T_POLICY, policy.this, type(policy)),
        (b.T_UPLINK_PORTS, m.new_VSUplinkPorts(1), None),
    ]
    for slot, pointer, cls in samples:
        b.set_type(slot, pointer, cls)
    # Record classes are made on first need: the hand-written sized table
    # is released through its class's destructor, as the module's is, only
    # once that class exists.
    assert libtessel.records.VSUplinkPorts
    m.VSHYX_FreeMemory(policy)


def main():
    setup()
    info = libtessel.VSInfo()
    port = libtessel.port_info("switch0", "web-01.eth0")
    status, table = m.VSHYX_GetMACTable("switch0", m.VS_MAC_ADDR_TYPE_ALL, m.VS_ALL_MAC_TABLE)
    entries = table.macEntries
    host_noop = released(lambda *a: (None, None), b.noop)
    cases = [
        ("scalar getter", m.VSInfo_mtu_get, b.mtu_get, b.noop, (info,)),
        ("scalar setter", m.VSInfo_mtu_set, b.mtu_set, b.noop, (info, 1500)),
        ("text field", m.VSPortInfo_clientName_get, b.client_name_get, b.noop, (port,)),
        ("host call, 2 texts, 2 out-values", released(m.VSDVS_GetPortVLANPolicy, m.VSHYX_FreeMemory),
         released(b.get_port_vlan_policy, b.free_memory), host_noop, ("switch0", "web-01.eth0")),
        ("element copy", m.VSMACEntry___getitem__, b.entry_copy, b.noop, (entries, 3)),
        ("sized constructor", m.new_VSUplinkPorts, b.sized_table, b.noop, (8,)),
    ]
    figures = Figures("overhead")
    print("%-34s %10s %10s %10s %8s %8s" % ("call", "module ns", "hand ns", "call ns", "net", "ratio"))
    worst = 0.0
    for name, wrapped, hand, noop, args in cases:
        rows = rounds_of([wrapped, hand, noop], args, CALLS, ROUNDS)
        ratio = median_ratio(rows, 0, 1)
        net = median_ratio(rows, 0, 1, base=2)
        worst = max(worst, ratio)
        figures.add("overhead: " + name, ratio, TARGET, "wrapper / hand-written, median of %d rounds" % ROUNDS)
        print("%-34s %10.1f %10.1f %10.1f %8.3f %8.3f" % (name, median_of(rows, 0) * 1e9, median_of(rows, 1) * 1e9,
                                                          median_of(rows, 2) * 1e9, net, ratio))
    m.VSHYX_FreeMemory(table)
    print("worst ratio %.3f (target %.2f)" % (worst, TARGET))
    figures.write()


if __name__ == "__main__":
    sys.exit(main())
