"""The type table, pointer objects, registration, cvar and the runtime
capsule shared with another module."""

import ctypes
import gc
import os
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
    # A value whose truth cannot be told raises and changes nothing.
    with pytest.raises(ZeroDivisionError):
        a.own(type("Untold", (), {"__bool__": lambda self: 1 / 0})())
    assert a.own() is True
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


# ---- the pointer runtime against odd Python objects ----


class FreshThis:
    """An object whose `this` is a new pointer object at every access."""

    def __init__(self, make):
        self.make = make

    @property
    def this(self):
        return self.make()


@pytest.mark.parametrize(
    "holder",
    [
        lambda: FreshThis(m.new_VSInfo),
        lambda: FreshThis(libtessel.VSInfo),
        lambda: FreshThis(lambda: m.VSPortInfo_stats_get(m.new_VSPortInfo())),
    ],
)
def test_this_that_nobody_holds_is_refused(holder):
    with pytest.raises(TypeError) as err:
        m.VSHYX_GetVSInfo("switch0", holder())
    assert str(err.value) == "in method 'VSHYX_GetVSInfo', argument 2 of type 'VSInfo *'"


def _named_like_a_pointer():
    return type("SwigPyObject", (), {"ptr": 1, "own": 0})()


def _holding_one_named_like_a_pointer():
    holder = type("Holder", (), {})()
    holder.this = _named_like_a_pointer()
    return holder


@pytest.mark.parametrize("holder", [_named_like_a_pointer, _holding_one_named_like_a_pointer])
def test_a_class_named_like_the_pointer_type_is_no_pointer(holder):
    with pytest.raises(TypeError):
        m.VSInfo_mtu_get(holder())
    with pytest.raises(TypeError):
        m.VSHYX_FreeMemory(holder())


def _cycle(n):
    objs = [type("Holder%d" % i, (), {})() for i in range(n)]
    for a, b in zip(objs, objs[1:] + objs[:1]):
        a.this = b
    return objs[0]


@pytest.mark.parametrize("holder", [lambda: _cycle(1), lambda: _cycle(2), lambda: _cycle(50)])
def test_this_cycles_end_in_a_type_error(holder):
    with pytest.raises(TypeError):
        m.VSInfo_mtu_get(holder())


def test_this_chains_of_a_few_proxies_resolve():
    inner = libtessel.VSInfo()
    inner.mtu = 1234
    outer = type("Wrapper", (), {})()
    outer.this = inner
    assert m.VSInfo_mtu_get(outer) == 1234


def test_append_refuses_cycles_and_stolen_chains():
    a, b, c = m.new_VSInfo(), m.new_VSInfo(), m.new_VSInfo()
    with pytest.raises(ValueError):
        a.append(a)
    a.append(b)
    with pytest.raises(ValueError):
        b.append(a)  # a heads a chain of its own
    with pytest.raises(ValueError):
        c.append(a)
    with pytest.raises(ValueError):
        a.append(b)  # already in this chain
    assert repr(a).count("Swig Object") == 2 and a.next() == b


def test_append_keeps_chains_short():
    head = m.new_VSInfo()
    with pytest.raises(ValueError):
        for _ in range(100000):
            head.append(m.new_VSInfo())
    assert repr(head).count("Swig Object") <= 8
    del head  # the chain is released without deep recursion


@pytest.mark.parametrize("destroy", [1, "delete", object()])
def test_registration_refuses_a_destructor_that_cannot_be_called(destroy):
    cls = type("Odd", (), {"__swig_destroy__": destroy})
    with pytest.raises(TypeError):
        m.VSStats_swigregister(cls)
    stats = libtessel.VSStats()  # the registration in place stays
    assert isinstance(m.VSPortInfo_stats_get(m.new_VSPortInfo()), libtessel.VSStats) and stats.thisown


@pytest.mark.parametrize("cls", [type(len), type(iter([]))])
def test_registration_refuses_classes_without_instances(cls):
    with pytest.raises(TypeError):
        m.VSStats_swigregister(cls)


@pytest.mark.filterwarnings("ignore::pytest.PytestUnraisableExceptionWarning")
def test_destructor_is_any_callable_called_with_a_non_owning_object():
    seen = []

    def destroy(ptr):
        seen.append((type(ptr).__name__, ptr.own(), int(ptr)))
        m.delete_VSStats(ptr)

    class Tracked:
        __swig_destroy__ = destroy

    try:
        m.VSStats_swigregister(Tracked)
        raw_stats = m.new_VSStats()
        address = int(raw_stats)
        del raw_stats
        gc.collect()
        assert seen == [("SwigPyObject", False, address)]
        m.VSStats_swigregister(type("Builtin", (), {"__swig_destroy__": len}))
        del_me = m.new_VSStats()
        address = int(del_me)
        del del_me  # len(ptr) raises: reported as unraisable, nothing crashes
        ctypes.CDLL(None).free(ctypes.c_void_p(address))  # what len did not
    finally:
        m.VSStats_swigregister(libtessel.VSStats)


def test_acquire_and_disown_do_not_unbalance_the_runtime_capsule():
    capsule = sys.modules["swig_runtime_data4"].type_pointer_capsule
    before = sys.getrefcount(capsule)
    for _ in range(200):
        rec = m.alloc_vs_info()
        rec.this.acquire()
        del rec
        view = m.VSInfo_dvsName_get(m.new_VSInfo())
        view.acquire()
        view.disown()
        view.own(1)
        del view
    gc.collect()
    assert sys.getrefcount(capsule) == before


def test_views_never_free_memory_they_do_not_head():
    info = m.new_VSPortInfo()
    stats = m.VSPortInfo_stats_get(info)
    stats.this.acquire()
    del stats
    m.VSPortInfo_portID_set(info, 5)
    assert m.VSPortInfo_portID_get(info) == 5


class _Slots:
    __slots__ = ("x",)


class _NoThis:
    def __setattr__(self, name, value):
        pass


class _ThisRaises:
    @property
    def this(self):
        raise KeyError("this")

    @this.setter
    def this(self, value):
        raise KeyError("no")


@pytest.mark.parametrize("cls", [_Slots, _NoThis, _ThisRaises])
def test_records_returned_as_odd_classes_give_errors_not_crashes(cls):
    try:
        m.VSStats_swigregister(cls)
        try:
            view = m.VSPortInfo_stats_get(m.new_VSPortInfo())
        except (TypeError, AttributeError, KeyError):
            return
        with pytest.raises(TypeError):
            m.VSStats_pktsTx_get(view)
    finally:
        m.VSStats_swigregister(libtessel.VSStats)


RAW_COPIES = {
    "element copy": "m.VSMACEntry___getitem__(m.VSMACTable_macEntries_get(t), 0)",
    "new record": "m.new_VSMACEntry()",
    "sized table": "m.new_VSUplinkPorts(4)",
}


@pytest.mark.parametrize("make", RAW_COPIES.values(), ids=list(RAW_COPIES))
def test_the_raw_module_alone_frees_what_it_allocated(make):
    """Without the layer no class (and so no destructor) is registered: the
    module's own memory is freed all the same, not reported and lost."""
    import subprocess

    from conftest import PY_TREE

    code = ("import resource, _libtessel as m\n"
            "s, t = m.VSHYX_GetMACTable('switch0', m.VS_MAC_ADDR_TYPE_ALL, m.VS_ALL_MAC_TABLE)\n"
            "def rss(): return resource.getrusage(resource.RUSAGE_SELF).ru_maxrss\n"
            "for _ in range(20000): %s\n"
            "before = rss()\n"
            "for _ in range(200000): %s\n"
            "print(rss() - before)\n" % (make, make))
    env = dict(os.environ, PYTHONPATH=PY_TREE, TESSEL_HOST="simulated")
    done = subprocess.run([sys.executable, "-c", code], env=env, capture_output=True, text=True, check=True)
    assert "memory leak" not in done.stdout
    assert int(done.stdout.split()[-1]) < 4096  # KiB of peak growth


@pytest.mark.parametrize("call,length", [
    (lambda: m.VSHYX_GetPortInfo("switch0", "web-01.eth0"), 2),
    (lambda: m.VSDVS_GetPortVLANPolicy("switch0", "web-01.eth0"), 3),
])
def test_out_values_come_as_a_plain_list(call, length):
    result = call()
    assert type(result) is list and len(result) == length and None not in result
    copy = list(result)
    result.extend([1, 2, 3])
    assert result[:length] == copy and result[length:] == [1, 2, 3] and len(result) == length + 3
    m.VSHYX_FreeMemory(copy[1])
