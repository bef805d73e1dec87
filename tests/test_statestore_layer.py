"""The layer's distributed-switch store: a switch and its ports made and
removed, properties set, read and cleared under their keys at each scope,
host failures as the layer's exceptions, and the props command."""

import io
import json

import pytest

import _libtessel as m
import libtessel
from libtessel import cli

TEXT_KEY = m.HYX_ZARPROP_SWITCH_OVERLAY
PORT_KEY = m.HYX_ZARPROP_PORT_ALIAS


def run(*argv):
    out = io.StringIO()
    assert cli.main(list(argv), out=out) == 0
    return out.getvalue()


@pytest.fixture
def dvs(sim):
    libtessel.create_dvs("dswitch9", "dvs-nine", max_ports=2)
    libtessel.add_dvport("dvs-nine", "10")
    yield "dvs-nine"


@pytest.mark.parametrize("scope, port", [("global", None), ("host", None), ("port", "10")])
@pytest.mark.parametrize("value, stored", [(b"\x00\x01\xff", b"\x00\x01\xff"), ("caf\u00e9", "caf\u00e9".encode())])
def test_set_get_clear_by_key(dvs, scope, port, value, stored):
    libtessel.set_prop("dswitch9", "k", value, scope=scope, port=port)
    assert libtessel.get_prop("dvs-nine", "k", scope=scope, port=port) == stored
    libtessel.clear_prop("dvs-nine", "k", scope=scope, port=port)
    with pytest.raises(libtessel.NotFound):
        libtessel.get_prop("dvs-nine", "k", scope=scope, port=port)


def test_a_value_larger_than_the_first_read(dvs):
    big = bytes(range(256)) * 3
    libtessel.set_prop("dvs-nine", "big", big)
    assert libtessel.get_prop("dvs-nine", "big") == big


@pytest.mark.parametrize("call, error", [
    (lambda: libtessel.set_prop("dvs-nine", "k", 5), TypeError),
    (lambda: libtessel.set_prop("dvs-nine", "k", b"x", scope="port"), ValueError),
    (lambda: libtessel.set_prop("dvs-nine", "k", b"x", scope="rack"), ValueError),
    (lambda: libtessel.add_dvport("dvs-nine", "10"), libtessel.AlreadyExists),
    (lambda: libtessel.remove_dvport("dvs-nine", "99"), libtessel.NotFound),
    (lambda: libtessel.get_prop("dvs-none", "k"), libtessel.NotFound),
    (lambda: libtessel.create_dvs("dswitch9", "dvs-other"), libtessel.AlreadyExists),
    (lambda: libtessel.create_dvs("x" * 200, "dvs-long"), libtessel.HostError),
])
def test_failures_raise(dvs, call, error):
    with pytest.raises(error):
        call()


def test_ports_in_use_keep_the_switch(dvs):
    libtessel.add_dvport("dvs-nine", "11", connect_id=5)
    with pytest.raises(libtessel.Busy):
        libtessel.destroy_dvs("dvs-nine")
    libtessel.remove_dvport("dvs-nine", "11")
    libtessel.destroy_dvs("dvs-nine")
    with pytest.raises(libtessel.NotFound):
        libtessel.props("dvs-nine")


def test_props_command(dvs):
    libtessel.set_prop("dvs-nine", TEXT_KEY, "9000")
    libtessel.set_prop("dvs-nine", PORT_KEY, b"\x01\x02", scope="port", port="10")
    libtessel.set_prop("dvs-nine", "unpublished", b"x")
    assert ["global", TEXT_KEY, "9000"] in [line.split() for line in run("props", "dvs-nine").splitlines()]
    rows = json.loads(run("props", "dswitch9", "--port", "10", "--json"))
    assert {"scope": "port", "key": PORT_KEY, "value": "0102"} in rows
    # The port's own settings show under their keys as well.
    assert {row["key"] for row in rows} >= {m.VSPROP_PORT_VLAN, m.VSPROP_PORT_SECURITY}
    table = run("props", "dvs-nine").splitlines()
    assert any(line.split()[1] == m.VSPROP_SWITCH_TEAMING and line.endswith("(2616 bytes)") for line in table[1:])
    assert json.loads(run("props", "dvs-nine", "--scope", "host", "--json")) == []


def test_props_set_takes_hex_bytes_for_a_setting(sim, capsys):
    run("props", "set", "dvs-prod", m.VSPROP_MTU, "401f0000", "--hex")
    assert libtessel.switch_summary("dvs-prod").mtu == 8000
    assert cli.main(["props", "set", "dvs-prod", m.VSPROP_MTU, "4g", "--hex"]) == 2
    assert cli.main(["props", "set", "dvs-prod", m.VSPROP_MTU, "8000"]) == 1  # four text bytes: no MTU
    assert "hexadecimal" in capsys.readouterr().err
    assert libtessel.switch_summary("dvs-prod").mtu == 8000
