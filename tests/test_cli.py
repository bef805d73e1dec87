"""The command-line tool: a table for people, stable JSON keys for scripts,
one line and an exit status for every failure."""

import io
import json
import os
import subprocess
import sys

import pytest

import libtessel
from libtessel import cli

from conftest import PY_TREE

SWITCH_KEYS = set("""name distributed dvs_name zar_id mtu min_vlan max_vlan active_ports max_ports sink_ports
    service_vm_ports flags assoc_mac_filter forwarding_disabled vdr_port_id rdma_entries rdma_tenant_entries
    vlans_in_use alias""".split())
PORT_KEYS = set("""port_id name index client client_type mac default_vlan pkts_rx pkts_tx bytes_rx bytes_tx
    dropped_rx dropped_tx""".split())
MAC_KEYS = {"mac", "type", "port_id", "vlan", "vni", "aging"}


def run(*argv):
    out = io.StringIO()
    assert cli.main(list(argv), out=out) == 0
    return out.getvalue()


def test_switches_table_and_json(sim):
    lines = run("switches").splitlines()
    assert lines[0].split() == "NAME TYPE MTU VLANS PORTS SINK FLAGS VLANS-IN-USE DVS ALIAS".split()
    rows = {line.split()[0]: line.split() for line in lines[1:]}
    assert rows["switch0"][1:4] == ["standard", "1500", "0-4094"] and rows["switch0"][-1] == "-"
    assert rows["dswitch0"][1] == "distributed" and rows["dswitch0"][-1] == "dvs-prod"
    data = json.loads(run("switches", "--json"))
    assert [d["name"] for d in data] == ["switch0", "switch1", "dswitch0", "dswitch1"]
    assert all(set(d) == SWITCH_KEYS for d in data)


def test_aliases_show_their_switch(sim):
    assert json.loads(run("aliases", "--json")) == ["dvs-prod", "dvs-lab"]
    assert [line.split() for line in run("aliases").splitlines()] == [
        ["ALIAS", "SWITCH"], ["dvs-prod", "dswitch0"], ["dvs-lab", "dswitch1"]]


def test_ports_json_and_table_agree_and_take_an_alias(sim):
    data = json.loads(run("ports", "dswitch0", "--json"))
    assert data == json.loads(run("ports", "dvs-prod", "--json"))
    assert data and all(set(d) == PORT_KEYS and d["name"] == d["client"] for d in data)
    lines = run("ports", "dswitch0").splitlines()
    assert [line.split()[:3] for line in lines] == [["PORT-ID", "CLIENT", "TYPE"]] + [
        [str(d["port_id"]), d["client"], d["client_type"]] for d in data]


def test_macs_of_a_type(sim):
    everything = json.loads(run("macs", "switch0", "--json"))
    assert everything and all(set(d) == MAC_KEYS for d in everything)
    learned = json.loads(run("macs", "switch0", "--type", "learned", "--json"))
    assert learned and [d for d in everything if d["type"] == "learned"] == learned


@pytest.mark.parametrize(
    "argv,status,line",
    [(["ports", "nosuch"], 1, "libtessel: no switch named 'nosuch'"),
     (["macs", "switch0", "--port", "nosuch"], 1, "libtessel: no port 'nosuch' on switch0"),
     (["macs", "dvs-lab", "--port", ""], 2, "libtessel: port must be a client name or a port ID, got ''"),
     (["bogus"], 2, None), (["macs", "switch0", "--type", "bogus"], 2, None), (["ports"], 2, None)],
)
def test_failures_are_one_line_and_an_exit_status(sim, capsys, argv, status, line):
    try:
        assert cli.main(argv, out=io.StringIO()) == status
    except SystemExit as exc:
        assert exc.code == status
    err = capsys.readouterr().err.splitlines()
    assert "Traceback" not in err
    if line is not None:
        assert err == ["libtessel: using the simulated host", line]


def test_version_names_the_package_and_the_host(sim, capsys):
    with pytest.raises(SystemExit) as exc:
        cli.main(["--version"])
    assert exc.value.code == 0
    assert capsys.readouterr().out == "libtessel %s, simulated host (%s)\n" % (
        libtessel.__version__, os.path.join(os.path.realpath(PY_TREE), "libtessel.so"))


def test_a_closed_pipe_ends_quietly(tmp_path):
    env = dict(os.environ, PYTHONPATH=PY_TREE)
    proc = subprocess.Popen([sys.executable, "-m", "libtessel", "switches", "--json"], cwd=tmp_path, env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    # The reader goes away before the tool writes anything.
    proc.stdout.close()
    err = proc.stderr.read().decode()
    assert proc.wait() == 0
    assert err == "libtessel: using the simulated host\n"
