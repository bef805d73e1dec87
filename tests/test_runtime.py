"""The type table, pointer objects, registration, cvar and the runtime
capsule shared with another module."""

import re
import sys

import pytest

import _libtessel as m
import _tessel_probe as probe
import libtessel


def type_of(obj):
    return re.match(r"<Swig Object of type '(.*)' at 0x[0-9a-f]+>", repr(obj)).group(1)


def test_method_table_shape():
    assert type(m.SWIG_PyInstanceMethod_New).__name__ == "builtin_function_or_method"
    assert not hasattr(m, "SWIG_PyStaticMethod_New")
    assert next(iter(n for n in vars(m) if callable(getattr(m, n)))) == "SWIG_PyInstanceMethod_New"
    # METH_O: the one argument is the callable itself, not an argument tuple.
    bound = m.SWIG_PyInstanceMethod_New(len)
    assert type(bound).__name__ == "instancemethod" and bound.__func__ is len
    with pytest.raises(TypeError):
        m.SWIG_PyInstanceMethod_New(len, len)
    assert all(getattr(m, n).__doc__ is None for n in vars(m) if callable(getattr(m, n)))


@pytest.mark.parametrize(
    "make,expected",
    [
        (lambda: m.new_VSInfo(), "VSInfo *"),
        (lambda: m.VSInfo_dvsName_get(m.new_VSInfo()), "hyx_PortsetResPoolPriorityTag *"),
        (lambda: m.VSInfo_overlayVlanUseCount_get(m.new_VSInfo()), "hyx_PortsetResPoolTag *"),
        (lambda: m.cvar.runtimeOptionNames, "char **"),
    ],
)
def test_printable_type_names(make, expected):
    keep = make()
    assert type_of(keep) == expected


def test_new_record_is_raw_owning_and_zero_filled_even_when_registered():
    raw = m.new_VSInfo()
    assert type(raw).__name__ == "SwigPyObject"
    assert raw.own()
    import ctypes

    assert ctypes.string_at(int(raw), 8422) == bytes(8422)


def test_pointer_object_methods_and_equality():
    a = m.new_VSInfo()
    same = m.VSInfo_dvsName_get(a)
    assert a.own() is True
    a.disown()
    assert a.own() is False
    a.acquire()
    assert a.own() is True
    assert a.own(0) is True and a.own() is False
    a.own(1)
    assert int(same) == int(a) + 16
    other = m.VSInfo_dvsName_get(a)
    assert same == other and not (same != other)
    assert a != same
    with pytest.raises(TypeError):
        _ = a < same


def test_registration_switches_returned_records_to_the_class():
    class Plain:
        pass

    status, rec = probe.probe_record_output(1)
    assert isinstance(rec, libtessel.VSInfo)
    try:
        m.VSInfo_swigregister(Plain)
        status, rec = probe.probe_record_output(1)
        assert type(rec) is Plain
        assert type_of(rec.this) == "VSInfo *"
    finally:
        m.VSInfo_swigregister(libtessel.VSInfo)
    with pytest.raises(TypeError):
        m.VSInfo_swigregister(5)
    with pytest.raises(TypeError):
        m.VSInfo_swigregister()


def test_unregistered_record_comes_back_raw():
    # No class is registered for VSSwitchPortInfo in this build.
    entries = m.new_VSwitchEntriesInfo()
    assert m.VSwitchEntriesInfo_info_get(entries) is None


def test_proxy_class_lifecycle():
    info = libtessel.VSInfo()
    assert info.thisown
    info.mtu = 9000
    assert info.mtu == m.VSInfo_mtu_get(info) == 9000
    assert libtessel.VSInfo.__swig_destroy__ is m.delete_VSInfo
    info.thisown = False
    assert not info.this.own()
    m.delete_VSInfo(info.this)


def test_delete_disowns_before_freeing():
    raw = m.new_VSInfo()
    m.delete_VSInfo(raw)
    assert not raw.own()


def test_capsule_shared_with_another_module():
    runtime = sys.modules["swig_runtime_data4"]
    assert type(runtime.type_pointer_capsule).__name__ == "PyCapsule"
    # A pointer returned by the probe is presented with the class registered
    # through _libtessel, and a proxy made by _libtessel converts in the probe.
    rec = probe.probe_static_info()
    assert isinstance(rec, libtessel.VSInfo)
    assert probe.probe_read_mtu(libtessel.VSInfo()) == 0
    mine = libtessel.VSInfo()
    mine.mtu = 77
    assert probe.probe_read_mtu(mine) == 77


def test_cvar():
    cvar = m.cvar
    assert cvar.hyx_ModuleCurrentID == 0
    assert str(cvar) == "(runtimeOptionNames, hyx_ModuleCurrentID)"
    assert repr(cvar) == "<Swig global variables>"
    with pytest.raises(AttributeError) as err:
        cvar.hyx_ModuleCurrentID = 1
    assert str(err.value) == "Variable hyx_ModuleCurrentID is read-only."
    with pytest.raises(AttributeError) as err:
        cvar.runtimeOptionNames = None
    assert str(err.value) == "in variable 'read-only runtimeOptionNames' of type 'char const *[]'"
    with pytest.raises(AttributeError) as err:
        cvar.nothing_here
    assert str(err.value) == "Unknown C global variable 'nothing_here'"
    assert cvar.hyx_ModuleCurrentID == 0


def test_runtime_option_names_table():
    import ctypes

    names = ctypes.cast(int(m.cvar.runtimeOptionNames), ctypes.POINTER(ctypes.c_char_p))
    got = [names[i].decode() for i in range(18)]
    assert got[0] == "IGMPQueryInterval" and got[8] == "ReversePathFwdCheck"
    assert got[-2:] == ["IGMPRouterIP", "MLDRouterIP"]
    assert len(set(got)) == 18
