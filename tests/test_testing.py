"""libtessel.testing: loading, dumping and resetting the simulated host,
injected statuses and abandoned calls, the fixture, and the state file."""

import contextlib
import ctypes
import io
import json
import os
import subprocess
import sys

import pytest

import _libtessel
import libtessel
import libtessel.cli as cli
from libtessel import testing
from conftest import PY_TREE

pytest_plugins = ["libtessel.testing"]

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
