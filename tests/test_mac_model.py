"""The simulated host's MAC model seen through the module: every argument
the wrappers pass (address and table type bytes, network and VLAN, flags,
port names by ID) reaches the host and selects what it should."""

import pytest

import _libtessel as m
import libtessel

from conftest import raw

SWITCH = "dswitch0"


def entries(status_and_table):
    status, table = status_and_table
    assert status == m.HYX_OK
    try:
        return [m.VSMACEntry___getitem__(table.macEntries, i) for i in range(table.numEntries)]
    finally:
        m.VSHYX_FreeMemory(table)


def keys(rows):
    return {(e.macAddress, e.vid, e.vni) for e in rows}


def team_ports(switch):
    team = (m.VS_PORT_CLIENT_UPLINK, m.VS_PORT_CLIENT_LAG)
    return {p.portID for p in libtessel.ports(switch) if p.clientType in team}


@pytest.mark.parametrize(
    "addr_type,table_type,kinds",
    [
        (m.VS_MAC_ADDR_TYPE_ALL, m.VS_ALL_MAC_TABLE, {0, 1, 2}),
        (m.VS_MAC_ADDR_TYPE_ALL, m.VS_DYNAMIC_MAC_TABLE, {2}),
        (m.VS_MAC_ADDR_TYPE_ALL, m.VS_STATIC_MAC_TABLE, {0, 1}),
        (m.VS_MAC_ADDR_TYPE_USER, m.VS_ALL_MAC_TABLE, {1}),
        (m.VS_MAC_ADDR_TYPE_STATIC, m.VS_STATIC_MAC_TABLE, {0}),
        (m.VS_MAC_ADDR_TYPE_LEARNED, m.VS_STATIC_MAC_TABLE, set()),
    ],
)
def test_address_and_table_type_select_entries(sim, addr_type, table_type, kinds):
    every = entries(m.VSHYX_GetMACTable(SWITCH, m.VS_MAC_ADDR_TYPE_ALL, m.VS_ALL_MAC_TABLE))
    chosen = entries(m.VSHYX_GetMACTable(SWITCH, addr_type, table_type))
    assert {e.macAddrType for e in chosen} == kinds
    assert keys(chosen) == {(e.macAddress, e.vid, e.vni) for e in every if e.macAddrType in kinds}


@pytest.mark.parametrize("addr_type,table_type", [(4, 0), (3, 3), (3, -1)])
def test_unknown_types_are_refused_by_the_host(sim, addr_type, table_type):
    assert m.VSHYX_GetMACTable(SWITCH, addr_type, table_type) == [m.HYX_BAD_PARAM, None]


@pytest.mark.parametrize("vni,vlan", [(5001, 0), (0, 100), (0, 200), (7777, 0)])
def test_bridged_table_by_network_and_vlan(sim, vni, vlan):
    every = entries(m.VSHYX_GetMACTable(SWITCH, 3, 0))
    bridged = entries(m.VSHYX_GetBridgedMACTableByID(SWITCH, vni, vlan))
    assert keys(bridged) == {k for k in keys(every) if k[1:] == (vlan, vni)}
    assert bool(bridged) == (vni != 7777)


def test_port_and_team_tables_partition_the_switch(sim):
    every = entries(m.VSHYX_GetMACTable(SWITCH, 3, 0))
    team = entries(m.VSHYX_GetTeamMACTable(SWITCH, 3))
    assert keys(team) == {(e.macAddress, e.vid, e.vni) for e in every if e.portID in team_ports(SWITCH)}
    per_port = set()
    for port in libtessel.ports(SWITCH):
        # A port named by its decimal ID selects the same entries as by name.
        by_id = entries(m.VSHYX_GetPortMACTable(SWITCH, str(port.portID), 3))
        assert keys(by_id) == keys(entries(m.VSHYX_GetPortMACTable(SWITCH, port.clientName, 3)))
        assert all(e.portID == port.portID for e in by_id)
        per_port |= keys(by_id)
    assert per_port == keys(every)


def test_lookup_flag_decides_whether_the_team_side_counts(sim):
    team_entry = next(e for e in entries(m.VSHYX_GetTeamMACTable(SWITCH, m.VS_MAC_ADDR_TYPE_LEARNED)))
    assert m.VSHYX_GetMACEntry(SWITCH, team_entry, 0) == [m.HYX_NOT_FOUND, -1]
    assert m.VSHYX_GetMACEntry(SWITCH, team_entry, "\x01") == [m.HYX_OK, team_entry.portID]
    assert m.VSHYX_GetMACEntry(SWITCH, team_entry, 2) == [m.HYX_BAD_PARAM, -1]
    moved = m.VSMACEntry___getitem__(team_entry, 0)
    moved.vni = 4242  # the key is address, VLAN and network
    assert m.VSHYX_GetMACEntry(SWITCH, moved, 1) == [m.HYX_NOT_FOUND, -1]


def test_static_entry_conflicts_and_permission(sim):
    web, app = "prod-web-01.eth0", "prod-app-01.eth0"
    libtessel.set_static_mac(SWITCH, web, "02:00:00:00:aa:01", vid=100)
    with pytest.raises(libtessel.HostError) as err:
        libtessel.set_static_mac(SWITCH, app, "02:00:00:00:aa:01", vid=100)
    assert err.value.status == m.HYX_EXISTS
    with pytest.raises(libtessel.HostError) as err:
        libtessel.clear_static_mac(SWITCH, app, "02:00:00:00:aa:01", vid=100)
    assert err.value.status == m.HYX_NOT_FOUND
    assert m.VSDVS_SetStaticMACAllow(SWITCH, 0) == m.HYX_OK
    with pytest.raises(libtessel.HostError) as err:
        libtessel.set_static_mac(SWITCH, app, "02:00:00:00:aa:02", vid=200)
    assert err.value.status == m.HYX_NO_PERMISSION and "0xbad" in str(err.value)
    assert m.VSDVS_ClearStaticMACAllow(SWITCH) == m.HYX_OK
    libtessel.set_static_mac(SWITCH, app, b"\x02\x00\x00\x00\xaa\x02", vid=200)
    assert ("02:00:00:00:aa:02", 200, 0) in keys(libtessel.port_mac_table(SWITCH, app))


def test_learn_static_and_team_learning_change_the_entries(sim):
    def learned():
        return entries(m.VSHYX_GetMACTable(SWITCH, m.VS_MAC_ADDR_TYPE_LEARNED, 0))

    assert all(e.aging == "\x01" and e.isLearnedStatic == "\x00" for e in learned())
    assert m.VSDVS_SetLearnStatic(SWITCH, 1) == m.HYX_OK
    assert all(e.aging == "\x00" and e.isLearnedStatic == "\x01" for e in learned())
    assert m.VSDVS_SetTeamMacLearning(SWITCH, 0) == m.HYX_OK
    assert entries(m.VSHYX_GetTeamMACTable(SWITCH, m.VS_MAC_ADDR_TYPE_LEARNED)) == []
    info = libtessel.VSMACLearningSwitchInfo()
    assert m.VSHYX_GetSwitchMACLearningInfo(SWITCH, info) == m.HYX_OK
    assert (info.configureTeamMacLearning, info.teamMACLearning.learning) == ("\x00", "\x00")
    assert m.VSDVS_ClearTeamMacLearning(SWITCH) == m.HYX_OK
    assert entries(m.VSHYX_GetTeamMACTable(SWITCH, m.VS_MAC_ADDR_TYPE_LEARNED))


@pytest.mark.parametrize("value,status", [(2, m.HYX_BAD_PARAM), ("\x02", m.HYX_BAD_PARAM), (1, m.HYX_OK)])
def test_truth_values_are_zero_or_one(sim, value, status):
    assert m.VSDVS_SetCaching(SWITCH, value) == status


def test_port_learning_configuration_round_trip(sim):
    cfg = libtessel.VSPMACLearning()
    cfg.learning, cfg.flooding, cfg.macLimit, cfg.macLimitPolicy = "\x00", "\x01", 0, 1
    assert m.VSDVS_SetPortMACLearning(SWITCH, "prod-db-01.eth0", cfg) == m.HYX_OK
    back = libtessel.VSPMACLearning()
    assert m.VSDVS_GetPortMACLearning(SWITCH, "prod-db-01.eth0", back) == m.HYX_OK
    assert raw(back, 10) == raw(cfg, 10)
    cfg.macLimitPolicy = 2
    assert m.VSDVS_SetPortMACLearning(SWITCH, "prod-db-01.eth0", cfg) == m.HYX_BAD_PARAM
    # A port that does not learn reports no learned entries.
    port = libtessel.port_info(SWITCH, "prod-db-01.eth0").portID
    learned = entries(m.VSHYX_GetPortMACTable(SWITCH, str(port), m.VS_MAC_ADDR_TYPE_LEARNED))
    assert learned == []


def test_abandoned_table_call_hands_nothing_out(sim):
    before = sim.outstanding_blocks()
    sim.inject_fault("VSHYX_GetSwitchMACLearningStats", MemoryError, "stats gone")
    with pytest.raises(MemoryError, match="stats gone"):
        m.VSHYX_GetSwitchMACLearningStats(SWITCH)
    assert sim.outstanding_blocks() == before
    status, table = m.VSHYX_GetSwitchMACLearningStats(SWITCH)
    assert status == m.HYX_OK
    m.VSHYX_FreeMemory(table)
    assert sim.outstanding_blocks() == before
