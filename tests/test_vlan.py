"""VLAN policy: the element arrays, the policy and private-VLAN map through
the host and back (also through the port information record and the switch
summary), the port filters and switch settings, and the layer and tool."""

import ctypes
import json

import pytest

import _libtessel as m
import libtessel

from conftest import addr, msg, raw

BAD = m.HYX_BAD_PARAM
LIMIT = m.HYX_LIMIT_EXCEEDED
NESTED = m.VS_VLAN_TP_FLAG_ALLOW_NESTEDTAG


def vid_range(first, last):
    r = m.new_hyx_ZARPortVIDRange()
    m.hyx_ZARPortVIDRange_minVID_set(r, first)
    m.hyx_ZARPortVIDRange_maxVID_set(r, last)
    return r


def vid_array(*ranges):
    a = m.new_vidrangeArray(len(ranges))
    for i, (first, last) in enumerate(ranges):
        m.vidrangeArray_setitem(a, i, vid_range(first, last))
    return a


def pvlan_array(*entries):
    a = m.new_pvlanmapentryArray(len(entries))
    e = m.new_VSPvlanMapEntry()
    for i, (primary, secondary, kind) in enumerate(entries):
        m.VSPvlanMapEntry_primaryVID_set(e, primary)
        m.VSPvlanMapEntry_secondaryVID_set(e, secondary)
        m.VSPvlanMapEntry_pvlanType_set(e, kind)
        m.pvlanmapentryArray_setitem(a, i, e)
    return a


def port_vlan(switch, port):
    info = libtessel.port_info(switch, port)
    return info.vlan.defaultVID, info.vlan.primaryVID, info.vlan.flags


# ---- element arrays ----

def test_array_is_cleared_and_bounded_by_its_count(capfd):
    a = m.new_vidrangeArray(3)
    try:
        assert raw(a, 12) == bytes(12)
        m.vidrangeArray_setitem(a, 2, vid_range(5, 9))
        assert raw(a, 4, 8) == b"\x05\x00\x09\x00"
        copy = m.vidrangeArray_getitem(a, 2)
        assert raw(copy, 4) == b"\x05\x00\x09\x00" and addr(copy) != addr(a) + 8
        # Past the count: nothing read or written.
        for call in (lambda: m.vidrangeArray_getitem(a, 3), lambda: m.vidrangeArray_setitem(a, 3, vid_range(1, 1))):
            with pytest.raises(ValueError, match="element 3 lies past the end of its block, which holds 3"):
                call()
        assert raw(a, 12) == bytes(8) + b"\x05\x00\x09\x00"
        with pytest.raises(OverflowError) as err:
            m.vidrangeArray_getitem(a, -1)
        assert str(err.value) == msg("vidrangeArray_getitem", 2, "size_t")
    finally:
        m.delete_vidrangeArray(a)


@pytest.mark.parametrize("new,getitem,setitem,element", [
    (m.new_vidrangeArray, m.vidrangeArray_getitem, m.vidrangeArray_setitem, m.new_hyx_ZARPortVIDRange),
    (m.new_pvlanmapentryArray, m.pvlanmapentryArray_getitem, m.pvlanmapentryArray_setitem, m.new_VSPvlanMapEntry),
])
def test_array_refusals(new, getitem, setitem, element):
    name = new.__name__[len("new_"):]
    element_type = "hyx_ZARPortVIDRange" if name == "vidrangeArray" else "VSPvlanMapEntry"
    with pytest.raises(ValueError) as err:
        setitem(new(1), 0, None)
    assert str(err.value) == "invalid null reference in method '%s_setitem', argument 3 of type '%s'" % (
        name, element_type)
    # Nothing is read or written through a null block (a failed allocation).
    for call in (lambda: getitem(None, 0), lambda: setitem(None, 0, element())):
        with pytest.raises(ValueError, match="invalid null reference"):
            call()
    # A count whose block would not fit any host call, or whose byte size
    # overflows, is refused before anything is allocated.
    for count in (65536, 2**62, 2**64 - 1):
        with pytest.raises(ValueError):
            new(count)
    # A released array is refused, and releasing it again does nothing.
    delete = getattr(m, "delete_" + name)
    a = new(2)
    delete(a)
    delete(a)
    with pytest.raises(ValueError, match="released"):
        getitem(a, 0)
    # A Python-owned record is one element.
    record = element()
    assert getitem(record, 0) is not None
    with pytest.raises(ValueError, match="element 1 lies past the end"):
        getitem(record, 1)


def test_dropping_the_array_proxy_keeps_the_block():
    a = m.new_pvlanmapentryArray(1)
    assert not a.thisown
    e = m.new_VSPvlanMapEntry()
    m.VSPvlanMapEntry_primaryVID_set(e, 7)
    m.VSPvlanMapEntry_secondaryVID_set(e, 8)
    m.VSPvlanMapEntry_pvlanType_set(e, 2)
    m.pvlanmapentryArray_setitem(a, 0, e)
    where = addr(a)
    del a
    # Still allocated (the sanitizer run reports a read of a freed block).
    assert ctypes.string_at(where, 5) == b"\x07\x00\x08\x00\x02"


# ---- port VLAN policy ----

@pytest.mark.parametrize("vlan,flags,guest,ranges,expect_flags", [
    (0, 0, 1, [(10, 20), (30, 30)], m.VS_VLAN_TP_FLAG_TAGGED_INPUT | m.VS_VLAN_TP_FLAG_TAGGED_OUTPUT
     | m.VS_VLAN_TP_FLAG_FILTER_ON_VIDS),
    (42, 0, 0, [], m.VS_VLAN_TP_FLAG_OVERWRITE_VID),
    (42, m.VSPORT_VLAN_SET_PRIORITY, 0, [], m.VS_VLAN_TP_FLAG_OVERWRITE_VID | m.VS_VLAN_TP_FLAG_OVERWRITE_PRIORITY),
])
def test_policy_comes_back_through_get_and_port_info(sim, vlan, flags, guest, ranges, expect_flags):
    a = vid_array(*ranges) if ranges else None
    try:
        assert m.VSDVS_SetPortVLANPolicy("switch0", "app-01.eth0", vlan, flags, guest, 0, a, len(ranges)) == 0
    finally:
        if a is not None:
            m.delete_vidrangeArray(a)
    status, policy, n = m.VSDVS_GetPortVLANPolicy("switch0", "app-01.eth0")
    try:
        assert (status, n) == (0, len(ranges))
        assert m.VSPortVlanPolicy_vlanID_get(policy) == vlan
        assert m.VSPortVlanPolicy_flags_get(policy) == flags | (m.VSPORT_VLAN_GUEST_TAGGING if guest else 0)
        assert m.VSPortVlanPolicy_numRanges_get(policy) == len(ranges)
        got = [m.VSPortVlanPolicy_get_vid_range(policy, i) for i in range(n)]
        assert [(r.minVID, r.maxVID) for r in got] == ranges
        if n > 1:
            assert raw(got[1], 4) == raw(policy, 4, 12)
    finally:
        m.VSHYX_FreeMemory(policy)
    assert port_vlan("switch0", "app-01.eth0") == (vlan, vlan, expect_flags)
    assert m.VSDVS_ClearPortVLANPolicy("switch0", "app-01.eth0") == 0
    assert port_vlan("switch0", "app-01.eth0") == (0, 0, 0)


@pytest.mark.parametrize("args,status", [
    ((4095, 0, 0, 0), LIMIT),                 # 4095 is not a VLAN
    ((5, 8, 0, 0), BAD),                      # an unknown flag
    ((5, 0, 2, 0), BAD),                      # a truth value other than 0 or 1
    ((5, 0, 1, 1), BAD),                      # guest tagging and private VLAN
    ((5, 0, 0, 1), BAD),                      # not a secondary VLAN of the map
])
def test_policy_refusals_change_nothing(sim, args, status):
    before = port_vlan("switch0", "web-01.eth0")
    assert m.VSDVS_SetPortVLANPolicy("switch0", "web-01.eth0", *args, None, 0) == status
    assert port_vlan("switch0", "web-01.eth0") == before


@pytest.mark.parametrize("ranges,guest,status", [
    ([(20, 10)], 1, BAD),          # first above last
    ([(10, 4095)], 1, LIMIT),
    ([(10, 20)], 0, BAD),          # ranges without guest tagging
])
def test_range_refusals(sim, ranges, guest, status):
    a = vid_array(*ranges)
    try:
        assert m.VSDVS_SetPortVLANPolicy("switch0", "web-01.eth0", 0, 0, guest, 0, a, len(ranges)) == status
    finally:
        m.delete_vidrangeArray(a)
    assert libtessel.port_vlan_policy("switch0", "web-01.eth0").vlan_id == 10


def test_range_count_is_checked_against_the_block(sim):
    a = vid_array((1, 2))
    try:
        with pytest.raises(ValueError, match="count 2 is more than the 1 records left"):
            m.VSDVS_SetPortVLANPolicy("switch0", "web-01.eth0", 0, 0, 1, 0, a, 2)
        # One Python-owned range is one element as well.
        with pytest.raises(ValueError):
            m.VSDVS_SetPortVLANPolicy("switch0", "web-01.eth0", 0, 0, 1, 0, vid_range(1, 2), 2)
    finally:
        m.delete_vidrangeArray(a)
    with pytest.raises(OverflowError) as err:
        m.VSDVS_SetPortVLANPolicy("switch0", "web-01.eth0", 65536, 0, 0, 0, None, 0)
    assert str(err.value) == msg("VSDVS_SetPortVLANPolicy", 3, "hyx_uint16")


def test_vid_range_index_is_bounded(capfd):
    # A policy Python owns is a header without ranges, even with a count set;
    # a host policy has numRanges of them.
    own = m.new_VSPortVlanPolicy()
    m.VSPortVlanPolicy_numRanges_set(own, 5)
    with pytest.raises(ValueError, match="range 0 lies past the end of its block, which holds 0"):
        m.VSPortVlanPolicy_get_vid_range(own, 0)
    status, policy, n = m.VSDVS_GetPortVLANPolicy("switch0", "uplink0")
    try:
        assert (status, n) == (0, 1)
        with pytest.raises(ValueError, match="range 1 lies past"):
            m.VSPortVlanPolicy_get_vid_range(policy, 1)
        assert m.VSPortVlanPolicy_get_vid_range(policy, -1) is None
    finally:
        m.VSHYX_FreeMemory(policy)
    assert capfd.readouterr().out == "Invalid array index.\n"


# ---- private-VLAN map ----

def test_private_vlan_map_round_trip_and_pvlan_port(sim):
    assert libtessel.private_vlan_map("dvs-prod")[1] == (200, 201, "isolated")
    status, entries, count = m.VSDVS_GetPrivateVLANMap("dswitch0")
    try:
        assert raw(m.VSPvlanMapEntry___getitem__(entries, 2), 8) == raw(entries, 8, 16)
        with pytest.raises(ValueError, match="element 3 lies past"):
            m.VSPvlanMapEntry___getitem__(entries, count)
    finally:
        m.VSHYX_FreeMemory(entries)
    entries = [(300, 300, "promisc"), (300, 301, "community")]
    libtessel.set_private_vlan_map("dvs-prod", entries)
    assert libtessel.private_vlan_map("dvs-prod") == entries
    libtessel.set_port_vlan_policy("dvs-prod", "prod-web-01.eth0", 301, flags=["pvlan"])
    assert port_vlan("dvs-prod", "prod-web-01.eth0")[:2] == (301, 300)
    libtessel.set_private_vlan_map("dvs-prod", [])
    assert m.VSDVS_GetPrivateVLANMap("dswitch0") == [0, None, 0]


@pytest.mark.parametrize("entries,status", [
    ([(100, 101, 2), (100, 101, 3)], BAD),     # a secondary twice
    ([(100, 101, 1)], BAD),                    # promiscuous names another secondary
    ([(100, 100, 2)], BAD),                    # isolated names its primary
    ([(100, 0, 2)], BAD),
    ([(100, 4095, 2)], LIMIT),
    ([(100, 101, 4)], BAD),                    # unknown type
])
def test_private_vlan_map_refusals_keep_the_map(sim, entries, status):
    a = pvlan_array(*entries)
    try:
        assert m.VSDVS_SetPrivateVLANMap("dswitch0", a, len(entries)) == status
        with pytest.raises(ValueError):
            m.VSDVS_SetPrivateVLANMap("dswitch0", a, len(entries) + 1)
    finally:
        m.delete_pvlanmapentryArray(a)
    assert len(libtessel.private_vlan_map("dvs-prod")) == 3


# ---- port filters and switch settings ----

def test_nested_tagging_and_sink_port_show_in_port_info_and_summary(sim):
    assert m.VSDVS_GetPortNestedVLANTagging("dswitch0", "vdrPort") == [0, 1]
    assert m.VSDVS_SetPortNestedVLANTagging("switch0", "web-01.eth0", 1) == 0
    assert port_vlan("switch0", "web-01.eth0")[2] & NESTED
    assert m.VSDVS_SetPortNestedVLANTagging("switch0", "web-01.eth0", 0) == 0
    assert not port_vlan("switch0", "web-01.eth0")[2] & NESTED

    sinks = libtessel.switch_summary("dvs-prod").sink_ports
    assert m.VSDVS_ConfigureSinkPort("dswitch0", "prod-web-01.eth0", 1) == 0
    assert m.VSDVS_IsSinkPortEnabled("dswitch0", "prod-web-01.eth0") == [0, 1]
    assert libtessel.switch_summary("dvs-prod").sink_ports == sinks + 1
    assert m.VSDVS_ConfigureSinkPort("dswitch0", "prod-web-01.eth0", 2) == BAD


@pytest.mark.parametrize("mtu,status", [(9000, 0), (68, 0), (67, BAD), (9001, LIMIT)])
def test_mtu_and_summary(sim, mtu, status):
    assert m.VSDVS_SetMTU("switch0", mtu) == status
    assert libtessel.switch_summary("switch0").mtu == (mtu if status == 0 else 1500)
    assert m.VSDVS_GetMTU("switch0", None) == BAD


def test_mtu_is_written_through_the_callers_pointer(sim):
    ranges = m.new_VSRdmaID()
    assert m.VSDVS_GetMTU("switch1", m.VSRdmaID_rdmaId_get(ranges)) == 0
    assert raw(ranges, 4) == (9000).to_bytes(4, "little")


@pytest.mark.parametrize("kind,status", [(m.ZEB_RCF_INSN_TYPE_EBPF, 0), (m.ZEB_RCF_INSN_TYPE_MAX, BAD), (-1, BAD)])
def test_rcf_type(sim, kind, status):
    assert m.VSDVS_GetRCFType("switch0") == [0, m.ZEB_RCF_INSN_TYPE_CBPF]
    assert m.VSDVS_SetRCFType("switch0", kind) == status
    assert m.VSDVS_GetRCFType("switch0")[1] == (kind if status == 0 else m.ZEB_RCF_INSN_TYPE_CBPF)


@pytest.mark.parametrize("count,first,status", [(2, 0x01, 0), (33, 0x01, LIMIT), (1, 0x02, BAD)])
def test_extra_eth_filter(sim, count, first, status):
    f = m.new_VSExtraEthFilter()
    m.VSExtraEthFilter_flags_set(f, 7)
    m.VSExtraEthFilter_numMulticastAddrs_set(f, count)
    ctypes.memmove(addr(f) + 6, bytes([first, 0, 0x5e, 0, 0, 1, 0x33, 0x33, 0, 0, 0, 1]), 12)
    assert m.VSDVS_SetExtraEthFilter("switch0", "web-01.eth0", f) == status
    got = m.new_VSExtraEthFilter()
    assert m.VSDVS_GetExtraEthFilter("switch0", "web-01.eth0", got) == 0
    assert raw(got, 200) == (raw(f, 200) if status == 0 else bytes(200))
    assert m.VSDVS_ClearExtraEthFilter("switch0", "web-01.eth0") == 0


# ---- layer and tool ----

def test_layer_policy_round_trip_and_checks(sim):
    libtessel.set_port_vlan_policy("switch0", "web-01.eth0", ranges=[(100, 199), (300, 300)],
                                   flags=["guest-tagging", libtessel.VlanFlag.SET_PRIORITY])
    policy = libtessel.port_vlan_policy("switch0", "web-01.eth0")
    assert policy == ("web-01.eth0", 0, ("guest-tagging", "set-priority"), ((100, 199), (300, 300)))
    with pytest.raises(ValueError, match="ranges"):
        libtessel.set_port_vlan_policy("switch0", "web-01.eth0", ranges=[(20, 10)], flags=["guest-tagging"])
    with pytest.raises(ValueError, match="vlan_id"):
        libtessel.set_port_vlan_policy("switch0", "web-01.eth0", 4095)
    with pytest.raises(libtessel.BadParameter):
        libtessel.set_port_vlan_policy("switch0", "web-01.eth0", 5, flags=["pvlan"])
    libtessel.clear_port_vlan_policy("switch0", "web-01.eth0")
    assert libtessel.port_vlan_policy("switch0", "web-01.eth0").vlan_id == 10


@pytest.mark.parametrize("argv,code,needle", [
    (["vlan", "switch0", "--port", "uplink0", "--json"], 0, '"ranges": [\n      [\n        1,\n        4094'),
    (["vlan", "switch0", "--port", "nosuch"], 1, "no port 'nosuch' on switch0"),
    (["vlan", "nosuch"], 1, "no switch named 'nosuch'"),
])
def test_vlan_command(capsys, argv, code, needle):
    from libtessel import cli

    assert cli.main(argv) == code
    out, err = capsys.readouterr()
    assert needle in (out if code == 0 else err)
    if code == 0:
        assert list(json.loads(out)[0]) == ["port", "vlan_id", "flags", "ranges"]
