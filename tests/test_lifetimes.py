"""What the module knows of the memory a pointer object addresses: records
reached at odd offsets, releases that cannot repeat, accesses past the end
of a block, and views that outlive their owner or their release.  Every
case is one or two lines a script could write; the sanitizer run
(make sanitize) reports any access these let through."""

import gc

import pytest

import _libtessel as m
import libtessel

from conftest import addr, msg, poke, raw

RELEASED = ": the memory it addresses was released"


# ---- records nested at odd offsets ----


@pytest.mark.parametrize(
    "outer,path,field,offset",
    [
        ("VSPortInfo", ["portCounters", "errCtrs"], "brBridgeLENotFound", 1450 + 8 + 64),
        ("VSPortInfo", ["portCounters", "infoCtrs"], "loopBackPktDropCnt", 1450 + 80 + 144),
        ("VSPortInfo", ["portCounters"], "dispatchDataSlabErrors", 1450),
        ("VSPMACLearningStatsPortInfo", ["cacheStats"], "cacheDstStats", 36 + 8),
        ("VSMACLearningSwitchInfo", ["teamMACLearningStats"], "numMACsMoved", 30 + 20),
    ],
)
def test_nested_records_at_odd_offsets_read_and_write_in_place(outer, path, field, offset):
    rec = getattr(m, "new_" + outer)()
    view, owner = rec, outer
    for name in path:
        view = getattr(m, "%s_%s_get" % (owner, name))(view)
        owner = type(view).__name__
    assert addr(view) % 8 != 0  # the block is 16-aligned: the record is not
    getattr(m, "%s_%s_set" % (owner, field))(view, 0x0102030405060708)
    assert raw(rec, 8, offset) == bytes([8, 7, 6, 5, 4, 3, 2, 1])
    poke(rec, offset, b"\x11" * 8)
    assert getattr(m, "%s_%s_get" % (owner, field))(view) == 0x1111111111111111


# ---- releases ----


@pytest.mark.parametrize(
    "make,release,getter",
    [
        (m.new_VSMACEntry, m.delete_VSMACEntry, m.VSMACEntry_vid_get),
        (lambda: m.VSHYX_GetSwitchesPy(m.VS_LIST_PS), m.free_switches, m.VSList_count_get),
        (m.new_VSInfo, m.free_vs_info, m.VSInfo_mtu_get),
        (m.alloc_vs_info, m.free_vs_info, m.VSInfo_mtu_get),
        (m.alloc_vs_info, m.delete_VSInfo, m.VSInfo_mtu_get),
        (lambda: m.VSMACEntry___getitem__(m.new_VSMACEntry(), 0), m.delete_VSMACEntry, m.VSMACEntry_vid_get),
        (lambda: m.new_VSUplinkPorts(2), m.delete_VSUplinkPorts, m.VSUplinkPorts___len__),
    ],
)
def test_a_release_happens_once_and_ends_the_object(sim, make, release, getter):
    rec = make()
    release(rec)
    assert not getattr(rec, "this", rec).own()
    assert release(rec) is None
    with pytest.raises(ValueError, match=RELEASED):
        getter(rec)


def test_host_table_is_released_only_by_the_host_call(sim):
    before = sim.outstanding_blocks()
    status, table = m.VSHYX_GetSwitchPortInfo("switch0")
    with pytest.raises(ValueError) as err:
        m.delete_VSSwitchPortInfo(table)
    assert str(err.value).startswith(msg("delete_VSSwitchPortInfo", 1, "struct VSSwitchPortInfo *"))
    assert table.numEntries > 0 and sim.outstanding_blocks() == before + 1
    m.VSHYX_FreeMemory(table)
    assert sim.outstanding_blocks() == before
    assert m.VSHYX_FreeMemory(table) is None and m.VSDVS_FreeMemory(table) is None


@pytest.mark.parametrize(
    "make,view,release",
    [
        (m.new_VSPortInfo, m.VSPortInfo_stats_get, m.delete_VSStats),
        (m.new_VSPortCounters, m.VSPortCounters_errCtrs_get, m.delete_VSPortFwdErrCtrs),
        (m.new_VSSwitchPortInfo, m.VSSwitchPortInfo_entries_get, m.delete_VSPortInfo),
        (m.new_VSPortInfo, m.VSPortInfo_stats_get, m.VSHYX_FreeMemory),
        (m.new_VSPortInfo, lambda rec: rec, m.VSDVS_FreeMemory),
    ],
)
def test_views_and_module_records_are_not_released_by_the_wrong_call(make, view, release):
    rec = make()
    poke(rec, 0, b"\x05")
    with pytest.raises(ValueError):
        release(view(rec))
    assert rec.own() and raw(rec, 1) == b"\x05"


def test_a_record_at_the_start_of_another_is_not_released_as_it():
    rec = m.new_hyx_SocketIPv6AddressAddr()
    union = m.hyx_SocketIPv6AddressAddr___u6_addr_get(rec)
    assert addr(union) == addr(rec)
    with pytest.raises(ValueError):
        m.delete_hyx_SocketIPv6AddressAddr___u6_addr(union)
    m.hyx_SocketIPv6AddressAddr___u6_addr___u6_addr32_set(union, m.hyx_SocketIPv6AddressAddr___u6_addr___u6_addr32_get(union))


def test_a_record_read_back_from_a_field_is_released_as_itself():
    links, other = m.new_hyx_ListLinks(), m.new_hyx_ListLinks()
    m.hyx_ListLinks_nextPtr_set(links, other)  # ownership goes with the field
    assert not other.own()
    m.delete_hyx_ListLinks(m.hyx_ListLinks_nextPtr_get(links))
    with pytest.raises(ValueError, match=RELEASED):
        m.hyx_ListLinks_prevPtr_get(other)
    assert m.delete_hyx_ListLinks(other) is None


# ---- reads and writes past the end of a block ----


def _table_view_of_new_header(record):
    return getattr(m, {"VSMACTable": "VSMACTable_macEntries_get",
                       "VSSwitchPortInfo": "VSSwitchPortInfo_entries_get"}[record])(getattr(m, "new_" + record)())


@pytest.mark.parametrize(
    "call,method,argnum",
    [
        (lambda: m.VSPortInfo_clientName_set(_table_view_of_new_header("VSSwitchPortInfo"), "x" * 1039),
         "VSPortInfo_clientName_set", 1),
        (lambda: m.VSPortInfo_portID_get(_table_view_of_new_header("VSSwitchPortInfo")), "VSPortInfo_portID_get", 1),
        (lambda: m.VSMACEntry___getitem__(m.new_VSMACEntry(), 1), "VSMACEntry___getitem__", 2),
        (lambda: m.VSPortInfo___getitem__(m.new_VSPortInfo(), 2**31 - 1), "VSPortInfo___getitem__", 2),
        (lambda: m.VSInfo_overlayVlanUseCount_set(
            m.new_VSInfo(), m.hyx_SocketIPv6AddressAddr___u6_addr___u6_addr16_get(m.new_hyx_SocketIPv6AddressAddr___u6_addr())),
         "VSInfo_overlayVlanUseCount_set", 2),
        (lambda: m.VSHYX_SetPortMACTable("switch0", "hostport0", 4096, _table_view_of_new_header("VSMACTable")),
         "VSHYX_SetPortMACTable", 3),
        (lambda: m.VSHYX_ClearPortMACTable("switch0", "hostport0", 2, m.new_VSMACEntry()), "VSHYX_ClearPortMACTable", 3),
        (lambda: m.VSHYX_GetMACEntry("switch0", _table_view_of_new_header("VSMACTable"), 0), "VSHYX_GetMACEntry", 2),
        (lambda: m.VSHYX_GetPortMACLearningStats("switch0", "hostport0", m.VSMACLearningStats_macLearningEntries_get(
            m.new_VSMACLearningStats())), "VSHYX_GetPortMACLearningStats", 3),
    ],
)
def test_access_past_a_module_block_is_refused_naming_the_argument(sim, call, method, argnum):
    sim.inject_fault(method, RuntimeError, "host called")
    with pytest.raises(ValueError) as err:
        call()
    assert str(err.value).startswith("in method '%s', argument %d of type '" % (method, argnum))


def test_counts_within_the_block_reach_the_host(sim):
    entry = libtessel.VSMACEntry()
    entry.set_mac_address(bytes.fromhex("0a1b2c3d4e5f"))
    assert m.VSHYX_SetPortMACTable("switch0", "hostport0", 1, entry) == m.HYX_OK
    assert m.VSHYX_ClearPortMACTable("switch0", "hostport0", 1, entry) == m.HYX_OK
    assert m.VSHYX_SetPortMACTable("switch0", "hostport0", 0, _table_view_of_new_header("VSMACTable")) == m.HYX_OK


def test_host_table_extent_comes_from_its_header(sim):
    status, table = m.VSHYX_GetMACTable("switch0", m.VS_MAC_ADDR_TYPE_ALL, m.VS_ALL_MAC_TABLE)
    n = table.numEntries
    last = m.VSMACEntry___getitem__(table.macEntries, n - 1)
    assert raw(last, 103) == raw(table, 103, 8 + 103 * (n - 1))
    with pytest.raises(ValueError) as err:
        m.VSMACEntry___getitem__(table.macEntries, n)
    assert str(err.value).startswith(msg("VSMACEntry___getitem__", 2, "int"))
    table.numEntries = n + 1000  # the extent stays what the host handed out
    with pytest.raises(ValueError):
        m.VSHYX_ClearPortMACTable("switch0", "hostport0", n + 1, table.macEntries)
    m.VSHYX_FreeMemory(table)


def test_list_entries_stop_at_the_end_of_the_list_block(sim, capfd):
    lst = m.VSHYX_GetSwitchesPy(m.VS_LIST_PS)
    m.VSList_count_set(lst, 1000)
    assert m.VSList___getitem__(lst, 3) == "dswitch1"
    assert m.VSList___getitem__(lst, 4) is None and m.VSList___getitem__(lst, 999) is None
    assert capfd.readouterr().out == "Invalid array index\n" * 2


def test_a_union_of_table_pointers_keeps_the_extent_of_the_table_it_holds(sim):
    status, sec = m.VSHYX_GetL2Security("switch0")
    entries = m.new_VSwitchEntriesInfo()
    m.VSwitchEntriesInfo_L2secEntries_set(entries, sec)
    as_ports = m.VSwitchEntriesInfo_info_get(entries)
    assert addr(as_ports) == addr(sec)
    with pytest.raises(ValueError) as err:
        m.VSPortInfo___getitem__(m.VSSwitchPortInfo_entries_get(as_ports), 0)
    assert str(err.value).startswith(msg("VSPortInfo___getitem__", 1, "struct VSPortInfo *"))
    m.VSHYX_FreeMemory(sec)


# ---- views and lifetimes ----


@pytest.mark.parametrize("make", [m.new_VSMACEntry, lambda: m.VSMACEntry___getitem__(m.new_VSMACEntry(), 0),
                                  lambda: libtessel.VSMACEntry()[0]])
def test_a_fresh_copy_knows_its_extent_before_anything_else_uses_it(make):
    with pytest.raises(ValueError, match="past the end of its block"):
        m.VSMACEntry___getitem__(make(), 1)


def test_views_keep_their_record_alive():
    stats = libtessel.VSPortInfo().stats
    counters = m.VSPortCounters_errCtrs_get(m.VSPortInfo_portCounters_get(m.new_VSPortInfo()))
    names = m.hyx_MgmtInstances_instanceNames_get(m.new_hyx_MgmtInstances())
    gc.collect()
    stats.pktsTx = 7
    m.VSPortFwdErrCtrs_brL3IsoCbErr_set(counters, 9)
    m.hyx_Name_string_set(names, "n" * 31)
    junk = [m.new_VSPortInfo() for _ in range(50)]  # reuse any memory that was freed
    assert (stats.pktsTx, m.VSPortFwdErrCtrs_brL3IsoCbErr_get(counters)) == (7, 9)
    assert m.hyx_Name_string_get(names) == "n" * 31 and junk


@pytest.mark.parametrize(
    "use",
    [
        lambda view: m.VSPortInfo_portID_get(view),
        lambda view: m.VSPortInfo_clientName_set(view, "x"),
        lambda view: m.VSPortInfo___getitem__(view, 0),
        lambda view: m.VSHYX_GetPortInfo("switch0", m.VSPortInfo_clientName_get(view)),
        lambda view: m.VSStats_pktsRx_get(m.VSPortInfo_stats_get(view)),
        lambda view: m.VSHYX_FreeMemory(view),
    ],
)
def test_views_of_a_released_host_table_are_refused(sim, use):
    status, table = m.VSHYX_GetSwitchPortInfo("switch0")
    first = table.entries
    stats = first.stats
    m.VSHYX_FreeMemory(table)
    with pytest.raises(ValueError, match=RELEASED):
        use(first)
    with pytest.raises(ValueError, match=RELEASED):
        stats.pktsRx


def test_views_of_a_deleted_record_are_refused():
    info = m.new_VSPortInfo()
    stats, name = m.VSPortInfo_stats_get(info), m.VSPortInfo_dvPortId_get(info)
    m.delete_VSPortInfo(info)
    with pytest.raises(ValueError, match=RELEASED):
        m.VSStats_pktsTx_set(stats, 1)
    with pytest.raises(ValueError, match=RELEASED):
        m.VSPortInfo_dvPortId_set(m.new_VSPortInfo(), name)
