"""Mirror sessions through the layer: built as plain values, stored,
extended, read back, removed and cleared with no address arithmetic, and
the failures of the mirror and mcast commands."""

import io

import pytest

import libtessel
from libtessel import cli

APP = 67108875  # prod-app-01.eth0 on dswitch0


def _three():
    return [
        libtessel.mirror_session("span-1", "web span", [APP], ["uplink4"], snap_len=128, sampling_rate=4),
        libtessel.mirror_session("rspan", destinations=[("ip", "2001:db8::9")], ingress=[("vlan", "100")],
                                 encapsulation="erspan3", erspan_id=7, gre_key=9, enabled=False),
        libtessel.mirror_session("promisc", destinations=[libtessel.MirrorEntity("dvport", "106")], legacy=True,
                                 egress=[("mac", "0A-1B-2C-3D-4E-5F")]),
    ]


def test_sessions_survive_every_step(sim):
    blocks = sim.outstanding_blocks()
    one, two, three = _three()
    libtessel.set_mirror_sessions("dvs-prod", [one, two])
    assert libtessel.mirror_sessions("dswitch0") == [one, two]
    libtessel.append_mirror_sessions("dvs-prod", iter([three]))
    assert libtessel.mirror_sessions("dvs-prod") == [one, two, three]
    assert three.egress[0].value == "0a:1b:2c:3d:4e:5f" and two.snap_len is None
    # The running switch: enabled sessions, the legacy session's destination.
    assert libtessel.mirror_session_ids("dvs-prod") == ["span-1", "promisc"]
    assert libtessel.promisc_destinations("dvs-prod") == [67108871]
    assert libtessel.mirror_session_stats("dvs-prod", "span-1").name == "web span"
    with pytest.raises(libtessel.AlreadyExists) as err:
        libtessel.append_mirror_sessions("dvs-prod", iter([three]))
    assert (err.value.argument, err.value.value) == ("sid", "promisc")
    libtessel.remove_mirror_session("dvs-prod", "rspan")
    assert libtessel.mirror_sessions("dvs-prod") == [one, three]
    with pytest.raises(libtessel.NotFound):
        libtessel.remove_mirror_session("dvs-prod", "rspan")
    libtessel.clear_mirror_sessions("dvs-prod")
    assert libtessel.mirror_sessions("dvs-prod") == []
    assert sim.outstanding_blocks() == blocks


def test_topology_session_of_dvs_lab():
    (session,) = libtessel.mirror_sessions("dvs-lab")
    lab = libtessel.port_summary("dvs-lab", "lab-01.eth0").port_id
    assert (session.sid, session.legacy, session.destinations, session.ingress) == (
        "legacy_promiscuous", True, (libtessel.MirrorEntity("port", lab),), (libtessel.MirrorEntity("uplink", "uplink6"),))
    assert libtessel.promisc_destinations("dvs-lab") == [lab]


def test_agent_workers_follow_encapsulated_sessions(sim):
    assert libtessel.mirror_agent_stats() == []
    sessions = [libtessel.mirror_session("r%d" % i, destinations=[("ip", "192.0.2.%d" % i)], sources=[APP],
                                         encapsulation="gre") for i in range(4)]
    libtessel.set_mirror_sessions("dvs-prod", sessions)
    worlds = libtessel.mirror_agent_stats()
    assert len(worlds) == 3 and sum(w.requests for w in worlds) == 4 and sum(w.ports for w in worlds) == 8


@pytest.mark.parametrize("build,exc", [
    (lambda: libtessel.mirror_session("x" * 32), ValueError),
    (lambda: libtessel.mirror_session("a\0b"), ValueError),
    (lambda: libtessel.mirror_session("s", destinations=[("vlan", 4096)]), ValueError),
    (lambda: libtessel.mirror_session("s", destinations=[("ip", "10.0.0.256")]), ValueError),
    (lambda: libtessel.mirror_session("s", destinations=[("tunnel", "x")]), ValueError),
    (lambda: libtessel.mirror_session("s", sources=["u" * 32]), ValueError),
    (lambda: libtessel.mirror_session("s", sources=[1.5]), TypeError),
    (lambda: libtessel.mirror_session("s", sources="uplink4"), TypeError),
    (lambda: libtessel.mirror_session("s", snap_len=0), ValueError),
    (lambda: libtessel.set_mirror_sessions("dvs-prod", [libtessel.mirror_session("s")] * 2), ValueError),
    (lambda: libtessel.set_mirror_sessions("switch0", []), ValueError),
    (lambda: libtessel.set_mirror_sessions("dvs-prod", [("s", [])]), TypeError),
])
def test_refused_before_the_host(sim, build, exc):
    with pytest.raises(exc):
        build()
    assert libtessel.mirror_sessions("dvs-prod") == []


def _run(*argv):
    out = io.StringIO()
    return cli.main(list(argv), out=out), out.getvalue()


@pytest.mark.parametrize("argv,status,line", [
    (("mirror", "nosuch"), 1, "no switch named 'nosuch'"),
    (("mirror", "switch0"), 2, "not a distributed switch"),
    (("mcast", "switch0", "--port", "nosuch"), 1, "no port 'nosuch' on switch0"),
])
def test_command_failures(sim, capsys, argv, status, line):
    assert _run(*argv)[0] == status
    assert line in capsys.readouterr().err
