"""Switch enumeration and summary against the simulated host, the helpers'
diagnostics, and the exception guard driven by fault injection."""

import ctypes
import os

import pytest

import _libtessel as m
import libtessel

from conftest import INVENTORY


def _status(name):
    with open(os.path.join(INVENTORY, "constants.tsv")) as f:
        for line in f:
            key, _kind, value = line.rstrip("\n").split("\t")
            if key == name:
                return int(value)
    raise KeyError(name)


HYX_BAD_PARAM = _status("HYX_BAD_PARAM")
HYX_NOT_FOUND = _status("HYX_NOT_FOUND")
HYX_NAME_TOO_LONG = _status("HYX_NAME_TOO_LONG")


def entries(lst):
    return [m.VSList___getitem__(lst, i) for i in range(m.VSList_count_get(lst))]


def test_switch_lists_of_both_types(sim):
    ps = m.VSHYX_GetSwitchesPy(m.VS_LIST_PS)
    assert isinstance(ps, libtessel.VSList) and ps.this.own()
    assert ps.listType == m.VS_LIST_PS
    assert entries(ps) == ["switch0", "switch1", "dswitch0", "dswitch1"]
    aliases = m.VSHYX_GetSwitchesPy(m.VS_LIST_DVS_ALIAS)
    assert entries(aliases) == ["dvs-prod", "dvs-lab"]
    assert m.free_switches(aliases) is None
    assert not aliases.this.own()


def test_list_indexing_steps_by_slot_width(sim):
    lst = m.VSHYX_GetSwitchesPy(m.VS_LIST_PS)
    base = int(lst.this) + 8
    assert ctypes.string_at(base + 128, 8) == b"switch1\0"
    # The same block read as an alias list steps 81 bytes: entry 1 starts
    # inside the first 128-byte slot, which is zero there.
    m.VSList_listType_set(lst, m.VS_LIST_DVS_ALIAS)
    assert m.VSList___getitem__(lst, 1) == ""
    ctypes.memmove(base + 81, b"alias-one\0", 10)
    assert m.VSList___getitem__(lst, 1) == "alias-one"


def test_list_entry_without_nul_stops_at_its_slot(sim):
    lst = m.VSHYX_GetSwitchesPy(m.VS_LIST_DVS_ALIAS)
    ctypes.memset(int(lst.this) + 8, ord("a"), 81)
    assert m.VSList___getitem__(lst, 0) == "a" * 81


@pytest.mark.parametrize("index", [-1, 4, 2**31 - 1, -(2**31)])
def test_list_index_out_of_range_prints_and_returns_none(sim, capfd, index):
    lst = m.VSHYX_GetSwitchesPy(m.VS_LIST_PS)
    assert m.VSList___getitem__(lst, index) is None
    assert capfd.readouterr().out == "Invalid array index\n"


def test_enumeration_failure_prints_status(sim, capfd):
    assert m.VSHYX_GetSwitchesPy(7) is None
    assert capfd.readouterr().out == "failed: %x\n" % HYX_BAD_PARAM
    assert m.VSHYX_GetSwitches(m.VS_LIST_PS, None) == HYX_BAD_PARAM


def test_switch_summary_fields(sim):
    info = libtessel.VSInfo()
    assert m.VSHYX_GetVSInfo("dswitch0", info) == 0
    assert info.mtu == 9000
    assert (info.minValidVlan, info.maxValidVlan) == (0, 4094)
    assert (info.activePorts, info.maxPorts, info.numSinkPorts) == (17, 1024, 1)
    assert info.flags == 0x3
    assert info.isAssocMACFilterEnabled == "\x01"
    assert info.isForwardingDisabled == "\x00"
    # The odd-offset fields after the VLAN table.
    assert info.numServiceVmPorts == 1
    assert info.vdrPortID == 0x4000002
    assert (info.numRdmaEntries, info.numRdmaTenantEntries) == (2, 1)
    raw = ctypes.string_at(int(info.this), 8422)
    assert int.from_bytes(raw[8410:8414], "little") == 0x4000002
    dvs = ctypes.string_at(int(info.dvsName), 128).split(b"\0")[0]
    assert dvs.startswith(b"50 1f")
    assert m.VSInfo_vlan_get_use_count(info, 4095) == int.from_bytes(raw[216 + 2 * 4095:216 + 8192], "little")


@pytest.mark.parametrize(
    "name,expected",
    [(None, HYX_BAD_PARAM), ("nope", HYX_NOT_FOUND), ("x" * 128, HYX_NAME_TOO_LONG), ("", HYX_NOT_FOUND)],
)
def test_summary_failures_leave_record_alone(sim, name, expected):
    info = m.new_VSInfo()
    m.VSInfo_mtu_set(info, 4321)
    assert m.VSHYX_GetVSInfo(name, info) == expected
    assert m.VSInfo_mtu_get(info) == 4321
    assert m.VSHYX_GetVSInfo("switch0", None) == HYX_BAD_PARAM


@pytest.mark.parametrize("vlan", [-1, 4096, 2**31 - 1])
def test_vlan_use_count_outside_range_reads_nothing(sim, capfd, vlan):
    info = m.new_VSInfo()
    assert m.VSInfo_vlan_get_use_count(info, vlan) is None
    assert capfd.readouterr().out == "Invalid array index\n"


def test_alloc_and_free_vs_info(sim):
    info = m.alloc_vs_info()
    assert isinstance(info, libtessel.VSInfo) and not info.this.own()
    assert m.VSHYX_GetVSInfo("switch1", info) == 0
    assert info.mtu == 9000
    assert m.free_vs_info(info) is None


@pytest.mark.parametrize(
    "alias,expected",
    [("dvs-prod", 0), ("unknown", HYX_NOT_FOUND), ("y" * 81, HYX_NAME_TOO_LONG), (None, HYX_BAD_PARAM)],
)
def test_alias_to_switch_id(sim, alias, expected):
    # The host writes the switch id over the one-character text it is given:
    # the module hands it room for a full id (checked by the sanitizer run).
    assert m.VSHYX_DVSAliasToSwitchId(alias, "a") == expected
    assert m.VSHYX_DVSAliasToSwitchId("dvs-prod", None) == HYX_BAD_PARAM


def test_status_text(sim):
    assert m.HYX_ReturnStatusToString(0)
    assert m.HYX_ReturnStatusToString(HYX_NOT_FOUND) != m.HYX_ReturnStatusToString(HYX_BAD_PARAM)
    assert isinstance(m.HYX_ReturnStatusToString(12345), str)
    with pytest.raises(OverflowError):
        m.HYX_ReturnStatusToString(2**31)


@pytest.mark.parametrize(
    "call,host_fn",
    [
        (lambda: m.VSHYX_GetVSInfo("switch0", m.new_VSInfo()), "VSHYX_GetVSInfo"),
        (lambda: m.VSHYX_GetSwitchesPy(m.VS_LIST_PS), "VSHYX_GetSwitches"),
        (lambda: m.VSHYX_DVSAliasToSwitchId("dvs-prod", "x"), "VSHYX_DVSAliasToSwitchId"),
        (lambda: m.HYX_ReturnStatusToString(0), "HYX_ReturnStatusToString"),
        (lambda: m.VSHYX_FreeMemory(None), "VSHYX_FreeMemory"),
    ],
)
@pytest.mark.parametrize("exc", [KeyError, OSError, RuntimeError])
def test_abandoned_call_raises_what_the_host_left(sim, call, host_fn, exc):
    sim.inject_fault(host_fn, exc, "host gave up on %s" % host_fn)
    with pytest.raises(exc) as err:
        call()
    assert str(err.value).strip("'\"") == "host gave up on %s" % host_fn
    assert m.HYX_ReturnStatusToString(0)  # the next call runs normally
    call()


def test_guard_survives_many_abandoned_calls(sim):
    for i in range(200):
        sim.inject_fault("VSHYX_GetVSInfo", ValueError, "round %d" % i)
        with pytest.raises(ValueError, match="round %d" % i):
            m.VSHYX_GetVSInfo("switch0" * 10, m.new_VSInfo())


@pytest.mark.parametrize("text", ["plain", "%s%n%x %p", "100%", ""])
def test_panic_is_guarded_and_literal(sim, text):
    with pytest.raises(RuntimeError) as err:
        m.Panic(text, 1, "ignored", None)
    assert str(err.value) == text
    with pytest.raises(TypeError) as err:
        m.Panic(5)
    assert str(err.value) == "in method 'Panic', argument 1 of type 'char const *'"
    with pytest.raises(TypeError):
        m.Panic()


def test_mirror_placeholders(sim):
    assert m.MIRROR_ASSERT() is None
    assert m.MIRROR_ENCAP_TYPE() is None
    sim.inject_fault("VSHYX_GetVSInfo", KeyError, "x")
    sim.clear_faults()
    assert m.VSHYX_GetVSInfo("switch0", m.new_VSInfo()) == 0


@pytest.mark.parametrize("bad_class", [None, 5, "ValueError", object])
def test_abandoned_call_with_a_faulty_class_raises_runtime_error(sim, bad_class):
    # A host that leaves no exception class (or something that is not one)
    # still gets a clean RuntimeError with its text, never a crash.
    sim.inject_fault("VSHYX_GetVSInfo", bad_class, "no class given")
    with pytest.raises(RuntimeError, match="^no class given$"):
        m.VSHYX_GetVSInfo("switch0", m.new_VSInfo())


def test_abandoned_call_cleans_up_text_copies_once(sim):
    # Both text copies go through the clean-up path of an abandoned call;
    # the sanitizer run reports a double free or use after free there.
    big = "n" * 100000
    for _ in range(50):
        sim.inject_fault("VSHYX_DVSAliasToSwitchId", KeyError, "x")
        with pytest.raises(KeyError):
            m.VSHYX_DVSAliasToSwitchId(big, big)
