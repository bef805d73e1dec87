"""The layer's MAC tables: MAC addresses checked before anything reaches the
host, static and user entries added and removed by the kind asked for, and
named table and entry types."""

import pytest

import _libtessel as m
import libtessel
from libtessel import MacTable, MacType

PORT = ("switch0", "web-01.eth0")


def entries_of(*port, **filters):
    return {(e.mac, e.vlan, e.type) for e in libtessel.mac_summaries(*port, **filters)}


@pytest.mark.parametrize(
    "mac",
    ["0a:1b:2c:3d:4e:5f", "0A:1B:2C:3D:4E:5F", "0a-1b-2c-3d-4e-5f", "0a1b.2c3d.4e5f", b"\x0a\x1b\x2c\x3d\x4e\x5f",
     bytearray(b"\x0a\x1b\x2c\x3d\x4e\x5f")],
)
def test_common_mac_forms_are_accepted(sim, mac):
    libtessel.set_static_mac(*PORT, mac, vid=10)
    assert ("0a:1b:2c:3d:4e:5f", 10, "static") in entries_of(*PORT)


@pytest.mark.parametrize(
    "mac,exc",
    [("0a:1b:2c:3d:4e:5f:60:70", ValueError), ("0a:1b:2c:3d:4e", ValueError), ("0a:1b-2c:3d:4e:5f", ValueError),
     ("0a1b2c3d4e5f", ValueError), ("0g:1b:2c:3d:4e:5f", ValueError), ("0a1b.2c3d-4e5f", ValueError),
     (b"\x0a\x1b\x2c\x3d\x4e", ValueError), (0x0A1B2C3D4E5F, TypeError)],
)
def test_malformed_macs_are_refused_before_the_host_is_called(sim, mac, exc):
    sim.inject_fault("VSHYX_SetPortMACTable", RuntimeError, "host called")
    with pytest.raises(exc) as err:
        libtessel.set_static_mac(*PORT, mac)
    assert str(err.value).startswith("mac must be a MAC address")
    if exc is ValueError:
        assert str(err.value).endswith("got %r" % (mac,))


@pytest.mark.parametrize("kind,other", [(MacType.STATIC, MacType.USER), ("user", "static")])
def test_static_helpers_add_and_remove_the_kind_asked_for(sim, kind, other):
    before = sim.outstanding_blocks()
    mac, entry = "02:00:00:00:aa:01", ("02:00:00:00:aa:01", 7, MacType.of(kind, "kind"))
    libtessel.set_static_mac(*PORT, mac, vid=7, addr_type=kind)
    assert entry in entries_of(*PORT, addr_type=kind)
    assert entry in {(e.macAddress, e.vid, MacType.from_code(e.macAddrType))
                     for e in libtessel.mac_table("switch0", kind, "static")}
    assert entry not in entries_of(*PORT, addr_type=other)
    with pytest.raises(libtessel.NotFound) as err:
        libtessel.clear_static_mac(*PORT, mac, vid=7, addr_type=other)
    assert err.value.argument == "mac" and err.value.status == m.HYX_NOT_FOUND
    assert str(err.value) == "no %s entry for MAC %s (VLAN 7, VNI 0) on port 'web-01.eth0' of switch0" % (other, mac)
    assert entry in entries_of(*PORT)
    libtessel.clear_static_mac(*PORT, mac.upper().replace(":", "-"), vid=7, addr_type=kind)
    assert entry not in entries_of(*PORT)
    assert sim.outstanding_blocks() == before


def test_a_taken_address_names_the_mac(sim):
    libtessel.set_static_mac("dvs-prod", "prod-web-01.eth0", "02:00:00:00:aa:01", vid=100)
    with pytest.raises(libtessel.AlreadyExists) as err:
        libtessel.set_static_mac("dvs-prod", "prod-app-01.eth0", "02:00:00:00:aa:01", vid=100)
    assert err.value.argument == "mac" and "02:00:00:00:aa:01 (VLAN 100, VNI 0)" in str(err.value)


@pytest.mark.parametrize(
    "call,exc,message",
    [
        (lambda: libtessel.set_static_mac(*PORT, "02:00:00:00:aa:01", addr_type="learned"), ValueError,
         "addr_type must be 'static' or 'user' for a port's static entries, got 'learned'"),
        (lambda: libtessel.mac_table("switch0", table_type="bogus"), ValueError,
         "table_type must be one of 'all', 'dynamic', 'static', got 'bogus'"),
        (lambda: libtessel.set_static_mac(*PORT, "02:00:00:00:aa:01", vid=4096), ValueError,
         "vid must be within 0..4095, got 4096"),
    ],
)
def test_bad_values_are_refused_by_name(sim, call, exc, message):
    with pytest.raises(exc) as err:
        call()
    assert str(err.value) == message


@pytest.mark.parametrize("table,types", [(MacTable.DYNAMIC, {"learned"}), (m.VS_STATIC_MAC_TABLE, {"static", "user"}),
                                         ("all", {"static", "user", "learned"})])
def test_table_types_by_name_or_number(sim, table, types):
    assert {MacType.from_code(e.macAddrType) for e in libtessel.mac_table("dswitch0", table_type=table)} == types


def test_learning_settings_change_only_what_is_given(sim):
    before, = libtessel.port_learning("switch0", "web-01.eth0")
    libtessel.set_port_learning("switch0", "web-01.eth0", mac_limit=10, limit_policy="drop")
    after, = libtessel.port_learning("switch0", before.port_id)
    assert after == before._replace(mac_limit=10, limit_policy=libtessel.LimitPolicy.DROP)
    assert libtessel.port_learning("switch0")[3] == after
    before = libtessel.learning_props()
    libtessel.set_learning_props(aging_time=300, learn_static=True)
    assert libtessel.learning_props() == before._replace(aging_time=300, learn_static=True)
    assert libtessel.switch_learning("switch0").aging_time == 300


@pytest.mark.parametrize("flags", [[], ["disallow-promisc"], ["disallow-mac-change", "disallow-forged-src"]])
def test_security_flags_by_name(sim, flags):
    libtessel.set_port_security("switch0", "web-01.eth0", flags)
    assert sorted(libtessel.port_security("switch0", "web-01.eth0")) == sorted(flags)
    assert list(libtessel.port_learning("switch0", "web-01.eth0")[0].security) == sorted(
        flags, key=[str(f) for f in libtessel.SecurityFlag].index)


def test_learning_stats_per_port(sim):
    stats = libtessel.learning_stats("switch0")
    assert [s.port_id for s in stats] == [p.port_id for p in libtessel.port_learning("switch0")]
    summary = libtessel.switch_learning("switch0")
    # The uplinks' addresses count on the team side of the summary.
    assert sum(s.macs_learned for s in stats) == summary.macs_learned + summary.team_macs_learned


@pytest.mark.parametrize("call, exc, text", [
    (lambda: libtessel.set_port_learning("switch0", "web-01.eth0", mac_limit=5000), ValueError, "mac_limit"),
    (lambda: libtessel.set_port_learning("switch0", "web-01.eth0", learning=1), TypeError, "learning"),
    (lambda: libtessel.set_port_learning("switch0", "web-01.eth0", limit_policy="keep"), ValueError, "limit_policy"),
    (lambda: libtessel.set_port_learning("switch0", "nosuch", learning=True), libtessel.NotFound, "no port"),
    (lambda: libtessel.set_port_security("switch0", "web-01.eth0", ["bogus"]), ValueError, "flags"),
    (lambda: libtessel.set_learning_props(aging_time=-1), ValueError, "aging_time"),
    (lambda: libtessel.port_security("nosuch", "p"), libtessel.NotFound, "no switch named"),
])
def test_learning_refusals_name_the_argument(sim, call, exc, text):
    with pytest.raises(exc, match=text):
        call()
