"""The layer's uplinks, teaming policies and LAGs, and their commands: what
the module changes shows in the layer and the tool, host failures raise the
layer's exceptions, and the host's tables go back."""

import io
import json

import pytest

import _libtessel as m
import libtessel
from libtessel import LinkState, LoadBalance, TeamPolicy, cli


def run(*argv):
    out = io.StringIO()
    assert cli.main(list(argv), out=out) == 0
    return out.getvalue()


def test_admin_down_through_the_module_shows_in_the_layer_and_the_tool(sim):
    assert m.VSHYX_SetUplinkAdminLinkState("switch0", "uplink1", m.HYX_LINK_STATE_DOWN) == m.HYX_OK
    links = {u.name: u.link for u in libtessel.uplinks("switch0")}
    assert links == {"uplink0": LinkState.UP, "uplink1": LinkState.DOWN}
    rows = [line.split() for line in run("uplinks", "switch0").splitlines()]
    assert rows[0] == ["NAME", "PORT-ID", "LINK", "LACP"]
    assert [r[0] for r in rows[1:]] == ["uplink0", "uplink1"] and [r[2] for r in rows[1:]] == ["up", "down"]
    assert json.loads(run("uplinks", "switch0", "--json"))[1] == {
        "name": "uplink1", "port_id": 33554434, "link": "down", "lacp": None}


def test_set_admin_state_and_lag_members_follow(sim):
    before = sim.outstanding_blocks()
    libtessel.set_uplink_admin_state("dvs-prod", "uplink5", "down")
    (lag,) = libtessel.lags("dvs-prod")
    assert (lag.name, lag.id, lag.state) == ("lag1", 1, LinkState.UP)
    assert [(mb.name, mb.link) for mb in lag.members] == [("uplink4", "up"), ("uplink5", "down")]
    assert {u.name: u.lacp for u in libtessel.uplinks("dvs-prod")} == {"uplink4": "up", "uplink5": "down"}
    libtessel.set_uplink_admin_state("dvs-prod", "uplink4", False)
    assert json.loads(run("lags", "dvs-prod", "--json"))[0]["state"] == "down"
    assert sim.outstanding_blocks() == before


@pytest.mark.parametrize("call, exc, argument", [
    (lambda: libtessel.set_uplink_admin_state("switch0", "web-01.eth0", "down"), libtessel.NotFound, "uplink"),
    (lambda: libtessel.set_uplink_admin_state("nosuch", "uplink0", "down"), libtessel.NotFound, "switch"),
    (lambda: libtessel.set_teaming_policy("switch0", TeamPolicy(active=["x"], flags=0x80)),
     libtessel.BadParameter, "switch"),
    (lambda: libtessel.set_teaming_policy("switch0", TeamPolicy(active=["uplink0"]), port="nosuch"),
     libtessel.NotFound, "port"),
    (lambda: libtessel.teaming_policy("dvs-prod", port=2**32 - 1), libtessel.NotFound, "port"),
])
def test_host_failures_raise(sim, call, exc, argument):
    with pytest.raises(exc) as err:
        call()
    assert err.value.argument == argument


def test_policy_round_trip_and_fallback(sim):
    assert libtessel.teaming_policy("switch0").active == ["uplink0", "uplink1"]
    policy = TeamPolicy(load_balance="explicit", active=["uplink1"], standby=["uplink0"], speed=1000)
    libtessel.set_teaming_policy("switch0", policy, port="web-01.eth0")
    got = libtessel.teaming_policy("switch0", port="web-01.eth0")
    assert got.load_balance is LoadBalance.EXPLICIT and got.uplinks == ["uplink1", "uplink0"]
    assert got._replace(load_balance="explicit") == policy
    libtessel.clear_teaming_policy("switch0", port="web-01.eth0")
    assert libtessel.teaming_policy("switch0", port="web-01.eth0") == libtessel.teaming_policy("switch0")
    with pytest.raises(ValueError):
        TeamPolicy(active=["u%d" % i for i in range(33)]).to_record()


@pytest.mark.parametrize("argv, line", [
    (["uplinks", "nosuch"], "no switch named 'nosuch'"),
    (["lags", "nosuch", "--json"], "no switch named 'nosuch'"),
    (["teaming", "switch0", "--port", "nosuch"], "no port 'nosuch' on switch0"),
])
def test_commands_fail_with_one_line(sim, capsys, argv, line):
    out = io.StringIO()
    assert cli.main(argv, out=out) == 1
    assert out.getvalue() == "" and capsys.readouterr().err.splitlines()[-1] == "libtessel: " + line


def _host_from(tmp_path, switch):
    """Runs the tool's uplinks and lags commands (as JSON) against a host
    built from a topology of one switch: (output, standard error)."""
    import os
    import subprocess
    import sys

    from conftest import PY_TREE

    doc = tmp_path / "topology.json"
    doc.write_text(json.dumps({"switches": [switch]}))
    env = dict(os.environ, PYTHONPATH=PY_TREE, TESSEL_HOST="simulated", TESSEL_SIM_TOPOLOGY=str(doc))
    code = ("import json, libtessel\n"
            "print(json.dumps([[u.as_dict() for u in libtessel.uplinks(s)] + [l.as_dict() for l in libtessel.lags(s)]"
            " for s in libtessel.switch_names()]))")
    done = subprocess.run([sys.executable, "-c", code], env=env, capture_output=True, text=True, check=True)
    return json.loads(done.stdout), done.stderr


UPLINKS = [{"name": "uplink0", "type": "uplink", "teaming": {"link": "down", "speed": 1000}},
           {"name": "uplink1", "type": "uplink"}, {"name": "vm-01.eth0", "type": "vnic"}]


def test_topology_sets_link_state_and_lags(tmp_path):
    (rows,), errors = _host_from(tmp_path, {
        "name": "switch0", "ports": UPLINKS,
        "teaming": {"lags": [{"name": "lag7", "id": 7, "uplinks": ["uplink1", "uplink0"]}]}})
    assert errors == ""
    assert [(r["name"], r["link"], r["lacp"]) for r in rows[:2]] == [("uplink0", "down", "down"),
                                                                   ("uplink1", "up", "up")]
    assert rows[2] == {"name": "lag7", "id": 7, "state": "up",
                       "members": [{"name": "uplink1", "link": "up"}, {"name": "uplink0", "link": "down"}]}


@pytest.mark.parametrize("teaming, port_teaming, message", [
    ({"lags": [{"name": "lag1", "uplinks": ["nosuch"]}]}, None,
     "switches[0].teaming.lags[0].uplinks: no uplink nosuch on the switch"),
    ({"lags": [{"name": "a", "uplinks": ["uplink0"]}, {"name": "b", "uplinks": ["uplink0"]}]}, None,
     "switches[0].teaming.lags[1].uplinks: uplink uplink0 is in a LAG already"),
    ({"uplinkPorts": ["uplink0"]}, None,
     "switches[0].teaming.uplinkPorts: only a distributed switch has configured uplink ports"),
    ({}, {"link": "down"}, "switches[0].ports[2].teaming: only an uplink has a link"),
])
def test_topology_the_host_refuses(tmp_path, teaming, port_teaming, message):
    ports = [dict(p) for p in UPLINKS]
    if port_teaming:
        ports[2]["teaming"] = port_teaming
    rows, errors = _host_from(tmp_path, {"name": "switch0", "ports": ports, "teaming": teaming})
    assert rows == [] and message in errors
