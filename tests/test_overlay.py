"""Tunnel endpoints and RDMA tables: the address and slot helpers with their
bounds, the host's reference counts and RDMA table (and the switch summary
that follows it), and the layer and tool."""

import json
import struct
import sys

import pytest

import _libtessel as m
import libtessel

from conftest import msg, poke, raw

BAD = m.HYX_BAD_PARAM
LIMIT = m.HYX_LIMIT_EXCEEDED


def word(four_bytes):
    return int.from_bytes(four_bytes, sys.byteorder)


# ---- address helpers ----

@pytest.mark.parametrize("new,setv4,getv4,setv6,getv6,slot", [
    (m.new_VSRemoteTepEntry, m.VSRemoteTepEntry_set_ipv4_address, m.VSRemoteTepEntry_get_ipv4_entry,
     m.VSRemoteTepEntry_set_ipv6_address, m.VSRemoteTepEntry_get_ipv6_entry, None),
    (m.new_VSSetRdmaEntry, m.VSSetRdmaEntry_set_ipv4_address, None, m.VSSetRdmaEntry_set_ipv6_address, None, 31),
])
def test_address_words_land_in_memory_order(new, setv4, getv4, setv6, getv6, slot):
    rec = new()
    at = 0 if slot is None else 23 + 24 * slot
    pre = () if slot is None else (slot,)
    # 10.0.0.200: its last byte needs the negative int of the same pattern.
    v4 = word(bytes([10, 0, 0, 200]))
    setv4(rec, *pre, v4 - 2**32 if v4 >= 2**31 else v4)
    assert raw(rec, 4, at) == bytes([10, 0, 0, 200])
    v6 = bytes([254, 128]) + bytes(13) + b"\x01"
    for k in range(4):
        setv6(rec, *pre, k, word(v6[4 * k:4 * k + 4]))
    assert raw(rec, 16, at) == v6
    if getv4:
        assert getv6(rec) == "fe80::1"
        setv4(rec, word(bytes([10, 0, 0, 1])))
        assert getv4(rec) == "10.0.0.1"
    with pytest.raises(OverflowError):
        setv6(rec, *pre, 0, 2**32)


def test_rdma_id_text_forms():
    rid = m.new_VSRdmaID()
    poke(rid, 0, bytes([192, 0, 2, 7]))
    assert m.VSRdmaID_get_ipv4_entry(rid) == "192.0.2.7"
    poke(rid, 0, bytes.fromhex("20010db8000000000000000000000012"))
    assert m.VSRdmaID_get_ipv6_entry(rid) == "2001:db8::12"


@pytest.mark.parametrize("call", [
    lambda e: m.VSSetRdmaEntry_set_vlan_id(e, 32, 7),
    lambda e: m.VSSetRdmaEntry_set_id_type(e, -1, 7),
    lambda e: m.VSSetRdmaEntry_set_ipv4_address(e, 32, 7),
    lambda e: m.VSSetRdmaEntry_set_ipv6_address(e, 0, 4, 7),
    lambda e: m.VSSetRdmaEntry_set_ipv6_address(e, 0, -1, 7),
])
def test_slots_and_words_outside_the_record_write_nothing(capfd, call):
    e = m.new_VSSetRdmaEntry()
    assert call(e) is None
    assert capfd.readouterr().out == "Invalid array index.\n"
    assert raw(e, 791) == bytes(791)


def test_slot_setters_and_tep_word_bound(capfd):
    e = m.new_VSSetRdmaEntry()
    m.VSSetRdmaEntry_set_vlan_id(e, 31, 0x0102)
    m.VSSetRdmaEntry_set_id_type(e, 0, 0x0304)
    assert raw(e, 2, 787) == struct.pack("=H", 0x0102) and raw(e, 2, 39) == struct.pack("=H", 0x0304)
    with pytest.raises(OverflowError) as err:
        m.VSSetRdmaEntry_set_vlan_id(e, 0, 65536)
    assert str(err.value) == msg("VSSetRdmaEntry_set_vlan_id", 3, "hyx_uint16")
    tep = m.new_VSRemoteTepEntry()
    assert m.VSRemoteTepEntry_set_ipv6_address(tep, 4, 1) is None
    assert capfd.readouterr().out == "Invalid array index.\n" and raw(tep, 32) == bytes(32)


@pytest.mark.parametrize("text,stored,read", [
    ("tenant-0a", b"tenant-0", "tenant-0"),      # longer: its first 8 bytes, no NUL
    ("tnt-blue", b"tnt-blue", "tnt-blue"),
    ("ab", b"ab" + bytes(6), "ab"),
])
def test_tenant_id_has_strncpy_semantics(text, stored, read):
    e = m.new_VSSetRdmaEntry()
    poke(e, 4, b"\xff" * 8)
    m.VSSetRdmaEntry_set_tenant_id(e, text)
    assert raw(e, 8, 4) == stored and raw(e, 4, 12) == bytes(4)
    assert m.VSSetRdmaEntry_tenantID_get(e) == read
    g = m.new_VSGetRdmaEntry()
    poke(g, 8, stored)
    assert m.VSGetRdmaEntry_get_tenant_id(g) == read


@pytest.mark.parametrize("bad,exc", [(None, ValueError), ("a\0b", TypeError), (5, TypeError)])
def test_tenant_id_refusals(bad, exc):
    e = m.new_VSSetRdmaEntry()
    with pytest.raises(exc):
        m.VSSetRdmaEntry_set_tenant_id(e, bad)
    assert raw(e, 791) == bytes(791)


@pytest.mark.parametrize("copy,size", [(m.VSRemoteTepEntry___getitem__, 32), (m.VSGetRdmaEntry___getitem__, 55),
                                       (m.VSTenantEntry___getitem__, 20), (m.VSRdmaID___getitem__, 24)])
def test_element_copy_of_a_python_owned_record_stays_inside_it(capfd, copy, size):
    rec = getattr(m, "new_" + copy.__name__[:-len("___getitem__")])()
    poke(rec, size - 1, b"\x5a")
    assert raw(copy(rec, 0), size) == raw(rec, size)
    with pytest.raises(ValueError, match="element 1 lies past the end of its block, which holds 1"):
        copy(rec, 1)
    assert copy(rec, -1) is None
    assert capfd.readouterr().out == "Invalid array index.\n"


# ---- host tables ----

def tep_entry(ip4, mac=b"\x02\x00\x00\x00\x00\x01"):
    e = m.new_VSRemoteTepEntry()
    m.VSRemoteTepEntry_set_ipv4_address(e, word(bytes(ip4)))
    m.VSRemoteTepEntry_set_mac_address(e, mac)
    return e


def test_endpoints_count_their_users(sim):
    libtessel.add_tunnel_endpoint("dvs-prod", "198.51.100.1", "02:00:00:00:00:01")
    libtessel.add_tunnel_endpoint("dvs-prod", "198.51.100.1", "02:00:00:00:00:01")
    teps = {t.address: t for t in libtessel.tunnel_endpoints("dvs-prod")}
    assert teps["198.51.100.1"] == ("198.51.100.1", "02:00:00:00:00:01", False, 2, 0)
    assert teps["2001:db8::12"].ipv6 and teps["192.0.2.11"].ref_count == 3
    with pytest.raises(libtessel.AlreadyExists):
        libtessel.add_tunnel_endpoint("dvs-prod", "198.51.100.1", "02:00:00:00:00:02")
    for _ in range(2):
        libtessel.remove_tunnel_endpoint("dvs-prod", "198.51.100.1")
    assert "198.51.100.1" not in {t.address for t in libtessel.tunnel_endpoints("dvs-prod")}
    with pytest.raises(libtessel.NotFound):
        libtessel.remove_tunnel_endpoint("dvs-prod", "198.51.100.1")


@pytest.mark.parametrize("entry", [
    lambda: tep_entry([0, 0, 0, 0]),                                       # no address
    lambda: tep_entry([10, 0, 0, 1], b"\x01\x00\x5e\x00\x00\x01"),         # multicast MAC
    lambda: tep_entry([10, 0, 0, 1], bytes(6)),
    lambda: (lambda e: (m.VSRemoteTepEntry_isIPv6_set(e, 2), e)[1])(tep_entry([10, 0, 0, 1])),
    lambda: None,
])
def test_endpoint_refusals(sim, entry):
    assert m.VSHYX_SetRemoteTepTable("dswitch0", entry()) == BAD
    assert len(libtessel.tunnel_endpoints("dvs-prod")) == 2


def test_table_entry_copy_reads_its_own_bytes(sim):
    status, table = m.VSHYX_GetRemoteTepTable("dswitch0")
    try:
        first = m.VSRemoteTepEntries_entry_get(table)
        assert raw(m.VSRemoteTepEntry___getitem__(first, 1), 32) == raw(table, 32, 40)
    finally:
        m.VSHYX_FreeMemory(table)


def test_rdma_table_tenants_and_summary_follow(sim):
    summary = libtessel.switch_summary("dvs-prod")
    assert (summary.rdma_entries, summary.rdma_tenant_entries) == (2, 1)
    libtessel.set_rdma_ids("dvs-prod", "prod-db-02.eth0", "tnt-blue", ["10.20.0.6"], vlan=100)
    libtessel.set_rdma_ids("dvs-prod", "prod-app-01.eth0", "tnt-red", ["10.30.0.1", "fd00:30::1"], vtep_label=9)
    entries = libtessel.rdma_entries("dvs-prod")
    assert [e.address for e in entries] == ["10.20.0.5", "fd00:20::5", "10.20.0.6", "10.30.0.1", "fd00:30::1"]
    assert entries[-1].tenant == "tnt-red" and entries[-1].vtep_label == 9
    assert sorted(t[1:] for t in libtessel.tenants("dvs-prod")) == [("tnt-blue", 2), ("tnt-blue", 2), ("tnt-red", 1)]
    summary = libtessel.switch_summary("dvs-prod")
    assert (summary.rdma_entries, summary.rdma_tenant_entries) == (5, 2)

    status, table = m.VSHYX_GetRdmaTable("dswitch0")
    try:
        copy = m.VSGetRdmaEntry___getitem__(m.VSRdmaEntries_entry_get(table), 2)
        assert raw(copy, 55) == raw(table, 55, 118)
    finally:
        m.VSHYX_FreeMemory(table)

    libtessel.clear_rdma_ids("dvs-prod", "prod-app-01.eth0", "tnt-red")
    with pytest.raises(libtessel.NotFound):
        libtessel.clear_rdma_ids("dvs-prod", "prod-app-01.eth0", "tnt-red")
    assert libtessel.switch_summary("dvs-prod").rdma_entries == 3


@pytest.mark.parametrize("change,status", [
    (lambda e: m.VSSetRdmaEntry_numIDs_set(e, 33), LIMIT),
    (lambda e: m.VSSetRdmaEntry_numIDs_set(e, 0), BAD),
    (lambda e: m.VSSetRdmaEntry_set_vlan_id(e, 0, 4095), LIMIT),
    (lambda e: m.VSSetRdmaEntry_set_id_type(e, 0, 3), BAD),
    (lambda e: m.VSSetRdmaEntry_set_ipv4_address(e, 0, 0), BAD),
    (lambda e: m.VSSetRdmaEntry_set_tenant_id(e, ""), BAD),
    (lambda e: m.VSSetRdmaEntry_portID_set(e, 1), m.HYX_NOT_FOUND),
])
def test_rdma_refusals_keep_the_table(sim, change, status):
    e = m.new_VSSetRdmaEntry()
    m.VSSetRdmaEntry_numIDs_set(e, 1)
    m.VSSetRdmaEntry_portID_set(e, libtessel.port_info("dvs-prod", "prod-db-03.eth0").portID)
    m.VSSetRdmaEntry_set_tenant_id(e, "tnt-x")
    m.VSSetRdmaEntry_set_ipv4_address(e, 0, word(bytes([10, 9, 9, 9])))
    m.VSSetRdmaEntry_set_id_type(e, 0, 1)
    change(e)
    assert m.VSHYX_SetRdmaTable("dswitch0", e) == status
    assert len(libtessel.rdma_entries("dvs-prod")) == 2


@pytest.mark.parametrize("call,status", [
    (lambda: m.VSHYX_SetRdma("dswitch0", "\x01"), 0),
    (lambda: m.VSHYX_SetRdma("dswitch0", 2), BAD),
    (lambda: m.VSHYX_SetRdmaSNIC("dswitch0", 1, 0), 0),
    (lambda: m.VSHYX_SetRdmaSNIC("dswitch0", 0, 2), BAD),
    (lambda: m.VSHYX_SetRdma("nosuch", 1), m.HYX_NOT_FOUND),
])
def test_rdma_switch_settings(sim, call, status):
    assert call() == status


@pytest.mark.parametrize("argv,code,keys", [
    (["teps", "dvs-prod", "--json"], 0, ["address", "mac", "ipv6", "ref_count", "entry_type"]),
    (["rdma", "dswitch0", "--json"], 0, ["port_id", "tenant", "address", "vlan", "vtep_label", "remote"]),
    (["teps", "nosuch"], 1, None),
])
def test_overlay_commands(capsys, argv, code, keys):
    from libtessel import cli

    assert cli.main(argv) == code
    out, err = capsys.readouterr()
    if keys is None:
        assert "no switch named 'nosuch'" in err
    else:
        rows = json.loads(out)
        assert len(rows) == 2 and list(rows[0]) == keys


@pytest.mark.parametrize("switch,error", [
    ('"overlay": {"endpoints": [{"address": "10.0.0.300", "mac": "02:00:00:00:00:01"}]}',
     'switches[0].overlay.endpoints[0].address: "10.0.0.300" is not an IPv4 or IPv6 address'),
    ('"overlay": {"rdmaIds": [{"port": "p", "tenant": "tenant-too-long", "ids": ["10.0.0.1"]}]}',
     "switches[0].overlay.rdmaIds[0].tenant: a tenant id is 1 to 8 bytes"),
    ('"vlan": {"pvlanMap": [{"primary": 5, "secondary": 6, "type": "promisc"}]}',
     "switches[0].vlan.pvlanMap[0].secondary: only a promiscuous entry"),
    ('"vlan": {"rcfType": "xbpf"}', 'switches[0].vlan.rcfType: "xbpf" is none of cbpf, ebpf'),
])
def test_topology_refusals_name_the_value(tmp_path, switch, error):
    import os
    import subprocess

    path = tmp_path / "topology.json"
    path.write_text('{"switches": [{"name": "a", %s, "ports": [{"name": "p"}]}]}' % switch)
    from conftest import PY_TREE

    env = dict(os.environ, TESSEL_SIM_TOPOLOGY=str(path), PYTHONPATH=PY_TREE)
    run = subprocess.run([sys.executable, "-c", "import _libtessel as m; print(m.VSHYX_GetRdmaTable('a')[0])"],
                         env=env, capture_output=True, text=True, check=True)
    assert error in run.stderr and run.stdout.strip() == str(m.HYX_NOT_FOUND)
