"""Port information: the records and their odd packed layout, the three
host functions end to end against the simulated host, and the Python walk
that hands the host's table back."""

import pytest

import _libtessel as m
import libtessel

from conftest import addr, msg, poke, raw


PORT_SIZE = 1685


def test_port_info_end_to_end_matches_the_table_and_summary(sim):
    before = sim.outstanding_blocks()
    status, table = m.VSHYX_GetSwitchPortInfo("dswitch0")
    assert status == m.HYX_OK and not table.thisown
    info = libtessel.switch_info("dswitch0")
    assert table.numEntries == info.activePorts > 0
    first = table.entries
    assert addr(first) == addr(table) + 8
    for i in range(table.numEntries):
        row = m.VSPortInfo___getitem__(first, i)
        assert raw(row, PORT_SIZE) == raw(table, PORT_SIZE, 8 + PORT_SIZE * i)
        for name in (row.clientName, str(row.portID)):
            status, port = m.VSHYX_GetPortInfo("dswitch0", name)
            assert status == m.HYX_OK and raw(port, PORT_SIZE) == raw(row, PORT_SIZE)
            m.VSHYX_FreeMemory(port)
    status, summary = m.VSHYX_GetSwitchInfo("dswitch0")
    assert status == m.HYX_OK and raw(summary, 8422) == raw(info, 8422)
    m.VSHYX_FreeMemory(summary)
    m.VSHYX_FreeMemory(table)
    assert sim.outstanding_blocks() == before


def test_port_fields_as_a_script_reads_them(sim):
    status, port = m.VSHYX_GetPortInfo("switch0", "web-01.eth0")
    assert status == m.HYX_OK
    assert port.clientName == "web-01.eth0" and port.clientType == m.VS_PORT_CLIENT_VNIC
    assert len(port.fixedHwID) == 17 and port.fixedHwID == port.fixedHwID.lower()
    assert port.stats.pktsRx > 0 and addr(port.stats) == addr(port) + 1296
    assert addr(port.portCounters) == addr(port) + 1450 and addr(port.vlan) == addr(port) + 1408
    m.VSHYX_FreeMemory(port)


@pytest.mark.parametrize("args", [("nope", "hostport0"), ("switch0", "nope"), ("switch0", None), (None, "hostport0")])
def test_unknown_or_missing_names_give_a_status(sim, args):
    status, port = m.VSHYX_GetPortInfo(*args)
    assert status != m.HYX_OK and port is None


def test_bad_argument_makes_no_host_call(sim):
    sim.inject_fault("VSHYX_GetPortInfo", RuntimeError, "host called")
    with pytest.raises(TypeError) as err:
        m.VSHYX_GetPortInfo("switch0", 5)
    assert str(err.value) == msg("VSHYX_GetPortInfo", 2, "char const *")
    with pytest.raises(RuntimeError, match="host called"):
        m.VSHYX_GetPortInfo("switch0", "hostport0")


def test_mac_text_form():
    info = m.new_VSPortInfo()
    assert m.VSPortInfo_fixedHwID_get(info) == "00:00:00:00:00:00"
    poke(info, 1048, b"\x0a\xbc\xde\xf0\xff\x01")
    assert m.VSPortInfo_fixedHwID_get(info) == "0a:bc:de:f0:ff:01"


def test_element_copy_is_independent():
    src = libtessel.VSPortInfo()
    src.clientName = "vm-7"
    src.ensSeqNo = 2**64 - 1
    copy = m.VSPortInfo___getitem__(src, 0)
    assert copy.thisown and raw(copy, PORT_SIZE) == raw(src, PORT_SIZE)
    copy.clientName = "changed"
    assert src.clientName == "vm-7" and src.ensSeqNo == 2**64 - 1


def test_negative_element_index_reads_nothing(capfd):
    assert m.VSPortInfo___getitem__(m.new_VSPortInfo(), -1) is None
    assert capfd.readouterr().out == "Invalid array index.\n"
    with pytest.raises(OverflowError) as err:
        m.VSPortInfo___getitem__(m.new_VSPortInfo(), 2**31)
    assert str(err.value) == msg("VSPortInfo___getitem__", 2, "int")


def test_text_and_integer_bounds():
    info = libtessel.VSPortInfo()
    info.clientName = "é" * 519 + "x"  # 1039 bytes
    with pytest.raises(TypeError) as err:
        m.VSPortInfo_clientName_set(info, "x" * 1040)
    assert str(err.value) == msg("VSPortInfo_clientName_set", 2, "char [1040]")
    assert info.clientName == "é" * 519 + "x"
    with pytest.raises(OverflowError):
        m.VSPortInfo_clientType_set(info, 2**31)
    with pytest.raises(OverflowError) as err:
        m.VSPortInfo_subnetConnectedVlan_set(info, 65536)
    assert str(err.value) == msg("VSPortInfo_subnetConnectedVlan_set", 2, "hyx_VlanID")
    m.VSPortInfo_subnetVlanEncap_set(info, "y")
    assert raw(info, 1, 1684) == b"y" and info.subnetVlanEncap == "y"


@pytest.mark.parametrize(
    "setter,field,ctype",
    [("VSPortInfo_fixedHwID_set", "fixedHwID", "unsigned char [6]"),
     ("VSPortInfo_dvPortId_set", "dvPortId", "hyx_uint8 [48]"),
     ("VSSwitchPortInfo_entries_set", "entries", "VSPortInfo [0]"),
     ("VSPortList_ports_set", "ports", "hyx_SwitchPortID [0]"),
     ("VSPortInfo_ethFrpAccepted_multicastAddrs_set", "multicastAddrs", "unsigned char [32][6]")],
)
def test_array_setters_refuse_none(setter, field, ctype):
    record = getattr(m, "new_" + setter[: -len("_%s_set" % field)])()
    with pytest.raises(ValueError) as err:
        getattr(m, setter)(record, None)
    assert str(err.value) == "invalid null reference in variable '%s' of type '%s'" % (field, ctype)


def test_array_and_record_setters_copy():
    a, b = m.new_VSPortInfo(), m.new_VSPortInfo()
    poke(a, 0, bytes(i & 0xFF for i in range(PORT_SIZE)))
    m.VSPortInfo_dvPortId_set(b, m.VSPortInfo_dvPortId_get(a))
    m.VSPortInfo_stats_set(b, m.VSPortInfo_stats_get(a))
    m.VSPortInfo_portCounters_set(b, m.VSPortInfo_portCounters_get(a))
    acc_a, acc_b = m.VSPortInfo_ethFrpAccepted_get(a), m.VSPortInfo_ethFrpAccepted_get(b)
    m.VSPortInfo_ethFrpAccepted_multicastAddrs_set(acc_b, m.VSPortInfo_ethFrpAccepted_multicastAddrs_get(acc_a))
    for offset, size in ((1054, 48), (1104, 192), (1296, 112), (1450, 232)):
        assert raw(b, size, offset) == raw(a, size, offset), offset
    assert raw(b, 2, 1102) == b"\0\0"  # the count is not part of the rows
    assert not hasattr(m, "VSPortInfo_vlan_set") and not hasattr(m, "VSPortInfo_ethFrpAccepted_set")
    table = m.new_VSSwitchPortInfo()
    assert m.VSSwitchPortInfo_entries_set(table, a) is None and raw(table, 8) == bytes(8)


def test_rarp_stats(sim):
    stats = libtessel.VSRARPStats()
    assert m.VSHYX_GetRARPStats("switch0", stats) == m.HYX_OK
    assert stats.rarpPktsSent > 0
    assert m.VSHYX_GetRARPStats("nope", libtessel.VSRARPStats()) != m.HYX_OK
    with pytest.raises(TypeError) as err:
        m.VSHYX_GetRARPStats("switch0", libtessel.VSStats())
    assert str(err.value) == msg("VSHYX_GetRARPStats", 2, "VSRARPStats *")
