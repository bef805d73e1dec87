"""The layer's switches: names and aliases accepted everywhere, summaries as
plain values, the errors a caller can act on, and the package's surface."""

import json

import pytest

import _libtessel as m
import libtessel


@pytest.mark.parametrize("ref", ["dswitch0", "dvs-prod"])
def test_a_switch_is_named_by_name_or_alias_everywhere(sim, ref):
    assert libtessel.resolve_switch(ref) == "dswitch0"
    assert libtessel.switch_summary(ref) == libtessel.switch_summary("dswitch0")
    assert libtessel.switch_info(ref).mtu == 9000
    assert libtessel.port_summaries(ref) == libtessel.port_summaries("dswitch0")
    assert libtessel.mac_summaries(ref) == libtessel.mac_summaries("dswitch0")
    port = libtessel.port_summaries(ref)[3]
    assert libtessel.port_summary(ref, port.port_id) == libtessel.port_summary(ref, port.client) == port


@pytest.mark.parametrize(
    "ref,exc,message",
    [
        ("nosuch", libtessel.NotFound, "no switch named 'nosuch'"),
        ("switch0\0-evil", ValueError, "switch must be a switch name or alias, got 'switch0\\x00-evil'"),
        ("", ValueError, "switch must be a switch name or alias, got ''"),
        (5, TypeError, "switch must be a switch name or alias (str), not int"),
    ],
)
def test_switch_refusals_say_what_is_missing(sim, ref, exc, message):
    with pytest.raises(exc) as err:
        libtessel.port_summaries(ref)
    assert str(err.value) == message
    if exc is libtessel.NotFound:
        assert (err.value.argument, err.value.value, err.value.status) == ("switch", ref, m.HYX_NOT_FOUND)
        assert err.value.name == "HYX_NOT_FOUND" and err.value.text == m.HYX_ReturnStatusToString(m.HYX_NOT_FOUND)


def test_summaries_as_plain_values(sim):
    before = sim.outstanding_blocks()
    got = {s.name: s for s in libtessel.switch_summaries()}
    assert list(got) == ["switch0", "switch1", "dswitch0", "dswitch1"]
    assert (got["switch0"].mtu, got["switch0"].distributed, got["switch0"].alias) == (1500, False, "")
    assert (got["dswitch1"].alias, got["dswitch0"].alias) == ("dvs-lab", "dvs-prod")
    assert libtessel.switch_alias_map() == {"dvs-prod": "dswitch0", "dvs-lab": "dswitch1"}
    # The VLAN use counts, read at once, agree with the module's reader.
    info = libtessel.switch_info("dswitch0")
    assert got["dswitch0"].vlans_in_use == sum(1 for v in range(4096) if info.vlan_get_use_count(v)) > 1
    assert json.loads(json.dumps(got["dswitch0"].as_dict()))["vdr_port_id"] == 0x4000002
    assert sim.outstanding_blocks() == before


@pytest.mark.parametrize("status,cls", [("HYX_NOT_FOUND", "NotFound"), ("HYX_EXISTS", "AlreadyExists"),
                                        ("HYX_LIMIT_EXCEEDED", "LimitExceeded"), ("HYX_BAD_PARAM", "BadParameter"),
                                        ("HYX_BUSY", "Busy"), ("HYX_NO_PERMISSION", "HostError")])
def test_host_errors_carry_status_name_and_text(status, cls):
    from libtessel._errors import host_error

    err = host_error("VSHYX_SetPortMACTable", getattr(m, status), argument="port", where="port 'p' of switch0")
    assert type(err) is getattr(libtessel, cls) and (err.name, err.argument) == (status, "port")
    assert str(err) == "VSHYX_SetPortMACTable on port 'p' of switch0 failed: %s (%s, 0x%x)" % (
        err.text, status, getattr(m, status))


def test_the_package_lists_its_own_api_only():
    names = dir(libtessel)
    # None of the raw module's names (functions, records, constants).
    assert not set(names) & set(dir(m)) and "VSInfo" not in names
    assert set(libtessel.__all__) <= set(names)
    assert libtessel.records.VSInfo.__module__ == "libtessel.records"
    # Earlier scripts' names still resolve: the record classes quietly, the
    # raw module's names with a warning.
    assert libtessel.VSInfo is libtessel.records.VSInfo
    with pytest.warns(DeprecationWarning, match="import it from _libtessel"):
        assert libtessel.VSHYX_GetVSInfo is m.VSHYX_GetVSInfo
    with pytest.raises(AttributeError):
        libtessel.no_such_name
