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
