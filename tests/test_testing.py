"""libtessel.testing: loading, dumping and resetting the simulated host,
injected statuses and abandoned calls, the fixture, and the state file."""

import contextlib
import ctypes
import io
import json
import os
import subprocess
import sys
import time

import pytest

import _libtessel
import libtessel
import libtessel.cli as cli
from libtessel import testing
from conftest import PY_TREE

from libtessel.testing import tessel_host, tessel_topology  # noqa: F401  (the fixtures)

SWITCHES = ("switch0", "switch1", "dswitch0", "dswitch1")
PER_SWITCH = ("ports", "macs", "uplinks", "teaming", "lags", "vlan", "teps", "rdma", "mcast")


# Record sizes, from the published inventory.
PORT_INFO_SIZE = 1685
SWITCH_INFO_SIZE = 8422
MAC_ENTRY_SIZE = 103


def raw(record, size):
    return ctypes.string_at(int(record.this), size)


def cli_json(*args):
    out = io.StringIO()
    with contextlib.redirect_stdout(out):
        assert cli.main(list(args) + ["--json"]) == 0
    return json.loads(out.getvalue())


def answers():
    """What the host's Get calls say, through the layer and the raw records."""
    seen = {"switches": cli_json("switches"), "options": cli_json("options"),
            "modes": (_libtessel.VSHYX_GetL3IsoTestMode(), _libtessel.VSHYX_GetBridgeFastpathConfig())}
    for sw in SWITCHES:
        for command in PER_SWITCH:
            seen[command, sw] = cli_json(command, sw)
        if sw.startswith("d"):
            seen["mirror", sw] = cli_json("mirror", sw)
        seen["info", sw] = raw(libtessel.switch_info(sw), SWITCH_INFO_SIZE)
        for port in libtessel.port_summaries(sw):
            seen["teaming", sw, port.name] = cli_json("teaming", sw, "--port", port.name)
            seen["port", sw, port.name] = raw(libtessel.port_info(sw, port.name), PORT_INFO_SIZE)
            stats, cfg = libtessel.VSPMACLearningStatsPortInfo(), libtessel.VSPMACLearning()
            _libtessel.VSHYX_GetPortMACLearningStats(sw, port.name, stats)
            _libtessel.VSDVS_GetPortMACLearning(sw, port.name, cfg)
            seen["learning", sw, port.name] = raw(stats, 52), raw(cfg, 10)
            seen["choices", sw, port.name] = (_libtessel.VSDVS_GetPortTeamingOverride(sw, port.name),
                                              _libtessel.VSDVS_GetTxUplinkAlways(sw, port.name),
                                              _libtessel.VSDVS_GetPortNestedVLANTagging(sw, port.name))
        with libtessel.mac_table(sw) as walk:
            seen["table", sw] = [raw(entry, MAC_ENTRY_SIZE) for entry in walk]
    return seen


def change_everything():
    """A round of changes through the layer, one or more per subsystem."""
    libtessel.set_uplink_admin_state("switch0", "uplink1", "down")
    policy = libtessel.teaming_policy("switch0")
    libtessel.set_teaming_policy("switch0", policy._replace(active=["uplink1"], standby=["uplink0"]))
    libtessel.set_port_vlan_policy("switch0", "web-01.eth0", ranges=[(100, 199)], flags=["guest-tagging"])
    libtessel.set_static_mac("switch0", "web-01.eth0", "0a-1b-2c-3d-4e-5f", vid=10)
    libtessel.set_static_mac("switch1", "build-01.eth0", "02:aa:01:00:00:09", vid=30, addr_type="user")
    dst = libtessel.port_summary("dvs-prod", "prod-app-01.eth0").port_id
    libtessel.append_mirror_sessions("dvs-prod", [libtessel.mirror_session("span-web", "web", [dst], ["uplink4"],
                                                                           snap_len=128)])
    libtessel.set_mcast_filter_mode("switch1", "snooping")
    libtessel.set_user_mcast_macs("switch0", ["01:00:5e:01:02:03"])
    libtessel.set_options(IGMPQueries=5, MLDRouterIP="fe80::1")
    libtessel.add_tunnel_endpoint("dvs-prod", "198.51.100.7", "02:5e:00:00:0d:01")
    libtessel.set_rdma_ids("dvs-prod", "prod-web-01.eth0", "tnt-red", ["10.30.0.9"], vlan=100, vtep_label=3)
    cfg = libtessel.VSPMACLearning()
    cfg.learning, cfg.flooding, cfg.macLimit = "\x01", "\x00", 128
    cfg.macLimitPolicy = _libtessel.VSPORT_MAC_LEARNING_LIMIT_POLICY_DROP
    extra = _libtessel.new_VSExtraEthFilter()
    _libtessel.VSExtraEthFilter_flags_set(extra, 7)
    _libtessel.VSExtraEthFilter_numMulticastAddrs_set(extra, 1)
    ctypes.memmove(int(extra) + 6, bytes([0x01, 0, 0x5e, 0, 0, 9]), 6)
    m = _libtessel
    statuses = [
        m.VSDVS_SetPortMACLearning("switch0", "web-01.eth0", cfg),
        m.VSDVS_SetPortTeamingOverride("switch0", "web-01.eth0", "uplink1"),
        m.VSDVS_SetTxUplinkAlways("switch0", "db-01.eth0", 1),
        m.VSDVS_SetPortNestedVLANTagging("switch0", "db-01.eth0", 1),
        m.VSDVS_SetExtraEthFilter("switch0", "app-01.eth0", extra),
        m.VSDVS_ConfigureSinkPort("dswitch0", "prod-web-02.eth0", 1),
        m.VSDVS_SetMTU("switch1", 4000),
        m.VSDVS_SetRCFType("switch1", m.ZEB_RCF_INSN_TYPE_EBPF),
        m.VSDVS_SetTeamMacLearning("dswitch1", 0),
        m.VSDVS_SetCaching("switch0", "\x01"),
        m.VSDVS_RemoveSwitchUplinkPort("dswitch0", "uplink5"),
        m.VSHYX_SetL3IsoTestMode(2),
        m.VSHYX_SetBridgeFastpathConfig(1),
    ]
    m.delete_VSExtraEthFilter(extra)
    assert statuses == [m.HYX_OK] * len(statuses)


def test_round_trip_after_changes_gives_the_same_dump_and_answers(tessel_host):
    change_everything()
    before_dump = testing.dump()
    before = answers()
    testing.load(before_dump)
    assert testing.dump() == before_dump
    assert answers() == before
    # and reset goes back to what was loaded, not to the default
    libtessel.set_uplink_admin_state("switch0", "uplink0", "down")
    testing.reset()
    assert testing.dump() == before_dump


def uplink_link(switch, name):
    return {u.name: u.link for u in libtessel.uplinks(switch)}[name]


@pytest.mark.parametrize("status,error", [
    ("HYX_NOT_FOUND", libtessel.NotFound),
    (_libtessel.HYX_BUSY, libtessel.Busy),
    ("HYX_IO_ERROR", libtessel.HostError),
])
def test_injected_status_is_returned_once_without_running(tessel_host, status, error):
    tessel_host.inject_status("VSHYX_SetUplinkAdminLinkState", status)
    with pytest.raises(error) as raised:
        libtessel.set_uplink_admin_state("switch0", "uplink0", "down")
    assert raised.value.status == (status if isinstance(status, int) else getattr(_libtessel, status))
    assert uplink_link("switch0", "uplink0").name == "UP"     # the function did not run
    libtessel.set_uplink_admin_state("switch0", "uplink0", "down")  # used up: the next call runs
    assert uplink_link("switch0", "uplink0").name == "DOWN"


def test_injections_reach_the_store_library_and_are_cleared(tessel_host):
    tessel_host.inject_status("DVSHYX_SwitchRemove", "HYX_BUSY")
    tessel_host.inject_status("VSHYX_GetVSInfo", "HYX_NOT_FOUND")
    assert _libtessel.DVSHYX_SwitchRemove("nosuch") == _libtessel.HYX_BUSY
    tessel_host.clear_injections()
    assert _libtessel.DVSHYX_SwitchRemove("nosuch") == _libtessel.HYX_NOT_FOUND
    assert libtessel.switch_summary("switch0").name == "switch0"


def test_abandoned_call_raises_the_given_exception(tessel_host):
    tessel_host.inject_abandon("VSHYX_GetUplinks", "link monitor gone", exception=OSError)
    with pytest.raises(OSError, match="link monitor gone"):
        libtessel.uplinks("switch0")
    assert [u.name for u in libtessel.uplinks("switch0")] == ["uplink0", "uplink1"]


@pytest.mark.parametrize("call,error,match", [
    (lambda: testing.inject_status("VSHYX_NoSuchCall", 1), ValueError, "no host function named"),
    (lambda: testing.inject_status("VSHYX_FreeMemory", 1), ValueError, "returns no status"),
    (lambda: testing.inject_status("DVSData_Alloc", 1), ValueError, "returns no status"),
    (lambda: testing.inject_status("VSHYX_GetVSInfo", "HYX_NO_SUCH"), ValueError, "no status constant"),
    (lambda: testing.inject_status("VSHYX_GetVSInfo", "VS_MAX_PORTS"), ValueError, "no status constant"),
    (lambda: testing.inject_status("VSHYX_GetVSInfo", 2**40), ValueError, "32-bit"),
    (lambda: testing.inject_status("VSHYX_GetVSInfo", True), TypeError, "int or a status"),
    (lambda: testing.inject_abandon("VSHYX_NoSuchCall"), ValueError, "no host function named"),
    (lambda: testing.inject_abandon("VSHYX_GetVSInfo", exception=42), TypeError, "exception class"),
    (lambda: testing.load(42), TypeError, "a path or a dict"),
])
def test_bad_injections_and_loads_are_refused(tessel_host, call, error, match):
    with pytest.raises(error, match=match):
        call()
    assert libtessel.switch_summary("switch0").name == "switch0"   # nothing armed


def test_more_injections_than_slots_are_refused(tessel_host):
    base = testing._libraries()[1]
    names = [n for n in dir(_libtessel) if n.startswith("VSHYX_Get") and base.tessel_sim_known_function(n.encode()) == 1]
    assert len(names) > 16
    for name in names[:16]:
        testing.inject_status(name, 1)
    with pytest.raises(RuntimeError, match="16 statuses"):
        testing.inject_status(names[16], 1)


def one_switch(**extra):
    """A small document, with extra merged into its only switch."""
    sw = {"name": "s0", "distributed": True, "alias": "dvs-t", "kernel": {"dvsName": "50 00-00"},
          "ports": [{"name": "uplink0", "type": "uplink"}, {"name": "hostport0", "type": "tcpip"},
                    {"name": "vm-01.eth0", "type": "vnic"}]}
    sw.update(extra)
    return {"switches": [sw]}


@pytest.mark.parametrize("document,message", [
    ({"switches": {}}, "switches: expected a list, found object"),
    (one_switch(teaming={"lags": [{"name": "lag1", "uplinks": ["hostport0"]}]}),
     "switches[0].teaming.lags[0].uplinks: no uplink hostport0 on the switch"),
    (one_switch(mirror={"sessions": [{"sid": "s1", "destinations": ["vm-09.eth0"]}]}),
     "switches[0].mirror.sessions[0].destinations: no port vm-09.eth0 on the switch"),
    (one_switch(mirror={"table": "00"}), "switches[0].mirror.table: shorter than"),
    (one_switch(mac={"table": [{"port": "vm-01.eth0", "address": "02:00:00:00:00:01"},
                               {"port": "uplink0", "address": "02:00:00:00:00:01"}]}),
     "switches[0].mac.table[1].address: the table has an entry"),
    (one_switch(kernel={"dvsName": "50 00-00", "vdrPort": "router"}),
     "switches[0].kernel.vdrPort: no port router on the switch"),
    (one_switch(teaming={"policy": {"loadBalance": 9}}),
     "switches[0].teaming.policy: the host refuses this policy"),
    ({"switches": [{"name": "s", "ports": [{"name": "p", "type": "vnic",
                                             "teaming": {"override": "uplink7"}}]}]},
     "switches[0].ports[0].teaming.override: no uplink uplink7 on the switch"),
    ({"switches": [{"name": "s", "ports": [{"name": "p", "vlan": {"policy": {"ranges": [{"first": 5}]}}}]}]},
     "switches[0].ports[0].vlan.policy.ranges: only a port that tags"),
    ({"options": {"rtmPhase": "halfway"}, "switches": []}, "options.rtmPhase: \"halfway\" is none of"),
    ({"clock": -1, "switches": []}, "clock: negative value -1"),
])
def test_refused_topology_names_the_place_and_keeps_the_host(tessel_host, document, message):
    before = testing.dump()
    with pytest.raises(testing.TopologyError) as raised:
        testing.load(document)
    assert message in str(raised.value)
    assert testing.dump() == before


def test_file_topology_and_fixture_topology(tessel_host, tmp_path):
    path = tmp_path / "small.json"
    path.write_text(json.dumps(one_switch()))
    testing.load(str(path))
    assert libtessel.switch_names() == ["s0"]
    testing.reset()
    assert libtessel.switch_names() == ["s0"]
    path.write_text("{\"switches\": [")
    with pytest.raises(testing.TopologyError, match=str(path)):
        testing.load(path)
    testing.load_default()
    assert libtessel.switch_names() == list(SWITCHES)


def test_refused_against_a_real_host(monkeypatch):
    from libtessel import _host

    monkeypatch.setattr(_host, "host", lambda: _host.Host(_host.REAL, "_libtessel.so", {}))
    monkeypatch.setattr(testing, "_libs", None)
    with pytest.raises(RuntimeError, match="only against the simulated host"):
        testing.dump()


def run(args, env, cwd=None):
    return subprocess.run([sys.executable] + args, env=env, cwd=cwd, capture_output=True, text=True, timeout=120)


def child_env(**extra):
    env = dict(os.environ, TESSEL_HOST="simulated", PYTHONPATH=PY_TREE)
    env.pop("TESSEL_SIM_TOPOLOGY", None)
    env.update(extra)
    return env


def test_state_file_carries_changes_from_one_command_to_the_next(tmp_path):
    state = tmp_path / "host.json"
    env = child_env(TESSEL_SIM_STATE=str(state))
    # A command that only reads creates the file from the topology.
    assert run(["-m", "libtessel", "aliases"], env).returncode == 0
    assert [sw["name"] for sw in json.loads(state.read_text())["switches"]] == list(SWITCHES)
    first = run(["-c", "import _libtessel as m; "
                       "assert m.VSHYX_SetUplinkAdminLinkState('switch0', 'uplink1', m.HYX_LINK_STATE_DOWN) == 0"],
                env)
    assert first.returncode == 0, first.stderr
    assert json.loads(state.read_text())["clock"] > 0
    second = run(["-m", "libtessel", "uplinks", "switch0", "--json"], env)
    assert second.returncode == 0, second.stderr
    assert {u["name"]: u["link"] for u in json.loads(second.stdout)} == {"uplink0": "up", "uplink1": "down"}
    # No temporary file is left beside the state.
    assert sorted(p.name for p in tmp_path.iterdir()) == ["host.json", "host.json.lock"]
    # A broken state file is reported and never written over.
    state.write_text("{\"switches\": 3}")
    third = run(["-m", "libtessel", "switches", "--json"], env)
    assert "switches: expected a list" in third.stderr
    assert state.read_text() == "{\"switches\": 3}"
    # A state file that cannot be kept is reported, and no other host is used.
    fourth = run(["-m", "libtessel", "uplinks", "switch0"], child_env(TESSEL_SIM_STATE=str(tmp_path / "no" / "host.json")))
    assert fourth.returncode == 1 and "host.json.lock: cannot be opened" in fourth.stderr



LONG_LIVED = """
import sys, libtessel
libtessel.switch_names()
sys.stdin.readline()                      # another command runs meanwhile
libtessel.set_uplink_admin_state("switch0", "uplink0", "down")
print(sorted(u.name for u in libtessel.uplinks("switch0") if u.link.name == "DOWN"))
"""


def test_a_running_process_takes_another_commands_change_before_its_own(tmp_path):
    env = child_env(TESSEL_SIM_STATE=str(tmp_path / "host.json"))
    waiting = subprocess.Popen([sys.executable, "-c", LONG_LIVED], env=env, stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    try:
        deadline = time.monotonic() + 60
        while not (tmp_path / "host.json").exists() and waiting.poll() is None and time.monotonic() < deadline:
            time.sleep(0.01)  # the first call creates the file
        other = run(["-c", "import libtessel; libtessel.set_uplink_admin_state('switch0', 'uplink1', 'down')"], env)
        assert other.returncode == 0, other.stderr
        out, err = waiting.communicate("go\n", timeout=120)
    finally:
        if waiting.poll() is None:
            waiting.kill()
    assert waiting.returncode == 0, err
    assert out.strip() == "['uplink0', 'uplink1']"
    last = run(["-m", "libtessel", "uplinks", "switch0", "--json"], env)
    assert [u["link"] for u in json.loads(last.stdout)] == ["down", "down"]


EXAMPLE_TEST = '''
import pytest
import libtessel

LAB = {"switches": [{"name": "lab0", "ports": [{"name": "uplink0", "type": "uplink"}]}]}


def test_uplink_change_refused_by_a_busy_host(tessel_host):
    tessel_host.inject_status("VSHYX_SetUplinkAdminLinkState", "HYX_BUSY")
    with pytest.raises(libtessel.Busy):
        libtessel.set_uplink_admin_state("switch0", "uplink0", "down")


@pytest.mark.tessel_topology(LAB)
def test_marker_topology(tessel_host):
    assert libtessel.switch_names() == ["lab0"]


class TestOwnTopology:
    @pytest.fixture
    def tessel_topology(self):
        return LAB

    def test_fixture_topology(self, tessel_host):
        libtessel.set_uplink_admin_state("lab0", "uplink0", "down")


def test_default_is_back(tessel_host):
    assert "switch0" in libtessel.switch_names()
'''


def test_plugin_in_a_script_authors_suite(tmp_path):
    (tmp_path / "conftest.py").write_text('pytest_plugins = ["libtessel.testing"]\n')
    (tmp_path / "test_example.py").write_text(EXAMPLE_TEST)
    result = run(["-m", "pytest", "-q", "-p", "no:cacheprovider", str(tmp_path)], child_env(), cwd=tmp_path)
    assert result.returncode == 0, result.stdout + result.stderr
    assert "4 passed" in result.stdout and "warning" not in result.stdout


def ls_policies(sw, port):
    """Two logical-switch policies on sw, the first chosen by port."""
    m = _libtessel
    table = m.alloc_ls_team_table(2)
    for i, name in enumerate(("gold", "silver")):
        policy = m.LSTeamTable___getitem__(table, i)
        m.LSTeamPolicy_name_set(policy, name)
        m.LSTeamPolicy_numActive_set(policy, 1)
        m.LSTeamPolicy___setitem__(policy, 0, "uplink4")
    try:
        return [m.VSDVS_SetLSTeamingPolicy(sw, table), m.VSDVS_SetPortLSTeamingPolicy(sw, port, "gold")]
    finally:
        m.free_ls_team_table(table)


def rtm_save():
    query = _libtessel.alloc_rtm_query(1)
    _libtessel.RTM_Portset_psName_set(_libtessel.RTMIOCtlQuery___getitem__(query, 0), "switch0")
    try:
        return [_libtessel.VSHYX_RTMOp(query, _libtessel.RTM_IOCCMD_SAVE)]
    finally:
        _libtessel.free_rtm_query(query)


def rdma_two_vlans():
    """Two identifiers of one port and tenant on VLANs of their own."""
    m = _libtessel
    entry = m.new_VSSetRdmaEntry()
    m.VSSetRdmaEntry_numIDs_set(entry, 2)
    m.VSSetRdmaEntry_portID_set(entry, libtessel.port_info("dvs-prod", "prod-db-03.eth0").portID)
    m.VSSetRdmaEntry_set_tenant_id(entry, "tnt-x")
    for i, vlan in enumerate((100, 200)):
        m.VSSetRdmaEntry_set_ipv4_address(entry, i, int.from_bytes(bytes([10, 9, 9, 1 + i]), "little"))
        m.VSSetRdmaEntry_set_id_type(entry, i, 1)  # IPv4
        m.VSSetRdmaEntry_set_vlan_id(entry, i, vlan)
    try:
        return [m.VSHYX_SetRdmaTable("dswitch0", entry)]
    finally:
        m.delete_VSSetRdmaEntry(entry)


@pytest.mark.parametrize("change,probe", [
    (lambda: ls_policies("dswitch0", "prod-web-01.eth0"),
     lambda: _libtessel.VSDVS_GetPortLSTeamingPolicyName("dswitch0", "prod-web-01.eth0")),
    (lambda: [libtessel.set_teaming_policy("dvs-prod", libtessel.teaming_policy("dvs-prod")._replace(
        active=["uplink5"], standby=["uplink4"]), port="hostport2")],
     lambda: (cli_json("teaming", "dvs-prod", "--port", "hostport2"), cli_json("teaming", "dvs-prod"))),
    (lambda: [libtessel.set_port_vlan_policy("dswitch0", "prod-app-02.eth0", vlan_id=201, flags=["pvlan"])],
     lambda: (cli_json("vlan", "dswitch0"), raw(libtessel.port_info("dswitch0", "prod-app-02.eth0"),
                                                PORT_INFO_SIZE))),
    (rtm_save, lambda: rtm_save()),
    (lambda: [_libtessel.VSDVS_AddSwitchUplinkPort("dswitch1", "uplink-spare")],
     lambda: cli_json("teaming", "dswitch1")),
    (lambda: [libtessel.append_mirror_sessions("dvs-lab", [libtessel.mirror_session(
        "rspan", "to the lab", ingress=["uplink6"], type="encapsulated-source", encapsulation="erspan3",
        encap_vlan=300, gre_key=7, erspan_id=9, enabled=False)])],
     lambda: cli_json("mirror", "dvs-lab")),
    (lambda: [libtessel.clear_static_mac("dswitch0", "prod-web-01.eth0", "02:aa:02:00:00:01", vid=100,
                                         addr_type="user"),
              libtessel.remove_tunnel_endpoint("dswitch0", "192.0.2.11")],
     lambda: (cli_json("macs", "dswitch0"), cli_json("teps", "dswitch0"))),
    (lambda: [libtessel.set_user_mcast_macs("dswitch0", ["01:00:5e:00:00:42"], port="hostport3"),
              libtessel.clear_rdma_ids("dswitch0", "prod-db-01.eth0", "tnt-blue")],
     lambda: (libtessel.user_mcast_macs("dswitch0", port="hostport3"), cli_json("rdma", "dswitch0"),
              cli_json("switches"))),
    (rdma_two_vlans, lambda: cli_json("rdma", "dswitch0")),
], ids=["ls-policies", "port-policy", "private-vlan", "rtm-phase", "uplink-ports", "mirror", "removals",
        "mcast-rdma", "rdma-vlans"])
def test_each_change_survives_dump_and_load(tessel_host, change, probe):
    default = testing.dump()
    assert all(status in (None, _libtessel.HYX_OK) for status in change())
    changed, seen = testing.dump(), probe()
    assert changed != default
    testing.load(changed)
    assert testing.dump() == changed
    assert probe() == seen
