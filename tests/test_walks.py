"""Walks over the host's port and MAC tables: every way a walk can end hands
the host's table back, and a missing switch or port is an error before the
caller's loop."""

import pytest

import libtessel

WALKS = {
    "ports": lambda: libtessel.ports("switch0"),
    "mac table": lambda: libtessel.mac_table("dvs-prod"),
    "port mac table": lambda: libtessel.port_mac_table("switch0", "web-01.eth0"),
}


def exhausted(make):
    assert len(list(make())) > 1


def closed_after_one_step(make):
    walk = make()
    next(walk)
    walk.close()
    assert list(walk) == []


def closed_inside_the_loop(make):
    steps = 0
    walk = make()
    for _ in walk:
        steps += 1
        walk.close()
    assert steps == 1


def broken_off_and_resumed(make):
    walk = make()
    count = len(walk)
    next(walk)
    for _ in walk:
        break
    # The loop goes on where the steps so far left off.
    assert len(list(walk)) == count - 2 and list(walk) == []


def dropped_without_a_step(make):
    make()


def raising_inside_the_loop(make):
    with pytest.raises(ZeroDivisionError):
        for _ in make():
            1 / 0


def left_as_a_context_manager(make):
    with make() as walk:
        next(walk)


def measured_and_indexed(make):
    walk = make()
    assert len(walk) > 1 and walk[-1].this.own()


@pytest.mark.parametrize("path", [exhausted, closed_after_one_step, closed_inside_the_loop, broken_off_and_resumed,
                                  dropped_without_a_step, raising_inside_the_loop, left_as_a_context_manager,
                                  measured_and_indexed])
@pytest.mark.parametrize("table", WALKS)
def test_every_way_a_walk_ends_hands_the_table_back(sim, table, path):
    before = sim.outstanding_blocks()
    held = WALKS[table]()
    assert sim.outstanding_blocks() == before + 1
    del held
    assert sim.outstanding_blocks() == before
    path(WALKS[table])
    assert sim.outstanding_blocks() == before


def test_a_walk_indexes_while_held_and_reads_nothing_once_closed(sim):
    walk = libtessel.ports("switch0")
    assert len(walk) == 6 and walk[-6].clientName == walk[0].clientName == next(walk).clientName == "uplink0"
    for index, exc in ((6, IndexError), (-7, IndexError), ("0", TypeError)):
        with pytest.raises(exc):
            walk[index]
    walk.close()
    with pytest.raises(ValueError, match="handed back to the host already"):
        walk[0]
    assert list(walk) == [] and "handed back" in repr(walk)


@pytest.mark.parametrize(
    "ask,argument,message",
    [
        (lambda: libtessel.ports("nosuch"), "switch", "no switch named 'nosuch'"),
        (lambda: libtessel.mac_table("nosuch"), "switch", "no switch named 'nosuch'"),
        (lambda: libtessel.port_mac_table("switch0", "nosuch"), "port", "no port 'nosuch' on switch0"),
        (lambda: libtessel.port_mac_table("dvs-lab", 12345), "port", "no port 12345 on dswitch1"),
    ],
)
def test_missing_switch_or_port_is_an_error_when_the_walk_is_asked_for(sim, ask, argument, message):
    before = sim.outstanding_blocks()
    with pytest.raises(libtessel.NotFound) as err:
        ask()
    assert str(err.value) == message and err.value.argument == argument
    assert sim.outstanding_blocks() == before
