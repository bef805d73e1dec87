"""RTM and switch-control queries: the allocators and item methods within
their blocks, property values, the query record's unions, and the simulated
host's RTM sequence and switch-state settings."""

import ctypes
import struct

import pytest

import _libtessel as m
import libtessel

from conftest import addr, raw

BAD_INDEX = "Invalid array index."

# (allocator, release, getter, setter, new entry, header, entry size, count getter)
QUERIES = {
    "portsets": (m.alloc_rtm_query, m.free_rtm_query, m.RTMIOCtlQuery___getitem__, m.RTMIOCtlQuery___setitem__,
                 m.new_RTM_Portset, 9, 136, m.RTMIOCtlQuery_numPortsets_set),
    "modules": (m.alloc_rtm_mod_query, m.free_rtm_mod_query, m.RTMModIOCtlQuery___getitem__,
                m.RTMModIOCtlQuery___setitem__, m.new_RTM_ModInfo, 132, 5, m.RTMModIOCtlQuery_numMod_set),
}


@pytest.mark.parametrize("kind", QUERIES)
def test_items_within_count_and_block(capfd, kind):
    alloc, free, get, put, new, header, size, set_count = QUERIES[kind]
    q = alloc(3)
    assert raw(q, header + 3 * size) == struct.pack("<I", 3) + bytes(header - 4 + 3 * size)
    assert addr(get(q, 2)) - addr(q) == header + 2 * size
    entry = new()
    raw_entry = bytes(range(1, size + 1))
    ctypes.memmove(addr(entry), raw_entry, size)
    put(q, 2, entry)
    assert raw(q, size, header + 2 * size) == raw_entry
    # A count beyond the block: entries past it are out of range too.
    set_count(q, 10)
    assert get(q, 3) is None and get(q, -1) is None and put(q, 3, entry) is None
    assert capfd.readouterr().out == BAD_INDEX * 3
    with pytest.raises(ValueError, match="invalid null reference"):
        put(q, 0, None)
    assert raw(q, size, header) == bytes(size)
    free(q)


@pytest.mark.parametrize("alloc, text", [(m.alloc_rtm_query, "RTMIOCtlQuery"),
                                         (m.alloc_rtm_mod_query, "RTMModIOCtlQuery")])
@pytest.mark.parametrize("n", [-1, 2 ** 31 - 1])
def test_refused_counts(capfd, alloc, text, n):
    assert alloc(n) is None
    assert capfd.readouterr().out == "Calloc failed for " + text


@pytest.mark.parametrize("kind", QUERIES)
def test_release_of_an_owning_record_is_not_repeated(kind):
    free = QUERIES[kind][1]
    q = {"portsets": m.new_RTMIOCtlQuery, "modules": m.new_RTMModIOCtlQuery}[kind]()
    free(q)
    free(q)  # a no-op: the block is released already
    with pytest.raises(ValueError, match="released"):
        QUERIES[kind][2](q, 0)


@pytest.mark.parametrize("size, text, length, expected", [
    (0, None, None, b""),
    (4, None, None, bytes(4)),
    (4, "abcdef", None, b"abcd"),        # propLen stays 4
    (2, "abcdef", 100, b"abcdef"),       # never more than the value block holds
    (4, None, -5, b""),
])
def test_property_values(size, text, length, expected):
    q = m.alloc_zar_query(size)
    assert m.ZARQuery_propLen_get(q) == size
    if text is not None:
        m.ZARQuery_propValue_set(q, text)
        assert m.ZARQuery_propValue_get(q) == text and m.ZARQuery_propLen_get(q) == size
    if length is not None:
        m.ZARQuery_propLen_set(q, length)
    assert m.ZARQuery_get_val_in_bytes(q) == expected
    m.free_zar_query(q)


@pytest.mark.parametrize("setter, value, offset, packed", [
    (m.VSIOCtlQuery_dvsId_set, "dswitch0", 0, b"dswitch0\0"),
    (m.VSIOCtlQuery_portID_set, 0x01020304, 128, b"\x04\x03\x02\x01"),
    (m.VSIOCtlQuery_dvMirrorSID_set, "session-1", 176, b"session-1\0"),
    (m.VSIOCtlQuery_l3IsoTestMode_set, 2, 176, b"\x02\0\0\0"),
    (m.VSIOCtlQuery_lagPortID_set, 7, 968, b"\x07\0\0\0"),
    (m.VSIOCtlQuery_vni_set, 0xAABBCCDD, 974, b"\xdd\xcc\xbb\xaa"),
])
def test_query_fields_at_their_offsets(setter, value, offset, packed):
    q = m.new_VSIOCtlQuery()
    setter(q, value)
    assert raw(q, len(packed), offset) == packed


# ---- The host ----

def portset_query(*names):
    q = m.alloc_rtm_query(len(names))
    for i, name in enumerate(names):
        m.RTM_Portset_psName_set(m.RTMIOCtlQuery___getitem__(q, i), name)
    return q


S, B, R, C = m.RTM_IOCCMD_SAVE, m.RTM_IOCCMD_BLOCKPORTS, m.RTM_IOCCMD_RESTORE, m.RTM_IOCCMD_COMPLETE
OK, STATE = m.HYX_OK, m.HYX_INVALID_STATE


@pytest.mark.parametrize("modes, statuses", [
    ([S, B, R, C], [OK, OK, OK, OK]),
    ([m.RTM_IOCCMD_REG_SAVE, m.RTM_IOCCMD_REG_RESTORE, m.RTM_IOCCMD_RESTORE_COMPLETE], [OK, OK, OK]),
    ([R], [STATE]), ([B], [STATE]), ([C], [STATE]),
    ([S, S], [OK, STATE]), ([S, C], [OK, STATE]), ([S, R, B], [OK, OK, STATE]),
    ([m.RTM_IOCCMD_PS_UPGRADE, S, m.RTM_IOCCMD_ENS_OP, R, C], [OK] * 5),
    ([15], [m.HYX_BAD_PARAM]),
])
def test_rtm_sequence(sim, modes, statuses):
    q = portset_query("switch0", "dswitch0")
    assert [m.VSHYX_RTMOp(q, mode) for mode in modes] == statuses
    m.free_rtm_query(q)


def test_rtm_checks_portsets_and_counts(sim):
    q = portset_query("switch0", "nope")
    assert m.VSHYX_RTMOp(q, S) == m.HYX_NOT_FOUND
    m.RTMIOCtlQuery_numPortsets_set(q, 3)
    sim.inject_fault("VSHYX_RTMOp", RuntimeError, "reached the host")
    with pytest.raises(ValueError, match="fewer than the 3 entries"):
        m.VSHYX_RTMOp(q, S)
    m.free_rtm_query(q)
    mq = m.alloc_rtm_mod_query(1)
    m.RTMModIOCtlQuery_psName_set(mq, "switch1")
    sim.clear_faults()
    assert m.VSHYX_RTMModOp(mq, S) == OK and m.VSHYX_RTMOp(portset_query(), S) == STATE
    m.free_rtm_mod_query(mq)


@pytest.mark.parametrize("get, put, value, bad", [
    (m.VSHYX_GetL3IsoTestMode, m.VSHYX_SetL3IsoTestMode, 2, 3),
    (m.VSHYX_GetBridgeFastpathConfig, m.VSHYX_SetBridgeFastpathConfig, 1, 2),
])
def test_switch_state_settings_round_trip(sim, get, put, value, bad):
    assert get() == [OK, 0]
    assert put(value) == OK and get() == [OK, value]
    assert put(bad) == m.HYX_BAD_PARAM and get() == [OK, value]


def test_port_and_device_operations(sim):
    port = libtessel.ports("switch0")[0].portID
    assert m.VSHYX_RTMPortOp(1, port, 1) == OK
    assert m.VSHYX_RTMPortOp(1, 12345, 0) == m.HYX_NOT_FOUND
    assert m.VSHYX_RTMPortOp(1, port, 2) == m.HYX_BAD_PARAM
    with pytest.raises(OverflowError, match="argument 2"):
        m.VSHYX_RTMPortOp(1, 2 ** 32, 0)
    assert m.VSHYX_RefreshDevNUMAInfo("uplink0") == OK
    assert [m.VSHYX_RefreshDevNUMAInfo(n) for n in ("hostport0", "uplink99")] == [m.HYX_NOT_FOUND] * 2


@pytest.mark.parametrize("member", ["mcastFilter", "uplink"])
def test_query_members_are_views_into_the_query(member):
    query = m.new_VSIOCtlQuery()
    view = getattr(m, "VSIOCtlQuery_%s_get" % member)(query)
    # A non-owning view at offset 176 of the query, not a copy to leak.
    assert not view.own() and int(view) == int(query) + 176
