"""Kernel API basic records and the switch and port counters: layouts seen
through raw bytes, the field kinds, and the exact error messages."""

import pytest

import _libtessel as m

from conftest import addr, msg, poke, raw


def test_name_text_bounds_and_repr():
    name = m.new_hyx_Name()
    m.hyx_Name_string_set(name, "n" * 31)
    assert m.hyx_Name_string_get(name) == "n" * 31
    with pytest.raises(TypeError) as err:
        m.hyx_Name_string_set(name, "n" * 32)
    assert str(err.value) == msg("hyx_Name_string_set", 2, "char [32]")
    assert m.hyx_Name___repr__(name) == "n" * 31
    # No NUL within the 32 bytes: all 32 are the text, and nothing beyond.
    poke(name, 0, b"x" * 31 + b"\xff")
    assert m.hyx_Name___repr__(name) == "x" * 31 + "\udcff"
    assert m.hyx_Name___repr__(None) is None


def test_proxy_classes():
    import libtessel

    n = libtessel.hyx_Name()
    n.string = "uplink-name"
    assert repr(n) == "uplink-name"
    # The field holding a nested record belongs to the enclosing class.
    outer = libtessel.hyx_SocketIPv6AddressAddr()
    assert isinstance(outer.__u6_addr, libtessel.hyx_SocketIPv6AddressAddr___u6_addr)
    assert not hasattr(libtessel.hyx_SocketIPv6AddressAddr___u6_addr, "get")


@pytest.mark.parametrize(
    "method,ctype",
    [
        ("hyx_String_buffer_get", "hyx_String *"),
        ("hyx_LinkStatus_duplex_get", "hyx_LinkStatus *"),
        ("hyx_SocketIPv6AddressAddr___u6_addr___u6_addr8_get", "hyx_SocketIPv6AddressAddr___u6_addr *"),
        ("hyx_Attribute_name_get", "struct hyx_Attribute *"),
        ("hyx_ZARPortVlanInfo_vidRanges_get", "struct hyx_ZARPortVlanInfo *"),
        ("VSStats_pktsTx_get", "struct VSStats *"),
    ],
)
def test_record_argument_spelling(method, ctype):
    with pytest.raises(TypeError) as err:
        getattr(m, method)(m.new_VSList())
    assert str(err.value) == msg(method, 1, ctype)


@pytest.mark.parametrize(
    "record,field,ctype",
    [
        ("hyx_MgmtCallbackInfo", "parmSizes", "hyx_uint32 [4]"),
        ("hyx_MgmtCallbackInfo", "parmTypes", "hyx_MgmtParmType [4]"),
        ("hyx_MgmtInstances", "instanceIds", "hyx_uint64 [32]"),
        ("hyx_MgmtInstances", "instanceNames", "hyx_Name [32]"),
        ("hyx_ZARPortVlanInfo", "vidRanges", "hyx_ZARPortVIDRange [0]"),
        ("hyx_SocketAddress", "sa_data", "hyx_uint8 [254]"),
        ("hyx_SocketIPAddress", "sin_zero", "hyx_uint8 [8]"),
        ("hyx_SocketIPv6AddressAddr___u6_addr", "__u6_addr8", "hyx_uint8 [16]"),
        ("hyx_SocketIPv6AddressAddr___u6_addr", "__u6_addr16", "hyx_uint16 [8]"),
        ("hyx_SocketIPv6AddressAddr___u6_addr", "__u6_addr32", "hyx_uint32 [4]"),
    ],
)
def test_array_setter_refuses_none(record, field, ctype):
    rec = getattr(m, "new_" + record)()
    with pytest.raises(ValueError) as err:
        getattr(m, "%s_%s_set" % (record, field))(rec, None)
    assert str(err.value) == "invalid null reference in variable '%s' of type '%s'" % (field, ctype)


def test_array_setters_copy_the_whole_array():
    src, dst = m.new_hyx_MgmtInstances(), m.new_hyx_MgmtInstances()
    poke(src, 8, bytes(range(256)))
    poke(src, 264, bytes((i * 7) & 0xFF for i in range(1024)))
    m.hyx_MgmtInstances_instanceIds_set(dst, m.hyx_MgmtInstances_instanceIds_get(src))
    m.hyx_MgmtInstances_instanceNames_set(dst, m.hyx_MgmtInstances_instanceNames_get(src))
    assert raw(dst, 1288) == raw(src, 1288)[:1] + bytes(7) + raw(src, 1280, 8)
    # The names getter is a hyx_Name proxy on the first name.
    first = m.hyx_MgmtInstances_instanceNames_get(dst)
    assert addr(first) == addr(dst) + 264


def test_zero_length_array_setter_copies_nothing():
    info = m.new_hyx_ZARPortVlanInfo()
    poke(info, 0, b"\x01\x02\x03\x04")
    assert m.hyx_ZARPortVlanInfo_vidRanges_set(info, m.new_hyx_ZARPortVIDRange()) is None
    assert raw(info, 4) == b"\x01\x02\x03\x04"
    assert addr(m.hyx_ZARPortVlanInfo_vidRanges_get(info)) == addr(info) + 4


def test_ipv6_address_views_overlay():
    rec = m.new_hyx_SocketIPv6AddressAddr()
    u = m.hyx_SocketIPv6AddressAddr___u6_addr_get(rec)
    views = [getattr(m, "hyx_SocketIPv6AddressAddr___u6_addr___u6_addr%d_get" % b)(u) for b in (8, 16, 32)]
    assert {addr(v) for v in views} == {addr(rec)}
    words = m.new_hyx_SocketIPv6AddressAddr___u6_addr()
    poke(words, 0, bytes(range(16)))
    m.hyx_SocketIPv6AddressAddr___u6_addr___u6_addr32_set(u, m.hyx_SocketIPv6AddressAddr___u6_addr___u6_addr32_get(words))
    assert raw(rec, 16) == bytes(range(16))
    with pytest.raises(AttributeError):
        m.hyx_SocketIPv6AddressAddr___u6_addr_set


def test_signed_and_unsigned_scalars():
    status = m.new_hyx_LinkStatus()
    m.hyx_LinkStatus_duplex_set(status, m.HYX_LINK_DUPLEX_AUTO)
    assert m.hyx_LinkStatus_duplex_get(status) == -1
    assert raw(status, 4, 8) == b"\xff" * 4
    cfg = m.new_hyx_PortsetResPoolCfg()
    with pytest.raises(OverflowError) as err:
        m.hyx_PortsetResPoolCfg_shares_set(cfg, -1)
    assert str(err.value) == msg("hyx_PortsetResPoolCfg_shares_set", 2, "hyx_PortsetResPoolShares")
    m.hyx_PortsetResPoolCfg_limit_set(cfg, m.HYX_PORTSET_RESPOOL_LIMIT_INFINITE)
    m.hyx_PortsetResPoolCfg_pTag_set(cfg, 7)
    assert raw(cfg, 20) == bytes(4) + b"\xff" * 4 + bytes(4) + b"\x07" + bytes(7)
    with pytest.raises(OverflowError):
        m.hyx_MgmtCallbackInfo_numParms_set(m.new_hyx_MgmtCallbackInfo(), 256)


def test_packed_port_status_layout():
    st = m.new_hyx_ZARPortStatus()
    assert m.hyx_ZARPortStatus_displayStr_get(st) == ""
    m.hyx_ZARPortStatus_portID_set(st, 0x01020304)
    m.hyx_ZARPortStatus_displayStr_set(st, "d" * 79)
    assert raw(st, 4, 16) == b"\x04\x03\x02\x01" and raw(st, 80, 20) == b"d" * 79 + b"\0"
    with pytest.raises(TypeError):
        m.hyx_ZARPortStatus_displayStr_set(st, "d" * 80)
    m.hyx_ZARPortStatus_displayStr_set(st, "short")
    assert raw(st, 80, 20) == b"short" + bytes(75)


def test_pointer_fields_store_addresses_and_disown():
    links, other = m.new_hyx_ListLinks(), m.new_hyx_ListLinks()
    m.hyx_ListLinks_nextPtr_set(links, other)
    assert addr(m.hyx_ListLinks_nextPtr_get(links)) == addr(other)
    assert not other.own()
    assert m.hyx_ListLinks_prevPtr_get(links) is None
    cb = m.new_hyx_MgmtCallbackInfo()
    anything = m.new_hyx_Name()
    m.hyx_MgmtCallbackInfo_callback_set(cb, anything)
    assert addr(m.hyx_MgmtCallbackInfo_callback_get(cb)) == addr(anything)
    assert raw(cb, 8, 8) == addr(anything).to_bytes(8, "little")
    for rec in (other, anything):  # now owned by nobody: release by hand
        rec.acquire()


def test_nested_record_proxy_and_copy():
    sig = m.new_hyx_MgmtApiSignature()
    vendor = m.hyx_MgmtApiSignature_vendor_get(sig)
    assert addr(vendor) == addr(sig) + 36
    m.hyx_Name_string_set(vendor, "acme")
    assert raw(sig, 5, 36) == b"acme\0"
    name = m.new_hyx_Name()
    m.hyx_Name_string_set(name, "switchd")
    m.hyx_MgmtApiSignature_name_set(sig, name)
    m.hyx_Name_string_set(name, "changed")
    assert raw(sig, 8, 4) == b"switchd\0"
    with pytest.raises(ValueError) as err:
        m.hyx_MgmtApiSignature_name_set(sig, None)
    assert str(err.value) == "invalid null reference in variable 'name' of type 'hyx_Name'"


# ---- switch and port counters ----


COUNTER_RECORDS = ["VSStats", "VSPortFwdErrCtrs", "VSPortFwdInfoCtrs", "VSPortCounters",
                   "VSPCacheStatsInfo", "VSRARPStats"]


@pytest.mark.parametrize("record", COUNTER_RECORDS)
def test_fresh_counters_read_zero(record):
    rec = getattr(m, "new_" + record)()
    getters = [n for n in vars(m) if n.startswith(record + "_") and n.endswith("_get")]
    assert getters
    for g in getters:
        value = getattr(m, g)(rec)
        assert value == 0 or hasattr(value, "this"), g


def test_64_bit_counter_bounds():
    stats = m.new_VSStats()
    m.VSStats_bytesRx_set(stats, 2**64 - 1)
    assert m.VSStats_bytesRx_get(stats) == 18446744073709551615
    assert raw(stats, 8, 72) == b"\xff" * 8
    for bad in (-1, 2**64):
        with pytest.raises(TypeError) as err:
            m.VSStats_bytesRx_set(stats, bad)
        assert str(err.value) == msg("VSStats_bytesRx_set", 2, "hyx_uint64")
    assert m.VSStats_bytesRx_get(stats) == 2**64 - 1
    with pytest.raises(OverflowError) as err:
        m.VSRARPStats_maxRARPTime_set(m.new_VSRARPStats(), 2**32)
    assert str(err.value) == msg("VSRARPStats_maxRARPTime_set", 2, "hyx_uint32")


def test_nested_counter_blocks_point_into_the_record():
    counters = m.new_VSPortCounters()
    err_ctrs = m.VSPortCounters_errCtrs_get(counters)
    info_ctrs = m.VSPortCounters_infoCtrs_get(counters)
    assert addr(err_ctrs) == addr(counters) + 8 and addr(info_ctrs) == addr(counters) + 80
    m.VSPortFwdErrCtrs_brBridgeLENotFound_set(err_ctrs, 5)
    assert raw(counters, 8, 72) == b"\x05" + bytes(7)
    separate = m.new_VSPortFwdErrCtrs()
    m.VSPortFwdErrCtrs_brL3IsoCbErr_set(separate, 9)
    assert m.VSPortFwdErrCtrs_brL3IsoCbErr_get(err_ctrs) == 0
    m.VSPortCounters_errCtrs_set(counters, separate)
    assert m.VSPortFwdErrCtrs_brL3IsoCbErr_get(err_ctrs) == 9
    assert m.VSPortFwdErrCtrs_brBridgeLENotFound_get(err_ctrs) == 0  # whole block replaced
    with pytest.raises(TypeError) as err:
        m.VSPortCounters_infoCtrs_set(counters, separate)
    assert str(err.value) == msg("VSPortCounters_infoCtrs_set", 2, "VSPortFwdInfoCtrs *")
    with pytest.raises(ValueError):
        m.VSPortCounters_errCtrs_set(counters, None)
    assert m.VSPortCounters_errCtrs_set(None, separate) is None
