"""The distributed-switch store through the raw module: the switch and port
lifecycle seen by the store's own lookups, properties shared by both
families of calls, the property-value conversion, bounded byte counts, name
limits, and the overloaded alias translation."""

import pytest

import _libtessel as m

SW, ALIAS = "dswitch7", "dvs-test"
OVERLOAD = ("Wrong number or type of arguments for overloaded function 'DVSAliasToPortsetName'.\n"
            "  Possible C/C++ prototypes are:\n"
            "    DVSAliasToPortsetName(char const *,char *)\n"
            "    DVSAliasToPortsetName(char const *,char [128])\n")


@pytest.fixture
def dvs(sim):
    assert m.VSDVS_CreateVSwitch(SW, ALIAS, "cswitch", 4, 0, 1500, m.DVS_VERSION_70, 0) == m.HYX_OK
    yield SW


def query(size):
    return m.alloc_zar_query(size)


def test_lifecycle_is_seen_by_the_store(dvs):
    assert m.VSDVS_AddDVPort(SW, "10", 0) == m.HYX_OK
    assert m.VSDVS_AddDVPort(SW, "11", 0) == m.HYX_OK
    assert m.VSDVS_AddDVPort(SW, "11", 0) == m.HYX_EXISTS
    h = m.DVSState_SwitchFindByAlias(ALIAS)
    assert (m.DVS_SwitchName(h), m.DVS_GetMaxPorts(h), m.DVS_Version(h)) == (SW, 4, m.DVS_VERSION_70)
    assert m.DVSAliasToPortsetName(ALIAS) == [m.HYX_OK, SW]
    assert m.VSDVS_GetAliasFromPortset(SW) == [m.HYX_OK, ALIAS]
    assert m.DVPortExist(SW, "11") == "\x01"
    status, first = m.VSDVS_DvPortIDToPortID(SW, "10")
    status2, second = m.VSDVS_DvPortIDToPortIDFromDVSID(m.DVS_SwitchId(h), "11")
    assert status == status2 == m.HYX_OK and second == first + 1
    port = m.DVSState_PortFind(SW, "11")
    assert m.DVS_PortId(port) == "11"
    assert m.VSDVS_RemoveDVPort(SW, "11") == m.HYX_OK
    assert m.DVPortExist(SW, "11") == "\x00"
    assert m.DVS_PortId(port) is None  # stale handle
    assert m.VSDVS_DestroyVSwitch(SW) == m.HYX_OK
    assert m.DVSState_SwitchFindByAlias(ALIAS) is None
    assert m.DVS_SwitchName(h) is None
    assert m.VSDVS_DestroyVSwitch(SW) == m.HYX_NOT_FOUND


def test_port_limits(dvs):
    for i in range(4):
        assert m.VSDVS_AddDVPort(SW, str(i), 0) == m.HYX_OK
    assert m.VSDVS_AddDVPort(SW, "4", 0) == m.HYX_LIMIT_EXCEEDED
    assert m.DVSHYX_SwitchSetMaxPorts(SW, 3) == m.HYX_LIMIT_EXCEEDED


@pytest.mark.parametrize("switch", ["dswitch0", SW])
def test_a_switch_with_a_port_in_use_is_not_destroyed(dvs, switch):
    m.VSDVS_AddDVPort(SW, "10", 33)
    assert m.VSDVS_DestroyVSwitch(switch) == m.HYX_BUSY
    assert m.DVSState_SwitchFindByAlias(ALIAS) is not None


@pytest.mark.parametrize("call", [
    lambda: m.VSDVS_CreateVSwitch("s" * 128, "a", "cswitch", 4, 0, 0, 7, 0),
    lambda: m.VSDVS_CreateVSwitch("s", "a" * 128, "cswitch", 4, 0, 0, 7, 0),
    lambda: m.VSDVS_AddDVPort(SW, "p" * 48, 0),
    lambda: m.VSDVS_AddOpaqueDVPort(SW, "p", "x" * 128),
    lambda: m.DVSHYX_GlobalPropSet(SW, "k" * 128, None, 0, 16),
])
def test_names_past_their_limit(dvs, call):
    assert call() == m.HYX_NAME_TOO_LONG
    assert m.DVPortExist(SW, "p") == "\x00"


@pytest.mark.parametrize("call", [
    lambda: m.VSDVS_CreateVSwitch(None, "a", "cswitch", 4, 0, 0, 7, 0),
    lambda: m.VSDVS_CreateVSwitch("s", "a", "cswitch", 4, 0, 0, 9, 0),
    lambda: m.VSDVS_AddOpaqueDVPort(SW, "p", None),
    lambda: m.VSDVS_GetHostProp(SW, ALIAS, None, "k", 1),
    lambda: m.VSDVS_SetHostProp(SW, "dvs-prod", b"x", 1, "k", 1),
    lambda: m.DVSHYX_StateGet(None, None),
    lambda: m.DVSData_Alloc(None, None, None),
])
def test_bad_arguments_give_a_status(dvs, call):
    assert call() == m.HYX_BAD_PARAM


@pytest.mark.parametrize("scope", ["port", "host", "global"])
def test_properties_are_shared_by_both_families(dvs, scope):
    m.VSDVS_AddDVPort(SW, "10", 0)
    port = ("10",) if scope == "port" else ()
    setter = {"port": m.VSDVS_SetPortProp, "host": m.VSDVS_SetHostProp, "global": m.VSDVS_SetGlobProp}[scope]
    getter = {"port": m.VSDVS_GetPortProp, "host": m.VSDVS_GetHostProp, "global": m.VSDVS_GetGlobProp}[scope]
    clear = {"port": m.VSDVS_ClearPortProp, "host": m.VSDVS_ClearHostProp, "global": m.VSDVS_ClearGlobProp}[scope]
    assert setter(SW, ALIAS, *port, b"a\0bc", 4, "key", 1) == m.HYX_OK
    small, big = query(2), query(8)
    assert getter(SW, ALIAS, *port, small, "key", 1) == m.HYX_LIMIT_EXCEEDED
    assert m.ZARQuery_propLen_get(small) == 4
    assert getter(SW, ALIAS, *port, big, "key", 1) == m.HYX_OK
    assert m.ZARQuery_get_val_in_bytes(big) == b"a\0bc"
    # The store's own calls see the same blob.
    if scope == "port":
        assert m.DVSHYX_PortDataClear(SW, "10", "key") == m.HYX_OK
    elif scope == "host":
        assert m.DVSHYX_HostPropClear(SW, "key") == m.HYX_OK
    else:
        assert m.DVSHYX_GlobalPropClear(SW, "key") == m.HYX_OK
    assert clear(SW, ALIAS, *port, "key", 1) == m.HYX_NOT_FOUND
    assert getter(SW, ALIAS, *port, big, "key", 1) == m.HYX_NOT_FOUND
    m.free_zar_query(small)
    m.free_zar_query(big)


@pytest.mark.parametrize("value, count, error", [
    (5, 1, TypeError),
    (bytearray(b"ab"), 2, TypeError),
    (b"ab", 3, ValueError),
    (b"ab", -1, ValueError),
    ("\u00e9", 3, ValueError),
])
def test_property_values_are_refused_before_the_call(dvs, value, count, error):
    with pytest.raises(error, match="VSDVS_SetGlobProp"):
        m.VSDVS_SetGlobProp(SW, ALIAS, value, count, "k", 1)
    assert m.VSDVS_ClearGlobProp(SW, ALIAS, "k", 1) == m.HYX_NOT_FOUND


def test_a_str_value_passes_its_utf8_form(dvs):
    assert m.VSDVS_SetGlobProp(SW, ALIAS, "\u00e9", 2, "k", 0) == m.HYX_OK
    q = query(4)
    assert m.VSDVS_GetGlobProp(SW, ALIAS, q, "k", 0) == m.HYX_OK
    assert m.ZARQuery_get_val_in_bytes(q) == "\u00e9".encode()
    m.free_zar_query(q)


def test_a_query_claiming_more_than_its_value_is_refused(dvs):
    q = query(2)
    m.ZARQuery_propLen_set(q, 64)
    with pytest.raises(ValueError, match="propLen"):
        m.VSDVS_GetGlobProp(SW, ALIAS, q, "k", 0)
    m.free_zar_query(q)


def test_byte_counts_stay_within_the_pointer_block(dvs):
    rec = m.new_DVPortData()
    with pytest.raises(ValueError, match="byte count of 53"):
        m.DVSHYX_GlobalPropSet(SW, "k", rec, 53, 16)
    assert m.DVSHYX_GlobalPropSet(SW, "k", rec, 52, 16) == m.HYX_OK
    assert m.DVSState_ConfigDeserialize(rec, 52) == m.HYX_BAD_PARAM


@pytest.mark.parametrize("args", [(), (1,), ("a", "b", "c"), ("a", "x" * 128), ("a", 5)])
def test_alias_to_portset_name_overload_refusals(args):
    with pytest.raises(NotImplementedError) as info:
        m.DVSAliasToPortsetName(*args)
    assert str(info.value) == OVERLOAD


def test_alias_translations(sim):
    assert m.DVSAliasToPortsetName("dvs-prod") == [m.HYX_OK, "dswitch0"]
    assert m.DVSAliasToPortsetName("dvs-prod", "x" * 127) == m.HYX_OK
    assert m.DVSAliasToPortsetName("nope") == [m.HYX_NOT_FOUND, ""]
    assert m.DVSAliasToSwitchId("dvs-lab", "") == m.HYX_OK
    assert m.DVSPortsetNameToAlias("dswitch1", "") == m.HYX_OK


def test_callbacks_refuse_python_functions():
    with pytest.raises(TypeError, match="argument 1 of type 'DVSwitchCallback'"):
        m.DVSState_SwitchForEach(lambda a, b: 1, None)
    assert m.DVSState_SwitchForEach(None, None) is None
