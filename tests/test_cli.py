"""The command-line tool: a table for people, stable JSON keys for scripts."""

import io
import json

import pytest

from libtessel import cli

SWITCH_KEYS = {
    "name", "distributed", "dvs_name", "zar_id", "mtu", "min_vlan", "max_vlan", "active_ports",
    "max_ports", "sink_ports", "service_vm_ports", "flags", "assoc_mac_filter",
    "forwarding_disabled", "vdr_port_id", "rdma_entries", "rdma_tenant_entries", "vlans_in_use",
}


def run(*argv):
    out = io.StringIO()
    assert cli.main(list(argv), out=out) == 0
    return out.getvalue()


def test_switches_table(sim):
    lines = run("switches").splitlines()
    assert lines[0].split() == ["NAME", "TYPE", "MTU", "VLANS", "PORTS", "SINK", "FLAGS", "VLANS-IN-USE", "DVS"]
    rows = {line.split()[0]: line.split() for line in lines[1:]}
    assert rows["switch0"][1:4] == ["standard", "1500", "0-4094"]
    assert rows["dswitch0"][1] == "distributed"


def test_switches_json_keys_are_stable(sim):
    data = json.loads(run("switches", "--json"))
    assert [d["name"] for d in data] == ["switch0", "switch1", "dswitch0", "dswitch1"]
    assert all(set(d) == SWITCH_KEYS for d in data)


def test_aliases(sim):
    assert json.loads(run("aliases", "--json")) == ["dvs-prod", "dvs-lab"]
    assert run("aliases").split() == ["ALIAS", "dvs-prod", "dvs-lab"]


def test_unknown_command_fails():
    with pytest.raises(SystemExit):
        cli.main(["bogus"], out=io.StringIO())


PORT_KEYS = {"port_id", "index", "client", "client_type", "mac", "default_vlan", "pkts_rx", "pkts_tx",
             "bytes_rx", "bytes_tx", "dropped_rx", "dropped_tx"}
MAC_KEYS = {"mac", "type", "port_id", "vlan", "vni", "aging"}


def test_ports_json_and_table_agree(sim):
    data = json.loads(run("ports", "switch0", "--json"))
    assert data and all(set(d) == PORT_KEYS for d in data)
    lines = run("ports", "switch0").splitlines()
    assert lines[0].split()[:4] == ["PORT-ID", "CLIENT", "TYPE", "MAC"]
    assert [line.split()[1] for line in lines[1:]] == [d["client"] for d in data]


def test_macs_of_a_port(sim):
    everything = json.loads(run("macs", "switch0", "--json"))
    assert everything and all(set(d) == MAC_KEYS for d in everything)
    port = json.loads(run("macs", "switch0", "--port", "web-01.eth0", "--json"))
    assert port and all(d in everything for d in port) and len(port) < len(everything)


def test_unknown_switch_is_an_error_not_a_traceback(sim, capsys):
    assert cli.main(["ports", "no-such-switch"], out=io.StringIO()) == 1
    assert "VSHYX_GetSwitchPortInfo('no-such-switch') failed" in capsys.readouterr().err
