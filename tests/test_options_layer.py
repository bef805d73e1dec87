"""The layer's runtime options, RTM operations and switch-state settings:
plain values in and out, the host's refusals as HostError."""

import pytest

import _libtessel as m
import libtessel
from libtessel import RtmOperation


@pytest.mark.parametrize("steps, refused", [
    (["save", "block-ports", "restore", "complete"], None),
    (["restore"], "restore"),
    ([RtmOperation.SAVE, "save"], "save"),
    ([m.RTM_IOCCMD_SAVE, "complete"], "complete"),
])
def test_rtm_sequence(sim, steps, refused):
    for step in steps:
        if step == refused and step is steps[-1]:
            with pytest.raises(libtessel.HostError) as err:
                libtessel.rtm_operation(step, ["switch0", "dvs-prod"])
            assert err.value.name == "HYX_INVALID_STATE" and "of switch0, dswitch0" in str(err.value)
        else:
            libtessel.rtm_operation(step, ["switch0", "dswitch0"])


@pytest.mark.parametrize("operation, switches, exc", [
    ("save", ["nope"], libtessel.NotFound),
    ("bogus", ["switch0"], ValueError),
    ("save", [""], ValueError),
    ("save", ["switch0", "x" * 200], libtessel.NotFound),
    ("save", "dvs-nope", libtessel.NotFound),
])
def test_rtm_refusals(sim, operation, switches, exc):
    with pytest.raises(exc):
        libtessel.rtm_operation(operation, switches)


@pytest.mark.parametrize("get, put, value, bad, exc", [
    (libtessel.l3_iso_test_mode, libtessel.set_l3_iso_test_mode, 2, 3, ValueError),
    (libtessel.bridge_fastpath_disabled, libtessel.set_bridge_fastpath_disabled, True, 1, TypeError),
])
def test_switch_state_settings(sim, get, put, value, bad, exc):
    assert not get()
    put(value)
    assert get() == value
    with pytest.raises(exc):
        put(bad)
    assert get() == value


def test_options_set_through_the_tool_are_all_or_none(sim, capsys):
    from libtessel import cli

    before = libtessel.options()
    assert cli.main(["options", "set", "IGMPQueryInterval=100", "NoSuchOption=1"]) == 2
    assert libtessel.options() == before
    assert capsys.readouterr().err.splitlines()[-1].startswith("libtessel: unknown runtime option 'NoSuchOption'")
