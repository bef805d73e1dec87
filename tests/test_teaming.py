"""Uplinks, teaming policies, logical-switch teaming tables and LAG tables:
the name-slot sequences and their bounds, the LAG walk, and the simulated
host's uplink, policy and LAG state through the raw module."""

import pytest

import _libtessel as m

from conftest import addr, poke, raw

BAD_INDEX = "Invalid array index."

# (constructor, count getter, slot reader, slot writer, slot offset of i, slot width)
SEQUENCES = [
    (m.new_VSUplinks, m.VSUplinks_numEntries_get, m.VSUplinks___getitem__, m.VSUplinks___setitem__,
     lambda i: 8 + 36 * i, 32),
    (m.new_VSUplinkPorts, m.VSUplinkPorts_nUplinkPorts_get, m.VSUplinkPorts___getitem__,
     m.VSUplinkPorts___setitem__, lambda i: 4 + 81 * i, 81),
    (m.new_VSUplinkPortIds, m.VSUplinkPortIds_nUplinkPorts_get, m.VSUplinkPortIds___getitem__,
     m.VSUplinkPortIds___setitem__, lambda i: 4 + 48 * i, 48),
]
SEQ_IDS = ["VSUplinks", "VSUplinkPorts", "VSUplinkPortIds"]


@pytest.mark.parametrize("new, count, get, put, at, width", SEQUENCES, ids=SEQ_IDS)
def test_sized_table_is_cleared_and_bounded(capfd, new, count, get, put, at, width):
    t = new(3)
    assert count(t) == 3 and raw(t, width, at(2)) == bytes(width)
    assert [get(t, i) for i in range(3)] == ["", "", ""]
    assert get(t, 3) is None and get(t, -1) is None and put(t, 3, "x") is None
    assert capfd.readouterr().out == BAD_INDEX * 3
    empty = new(0)
    assert count(empty) == 0 and get(empty, 0) is None
    assert capfd.readouterr().out == BAD_INDEX


@pytest.mark.parametrize("new, count, get, put, at, width", SEQUENCES, ids=SEQ_IDS)
def test_slot_write_is_fixed_width(new, count, get, put, at, width):
    t = new(3)
    put(t, 0, "a" * 5)
    put(t, 1, "y" * (width + 10))
    # A full slot has no NUL: it reads as exactly its width, nothing of the
    # slot after it; a shorter text zero-fills what an earlier one left.
    assert get(t, 1) == "y" * width and get(t, 2) == ""
    put(t, 1, "z")
    assert get(t, 1) == "z" and raw(t, width, at(1)) == b"z" + bytes(width - 1)
    assert get(t, 0) == "aaaaa"


@pytest.mark.parametrize("new", [s[0] for s in SEQUENCES], ids=SEQ_IDS)
@pytest.mark.parametrize("n", [-1, -(2**31), 2**31 - 1])
def test_sized_table_that_cannot_be_made_is_none(new, n):
    assert new(n) is None


@pytest.mark.parametrize("new, count, get, put, at, width", SEQUENCES, ids=SEQ_IDS)
def test_count_beyond_the_block_is_not_followed(capfd, new, count, get, put, at, width):
    t = new(1)
    poke(t, 4 if new is m.new_VSUplinks else 0, (1000).to_bytes(4, "little"))
    assert count(t) == 1000
    assert get(t, 1) is None and put(t, 1, "x") is None
    assert capfd.readouterr().out == BAD_INDEX * 2


@pytest.mark.parametrize("text", [None, "a\0b", b"ab", 5])
def test_slot_text_must_be_text(text):
    t = m.new_VSUplinkPorts(1)
    with pytest.raises(TypeError, match="VSUplinkPorts___setitem__', argument 3 of type 'char const \\*'"):
        m.VSUplinkPorts___setitem__(t, 0, text)
    assert m.VSUplinkPorts___getitem__(t, 0) == ""


def test_uplinks_setitem_keeps_the_port_id():
    t = m.new_VSUplinks(2)
    poke(t, 8 + 36 + 32, (77).to_bytes(4, "little"))
    m.VSUplinks___setitem__(t, 1, "x")
    assert m.VSUplinks___getitem__(t, 1) == "x"
    assert raw(t, 4, 8 + 36 + 32) == (77).to_bytes(4, "little")


@pytest.mark.parametrize("new, get, put, first", [
    (m.new_VSTeamPolicy, m.VSTeamPolicy___getitem__, m.VSTeamPolicy___setitem__, 24),
    (m.new_LSTeamPolicy, m.LSTeamPolicy___getitem__, m.LSTeamPolicy___setitem__, 156),
])
def test_policy_slots(capfd, new, get, put, first):
    p = new()
    assert get(p, 31) == ""
    assert get(p, 32) is None and get(p, -1) is None and put(p, 32, "x") is None
    assert capfd.readouterr().out == BAD_INDEX * 3
    put(p, 0, "uplinkA")
    put(p, 30, "w" * 90)
    assert get(p, 0) == "uplinkA" and get(p, 1) == ""
    assert get(p, 30) == "w" * 81 and get(p, 31) == ""
    assert raw(p, 7, first) == b"uplinkA"


@pytest.mark.parametrize("n", [-1, 781472, 2**31 - 1])
def test_ls_team_table_that_cannot_be_made_is_none(n):
    assert m.alloc_ls_team_table(n) is None


def test_ls_team_table_views_and_copies(capfd):
    t = m.alloc_ls_team_table(2)
    try:
        assert m.LSTeamTable_numLSTeam_get(t) == 2 and raw(t, 2 * 2748, 4) == bytes(2 * 2748)
        view = m.LSTeamTable___getitem__(t, 1)
        assert addr(view) == addr(t) + 4 + 2748
        m.LSTeamPolicy_numActive_set(view, 3)
        assert m.LSTeamPolicy_numActive_get(m.LSTeamTable___getitem__(t, 1)) == 3
        p = m.new_LSTeamPolicy()
        m.LSTeamPolicy_name_set(p, "gold")
        assert m.LSTeamPolicy_name_get(m.LSTeamTable___getitem__(t, 0)) == ""
        m.LSTeamTable___setitem__(t, 0, p)
        assert m.LSTeamPolicy_name_get(m.LSTeamTable___getitem__(t, 0)) == "gold"
        assert m.LSTeamTable___getitem__(t, 2) is None and m.LSTeamTable___getitem__(t, -1) is None
        assert capfd.readouterr().out == BAD_INDEX * 2
    finally:
        m.free_ls_team_table(t)


def test_table_given_to_the_host_must_hold_its_count(sim):
    # The header-only table from new_LSTeamTable and a list made for one name
    # are refused before the host reads past them.
    t = m.new_LSTeamTable()
    m.LSTeamTable_numLSTeam_set(t, 1)
    with pytest.raises(ValueError, match="VSDVS_SetLSTeamingPolicy"):
        m.VSDVS_SetLSTeamingPolicy("dswitch0", t)
    ports, ids = m.new_VSUplinkPorts(1), m.new_VSUplinkPortIds(1)
    m.VSUplinkPorts_nUplinkPorts_set(ports, 2)
    m.VSUplinkPortIds_nUplinkPorts_set(ids, 2)
    with pytest.raises(ValueError, match="VSDVS_SetSwitchUplinkPorts"):
        m.VSDVS_SetSwitchUplinkPorts("dswitch0", ports, ids)


def test_lag_walk_over_the_host_table(sim, capfd):
    status, t = m.VSHYX_GetLAGTable("dswitch0")
    assert status == m.HYX_OK and m.VSLAGTable_numLAGs_get(t) == 1
    lag = m.VSLAGTable_vs_lag_table_first_lag(t)
    assert addr(lag) == addr(t) + 4
    assert m.VSLAGStatus_get_name(lag) == "lag1" and m.VSLAGStatus_numUplinks_get(lag) == 2
    assert [m.VSLAGStatus_get_uplink_name(lag, i) for i in range(2)] == ["uplink4", "uplink5"]
    assert addr(m.VSLAGStatus_vs_lag_table_next_lag(lag)) == addr(lag) + 88 + 2 * 32
    assert m.VSLAGStatus_get_uplink_name(lag, 2) is None and m.VSLAGStatus_get_uplink_name(lag, -1) is None
    assert capfd.readouterr().out == ""
    assert m.VSLAGStatus___getitem__(lag, 2) is None and m.VSLAGStatus___setitem__(lag, -1, "x") is None
    assert capfd.readouterr().out == BAD_INDEX * 2
    # Names that fill their fields read as the whole field, never past it.
    poke(lag, 8, b"N" * 68)
    m.VSLAGStatus___setitem__(lag, 0, "u" * 40)
    assert m.VSLAGStatus_get_name(lag) == "N" * 68
    assert m.VSLAGStatus___getitem__(lag, 0) == "u" * 32 and m.VSLAGStatus___getitem__(lag, 1) == "uplink5"
    m.VSHYX_FreeMemory(t)


def test_lag_walk_stays_inside_python_owned_records(capfd):
    lag = m.new_VSLAGStatus()
    m.VSLAGStatus_numUplinks_set(lag, 3)
    assert m.VSLAGStatus_get_uplink_name(lag, 0) is None
    assert m.VSLAGStatus___getitem__(lag, 0) is None and m.VSLAGStatus___setitem__(lag, 0, "x") is None
    assert capfd.readouterr().out == BAD_INDEX * 2
    # A next LAG that would start past the record is None; one at its very
    # end is a position nothing can be read through.
    assert m.VSLAGStatus_vs_lag_table_next_lag(lag) is None
    m.VSLAGStatus_numUplinks_set(lag, 0)
    end = m.VSLAGStatus_vs_lag_table_next_lag(lag)
    assert addr(end) == addr(lag) + 88
    table = m.new_VSLAGTable()
    for at_end in (end, m.VSLAGTable_vs_lag_table_first_lag(table)):
        with pytest.raises(ValueError, match="0 bytes are left in its block"):
            m.VSLAGStatus_get_name(at_end)


def _state(switch, uplink):
    return m.VSHYX_GetUplinkLinkState(switch, uplink)[1], m.VSHYX_GetUplinkLACPLinkState(switch, uplink)


def test_admin_state_drives_link_lag_and_hint(sim):
    up, down = m.HYX_LINK_STATE_UP, m.HYX_LINK_STATE_DOWN
    web = 67108864 + 7  # prod-web-01.eth0 (index 6) on dswitch0
    assert m.VSHYX_PortGetTeamUplinkHint(web, m.new_hyx_Name()) == m.HYX_OK
    assert _state("dswitch0", "uplink4") == (up, [m.HYX_OK, up])
    assert m.VSHYX_SetUplinkAdminLinkState("dswitch0", "uplink4", down) == m.HYX_OK
    assert _state("dswitch0", "uplink4") == (down, [m.HYX_OK, down])
    status, t = m.VSHYX_GetLAGTable("dswitch0")
    lag = m.VSLAGTable_vs_lag_table_first_lag(t)
    assert m.VSLAGStatus_uplinkLinkupBitmap_get(lag) == 0b10 and m.VSLAGStatus_state_get(lag) == up
    m.VSHYX_FreeMemory(t)
    name = m.new_hyx_Name()
    assert m.VSHYX_PortGetTeamUplinkHint(web, name) == m.HYX_OK and m.hyx_Name_string_get(name) == "uplink5"
    m.VSHYX_SetUplinkAdminLinkState("dswitch0", "uplink5", down)
    assert m.VSHYX_PortGetTeamUplinkHint(web, name) == m.HYX_NOT_FOUND
    # An uplink in no LAG has no LACP state; other states and ports are refused.
    assert m.VSHYX_GetUplinkLACPLinkState("switch0", "uplink0")[0] == m.HYX_NOT_FOUND
    assert m.VSHYX_SetUplinkAdminLinkState("switch0", "uplink0", 2) == m.HYX_BAD_PARAM
    assert m.VSHYX_SetUplinkAdminLinkState("switch0", "web-01.eth0", down) == m.HYX_NOT_FOUND


def _uplink_ports(switch):
    status, names, ids = m.VSDVS_GetSwitchUplinkPorts(switch)
    assert status == m.HYX_OK
    try:
        n = m.VSUplinkPorts___len__(names)
        return [(m.VSUplinkPorts___getitem__(names, i), m.VSUplinkPortIds___getitem__(ids, i)) for i in range(n)]
    finally:
        m.VSHYX_FreeMemory(names)
        m.VSHYX_FreeMemory(ids)


def test_configured_uplink_ports(sim):
    before = sim.outstanding_blocks()
    listed = _uplink_ports("dswitch0")
    assert [n for n, _ in listed] == ["uplink4", "uplink5"] and listed[0][1] == m.VSHYX_GetUplinkDVPortID("uplink4")[1]
    assert m.VSDVS_AddSwitchUplinkPort("dswitch0", "uplink4") == m.HYX_EXISTS
    assert m.VSDVS_RemoveSwitchUplinkPort("dswitch0", "uplink9") == m.HYX_NOT_FOUND
    assert m.VSDVS_RemoveSwitchUplinkPort("dswitch0", "uplink4") == m.HYX_OK
    assert m.VSDVS_ClearSwitchUplinkPorts("dswitch0") == m.HYX_OK
    for i in range(32):
        assert m.VSDVS_AddSwitchUplinkPort("dswitch0", "up%d" % i) == m.HYX_OK
    assert m.VSDVS_AddSwitchUplinkPort("dswitch0", "one-more") == m.HYX_LIMIT_EXCEEDED
    assert len(_uplink_ports("dswitch0")) == 32
    names, ids = m.new_VSUplinkPorts(2), m.new_VSUplinkPortIds(2)
    m.VSUplinkPorts___setitem__(names, 0, "a")
    m.VSUplinkPorts___setitem__(names, 1, "b")
    m.VSUplinkPortIds___setitem__(ids, 1, "0123456789")
    assert m.VSDVS_SetSwitchUplinkPorts("dswitch0", names, ids) == m.HYX_OK
    assert _uplink_ports("dswitch0") == [("a", ""), ("b", "0123456789")]
    # A slot without its NUL, a duplicate or lists of two lengths are refused.
    m.VSUplinkPorts___setitem__(names, 1, "c" * 81)
    assert m.VSDVS_SetSwitchUplinkPorts("dswitch0", names, ids) == m.HYX_BAD_PARAM
    m.VSUplinkPorts___setitem__(names, 1, "a")
    assert m.VSDVS_SetSwitchUplinkPorts("dswitch0", names, ids) == m.HYX_BAD_PARAM
    assert m.VSDVS_SetSwitchUplinkPorts("dswitch0", names, m.new_VSUplinkPortIds(1)) == m.HYX_BAD_PARAM
    assert [n for n, _ in _uplink_ports("dswitch0")] == ["a", "b"]
    assert m.VSDVS_AddSwitchUplinkPort("switch0", "uplink0") == m.HYX_NOT_SUPPORTED
    assert sim.outstanding_blocks() == before


def _policy(active, standby=(), load_balance=None):
    p = m.new_VSTeamPolicy()
    m.VSTeamPolicy_loadBalance_set(p, m.TEAM_FRP_TYPE_FO_EXPLICIT if load_balance is None else load_balance)
    m.VSTeamPolicy_numActive_set(p, len(active))
    m.VSTeamPolicy_numStandby_set(p, len(standby))
    for i, name in enumerate(list(active) + list(standby)):
        m.VSTeamPolicy___setitem__(p, i, name)
    return p


def _active(get, *args):
    p = m.new_VSTeamPolicy()
    assert get(*args, p) == m.HYX_OK
    return [m.VSTeamPolicy___getitem__(p, i) for i in range(m.VSTeamPolicy_numActive_get(p))]


def test_port_policy_falls_back_to_the_switch(sim):
    get_port = m.VSDVS_GetPortTeamingPolicy
    assert _active(get_port, "switch0", "web-01.eth0") == ["uplink0", "uplink1"]
    assert m.VSDVS_SetTeamingPolicy("switch0", _policy(["uplink1"], ["uplink0"])) == m.HYX_OK
    assert m.VSDVS_SetPortTeamingPolicy("switch0", "web-01.eth0", _policy(["uplink0"])) == m.HYX_OK
    assert _active(get_port, "switch0", "web-01.eth0") == ["uplink0"]
    assert _active(get_port, "switch0", "db-01.eth0") == ["uplink1"]
    assert m.VSDVS_ClearPortTeamingPolicy("switch0", "web-01.eth0") == m.HYX_OK
    assert _active(get_port, "switch0", "web-01.eth0") == ["uplink1"]
    assert m.VSDVS_ClearTeamingPolicy("switch0") == m.HYX_OK
    assert _active(m.VSDVS_GetTeamingPolicy, "switch0") == ["uplink0", "uplink1"]
    dvs_name = "50 1f 2a 3b 4c 5d 6e 7f-80 91 a2 b3 c4 d5 e6 f7"
    assert _active(m.VSDVS_GetTeamingPolicyFromDVSID, dvs_name) == ["uplink4", "uplink5"]


@pytest.mark.parametrize("change", [
    lambda p: m.VSTeamPolicy_loadBalance_set(p, 6),
    lambda p: m.VSTeamPolicy_linkCriteria_set(p, 0x10),
    lambda p: m.VSTeamPolicy_flags_set(p, 0x80),
    lambda p: m.VSTeamPolicy_numStandby_set(p, 32),
    lambda p: m.VSTeamPolicy___setitem__(p, 0, ""),
    lambda p: m.VSTeamPolicy___setitem__(p, 0, "v" * 81),
], ids=["load-balance", "criteria", "flags", "count", "empty-slot", "slot-without-nul"])
def test_policy_the_host_refuses_changes_nothing(sim, change):
    p = _policy(["uplink1"])
    change(p)
    assert m.VSDVS_SetTeamingPolicy("switch0", p) == m.HYX_BAD_PARAM
    assert _active(m.VSDVS_GetTeamingPolicy, "switch0") == ["uplink0", "uplink1"]


def test_override_and_tx_uplink_always(sim):
    args = ("switch0", "web-01.eth0")
    assert m.VSDVS_GetPortTeamingOverride(*args) == [m.HYX_OK, ""]
    assert m.VSDVS_SetPortTeamingOverride(*args, "uplink9") == m.HYX_NOT_FOUND
    assert m.VSDVS_SetPortTeamingOverride(*args, "uplink1") == m.HYX_OK
    assert m.VSDVS_GetPortTeamingOverride(*args) == [m.HYX_OK, "uplink1"]
    name = m.new_hyx_Name()
    assert m.VSHYX_PortGetTeamUplinkHint(33554436, name) == m.HYX_OK and m.hyx_Name_string_get(name) == "uplink1"
    assert m.VSDVS_ClearPortTeamingOverride(*args) == m.HYX_OK
    assert m.VSDVS_GetPortTeamingOverride(*args) == [m.HYX_OK, ""]
    assert m.VSDVS_SetTxUplinkAlways(*args, 1) == m.HYX_OK
    assert m.VSDVS_GetTxUplinkAlways(*args) == [m.HYX_OK, 1]
    assert m.VSDVS_SetTxUplinkAlways(*args, 2) == m.HYX_BAD_PARAM


def _ls_table(*names):
    t = m.alloc_ls_team_table(len(names))
    for i, name in enumerate(names):
        p = m.LSTeamTable___getitem__(t, i)
        m.LSTeamPolicy_name_set(p, name)
        m.LSTeamPolicy_numActive_set(p, 1)
        m.LSTeamPolicy___setitem__(p, 0, "uplink4")
    return t


def test_logical_switch_policies_and_port_choice(sim):
    before = sim.outstanding_blocks()
    web = ("dswitch0", "prod-web-01.eth0")
    t = _ls_table("gold", "silver")
    try:
        assert m.VSDVS_SetPortLSTeamingPolicy(*web, "gold") == m.HYX_NOT_FOUND
        assert m.VSDVS_SetLSTeamingPolicy("dswitch0", t) == m.HYX_OK
        assert m.VSDVS_SetPortLSTeamingPolicy(*web, "gold") == m.HYX_OK
        assert m.VSDVS_GetPortLSTeamingPolicyName(*web) == [m.HYX_OK, "gold"]
        assert m.VSHYX_GetPortLSTeamingPolicyName(67108864 + 7) == [m.HYX_OK, "gold"]
        for get in (m.VSDVS_GetLSTeamingPolicyTable, m.VSHYX_GetLSTeamingPolicyTable):
            status, got = get("dswitch0")
            assert status == m.HYX_OK and raw(got, 4 + 2 * 2748) == raw(t, 4 + 2 * 2748)
            m.VSHYX_FreeMemory(got)
        # A table naming a policy twice is refused and changes nothing.
        m.LSTeamPolicy_name_set(m.LSTeamTable___getitem__(t, 1), "gold")
        assert m.VSDVS_SetLSTeamingPolicy("dswitch0", t) == m.HYX_BAD_PARAM
        assert m.VSDVS_GetPortLSTeamingPolicyName(*web) == [m.HYX_OK, "gold"]
    finally:
        m.free_ls_team_table(t)
    # A table without "gold" drops the port's choice.
    t = _ls_table("bronze")
    assert m.VSDVS_SetLSTeamingPolicy("dswitch0", t) == m.HYX_OK
    m.free_ls_team_table(t)
    assert m.VSDVS_GetPortLSTeamingPolicyName(*web) == [m.HYX_OK, ""]
    assert m.VSDVS_ClearLSTeamingPolicy("dswitch0") == m.HYX_OK
    assert sim.outstanding_blocks() == before


def test_service_port_stats_only_with_service_ports(sim):
    stats = m.new_VSServicePortTeamingStats()
    assert m.VSHYX_GetServicePortTeamingStats("dswitch0", stats) == m.HYX_OK
    assert m.VSServicePortTeamingStats_txFromSrvPort_get(stats) == (
        m.VSServicePortTeamingStats_txUsingSrvPortFRP_get(stats)
        + m.VSServicePortTeamingStats_txUsingPktSrcPortFRP_get(stats)) > 0
    assert m.VSHYX_GetServicePortTeamingStats("switch0", stats) == m.HYX_OK
    assert raw(stats, 48) == bytes(48)
