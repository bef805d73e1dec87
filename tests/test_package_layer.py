"""The package's surface: every public name documented, the index of names
and commands in step with the subsystem modules, a cheap import that loads
no subsystem until a name is used, and record classes that print their
fields and never leak."""

import importlib
import inspect
import os
import re
import subprocess
import sys

import pytest

import _libtessel as m
import libtessel
from libtessel import _index, records

from conftest import PROBE_TREE, PY_TREE

PACKAGE = os.path.dirname(libtessel.__file__)
SUBSYSTEMS = sorted(f[:-3] for f in os.listdir(PACKAGE)
                    if f.endswith(".py") and not f.startswith("_") and f[:-3] not in ("cli", "records", "testing"))


def python(code):
    """Runs code in a fresh interpreter on the built tree; its output."""
    env = dict(os.environ, PYTHONPATH=PY_TREE, TESSEL_HOST="simulated")
    proc = subprocess.run([sys.executable, "-c", code], env=env, capture_output=True, text=True)
    assert proc.returncode == 0, proc.stderr
    return proc.stdout + proc.stderr


def test_the_index_is_in_step_with_the_modules():
    names, commands = {}, {}
    for sub in SUBSYSTEMS:
        module = importlib.import_module("libtessel." + sub)
        names.update(dict.fromkeys(module.__all__, sub))
        commands.update((c.name, sub) for c in getattr(module, "COMMANDS", ()))
    # On a mismatch, the expected tables are what python/libtessel/_index.py holds.
    assert (_index.SUBSYSTEMS, _index.NAMES, _index.COMMANDS) == (tuple(SUBSYSTEMS), names, commands)


def _public():
    for name in libtessel.__all__:
        value = getattr(libtessel, name)
        if inspect.isclass(value) or inspect.isfunction(value) or inspect.ismodule(value):
            yield name, value
            if inspect.isclass(value) and not issubclass(value, BaseException):
                for attr, member in vars(value).items():
                    if not attr.startswith("_") and (inspect.isfunction(member) or isinstance(member, property)):
                        yield "%s.%s" % (name, attr), member


@pytest.mark.parametrize("name, value", list(_public()), ids=lambda v: v if isinstance(v, str) else "")
def test_every_public_name_is_documented(name, value):
    doc = inspect.getdoc(value) or ""
    # A named tuple's generated text ("SwitchSummary(name, ...)") is no docstring.
    assert doc.strip() and not doc.startswith(name.split(".")[-1] + "("), name


HEAVY = ("argparse", "ctypes", "dataclasses", "enum", "inspect", "json", "typing")


@pytest.mark.parametrize("code, loaded, heavy", [
    ("import libtessel", set(), set()),
    ("import libtessel; libtessel.port_summaries", {"kernel", "ports"}, {"enum"}),
    ("from libtessel import cli; cli.main(['switches', '--json'], out=open('/dev/null', 'w'))", {"kernel"}, set()),
    ("from libtessel import cli; cli.main(['mac', 'add', '--help'])", {"kernel", "mac", "ports"}, None),
])
def test_only_what_is_used_is_imported(code, loaded, heavy):
    out = python(code + "\nimport sys\n"
                 "print([sorted(n[10:] for n in sys.modules if n.startswith('libtessel.')),\n"
                 "       sorted(n for n in %r if n in sys.modules)])" % (HEAVY,))
    modules, imported = eval([line for line in out.splitlines() if line.startswith("[[")][-1])
    assert set(modules) & set(SUBSYSTEMS) == loaded
    if heavy is not None:
        assert set(imported) == heavy


@pytest.mark.parametrize("setup, made_before, shown", [
    # The raw module alone hands out raw pointer objects.
    ("", None, "SwigPyObject"),
    # The layer makes no class at import; the first record handed out asks
    # for its class, through the module that returns it or another module
    # sharing the runtime.
    ("import libtessel", [], "VSSwitchPortInfo"),
    ("import libtessel, _tessel_probe as p; assert type(p.probe_static_info()).__name__ == 'VSInfo'", ["VSInfo"],
     "VSSwitchPortInfo"),
    # A class named is made and registered at once.
    ("import libtessel.records as r; r.VSSwitchPortInfo", ["VSSwitchPortInfo"], "VSSwitchPortInfo"),
    # A class registered by hand before the layer asked is kept.
    ("import libtessel\nclass Mine: pass\nm.VSSwitchPortInfo_swigregister(Mine)", [], "Mine"),
])
def test_record_classes_are_made_on_first_need(setup, made_before, shown):
    out = python("import sys; sys.path.insert(0, %r)\nimport _libtessel as m\n%s\n"
                 "r = sys.modules.get('libtessel.records')\n"
                 "made = sorted(r._made) if r else None\n"
                 "s = m.VSHYX_GetSwitchPortInfo('switch0')[1]\n"
                 "cls = r and r._made.get('VSSwitchPortInfo')\n"
                 "print(repr((made, type(s).__name__, cls and cls._fields)))\n"
                 "m.VSHYX_FreeMemory(s)" % (PROBE_TREE, setup))
    # The class is not filled until one of its members is used.
    assert eval(out) == (made_before, shown, None)


def test_bytes_at_reads_a_record_and_refuses_what_is_no_address_or_size():
    from libtessel._native import bytes_at

    info = m.new_VSInfo()
    m.VSInfo_mtu_set(info, 9000)
    m.VSInfo_numRdmaTenantEntries_set(info, 0x01020304)
    assert bytes_at(int(info), 6) == (9000).to_bytes(4, "little") + bytes(2)
    assert bytes_at(int(info) + 8418, 4) == bytes([4, 3, 2, 1])
    for address, size in ((0, 4), (-8, 4), (None, 4), (int(info), -1), (int(info), 2 ** 31), (int(info), 4.0)):
        with pytest.raises(ValueError, match="bytes_at needs"):
            bytes_at(address, size)


def test_a_record_shows_its_fields():
    stats = records.VSRARPStats()
    stats.rarpPktsSent, stats.rarpTime = 3, 2 ** 64 - 1
    assert repr(stats) == "VSRARPStats(rarpPktsSent=3, maxRARPTime=0, rarpTime=18446744073709551615)"
    info = records.VSPortCounters()
    assert repr(info).startswith(
        "VSPortCounters(dispatchDataSlabErrors=0, errCtrs=VSPortFwdErrCtrs(brBcastPktCloneErr=0,")
    with pytest.raises(AttributeError, match="'VSRARPStats' object has no attribute 'bogus'"):
        stats.bogus


@pytest.mark.parametrize("call, table_of", [
    (lambda: m.VSHYX_GetSwitchPortInfo("switch0"), lambda: list(libtessel.ports("switch0"))),
    (lambda: m.VSHYX_GetMACTable("switch0", m.VS_MAC_ADDR_TYPE_ALL, m.VS_ALL_MAC_TABLE),
     lambda: list(libtessel.mac_table("switch0"))),
])
def test_a_host_table_is_a_sequence_of_copies(sim, call, table_of):
    def shown(records):
        # Raw pointer fields show their addresses, which differ between copies.
        return [re.sub(r" at 0x[0-9a-f]+", "", repr(e)) for e in records]

    status, table = call()
    try:
        entries = records.walk(table)
        # A table is a sequence of the same copies, within its count.
        assert len(table) == len(entries) and shown(table) == shown(entries)
        assert shown([table[-1]]) == shown(entries[-1:])
        with pytest.raises(IndexError):
            table[len(entries)]
    finally:
        m.VSHYX_FreeMemory(table)
    assert shown(entries) == shown(table_of()) and entries
    with pytest.raises(TypeError, match="is not a table of entries"):
        records.walk(records.VSRARPStats())


def test_no_record_the_layer_hands_out_leaks():
    # Every record class made and dropped, and every record the layer's
    # calls hand out, in a fresh interpreter: SWIG would print a "memory
    # leak ... no destructor found" line for an owned record of a class
    # without its destructor.
    out = python("""
import gc, libtessel as t, libtessel.records as r
for cls in r.classes.values():
    repr(cls())
for call in (lambda: list(t.ports('switch0')), lambda: t.port_info('switch0', 'web-01.eth0'),
             lambda: list(t.mac_table('switch0')), lambda: t.switch_info('dvs-prod'), lambda: t.switch_summaries(),
             lambda: t.static_le_contexts('switch0'), lambda: t.teaming_policy('switch0'), lambda: t.lags('dvs-prod'),
             lambda: t.tunnel_endpoints('dvs-prod'), lambda: t.rdma_entries('dvs-prod'), lambda: t.tenants('dvs-prod'),
             lambda: t.mcast_groups('switch0'), lambda: t.port_learning('switch0'), lambda: t.learning_stats('switch0'),
             lambda: t.port_counters('switch0'), lambda: t.rarp_stats('switch0'), lambda: t.vlan_policies('dvs-prod'),
             lambda: t.private_vlan_map('dvs-prod'), lambda: t.options(), lambda: t.uplinks('switch0')):
    call()
gc.collect()
print("done")
""")
    assert out == "done\n"


def test_published_keys_are_filed_by_scope():
    keys = libtessel.PUBLISHED_KEYS
    assert m.VSPROP_PORT_VLAN in keys["port"] and m.HYX_ZARPROP_PORT_ALIAS in keys["port"]
    assert m.HYX_ZARPROP_HOST_STATUS in keys["host"]
    assert m.VSPROP_MTU in keys["global"] and m.HYX_ZARPROP_SWITCH_ALIAS in keys["global"]
    assert not set(keys["port"]) & set(keys["global"])


@pytest.mark.parametrize("call, exc, argument", [
    (lambda: libtessel.create_dvs("dswitch9", "dvs-nine", class_name="c\0x"), ValueError, "class_name"),
    (lambda: libtessel.props("dvs-prod", keys=[7]), TypeError, "keys"),
    (lambda: libtessel.rtm_operation("save", [3]), TypeError, "switches"),
    (lambda: libtessel.set_port_security("switch0", "web-01.eth0", [1.5]), TypeError, "flags"),
])
def test_refusals_name_the_argument_before_the_host(sim, call, exc, argument):
    sim.inject_fault("VSDVS_CreateVSwitch", RuntimeError, "reached the host")
    with pytest.raises(exc, match=r"^%s must be" % argument):
        call()


def test_a_record_that_cannot_be_allocated_raises(monkeypatch):
    monkeypatch.setattr(m, "new_VSRARPStats", lambda: None)
    with pytest.raises(MemoryError, match="no memory for a VSRARPStats record"):
        records.VSRARPStats()


@pytest.mark.parametrize("first", ["import libtessel.mac", "import libtessel.options, libtessel.ports", "pass"])
def test_a_function_keeps_the_name_of_its_module(first):
    # mac imports the ports module, which would set libtessel.ports to the
    # module; the function of that name keeps it (likewise options).
    out = python(first + "\nimport libtessel, types\n"
                 "print(type(libtessel.ports).__name__, type(libtessel.options).__name__)")
    assert out.split()[-2:] == ["function", "function"]
