"""One coherent host: a distributed switch created through the store's
lifecycle calls is a switch of the host (its lists, summary and port table),
and the subsystems' settings read and write under their property keys."""

import re
import struct

import pytest

import _libtessel as m

SW, ALIAS = "dswitch5", "dvs-five"
SRCMAC = 2
TEAM_POLICY_SIZE = 2616


def switch_list(list_type):
    lst = m.VSHYX_GetSwitchesPy(list_type)
    names = [m.VSList___getitem__(lst, i) for i in range(m.VSList_count_get(lst))]
    m.free_switches(lst)
    return names


def port_table(switch):
    """The port ID of each port, or the failure status."""
    status, table = m.VSHYX_GetSwitchPortInfo(switch)
    if status != m.HYX_OK:
        return status
    entries = m.VSSwitchPortInfo_entries_get(table)
    rows = []
    for i in range(m.VSSwitchPortInfo_numEntries_get(table)):
        entry = m.VSPortInfo___getitem__(entries, i)
        rows.append(m.VSPortInfo_portID_get(entry))
        m.delete_VSPortInfo(entry)
    m.VSHYX_FreeMemory(table)
    return rows


def summary(switch):
    info = m.new_VSInfo()
    status = m.VSHYX_GetVSInfo(switch, info)
    result = (status, m.VSInfo_mtu_get(info), m.VSInfo_activePorts_get(info))
    m.delete_VSInfo(info)
    return result


def prop(key, scope="global", port=None, size=4096):
    q = m.alloc_zar_query(size)
    if scope == "port":
        status = m.VSDVS_GetPortProp(SW, ALIAS, port, q, key, 1)
    else:
        status = m.VSDVS_GetGlobProp(SW, ALIAS, q, key, 1)
    value = m.ZARQuery_get_val_in_bytes(q) if status == m.HYX_OK else status
    m.free_zar_query(q)
    return value


def set_prop(key, value, scope="global", port=None):
    if scope == "port":
        return m.VSDVS_SetPortProp(SW, ALIAS, port, value, len(value), key, 1)
    return m.VSDVS_SetGlobProp(SW, ALIAS, value, len(value), key, 1)


@pytest.fixture(autouse=True)
def default_topology(sim):
    """Tests that load a document of their own leave the default behind."""
    yield
    from libtessel import testing

    testing.load_default()


@pytest.fixture
def dvs(sim):
    assert m.VSDVS_CreateVSwitch(SW, ALIAS, "cswitch", 8, 0, 1500, m.DVS_VERSION_70, 0) == m.HYX_OK
    for port in ("10", "11"):
        assert m.VSDVS_AddDVPort(SW, port, 0) == m.HYX_OK
    yield SW


def test_a_created_switch_is_a_switch_of_the_host(dvs):
    assert switch_list(m.VS_LIST_PS)[-1] == SW
    assert switch_list(m.VS_LIST_DVS_ALIAS)[-1] == ALIAS
    assert summary(SW) == (m.HYX_OK, 1500, 2)
    # The port table lists the two ports under the IDs the translation gives.
    ids = [m.VSDVS_DvPortIDToPortID(SW, dv)[1] for dv in ("10", "11")]
    assert port_table(SW) == ids

    # Settings made through the subsystems' calls read back under their keys.
    assert m.VSDVS_SetMTU(SW, 9000) == m.HYX_OK
    assert prop(m.VSPROP_MTU) == struct.pack("<I", 9000)
    policy = m.new_VSTeamPolicy()
    assert m.VSDVS_GetTeamingPolicy(SW, policy) == m.HYX_OK
    m.VSTeamPolicy_loadBalance_set(policy, SRCMAC)
    assert m.VSDVS_SetTeamingPolicy(SW, policy) == m.HYX_OK
    value = prop(m.VSPROP_SWITCH_TEAMING)
    # The value is the policy record: loadBalance is its first word.
    assert len(value) == TEAM_POLICY_SIZE and struct.unpack_from("<I", value) == (SRCMAC,)
    m.delete_VSTeamPolicy(policy)

    assert m.VSDVS_RemoveDVPort(SW, "10") == m.HYX_OK
    assert port_table(SW) == ids[1:]
    assert m.VSDVS_DestroyVSwitch(SW) == m.HYX_OK
    assert SW not in switch_list(m.VS_LIST_PS) and ALIAS not in switch_list(m.VS_LIST_DVS_ALIAS)
    assert summary(SW)[0] == m.HYX_NOT_FOUND
    assert port_table(SW) == m.HYX_NOT_FOUND


def _word(value):
    return lambda initial: struct.pack("<I", value)


def _first_word(value):
    return lambda initial: struct.pack("<I", value) + initial[4:]


KEYED = [
    ("global", "VSPROP_MTU", _word(8000)),
    ("global", "VSPROP_RCF_INSN_TYPE", _word(1)),
    ("global", "VSPROP_MULTICAST_FILTER", _word(2)),
    ("global", "VSPROP_PVLAN_MAP", lambda initial: struct.pack("<HHB3x", 200, 200, 1)),
    ("global", "VSPROP_SWITCH_TEAMING", _first_word(SRCMAC)),
    ("global", "HYX_ZARPROP_SWITCH_UPLINKPORTS", lambda initial: struct.pack("<I", 1) + b"uplink9".ljust(81, b"\0")),
    ("global", "VSPROP_SWITCH_MAC_LEARNING", lambda initial: initial[:4] + struct.pack("<I", 1000)),
    ("port", "VSPROP_PORT_VLAN", lambda initial: struct.pack("<HHHH", 0, 100, 0, 0)),
    ("port", "VSPROP_PORT_VLAN_NESTEDTAG", _word(1)),
    ("port", "VSPROP_PORT_TEAMING_POLICY", _first_word(SRCMAC)),
    ("port", "VSPROP_PORT_SECURITY", lambda initial: bytes([7]) + initial[1:]),
    ("port", "VSPROP_PORT_MAC_MANAGEMENT", lambda initial: initial[:2] + struct.pack("<I", 100) + initial[6:]),
]


@pytest.mark.parametrize("scope, name, change", KEYED, ids=[k[1] for k in KEYED])
def test_keyed_settings_read_and_write_the_subsystem(dvs, scope, name, change):
    key, port = getattr(m, name), "10" if scope == "port" else None
    initial = prop(key, scope, port)
    assert isinstance(initial, bytes)
    changed = change(initial)
    assert changed != initial
    assert set_prop(key, changed, scope, port) == m.HYX_OK
    assert prop(key, scope, port) == changed
    # A value of the wrong length is the subsystem's to refuse, not a blob.
    assert set_prop(key, changed + b"\0", scope, port) == m.HYX_BAD_PARAM
    assert prop(key, scope, port) == changed
    clear = (m.VSDVS_ClearPortProp(SW, ALIAS, port, key, 1) if port
             else m.VSDVS_ClearGlobProp(SW, ALIAS, key, 1))
    assert clear == m.HYX_OK
    assert prop(key, scope, port) == initial


def test_values_written_under_keys_reach_the_subsystems(dvs):
    assert set_prop(m.VSPROP_MTU, struct.pack("<I", 7000)) == m.HYX_OK
    assert summary(SW)[1] == 7000
    assert set_prop(m.VSPROP_MTU, struct.pack("<I", 20)) == m.HYX_BAD_PARAM
    assert summary(SW)[1] == 7000
    assert set_prop(m.VSPROP_PORT_VLAN_NESTEDTAG, struct.pack("<I", 1), "port", "11") == m.HYX_OK
    assert m.VSDVS_GetPortNestedVLANTagging(SW, str(port_table(SW)[1])) == [m.HYX_OK, 1]


@pytest.mark.parametrize("where", ["port scope", "store-only switch"])
def test_keys_outside_a_subsystem_stay_plain_values(dvs, where):
    if where == "port scope":
        assert set_prop(m.VSPROP_MTU, b"x", "port", "10") == m.HYX_OK
        assert prop(m.VSPROP_MTU, "port", "10") == b"x"
    else:
        assert m.DVSHYX_SwitchAdd("dswitch6", "cswitch", 4, m.DVS_VERSION_70) == m.HYX_OK
        assert m.VSDVS_SetGlobProp("dswitch6", "dswitch6", b"x", 1, m.VSPROP_MTU, 1) == m.HYX_OK
        q = m.alloc_zar_query(4)
        assert m.VSDVS_GetGlobProp("dswitch6", "dswitch6", q, m.VSPROP_MTU, 1) == m.HYX_OK
        assert m.ZARQuery_get_val_in_bytes(q) == b"x"
        m.free_zar_query(q)
    assert summary(SW)[1] == 1500


def test_port_ids_stay_unique_as_switches_come_and_go(dvs):
    first = port_table(SW)
    assert m.VSDVS_CreateVSwitch("dswitch6", "dvs-six", "cswitch", 4, 0, 0, 0, 0) == m.HYX_OK
    assert m.VSDVS_AddDVPort("dswitch6", "20", 0) == m.HYX_OK
    assert m.VSDVS_DestroyVSwitch(SW) == m.HYX_OK
    assert m.VSDVS_CreateVSwitch("dswitch7", "dvs-seven", "cswitch", 4, 0, 0, 0, 0) == m.HYX_OK
    assert m.VSDVS_AddDVPort("dswitch7", "30", 0) == m.HYX_OK
    ids = port_table("dswitch0") + port_table("dswitch6") + port_table("dswitch7")
    assert len(set(ids)) == len(ids)
    # A topology port keeps its client: it is not removed.
    assert m.VSDVS_RemoveDVPort("dswitch0", "100") == m.HYX_BUSY
    assert first


def test_a_created_switch_survives_a_dump_and_load(dvs):
    from libtessel import testing

    assert m.VSDVS_RemoveDVPort(SW, "10") == m.HYX_OK
    ids = port_table(SW)
    document = testing.dump()
    testing.load(document)
    assert port_table(SW) == ids and testing.dump() == document
    # Its ports came back unconnected, so the switch can still go.
    assert m.VSDVS_DestroyVSwitch(SW) == m.HYX_OK


def test_store_properties_survive_a_dump_and_load(dvs):
    from libtessel import testing

    assert set_prop("custom.key", b"abc") == m.HYX_OK
    assert m.VSDVS_SetPortProp("dswitch0", "dvs-prod", "100", b"zz", 2, "port.key", 1) == m.HYX_OK
    document = testing.dump()
    testing.reset()
    assert prop("custom.key") == m.HYX_NOT_FOUND
    testing.load(document)
    assert prop("custom.key") == b"abc" and testing.dump() == document
    q = m.alloc_zar_query(4)
    assert m.VSDVS_GetPortProp("dswitch0", "dvs-prod", "100", q, "port.key", 1) == m.HYX_OK
    assert m.ZARQuery_get_val_in_bytes(q) == b"zz"
    m.free_zar_query(q)


@pytest.mark.parametrize("change, place", [
    (lambda sw: sw["global"].append({"key": "k", "type": 1, "value": "zz"}), "switches[0].global[1].value"),
    (lambda sw: sw.update(colour="red"), "switches[0].colour"),
    (lambda sw: sw["ports"].insert(0, dict(sw["ports"][0])), "switches[0].ports[1].id"),
    (lambda sw: sw.update(version=9), "switches[0]"),
])
def test_a_bad_store_key_is_refused_with_its_place(sim, change, place):
    from libtessel import testing

    assert set_prop("custom.key", b"abc", "global") == m.HYX_NOT_FOUND  # no such switch yet
    assert m.VSDVS_SetGlobProp("dswitch0", "dvs-prod", b"kept", 4, "custom.key", 1) == m.HYX_OK
    before = testing.dump()
    document = testing.dump()
    change(document["statestore"]["switches"][0])
    with pytest.raises(testing.TopologyError, match=r"statestore\.%s:" % re.escape(place)):
        testing.load(document)
    # A refused document changes nothing, in any library.
    assert testing.dump() == before


@pytest.mark.parametrize("inject", ["abandon", "status"])
def test_a_store_call_armed_by_name_fires_only_when_called_by_name(dvs, inject):
    from libtessel import testing

    if inject == "abandon":
        testing.inject_abandon("DVSHYX_GlobalPropGet", "armed")
    else:
        testing.inject_status("DVSHYX_GlobalPropGet", "HYX_BUSY")
    # The property call reads the store itself; the armed name is not called.
    assert prop(m.VSPROP_MTU) == struct.pack("<I", 1500)
    # Called by its name, it fires (before it could refuse the missing
    # out-pointers with HYX_BAD_PARAM).
    if inject == "abandon":
        with pytest.raises(RuntimeError, match="armed"):
            m.DVSHYX_GlobalPropGet(SW, m.VSPROP_MTU, None, None)
    else:
        assert m.DVSHYX_GlobalPropGet(SW, m.VSPROP_MTU, None, None) == m.HYX_BUSY
    testing.clear_injections()
