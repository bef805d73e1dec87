"""Argument and result conversions of the call frame, row by row, with the
exact exception classes and messages."""

import pytest

import _libtessel as m
import _tessel_probe as probe

from conftest import msg, raw

U64_MAX = 2**64 - 1


@pytest.fixture
def info():
    return m.new_VSInfo()


@pytest.fixture
def vslist():
    return m.new_VSList()


# (setter, C type, max): unsigned fields of 16 and 32 bits.
UNSIGNED_FIELDS = [
    ("VSInfo_mtu_set", "hyx_uint32", 2**32 - 1),
    ("VSInfo_vdrPortID_set", "hyx_SwitchPortID", 2**32 - 1),
    ("VSInfo_maxValidVlan_set", "hyx_VlanID", 2**16 - 1),
    ("VSInfo_numSinkPorts_set", "hyx_uint16", 2**16 - 1),
]


@pytest.mark.parametrize("setter,ctype,top", UNSIGNED_FIELDS)
@pytest.mark.parametrize(
    "value,exc",
    [
        (-1, OverflowError),
        ("top+1", OverflowError),
        (U64_MAX, OverflowError),
        (2**64, TypeError),
        (2**70, TypeError),
        ("1", TypeError),
        (1.0, TypeError),
        (None, TypeError),
    ],
)
def test_unsigned_field_rejects(info, setter, ctype, top, value, exc):
    if value == "top+1":
        value = top + 1
    with pytest.raises(exc) as err:
        getattr(m, setter)(info, value)
    assert str(err.value) == msg(setter, 2, ctype)


@pytest.mark.parametrize("setter,ctype,top", UNSIGNED_FIELDS)
def test_unsigned_field_bounds_round_trip(info, setter, ctype, top):
    getter = getattr(m, setter[:-4] + "_get")
    for value in (0, top, True):
        getattr(m, setter)(info, value)
        assert getter(info) == int(value)


@pytest.mark.parametrize(
    "value,exc",
    [(2**31, OverflowError), (-(2**31) - 1, OverflowError), (2**70, OverflowError),
     ("3", TypeError), (3.0, TypeError), (None, TypeError)],
)
@pytest.mark.parametrize("setter,ctype", [("VSList_count_set", "hyx_int32"),
                                          ("VSList_listType_set", "VSListType")])
def test_int_and_enum_rejects(vslist, setter, ctype, value, exc):
    with pytest.raises(exc) as err:
        getattr(m, setter)(vslist, value)
    assert str(err.value) == msg(setter, 2, ctype)


def test_int_range_ends_round_trip(vslist):
    for value in (-(2**31), 2**31 - 1):
        m.VSList_count_set(vslist, value)
        assert m.VSList_count_get(vslist) == value


@pytest.mark.parametrize(
    "value,expected",
    [("a", "a"), ("", "\x00"), (1, "\x01"), (0, "\x00"), (255, "\udcff"), (200, "\udcc8"),
     ("\x7f", "\x7f")],
)
def test_bool_field_round_trip(info, value, expected):
    m.VSInfo_isAssocMACFilterEnabled_set(info, value)
    assert m.VSInfo_isAssocMACFilterEnabled_get(info) == expected


@pytest.mark.parametrize(
    "value,exc",
    [("ab", TypeError), ("é", TypeError), ("\udc80", TypeError), (b"a", TypeError),
     (None, TypeError), (1.0, TypeError), (256, OverflowError), (-1, OverflowError),
     (2**70, OverflowError)],
)
def test_bool_field_rejects(info, value, exc):
    m.VSInfo_isForwardingDisabled_set(info, "z")
    with pytest.raises(exc) as err:
        m.VSInfo_isForwardingDisabled_set(info, value)
    assert str(err.value) == msg("VSInfo_isForwardingDisabled_set", 2, "hyx_Bool")
    assert m.VSInfo_isForwardingDisabled_get(info) == "z"


def test_fresh_record_bool_reads_code_point_zero(info):
    assert m.VSInfo_isAssocMACFilterEnabled_get(info) == "\x00"


@pytest.mark.parametrize("value", [5, b"switch0", "\udc80", 1.5, object()])
def test_text_argument_rejects(info, value):
    with pytest.raises(TypeError) as err:
        m.VSHYX_GetVSInfo(value, info)
    assert str(err.value) == msg("VSHYX_GetVSInfo", 1, "char const *")


def test_record_argument_of_wrong_type(info, vslist):
    with pytest.raises(TypeError) as err:
        m.VSHYX_GetVSInfo("switch0", vslist)
    assert str(err.value) == msg("VSHYX_GetVSInfo", 2, "VSInfo *")
    with pytest.raises(TypeError) as err:
        m.VSList___getitem__(info, 0)
    assert str(err.value) == msg("VSList___getitem__", 1, "struct VSList *")
    with pytest.raises(TypeError) as err:
        m.VSHYX_GetSwitches(1, info)
    assert str(err.value) == msg("VSHYX_GetSwitches", 2, "VSList **")


def test_proxy_instance_is_accepted_for_its_record():
    import libtessel

    info = libtessel.VSInfo()
    assert m.VSHYX_GetVSInfo("switch0", info) == 0
    assert info.mtu == 1500


def test_host_release_takes_any_pointer_but_frees_only_host_blocks(info):
    assert m.VSDVS_FreeMemory(None) is None
    for given in (m.VSInfo_dvsName_get(info), info):
        with pytest.raises(ValueError) as err:
            m.VSHYX_FreeMemory(given)
        assert str(err.value).startswith(msg("VSHYX_FreeMemory", 1, "void *") + ": ")
    assert info.own() and m.VSInfo_mtu_get(info) == 0
    with pytest.raises(TypeError) as err:
        m.VSHYX_FreeMemory(5)
    assert str(err.value) == msg("VSHYX_FreeMemory", 1, "void *")


def test_wrong_argument_count_is_a_type_error(info):
    with pytest.raises(TypeError):
        m.VSInfo_mtu_set(info)
    with pytest.raises(TypeError):
        m.new_VSInfo(1)


def test_zero_length_text_field(vslist):
    assert m.VSList_switches_get(vslist) == ""
    assert m.VSList_switches_set(vslist, None) is None
    for value in ("", "x", 3):
        with pytest.raises(TypeError) as err:
            m.VSList_switches_set(vslist, value)
        assert str(err.value) == msg("VSList_switches_set", 2, "char [0]")


def test_array_field_copies_whole_array_and_refuses_none(info):
    source = m.new_VSInfo()
    m.VSHYX_GetVSInfo("dswitch0", source)
    m.VSInfo_overlayVlanUseCount_set(info, m.VSInfo_overlayVlanUseCount_get(source))
    for vlan in (0, 1, 4095):
        assert m.VSInfo_vlan_get_use_count(info, vlan) == m.VSInfo_vlan_get_use_count(source, vlan)
    with pytest.raises(ValueError) as err:
        m.VSInfo_dvsName_set(info, None)
    assert str(err.value) == "invalid null reference in variable 'dvsName' of type 'hyx_uint8 [128]'"
    with pytest.raises(TypeError) as err:
        m.VSInfo_dvsName_set(info, m.VSInfo_overlayVlanUseCount_get(source))
    assert str(err.value) == msg("VSInfo_dvsName_set", 2, "hyx_uint8 [128]")


def test_array_setter_given_none_record_changes_nothing(info):
    m.VSInfo_dvsName_set(info, m.VSInfo_dvsName_get(info))
    assert m.VSInfo_dvsName_set(None, m.VSInfo_dvsName_get(info)) is None


def test_extension_methods_given_none_raise():
    with pytest.raises(ValueError):
        m.VSList___getitem__(None, 0)
    with pytest.raises(ValueError):
        m.VSInfo_vlan_get_use_count(None, 0)
    assert m.delete_VSInfo(None) is None


def test_pointer_field_takes_none_and_refuses_other_records():
    entries = m.new_VSwitchEntriesInfo()
    target = m.new_VSInfo()
    m.VSwitchEntriesInfo_info_set(entries, None)
    assert m.VSwitchEntriesInfo_info_get(entries) is None
    with pytest.raises(TypeError) as err:
        m.VSwitchEntriesInfo_info_set(entries, target)
    assert str(err.value) == msg("VSwitchEntriesInfo_info_set", 2, "VSSwitchPortInfo *")
    # A refused value keeps its ownership.
    assert target.own()


# Rows the switch functions do not reach, through the test-only probe
# module built with the same conversions.

@pytest.mark.parametrize(
    "func,ctype,good,bad",
    [
        ("probe_size_t", "size_t", [0, U64_MAX], [(-1, OverflowError), (2**64, TypeError), ("1", TypeError)]),
        ("probe_u64", "hyx_uint64", [0, U64_MAX], [(-1, TypeError), (2**64, TypeError), (1.0, TypeError)]),
        ("probe_u8", "hyx_uint8", [0, 255], [(-1, OverflowError), (256, OverflowError), (2**64, TypeError)]),
        ("probe_u16", "hyx_uint16", [0, 65535], [(65536, OverflowError), (2**64, TypeError)]),
        ("probe_u32", "hyx_uint32", [0, 2**32 - 1], [(2**32, OverflowError), (2**64, TypeError)]),
        ("probe_int", "int", [-(2**31), 2**31 - 1], [(2**31, OverflowError), (2**70, OverflowError)]),
    ],
)
def test_probe_integer_rows(func, ctype, good, bad):
    f = getattr(probe, func)
    for value in good:
        assert f(value) == value
    for value, exc in bad:
        with pytest.raises(exc) as err:
            f(value)
        assert str(err.value) == msg(func, 1, ctype)


def test_probe_text_rows():
    assert probe.probe_text("héllo") == "héllo"
    assert probe.probe_text(None) is None
    assert probe.probe_char4("abc") == "abc"
    assert probe.probe_char4("é") == "é"
    for value in ("abcd", "éé", 4, b"ab"):
        with pytest.raises(TypeError) as err:
            probe.probe_char4(value)
        assert str(err.value) == msg("probe_char4", 1, "char [4]")
    assert probe.probe_bool(200) == "\udcc8"


def test_probe_callback_and_void_rows(info):
    assert probe.probe_callback(None) == 0
    for value in (lambda a, b: 0, print, info, 0):
        with pytest.raises(TypeError) as err:
            probe.probe_callback(value)
        assert str(err.value) == msg("probe_callback", 1, "probe_callback_t")
    assert probe.probe_voidp(info) == 1
    assert probe.probe_voidp(None) == 0


def test_scalar_out_values_are_defined_when_the_host_writes_nothing():
    assert probe.probe_scalar_outputs(0) == [-1, 0, 0, 0]
    assert probe.probe_scalar_outputs(1) == [0, -7, U64_MAX, 200]


def test_record_out_value_is_none_or_a_non_owning_proxy():
    import libtessel

    assert probe.probe_record_output(0) == [-1, None]
    status, rec = probe.probe_record_output(1)
    assert status == 0
    assert isinstance(rec, libtessel.VSInfo)
    assert not rec.this.own()
    assert rec.mtu == 1234


def test_bounded_output_text_is_cut_at_its_bound():
    assert probe.probe_text_output(0) == [-1, ""]
    assert probe.probe_text_output(1) == [0, "abcdefgh"]


def test_host_writable_text_gets_room_for_the_host():
    # The host writes 128 bytes over a 2-byte text: the copy must be large
    # enough (the sanitizer run checks the bound).
    assert probe.probe_writable("a") == 0
    assert probe.probe_writable(None) == -1


@pytest.mark.parametrize(
    "call,method,argnum,ctype",
    [
        (lambda: m.VSHYX_GetPortInfo("switch0\x00-evil", "hostport0"), "VSHYX_GetPortInfo", 1, "char const *"),
        (lambda: m.VSHYX_GetPortInfo("switch0", "hostport0\x00..."), "VSHYX_GetPortInfo", 2, "char const *"),
        (lambda: m.VSHYX_DVSAliasToSwitchId("dvs-prod\x00", "a"), "VSHYX_DVSAliasToSwitchId", 1, "char const *"),
        (lambda: m.VSHYX_DVSAliasToSwitchId("dvs-prod", "\x00a"), "VSHYX_DVSAliasToSwitchId", 2, "char *"),
        (lambda: m.Panic("100%\x00 done"), "Panic", 1, "char const *"),
        (lambda: probe.probe_text("a\x00"), "probe_text", 1, "char const *"),
        (lambda: probe.probe_writable("a\x00"), "probe_writable", 1, "char *"),
    ],
)
def test_texts_with_a_nul_are_refused_before_the_call(sim, call, method, argnum, ctype):
    sim.inject_fault(method, RuntimeError, "host called")
    with pytest.raises(TypeError) as err:
        call()
    assert str(err.value) == msg(method, argnum, ctype)


def test_fixed_text_fields_keep_bytes_after_a_nul():
    name = m.new_hyx_Name()
    m.hyx_Name_string_set(name, "a\x00b")
    assert raw(name, 4) == b"a\x00b\x00" and m.hyx_Name_string_get(name) == "a"
