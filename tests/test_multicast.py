"""Multicast filters through the raw module and the layer: address text
forms, tables read within their counts, filter modes, group filters and
their statistics, and the user legacy entries."""

import pytest

import _libtessel as m
import libtessel

from conftest import poke, raw

INVALID = "Invalid array index."
WEB = 33554436  # web-01.eth0 on switch0
LEGACY, SNOOPING, IGMP, MLD = (m.VS_MCAST_FILTER_MODE_LEGACY, m.VS_MCAST_FILTER_MODE_SNOOPING,
                               m.VS_MCAST_FILTER_MODE_IGMP, m.VS_MCAST_FILTER_MODE_MLD)


@pytest.mark.parametrize("data,method,text", [
    (b"\xe0\x00\x00\xfb", m.VSPMcastFilter_get_ip_entry, "224.0.0.251"),
    (b"\x01\x00\x5e\x00\x00\xfb", m.VSPMcastFilter_get_mac_entry, "01:00:5e:00:00:fb"),
    (b"\x01\x00\x5e\x00\x00\xfb", m.VSPMcastFilter_macEntry_get, "01:00:5e:00:00:fb"),
    (b"\xff\x02" + bytes(13) + b"\x01", m.VSPMcastFilter_get_ipv6_entry, "ff02::1"),
])
def test_filter_text_forms(data, method, text):
    f = m.new_VSPMcastFilter()
    poke(f, 4, data)
    assert method(f) == text


def test_ipv4_word_reads_as_stored():
    f = m.new_VSPMcastFilter()
    poke(f, 4, b"\xe0\x00\x00\xfb")
    assert m.VSPMcastFilter_ipv4Entry_get(f) == 251 * 2**24 + 224


def _table(call, *args):
    status, table = call(*args)
    assert status == m.HYX_OK
    return table


@pytest.mark.parametrize("mode,method,expected", [
    (LEGACY, m.VSMcastFilters_get_mac_entry, ["01:00:5e:00:00:01", "33:33:00:00:00:01", "01:00:5e:01:00:03"]),
    (IGMP, m.VSMcastFilters_get_ip_entry, ["224.0.0.1", "239.1.0.3"]),
    (SNOOPING, m.VSMcastFilters_get_ip_entry, ["224.0.0.1", "239.1.0.3"]),
    (MLD, m.VSMcastFilters_get_ipv6_entry, ["ff02::1"]),
])
def test_port_filters_by_mode_and_their_bound(mode, method, expected, capfd):
    t = _table(m.VSHYX_GetMcastFilters, "switch0", WEB, mode)
    try:
        n = m.VSMcastFilters_numEntries_get(t)
        assert [method(t, i) for i in range(n)] == expected
        assert method(t, n) is None and method(t, -1) is None
        assert capfd.readouterr().out == INVALID * 2
    finally:
        m.VSHYX_FreeMemory(t)


@pytest.mark.parametrize("new,set_count,method", [
    (m.new_VSMcastFilters, m.VSMcastFilters_numEntries_set, m.VSMcastFilters_get_ipv6_entry),
    (m.new_VSMcastFilterStats, m.VSMcastFilterStats_numEntries_set, m.VSMcastFilterStats_get_ip_entry),
    (m.new_VSUserMcastLegacyKeys, m.VSUserMcastLegacyKeys_numEntries_set, m.VSUserMcastLegacyKeys_get_mac_entry),
])
def test_python_owned_headers_have_no_entries(new, set_count, method, capfd):
    header = new()
    set_count(header, 3)
    assert method(header, 0) is None and capfd.readouterr().out == INVALID


def test_switch_filters_copy_elements():
    t = _table(m.VSHYX_GetSwitchMcastFilters, "switch0", IGMP)
    try:
        first = m.VSMcastSwitchFilters_filterEntries_get(t)
        n = m.VSMcastSwitchFilters_numEntries_get(t)
        copies = [m.VSPMcastFilter___getitem__(first, i) for i in range(n)]
        assert raw(copies[-1], 20) == raw(t, 20, 8 + 20 * (n - 1))
    finally:
        m.VSHYX_FreeMemory(t)
    assert (m.VSPMcastFilter_portID_get(copies[-1]), m.VSPMcastFilter_get_ip_entry(copies[-1])) \
        == (33554438, "239.1.0.5")
    assert m.VSPMcastFilter___getitem__(copies[0], -1) is None


@pytest.mark.parametrize("port,mode,group,status,sources", [
    (WEB, IGMP, b"239.1.0.3", m.HYX_OK, ["10.0.0.1", "10.0.0.2"]),
    (WEB, IGMP, b"239.9.9.9", m.HYX_NOT_FOUND, None),
    (WEB, IGMP, b"ff02::1", m.HYX_BAD_PARAM, None),
    (WEB, LEGACY, b"239.1.0.3", m.HYX_BAD_PARAM, None),
    (WEB, 7, b"239.1.0.3", m.HYX_BAD_PARAM, None),
    (1, IGMP, b"239.1.0.3", m.HYX_NOT_FOUND, None),
    (WEB, IGMP, b"239.1.0.3\0junk", m.HYX_OK, ["10.0.0.1", "10.0.0.2"]),
])
def test_filter_stats(port, mode, group, status, sources):
    got, stats = m.VSHYX_GetMcastFilterStats("switch0", port, mode, group)
    assert got == status and (stats is None) == (sources is None)
    if stats is not None:
        try:
            assert m.VSMcastFilterStats_srcIPFilterMode_get(stats) == m.VS_MCAST_SRC_IP_FILTER_MODE_INCLUDE
            n = m.VSMcastFilterStats_numEntries_get(stats)
            assert [m.VSMcastFilterStats_get_ip_entry(stats, i) for i in range(n)] == sources
        finally:
            m.VSHYX_FreeMemory(stats)


def test_filter_stats_ipv6_and_argument_type():
    got, stats = m.VSHYX_GetMcastFilterStats("dswitch0", 67108871, MLD, b"ff3e::8000:1")
    assert got == m.HYX_OK and m.VSMcastFilterStats_get_ipv6_entry(stats, 0) == "2001:db8::10"
    m.VSHYX_FreeMemory(stats)
    with pytest.raises(TypeError, match="argument 4"):
        m.VSHYX_GetMcastFilterStats("switch0", WEB, IGMP, "239.1.0.3")


@pytest.mark.parametrize("mode,status", [(MLD, m.HYX_OK), (-1, m.HYX_BAD_PARAM), (4, m.HYX_BAD_PARAM)])
def test_filter_mode_configured_and_live(sim, mode, status):
    assert m.VSDVS_SetMcastFilterMode("switch0", mode) == status
    expected = mode if status == m.HYX_OK else LEGACY
    assert m.VSDVS_GetMcastFilterMode("switch0") == [m.HYX_OK, expected]
    assert m.VSHYX_GetMcastFilterMode("switch0") == [m.HYX_OK, expected]


def test_filter_mode_range_is_checked_first():
    with pytest.raises(OverflowError, match="argument 2"):
        m.VSDVS_SetMcastFilterMode("switch0", 2**31)


def _keys(*args):
    call = m.VSDVS_GetPortMcastUserLegacyEntries if len(args) == 2 else m.VSDVS_GetMcastUserLegacyEntries
    t = _table(call, *args)
    try:
        return [m.VSUserMcastLegacyKeys_get_mac_entry(t, i) for i in range(m.VSUserMcastLegacyKeys_numEntries_get(t))]
    finally:
        m.VSHYX_FreeMemory(t)


def test_legacy_keys_layout_and_bound(capfd):
    t = _table(m.VSDVS_GetMcastUserLegacyEntries, "dswitch0")
    try:
        assert raw(t, 13) == b"\x02" + bytes.fromhex("01005e7f0001") + bytes.fromhex("333300000101")
        assert m.VSUserMcastLegacyKeys_get_mac_entry(t, 1) == "33:33:00:00:01:01"
        assert m.VSUserMcastLegacyKeys_get_mac_entry(t, 2) is None
        assert capfd.readouterr().out == INVALID
    finally:
        m.VSHYX_FreeMemory(t)


def _block(rows):
    block = m.new_VSMACEntries()
    for i, row in enumerate(rows):
        m.VSMACEntries_set_mac_address(block, i, row)
    return block


MCAST = bytes.fromhex("01005e000101")


@pytest.mark.parametrize("count,rows,status", [
    (2, [MCAST, bytes.fromhex("333300000002")], m.HYX_OK),
    (26, [MCAST] * 25, m.HYX_LIMIT_EXCEEDED),
    (-1, [MCAST], m.HYX_BAD_PARAM),
    (2, [MCAST, bytes.fromhex("02aa00000001")], m.HYX_BAD_PARAM),
])
@pytest.mark.parametrize("where", [("switch0",), ("switch0", "web-01.eth0")])
def test_user_legacy_entries(sim, count, rows, status, where):
    set_call = m.VSDVS_SetPortMcastUserLegacyEntries if len(where) == 2 else m.VSDVS_SetMcastUserLegacyEntries
    assert set_call(*where, count, _block(rows)) == status
    assert _keys(*where) == (["01:00:5e:00:01:01", "33:33:00:00:00:02"] if status == m.HYX_OK else [])
    clear = m.VSDVS_ClearPortMcastUserLegacyEntries if len(where) == 2 else m.VSDVS_ClearMcastUserLegacyEntries
    assert clear(*where) == m.HYX_OK and _keys(*where) == []


# ---- the layer ----

def test_layer_groups_and_modes(sim):
    groups = libtessel.mcast_groups("dvs-prod", port="prod-web-01.eth0")
    assert [g.as_dict() for g in groups] == [
        {"port_id": 67108871, "group": "239.10.0.1", "family": "ipv4", "filter": "exclude",
         "sources": ["10.20.0.66"]},
        {"port_id": 67108871, "group": "ff3e::8000:1", "family": "ipv6", "filter": "include",
         "sources": ["2001:db8::10"]}]
    assert [g for g in libtessel.mcast_groups("switch0") if g.port_id == WEB] \
        == libtessel.mcast_groups("switch0", WEB)
    libtessel.set_mcast_filter_mode("dvs-prod", "MLD")
    assert libtessel.mcast_filter_mode("dvs-prod") == libtessel.McastMode.MLD == "mld"


def test_layer_user_macs(sim):
    blocks = sim.outstanding_blocks()
    libtessel.set_user_mcast_macs("switch0", ["01-00-5e-00-01-01", b"\x33\x33\x00\x00\x00\x02"], port="web-01.eth0")
    assert libtessel.user_mcast_macs("switch0", "web-01.eth0") == ["01:00:5e:00:01:01", "33:33:00:00:00:02"]
    libtessel.clear_user_mcast_macs("switch0", "web-01.eth0")
    assert libtessel.user_mcast_macs("switch0", "web-01.eth0") == []
    assert sim.outstanding_blocks() == blocks


@pytest.mark.parametrize("macs,exc", [(["02:aa:00:00:00:01"], ValueError), (["01:00:5e:00:00:01"] * 26, ValueError),
                                      (["nonsense"], ValueError), ([5], TypeError)])
def test_layer_user_macs_refused_before_the_host(sim, macs, exc):
    with pytest.raises(exc):
        libtessel.set_user_mcast_macs("dvs-prod", macs)
    assert libtessel.user_mcast_macs("dvs-prod") == ["01:00:5e:7f:00:01", "33:33:00:00:01:01"]
