"""The layer's ports: a port is its client name or its port ID, given as an
int or as text, everywhere; summaries use named client types."""

import pytest

import libtessel
from libtessel import ClientType


def test_a_port_is_its_client_name_or_its_id(sim):
    web = libtessel.port_summary("switch0", "web-01.eth0")
    for ref in (web.port_id, str(web.port_id)):
        assert libtessel.port_summary("switch0", ref) == web
        assert libtessel.port_info("switch0", ref).clientName == "web-01.eth0"
        assert libtessel.mac_summaries("switch0", ref) == libtessel.mac_summaries("switch0", "web-01.eth0")
    assert web.client_type is ClientType.VNIC and web.client_type == "vnic" and web.name == "web-01.eth0"
    row = libtessel.port_summary("switch0", "uplink0").as_dict()
    assert row["client_type"] == "uplink" and row["name"] == row["client"] == "uplink0"


@pytest.mark.parametrize(
    "ref,exc,message",
    [
        ("nosuch", libtessel.NotFound, "no port 'nosuch' on switch0"),
        (2**32 - 1, libtessel.NotFound, "no port 4294967295 on switch0"),
        (2**32, ValueError, "port must be within 0..4294967295, got 4294967296"),
        (-1, ValueError, "port must be within 0..4294967295, got -1"),
        (True, TypeError, "port must be a client name (str) or a port ID (int), not bool"),
        (None, TypeError, "port must be a client name (str) or a port ID (int), not NoneType"),
        ("web-01.eth0\0x", ValueError, "port must be a client name or a port ID, got 'web-01.eth0\\x00x'"),
    ],
)
def test_port_refusals(sim, ref, exc, message):
    with pytest.raises(exc) as err:
        libtessel.port_info("switch0", ref)
    assert str(err.value) == message


def test_counters_of_every_port_and_of_one(sim):
    every = {c.port_id: c for c in libtessel.port_counters("dvs-prod")}
    web = libtessel.port_summary("dvs-prod", "prod-app-01.eth0")
    one, = libtessel.port_counters("dswitch0", web.port_id)
    assert every[web.port_id] == one and len(every) == len(libtessel.port_summaries("dvs-prod"))
    # The traffic counters agree with the port's summary; every counter of
    # the host's records is there, under its snake-case name.
    assert (one.traffic["pkts_rx"], one.traffic["dropped_tx"]) == (web.pkts_rx, web.dropped_tx)
    assert (len(one.traffic), len(one.errors), len(one.info)) == (14, 9, 19)
    assert "br_l3_iso_arp_hdr_find_err" in one.errors and "loop_back_pkt_drop_cnt" in one.info


@pytest.mark.parametrize("call, exc", [
    (lambda: libtessel.port_counters("nosuch"), libtessel.NotFound),
    (lambda: libtessel.port_counters("switch0", "nosuch"), libtessel.NotFound),
    (lambda: libtessel.rarp_stats("nosuch"), libtessel.NotFound),
    (lambda: libtessel.rarp_stats(7), TypeError),
])
def test_counter_refusals(sim, call, exc):
    with pytest.raises(exc):
        call()
