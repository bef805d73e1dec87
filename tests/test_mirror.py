"""Mirror session tables through the raw module: the block the module
allocates, walking it within its bounds, the entity text forms, the host's
handling of tables, and the runtime statistics records."""

import ctypes

import pytest

import _libtessel as m

from conftest import addr, poke, raw

SESSION, ENTITY, HEADER = 232, 52, 20
DVS = ("dswitch0", "dvs-prod")
INVALID = "Invalid array index."


@pytest.fixture
def table():
    t = m.alloc_dvmirror_session_table(2, 3)
    yield t
    m.free_dvmirror_session_table(t)


def test_allocated_table_layout(table):
    size = HEADER + 2 * SESSION + 3 * ENTITY
    assert raw(table, size) == (b"\xef\xbe\xce\xfa" + bytes(4) + (2).to_bytes(4, "little")
                                + (3).to_bytes(4, "little") + bytes(size - 16))
    assert addr(m.DVMirrorSessionTable___getitem__(table, 1)) - addr(table) == 252
    first = m.DVMirrorSessionTable_get_first_session_entity(table, 0)
    assert addr(first) - addr(table) == 484
    assert addr(m.DVMirrorEntity___next__(first)) - addr(table) == 536
    assert addr(m.DVMirrorSessionTable_get_first_session(table)) - addr(table) == HEADER


@pytest.mark.parametrize("walk", [
    lambda t: m.DVMirrorSessionTable___getitem__(t, 2),
    lambda t: m.DVMirrorSessionTable___getitem__(t, -1),
    lambda t: m.DVMirrorSessionTable_get_first_session_entity(t, 3),
    lambda t: m.DVMirrorSessionTable_get_first_session_entity(t, -1),
    lambda t: m.DVMirrorEntity___next__(m.DVMirrorSessionTable_get_first_session_entity(t, 2)),
])
def test_walks_stop_at_the_table_end(table, walk, capfd):
    assert walk(table) is None
    assert capfd.readouterr().out == INVALID


def test_walks_are_cut_to_the_allocation(capfd):
    # A header raised above its block is walked only as far as the block.
    t = m.alloc_dvmirror_session_table(1, 1)
    try:
        m.DVMirrorSessionTable_numSessions_set(t, 5)
        m.DVMirrorSessionTable_numEntities_set(t, 100)
        assert m.DVMirrorSessionTable___getitem__(t, 1) is None
        assert m.DVMirrorSessionTable_get_first_session_entity(t, 0) is None
        m.DVMirrorSessionTable_numSessions_set(t, 0)
        assert m.DVMirrorSessionTable_get_first_session(t) is None
        assert m.DVMirrorSessionTable_get_first_session_entity(t, 1) is not None
        assert m.DVMirrorSessionTable_get_first_session_entity(t, 5) is None
        # Handed to the host, it is refused before the call.
        m.DVMirrorSessionTable_numEntities_set(t, 100)
        with pytest.raises(ValueError, match="claims"):
            m.VSDVS_SetDVMirrorSessions(*DVS, t)
    finally:
        m.free_dvmirror_session_table(t)


def _owned_header(counts):
    t = m.new_DVMirrorSessionTable()
    m.DVMirrorSessionTable_numSessions_set(t, counts)
    m.DVMirrorSessionTable_numEntities_set(t, counts)
    return t


def _owned_list(new, set_count):
    rec = new()
    set_count(rec, 4)
    return rec


@pytest.mark.parametrize("walk", [
    lambda: m.DVMirrorSessionTable___getitem__(_owned_header(4), 0),
    lambda: m.DVMirrorSessionTable_get_first_session(_owned_header(4)),
    lambda: m.DVMirrorSessionTable_get_first_session_entity(_owned_header(4), 0),
    lambda: m.DVMirrorEntity___next__(m.new_DVMirrorEntity()),
    lambda: m.VSDVMirrorSessionIDs___getitem__(
        _owned_list(m.new_VSDVMirrorSessionIDs, m.VSDVMirrorSessionIDs_numEntries_set), 0),
])
def test_python_owned_records_have_nothing_behind_them(walk, capfd):
    # A header made by new_<Record> is one record, whatever its counts say.
    assert walk() is None
    assert capfd.readouterr().out == INVALID


@pytest.mark.parametrize("sessions,entities,exc", [
    (-1, 0, ValueError), (0, -1, ValueError), (9256395, 0, OverflowError), (0, 41297763, OverflowError),
    (2**31, 0, OverflowError), ("1", 0, TypeError)])
def test_alloc_refuses_bad_counts(sessions, entities, exc):
    with pytest.raises(exc):
        m.alloc_dvmirror_session_table(sessions, entities)


def test_free_releases_once_and_never_a_host_table():
    status, host_table = m.VSDVS_GetDVMirrorSessions(*DVS)
    with pytest.raises(ValueError, match="host library owns it"):
        m.free_dvmirror_session_table(host_table)
    m.VSDVS_FreeMemory(host_table)
    # A table its proxy owns is released and disowned, so the proxy does
    # not free it again; a second free does nothing.
    for t in (m.new_DVMirrorSessionTable(), m.alloc_dvmirror_session_table(1, 1)):
        assert m.free_dvmirror_session_table(t) is None
        assert m.free_dvmirror_session_table(t) is None
        with pytest.raises(ValueError, match="released"):
            m.DVMirrorSessionTable_magicNum_get(t)


def _entity(kind, text=None):
    e = m.new_DVMirrorEntity()
    m.DVMirrorEntity_type_set(e, kind)
    if text is not None:
        m.DVMirrorEntity_set_entity(e, text)
    return e


@pytest.mark.parametrize("kind,text,stored,shown", [
    (m.MIRROR_ENTTYPE_IP, "10.0.0.1", b"\x00" * 4 + b"\x0a\x00\x00\x01", "10.0.0.1"),
    (m.MIRROR_ENTTYPE_IP, "fe80::1", b"\x01" + bytes(3) + b"\xfe\x80" + bytes(13) + b"\x01", "fe80::1"),
    (m.MIRROR_ENTTYPE_IP, "not an address", bytes(8), "0.0.0.0"),
    (m.MIRROR_ENTTYPE_UPLINK, "u" * 40, b"u" * 31 + b"\x00", "u" * 31),
    (m.MIRROR_ENTTYPE_DVPORT, "d" * 48, b"d" * 48, "d" * 48),
    (m.MIRROR_ENTTYPE_VLAN, "70000", (4464).to_bytes(2, "little"), "4464"),
    (m.MIRROR_ENTTYPE_VLAN, "abc", bytes(2), "0"),
    (m.MIRROR_ENTTYPE_PORT, "4294967295", b"\xff" * 4, "-1"),
    (m.MIRROR_ENTTYPE_MAC, "0a:1b:2c", b"\x0a\x1b\x2c\x00\x00\x00", "0a:1b:2c:00:00:00"),
    (m.MIRROR_ENTTYPE_MAC, "0A:1b:2c:3d:4e:5F", b"\x0a\x1b\x2c\x3d\x4e\x5f", "0a:1b:2c:3d:4e:5f"),
    (9, "whatever", bytes(48), ""),
])
def test_entity_text_forms(kind, text, stored, shown):
    # stored: the union's bytes from offset 4 (for an address: the family
    # flag, padding, then the address at offset 8).
    e = _entity(kind, text)
    assert raw(e, len(stored), 4) == stored
    assert m.DVMirrorEntity_type_get(e) == kind
    assert m.DVMirrorEntity_get_entity(e) == shown


@pytest.mark.parametrize("bad,exc", [(None, ValueError), ("a\0b", TypeError), (5, TypeError)])
def test_set_entity_refuses_before_reading(bad, exc):
    e = _entity(m.MIRROR_ENTTYPE_DVPORT)
    with pytest.raises(exc):
        m.DVMirrorEntity_set_entity(e, bad)
    assert raw(e, ENTITY) == bytes(ENTITY)


def test_get_entity_decodes_strictly():
    e = _entity(m.MIRROR_ENTTYPE_DVPORT)
    poke(e, 4, b"\xff\xfe")
    with pytest.raises(UnicodeDecodeError):
        m.DVMirrorEntity_get_entity(e)


def test_setitem_copies_a_session_and_refuses_none(table, capfd):
    s = m.new_DVMirrorSession()
    m.DVMirrorSession_sid_set(s, "copied")
    m.DVMirrorSession_erspanID_set(s, 0xBEEF)
    m.DVMirrorSessionTable___setitem__(table, 1, s)
    assert raw(table, SESSION, HEADER + SESSION) == raw(s, SESSION)
    m.DVMirrorSessionTable___setitem__(table, 2, s)
    assert capfd.readouterr().out == INVALID
    with pytest.raises(ValueError, match="argument 3"):
        m.DVMirrorSessionTable___setitem__(table, 0, None)


def test_unaligned_session_fields_and_magic():
    s = m.new_DVMirrorSession()
    m.DVMirrorSession_encapType_set(s, -2)
    m.DVMirrorSession_erspanID_set(s, 0xABCD)
    m.DVMirrorSession_startRuleIdx_set(s, 0x1234)
    assert raw(s, 12, 149) == b"\xfe\xff\xff\xff\xcd\xab" + bytes(4) + b"\x34\x12"
    t = m.new_DVMirrorSessionTable()
    with pytest.raises(OverflowError):
        m.DVMirrorSessionTable_magicNum_set(t, m.VS_DVMIRROR_MAGIC_NUM)
    rule = m.new_DVMirrorFilterRule()
    m.DVMirrorFilterRule_reserved_set(rule, 31)
    m.DVMirrorFilterRule_has_protocol_set(rule, 2)
    assert raw(rule, 1, 8) == b"\xf8"
    m.DVMirrorFilterRule_has_protocol_set(rule, 3)
    assert raw(rule, 1, 8) == b"\xf9" and m.DVMirrorFilterRule_has_protocol_get(rule) == 1


# ---- the host ----

def _build(sessions):
    """A table of (sid, [entity texts as (type, text)]) sessions."""
    entities = [e for _, ents in sessions for e in ents]
    t = m.alloc_dvmirror_session_table(len(sessions), len(entities))
    m.DVMirrorSessionTable_version_set(t, m.VS_DVMIRROR_VERSION_V3)
    start = 0
    for i, (sid, ents) in enumerate(sessions):
        s = m.DVMirrorSessionTable___getitem__(t, i)
        m.DVMirrorSession_sid_set(s, sid)
        m.DVMirrorSession_dname_set(s, sid.upper())
        m.DVMirrorSession_snapLen_set(s, 4294967295)
        m.DVMirrorSession_numDstEntities_set(s, 1)
        m.DVMirrorSession_numSrcInEntities_set(s, len(ents) - 1)
        m.DVMirrorSession_startIdx_set(s, start)
        start += len(ents)
    for j, (kind, text) in enumerate(entities):
        e = m.DVMirrorSessionTable_get_first_session_entity(t, j)
        m.DVMirrorEntity_type_set(e, kind)
        m.DVMirrorEntity_set_entity(e, text)
    return t, HEADER + SESSION * len(sessions) + ENTITY * len(entities)


def _host_table():
    status, t = m.VSDVS_GetDVMirrorSessions(*DVS)
    assert status == m.HYX_OK
    size = HEADER + SESSION * m.DVMirrorSessionTable_numSessions_get(t) \
        + ENTITY * m.DVMirrorSessionTable_numEntities_get(t)
    return t, size


def _sids_and_entities():
    t, _ = _host_table()
    try:
        out = []
        for i in range(m.DVMirrorSessionTable_numSessions_get(t)):
            s = m.DVMirrorSessionTable___getitem__(t, i)
            e = m.DVMirrorSessionTable_get_first_session_entity(t, m.DVMirrorSession_startIdx_get(s))
            texts = []
            for _ in range(m.DVMirrorSession_numDstEntities_get(s) + m.DVMirrorSession_numSrcInEntities_get(s)):
                texts.append(m.DVMirrorEntity_get_entity(e))
                e = m.DVMirrorEntity___next__(e)
            out.append((m.DVMirrorSession_sid_get(s), texts))
        return out
    finally:
        m.VSDVS_FreeMemory(t)


PORT, UPLINK, IP = m.MIRROR_ENTTYPE_PORT, m.MIRROR_ENTTYPE_UPLINK, m.MIRROR_ENTTYPE_IP
THREE = [("one", [(PORT, "67108875"), (UPLINK, "uplink4")]),
         ("two", [(IP, "192.0.2.1"), (PORT, "67108871"), (UPLINK, "uplink5")]),
         ("three", [(m.MIRROR_ENTTYPE_DVPORT, "106")])]


def test_three_sessions_through_set_get_append_remove_clear(sim):
    blocks = sim.outstanding_blocks()
    built, size = _build(THREE[:2])
    try:
        assert m.VSDVS_SetDVMirrorSessions(*DVS, built) == m.HYX_OK
        got, got_size = _host_table()
        assert got_size == size and raw(got, size) == raw(built, size)
        m.VSDVS_FreeMemory(got)
    finally:
        m.free_dvmirror_session_table(built)
    third, _ = _build(THREE[2:])
    try:
        assert m.VSDVS_AppendDVMirrorSessions(*DVS, third) == m.HYX_OK
        assert m.VSDVS_AppendDVMirrorSessions(*DVS, third) == m.HYX_EXISTS
    finally:
        m.free_dvmirror_session_table(third)
    assert _sids_and_entities() == [(sid, [text for _, text in ents]) for sid, ents in THREE]
    assert m.VSDVS_RemoveDVMirrorSession(*DVS, "two") == m.HYX_OK
    assert m.VSDVS_RemoveDVMirrorSession(*DVS, "two") == m.HYX_NOT_FOUND
    assert [sid for sid, _ in _sids_and_entities()] == ["one", "three"]
    assert m.VSDVS_ClearDVMirrorSessions(*DVS) == m.HYX_OK
    assert _sids_and_entities() == []
    assert sim.outstanding_blocks() == blocks


def _malformed(t):
    yield "magic", lambda: m.DVMirrorSessionTable_magicNum_set(t, 0xFACEBEEE)
    yield "version", lambda: m.DVMirrorSessionTable_version_set(t, m.VS_DVMIRROR_VERSION_UNSUPPORTED)
    s1 = m.DVMirrorSessionTable___getitem__(t, 1)
    yield "run", lambda: m.DVMirrorSession_startIdx_set(s1, 3)
    yield "duplicate", lambda: m.DVMirrorSession_sid_set(s1, "one")
    yield "empty sid", lambda: m.DVMirrorSession_sid_set(s1, "")


@pytest.mark.parametrize("case", ["magic", "version", "run", "duplicate", "empty sid"])
@pytest.mark.parametrize("call", [m.VSDVS_SetDVMirrorSessions, m.VSDVS_AppendDVMirrorSessions])
def test_host_refuses_malformed_tables(sim, case, call):
    t, _ = _build(THREE[:2])
    try:
        dict(_malformed(t))[case]()
        assert call(*DVS, t) == m.HYX_BAD_PARAM
    finally:
        m.free_dvmirror_session_table(t)
    assert _sids_and_entities() == []


@pytest.mark.parametrize("args,status", [
    (("switch0", "dvs-prod"), m.HYX_BAD_PARAM), (("dswitch0", "dvs-lab"), m.HYX_BAD_PARAM),
    (("nosuch", "dvs-prod"), m.HYX_NOT_FOUND), (("dswitch0", None), m.HYX_BAD_PARAM)])
def test_session_calls_name_one_distributed_switch(args, status):
    assert m.VSDVS_ClearDVMirrorSessions(*args) == status
    assert m.VSDVS_GetDVMirrorSessions(*args) == [status, None]


def test_runtime_lists_follow_the_sessions(sim):
    t, _ = _build(THREE)
    m.DVMirrorSession_flags_set(m.DVMirrorSessionTable___getitem__(t, 2), m.VS_DVMIRROR_FLAG_LEGACY)
    m.DVMirrorSession_flags_set(m.DVMirrorSessionTable___getitem__(t, 1), m.VS_DVMIRROR_FLAG_DISABLED)
    try:
        assert m.VSDVS_SetDVMirrorSessions(*DVS, t) == m.HYX_OK
    finally:
        m.free_dvmirror_session_table(t)
    status, ids = m.VSHYX_GetDVMirrorSessionIDs("dswitch0")
    assert m.VSDVMirrorSessionIDs_numEntries_get(ids) == 2
    assert m.VSDVMirrorSessionIDs___getitem__(ids, 1) == b"three" + bytes(27)
    m.VSHYX_FreeMemory(ids)
    status, dsts = m.VSHYX_GetPromiscSessionActiveDsts("dswitch0")
    assert [m.VSPromiscSessionActiveDsts___getitem__(dsts, i)
            for i in range(m.VSPromiscSessionActiveDsts_numEntries_get(dsts))] == [67108871]
    m.VSHYX_FreeMemory(dsts)
    stats = m.new_VSDVMirrorSessionStats()
    assert m.VSHYX_GetDVMirrorSessionStats("dswitch0", "one", stats) == m.HYX_OK
    assert m.VSDVMirrorSessionStats_name_get(stats) == "ONE"
    assert m.VSDVMirrorSessionStats_mirrorPktCnt_get(stats) == (
        m.VSDVMirrorSessionStats_mirroredPkts_get(stats) + m.VSDVMirrorSessionStats_mirrorPktFailCnt_get(stats)
        + m.VSDVMirrorSessionStats_discardedPkts_get(stats)) > 0
    assert m.VSHYX_GetDVMirrorSessionStats("dswitch0", "nosuch", stats) == m.HYX_NOT_FOUND


def test_runtime_list_indexers(capfd):
    ids = m.new_VSDVMirrorSessionIDs()
    assert m.VSDVMirrorSessionIDs___getitem__(ids, 0) is None
    dsts = m.new_VSPromiscSessionActiveDsts()
    assert m.VSPromiscSessionActiveDsts___getitem__(dsts, 0) == 0
    m.VSPromiscSessionActiveDsts___setitem__(dsts, -1, 7)
    assert capfd.readouterr().out == INVALID * 3
    with pytest.raises(OverflowError, match="argument 3"):
        m.VSPromiscSessionActiveDsts___setitem__(dsts, 0, 2**32)


@pytest.mark.parametrize("index", [-1, 3, 2**31 - 1])
def test_agent_world_copy_stays_in_the_record(index, capfd):
    stats = m.new_VSDVMirrorAgentWorldStats()
    assert m.VSDVMirrorAgentWorldStats___getitem__(stats, index) is None
    assert capfd.readouterr().out == INVALID


def test_agent_world_copy_is_independent():
    stats = m.new_VSDVMirrorAgentWorldStats()
    poke(stats, 48, (77).to_bytes(4, "little", signed=True))
    poke(stats, 72, (2).to_bytes(4, "little"))
    copy = m.VSDVMirrorAgentWorldStats___getitem__(stats, 2)
    assert m.VSDVMirrorAgentWorld_worldID_get(copy) == 77 and m.VSDVMirrorAgentWorldStats___len__(stats) == 2
    m.VSDVMirrorAgentWorld_worldID_set(copy, 5)
    assert raw(stats, 4, 48) == (77).to_bytes(4, "little")
    assert ctypes.string_at(addr(copy), 24) != raw(stats, 24, 48)
