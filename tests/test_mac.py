"""MAC tables, MAC learning and layer-2 security: the address forms, element
and nested copies, and what the host stores and shows again."""

import pytest

import _libtessel as m
import libtessel

from conftest import addr, msg, poke, raw


ENTRY = 103
BUFFER_TYPE = "(unsigned char *mac_str, SIZE)"


@pytest.mark.parametrize("buf", [b"\xff\xee\xdd\xcc\xbb\xaa\x99", bytearray(b"\xff\xee\xdd\xcc\xbb\xaa"),
                                 memoryview(b"\x00\xff\xee\xdd\xcc\xbb\xaa")[1:]])
def test_set_mac_address_takes_the_first_six_bytes(buf):
    e = libtessel.VSMACEntry()
    poke(e, 6, b"\x02")
    e.set_mac_address(buf)
    assert e.macAddress == "ff:ee:dd:cc:bb:aa" and raw(e, 1, 6) == b"\x02"


@pytest.mark.parametrize("bad,exc", [("0a:1b:2c:3d:4e:5f", TypeError), (None, TypeError), (5, TypeError),
                                     (b"\x01\x02\x03", ValueError)])
def test_set_mac_address_refusals_leave_the_entry(bad, exc):
    e = m.new_VSMACEntry()
    with pytest.raises(exc) as err:
        m.VSMACEntry_set_mac_address(e, bad)
    if exc is TypeError:
        assert str(err.value) == msg("VSMACEntry_set_mac_address", 2, BUFFER_TYPE)
    assert raw(e, ENTRY) == bytes(ENTRY)
    with pytest.raises(ValueError):
        m.VSMACEntry_set_mac_address(None, b"123456")


def test_entries_block_rows(capfd):
    block = m.new_VSMACEntries()
    m.VSMACEntries_set_mac_address(block, 24, b"abcdef")
    assert raw(block, 150) == bytes(144) + b"abcdef"
    assert addr(m.VSMACEntries_macEntry_get(block)) == addr(block)
    for index in (25, -1):
        assert m.VSMACEntries_set_mac_address(block, index, b"zzzzzz") is None
    assert capfd.readouterr().out == "Invalid array index.\n" * 2
    assert raw(block, 150) == bytes(144) + b"abcdef"
    with pytest.raises(TypeError) as err:
        m.VSMACEntries_set_mac_address(block, 0, "abcdef")
    assert str(err.value) == msg("VSMACEntries_set_mac_address", 3, BUFFER_TYPE)
    with pytest.raises(ValueError) as err:
        m.VSMACEntries_macEntry_set(block, None)
    assert str(err.value) == "invalid null reference in variable 'macEntry' of type 'unsigned char [25][6]'"


def test_entry_fields():
    e = m.new_VSMACEntry()
    assert m.VSMACEntry_macAddress_get(e) == "00:00:00:00:00:00"
    m.VSMACEntry_macAddrType_set(e, 258)
    assert m.VSMACEntry_macAddrType_get(e) == 2 and raw(e, 1, 6) == b"\x02"
    with pytest.raises(OverflowError):
        m.VSMACEntry_macAddrType_set(e, 2**31)
    with pytest.raises(OverflowError) as err:
        m.VSMACEntry_vid_set(e, 65536)
    assert str(err.value) == msg("VSMACEntry_vid_set", 2, "hyx_VlanID")
    m.VSMACEntry_vid_set(e, 65535)
    m.VSMACEntry_timestamp_set(e, 0x01020304)
    assert raw(e, 2, 17) == b"\xff\xff" and raw(e, 4, 99) == b"\x04\x03\x02\x01"


def test_table_element_copy(sim):
    status, table = m.VSHYX_GetMACTable("switch0", m.VS_MAC_ADDR_TYPE_ALL, m.VS_ALL_MAC_TABLE)
    assert status == m.HYX_OK and table.numEntries >= 2
    copy = m.VSMACEntry___getitem__(table.macEntries, 1)
    assert raw(copy, ENTRY) == raw(table, ENTRY, 8 + ENTRY)
    copy.vid = (copy.vid + 1) & 0xFFFF
    assert raw(copy, ENTRY) != raw(table, ENTRY, 8 + ENTRY)
    m.VSHYX_FreeMemory(table)
    assert copy.macAddress.count(":") == 5  # still readable after the release
    empty = m.new_VSMACTable()
    assert m.VSMACTable_macEntries_set(empty, copy) is None and raw(empty, 8) == bytes(8)
    with pytest.raises(ValueError) as err:
        m.VSMACTable_macEntries_set(empty, None)
    assert str(err.value) == "invalid null reference in variable 'macEntries' of type 'VSMACEntry [0]'"


def test_result_shapes_and_enum_arguments(sim):
    by_three = m.VSHYX_GetMACTable("switch0", 3, 0)
    by_259 = m.VSHYX_GetMACTable("switch0", 259, 0)  # only the low byte reaches the host
    assert by_three[0] == by_259[0] == m.HYX_OK and by_three[1].numEntries == by_259[1].numEntries
    for table in (by_three[1], by_259[1]):
        m.VSHYX_FreeMemory(table)
    with pytest.raises(TypeError) as err:
        m.VSHYX_GetMACTable("switch0", "3", 0)
    assert str(err.value) == msg("VSHYX_GetMACTable", 2, "VSMACAddrType")
    with pytest.raises(OverflowError) as err:
        m.VSHYX_GetMACTable("switch0", 3, 2**31)
    assert str(err.value) == msg("VSHYX_GetMACTable", 3, "VSMacTableType")
    assert isinstance(m.VSHYX_SetPortMACTable("switch0", "hostport0", 0, None), int)


# ---- MAC learning and layer-2 security ----


def test_learning_property_bit_fields():
    p = m.new_VSPropMACLearning()
    m.VSPropMACLearning_reserved_set(p, 0x7F)
    m.VSPropMACLearning_agingTime_set(p, 2**24 + 5)
    assert m.VSPropMACLearning_agingTime_get(p) == 5 and raw(p, 4) == b"\x05\x00\x00\x7f"
    m.VSPropMACLearning_reserved_set(p, 511)
    assert raw(p, 4) == b"\x05\x00\x00\xff" and m.VSPropMACLearning_agingTime_get(p) == 5
    for setter in (m.VSPropMACLearning_agingTime_set, m.VSPropMACLearning_reserved_set):
        with pytest.raises(OverflowError):
            setter(p, 2**32)
    c = m.new_VSPMACLearning()
    m.VSPMACLearning_macLimitPolicy_set(c, -1)
    assert m.VSPMACLearning_macLimitPolicy_get(c) == -1 and raw(c, 4, 6) == b"\xff" * 4
    with pytest.raises(OverflowError):
        m.VSPMACLearning_macLimitPolicy_set(c, 2**31)
    s = m.new_VSMACLearningSwitchInfo()
    m.VSMACLearningSwitchInfo_agingMultiplier_set(s, 255)
    with pytest.raises(OverflowError):
        m.VSMACLearningSwitchInfo_agingMultiplier_set(s, 256)
    assert raw(s, 1, 81) == b"\xff"


@pytest.mark.parametrize(
    "record,field,ctype",
    [("VSMACLearningStats", "macLearningEntries", "VSPMACLearningStatsPortInfo [0]"),
     ("VSMACLearningEntries", "portMACLearningEntries", "VSPMACLearningInfo [0]"),
     ("VSL2Security", "portSecEntries", "VSPropSecurityPortInfo [0]")],
)
def test_element_arrays_refuse_none(record, field, ctype):
    with pytest.raises(ValueError) as err:
        getattr(m, "%s_%s_set" % (record, field))(getattr(m, "new_" + record)(), None)
    assert str(err.value) == "invalid null reference in variable '%s' of type '%s'" % (field, ctype)


def test_nested_copies_outlive_the_record():
    e = m.new_VSPMACLearningInfo()
    poke(e, 0, bytes(range(1, 15)))
    cfg = m.VSPMACLearningInfo_get_mac_learning_config(e)
    assert cfg.thisown and cfg.macLimit == int.from_bytes(bytes(range(7, 11)), "little")
    stats = m.new_VSPMACLearningStatsPortInfo()
    poke(stats, 0, bytes(range(52)))
    counters, cached = (m.VSPMACLearningStatsPortInfo_get_mac_learning_stats(stats),
                        m.VSPMACLearningStatsPortInfo_get_cached_stats(stats))
    assert raw(counters, 28) == bytes(range(8, 36)) and raw(cached, 16) == bytes(range(36, 52))
    m.delete_VSPMACLearningStatsPortInfo(stats)
    assert raw(cached, 16) == bytes(range(36, 52))


def test_security_table_and_port_settings(sim):
    sec = libtessel.VSPropSecurity()
    sec.flags = m.VSPORT_SECURITY_DISALLOW_PROMISC | m.VSPORT_SECURITY_DISALLOW_FORGED_SRC
    assert m.VSDVS_SetPortSecurity("switch0", "hostport0", sec) == m.HYX_OK
    back = libtessel.VSPropSecurity()
    assert m.VSDVS_GetPortSecurity("switch0", "hostport0", back) == m.HYX_OK and back.flags == sec.flags
    status, table = m.VSHYX_GetL2Security("switch0")
    assert status == m.HYX_OK and table.numEntries >= 3
    third = m.VSPropSecurityPortInfo___getitem__(table.portSecEntries, 2)
    assert raw(third, 8) == raw(table, 8, 24)
    by_port = {}
    for i in range(table.numEntries):
        elem = m.VSPropSecurityPortInfo___getitem__(table.portSecEntries, i)
        by_port[elem.portID] = m.VSPropSecurityPortInfo_get_port_sec(elem).flags
    m.VSHYX_FreeMemory(table)
    assert by_port[libtessel.port_info("switch0", "hostport0").portID] == sec.flags


def test_switch_learning_settings_reach_every_view(sim):
    status, learn_static = m.VSDVS_GetLearnStatic("switch0")
    assert status == m.HYX_OK and learn_static == m.VS_MAC_LEARNING_LEARN_STATIC_DEFAULT
    assert m.VSDVS_SetLearnStatic("switch0", 1) == m.HYX_OK
    assert m.VSDVS_GetLearnStatic("switch0") == [m.HYX_OK, 1]
    assert m.VSDVS_ClearLearnStatic("switch0") == m.HYX_OK
    assert m.VSDVS_GetLearnStatic("switch0") == [m.HYX_OK, 0]
    assert m.VSDVS_SetCaching("switch0", "\x01") == m.HYX_OK
    info = libtessel.VSMACLearningSwitchInfo()
    assert m.VSHYX_GetSwitchMACLearningInfo("switch0", info) == m.HYX_OK
    assert info.cachingMlOverlayEnabled == "\x01"
    prop = libtessel.VSPropMACLearning()
    prop.agingTime, prop.macLimit = 300, 1024
    assert m.VSDVS_SetMACLearning("switch0", prop) == m.HYX_OK
    got = libtessel.VSPropMACLearning()
    assert m.VSDVS_GetMACLearning("switch0", got) == m.HYX_OK and (got.agingTime, got.macLimit) == (300, 1024)
    assert m.VSHYX_GetSwitchMACLearningInfo("switch0", info) == m.HYX_OK and info.agingTime == 300
    prop.agingTime = m.VS_MAC_LEARNING_AGING_TIME_MAX + 1
    assert m.VSDVS_SetMACLearning("switch0", prop) != m.HYX_OK
    assert m.VSDVS_GetMACLearning("switch0", got) == m.HYX_OK and got.agingTime == 300


def test_port_learning_in_the_all_ports_table(sim):
    cfg = libtessel.VSPMACLearning()
    cfg.learning, cfg.flooding, cfg.macLimit = "\x01", "\x00", 128
    cfg.macLimitPolicy = m.VSPORT_MAC_LEARNING_LIMIT_POLICY_DROP
    assert m.VSDVS_SetPortMACLearning("switch0", "web-01.eth0", cfg) == m.HYX_OK
    status, table = m.VSHYX_GetMACLearningAllPorts("switch0")
    assert status == m.HYX_OK
    web = libtessel.port_info("switch0", "web-01.eth0").portID
    found = [m.VSPMACLearningInfo___getitem__(table.portMACLearningEntries, i) for i in range(table.numEntries)]
    m.VSHYX_FreeMemory(table)
    mine = [e.get_mac_learning_config() for e in found if e.portID == web]
    assert len(mine) == 1 and raw(mine[0], 10) == raw(cfg, 10)
    cfg.macLimit = m.VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX + 1
    assert m.VSDVS_SetPortMACLearning("switch0", "web-01.eth0", cfg) != m.HYX_OK


def test_team_table_and_learning_statistics(sim):
    uplinks = {p.portID for p in libtessel.ports("switch0") if p.clientType == m.VS_PORT_CLIENT_UPLINK}
    status, team = m.VSHYX_GetTeamMACTable("switch0", m.VS_MAC_ADDR_TYPE_LEARNED)
    assert status == m.HYX_OK and team.numEntries > 0
    ports = {m.VSMACEntry___getitem__(team.macEntries, i).portID for i in range(team.numEntries)}
    m.VSHYX_FreeMemory(team)
    assert ports <= uplinks
    status, table = m.VSHYX_GetSwitchMACLearningStats("switch0")
    assert status == m.HYX_OK and table.numEntries > 0
    elem = m.VSPMACLearningStatsPortInfo___getitem__(table.macLearningEntries, 0)
    counters = elem.get_mac_learning_stats()
    m.VSHYX_FreeMemory(table)
    one = libtessel.VSPMACLearningStatsPortInfo()
    assert m.VSHYX_GetPortMACLearningStats("switch0", str(elem.portID), one) == m.HYX_OK
    assert raw(one, 52) == raw(elem, 52) and counters.numMACsLearned == one.portStats.numMACsLearned


def test_global_properties_round_trip(sim):
    props = libtessel.VSMACLearningGlobalProps()
    assert m.VSHYX_GetGlobalMACLearningProps(props) == m.HYX_OK
    assert (props.agingTime, props.macLimit) == (m.VS_MAC_LEARNING_AGING_TIME_DEFAULT,
                                                  m.VS_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT)
    props.agingTime = 1200
    assert m.VSHYX_SetGlobalMACLearningProps(props) == m.HYX_OK
    again = libtessel.VSMACLearningGlobalProps()
    assert m.VSHYX_GetGlobalMACLearningProps(again) == m.HYX_OK and again.agingTime == 1200
    prop = libtessel.VSPropMACLearning()
    assert m.VSDVS_GetMACLearning("switch1", prop) == m.HYX_OK and prop.agingTime == 1200
