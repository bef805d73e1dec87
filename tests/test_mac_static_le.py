"""Static LE contexts: the entry's bitmap words, address setter and element
copy with their bounds, and contexts that agree with the MAC table."""

import pytest

import _libtessel as m
import libtessel

from conftest import msg, poke, raw

ENTRY = 529


def test_bitmap_words_are_unsigned_and_bounded(capfd):
    e = m.new_VSStaticLEEntry()
    assert m.VSStaticLEEntry_macAddress_get(e) == "00:00:00:00:00:00"
    assert m.VSStaticLEEntry_vlan_get_values(e, 63) == 0
    poke(e, 511, b"\x80")
    poke(e, 0, b"\x01")
    assert m.VSStaticLEEntry_vlan_get_values(e, 63) == 2**63
    assert m.VSStaticLEEntry_vlan_get_values(e, 0) == 1
    # Word 64 would be the flags and address behind the bitmap.
    assert m.VSStaticLEEntry_vlan_get_values(e, 64) is None
    assert m.VSStaticLEEntry_vlan_get_values(e, -1) is None
    assert capfd.readouterr().out == "Invalid array index.\n" * 2
    with pytest.raises(OverflowError) as err:
        m.VSStaticLEEntry_vlan_get_values(e, 2**31)
    assert str(err.value) == msg("VSStaticLEEntry_vlan_get_values", 2, "int")


@pytest.mark.parametrize("buf,exc", [(b"\x02\x00\x00\x00\x00\x01\xff", None), (b"\x02\x00", ValueError),
                                     ("02:00:00:00:00:01", TypeError)])
def test_set_mac_address_writes_only_the_address(buf, exc):
    e = m.new_VSStaticLEEntry()
    m.VSStaticLEEntry_macAddrType_set(e, 259)
    if exc:
        with pytest.raises(exc):
            m.VSStaticLEEntry_set_mac_address(e, buf)
        assert raw(e, 6, 518) == bytes(6)
    else:
        m.VSStaticLEEntry_set_mac_address(e, buf)
        assert raw(e, 6, 518) == buf[:6]
    assert raw(e, 518) + raw(e, 4, 525) == bytes(518 + 4) and m.VSStaticLEEntry_macAddrType_get(e) == 3


def test_element_copy_from_the_table_and_bound_of_an_owned_entry():
    status, table = m.VSHYX_GetStaticLectx("dswitch0")
    try:
        assert status == 0 and m.VSStaticLeCtxEntries_numEntries_get(table) > 2
        first = m.VSStaticLeCtxEntries_staticLECtxEntries_get(table)
        copy = m.VSStaticLEEntry___getitem__(first, 1)
        assert raw(copy, ENTRY) == raw(table, ENTRY, 537)
    finally:
        m.VSHYX_FreeMemory(table)
    with pytest.raises(ValueError, match="element 1 lies past the end"):
        m.VSStaticLEEntry___getitem__(copy, 1)
    # The table's view reaches its last entry and no further.
    status, table = m.VSHYX_GetStaticLectx("switch0")
    try:
        first = m.VSStaticLeCtxEntries_staticLECtxEntries_get(table)
        n = m.VSStaticLeCtxEntries_numEntries_get(table)
        assert m.VSStaticLEEntry___getitem__(first, n - 1) is not None
        with pytest.raises(ValueError, match="element %d lies past" % n):
            m.VSStaticLEEntry___getitem__(first, n)
    finally:
        m.VSHYX_FreeMemory(table)


def test_contexts_agree_with_the_mac_table(sim):
    statics = [e for e in libtessel.mac_summaries("switch1") if e.type != "learned"]
    contexts = libtessel.static_le_contexts("switch1")
    assert sorted((c.mac, c.port_id, c.vni, v) for c in contexts for v in c.vlans) == sorted(
        (e.mac, e.port_id, e.vni, e.vlan) for e in statics)

    # One address static on two VLANs of a port is one context with both.
    for vid in (30, 31):
        libtessel.set_static_mac("switch1", "build-01.eth0", "02:bb:00:00:00:01", vid=vid, addr_type="user")
    mine = [c for c in libtessel.static_le_contexts("switch1", port="build-01.eth0") if c.mac == "02:bb:00:00:00:01"]
    assert [(c.type, c.vlans) for c in mine] == [("user", (30, 31))]
    libtessel.clear_static_mac("switch1", "build-01.eth0", "02:bb:00:00:00:01", vid=30, addr_type="user")
    mine = [c for c in libtessel.static_le_contexts("switch1") if c.mac == "02:bb:00:00:00:01"]
    assert [c.vlans for c in mine] == [(31,)]


def test_router_port_context_is_marked():
    vdr = libtessel.port_info("dvs-prod", "vdrPort")
    marked = [c for c in libtessel.static_le_contexts("dvs-prod") if c.vdr]
    assert [(c.port_id, c.mac) for c in marked] == [(vdr.portID, vdr.fixedHwID)]
    with pytest.raises(libtessel.NotFound):
        libtessel.static_le_contexts("dvs-prod", port="nosuch")
