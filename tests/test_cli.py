"""The command-line tool: a table for people, stable JSON keys for scripts,
one line and an exit status for every failure."""

import io
import json
import os
import subprocess
import sys

import pytest

import libtessel
from libtessel import cli

import _libtessel as m
from libtessel._index import COMMANDS

from conftest import PY_TREE

VERSION_KEY = m.HYX_ZARPROP_SWITCH_VERSION


def run(*argv):
    out = io.StringIO()
    assert cli.main(list(argv), out=out) == 0
    return out.getvalue()


# Each command and output form against the topology of a file (the host's
# default document, loaded the way a script author loads one), compared with
# tests/data/golden/<name>.<form>.  After a deliberate change of the output,
# regenerate them with TESSEL_REGOLD=1 (the test then writes the files and
# fails, so a regeneration is never taken for a pass); review the diff: a
# published JSON key never changes.
GOLDEN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data", "golden")
CASES = {
    # name: (steps run first, the command)
    "switches": ((), "switches"),
    "aliases": ((), "aliases"),
    "show": ((), "show dvs-prod"),
    "ports": ((), "ports dvs-prod"),
    "counters": ((), "counters switch0"),
    "uplinks": ((), "uplinks switch0"),
    "teaming": ((), "teaming switch0"),
    "lags": ((), "lags dvs-prod"),
    "macs": ((), "macs switch0 --port web-01.eth0"),
    "learning": ((), "learning switch0"),
    "vlan": ((), "vlan dvs-prod --port prod-app-01.eth0"),
    "mcast": ((), "mcast switch0"),
    "mirror": (("mirror add dvs-prod span-web --destination 67108875 --source uplink4 --snap-len 128",),
               "mirror dvs-prod"),
    "teps": ((), "teps dvs-prod"),
    "rdma": ((), "rdma dvs-prod"),
    "options": ((), "options"),
    "props": (("props set dvs-prod %s 7.0.0" % VERSION_KEY,), "props dvs-prod"),
    "uplink-set-state": ((), "uplink set-state switch0 uplink0 down"),
    "mac-add": ((), "mac add switch0 web-01.eth0 0a-1b-2c-3d-4e-5f --vlan 10"),
    "mac-remove": (("mac add switch0 web-01.eth0 0a1b.2c3d.4e5f --type user",),
                   "mac remove switch0 web-01.eth0 0a:1b:2c:3d:4e:5f --type user"),
    "mirror-add": ((), "mirror add dvs-prod span-web --destination 67108875 --source uplink4"),
    "mirror-remove": (("mirror add dvs-prod span-web --destination 67108875",), "mirror remove dvs-prod span-web"),
    "options-set": ((), "options set IGMPQueryInterval=100 IGMPRouterIP=10.0.0.1"),
    "props-set": ((), "props set dvs-prod k v --scope host"),
    "props-clear": (("props set dvs-prod k v",), "props clear dvs-prod k"),
    "switch-create": ((), "switch create dswitch9 dvs-nine --max-ports 4"),
    "switch-destroy": (("switch create dswitch9 dvs-nine",), "switch destroy dvs-nine"),
    "port-add": ((), "port add dvs-prod 900"),
    "port-remove": (("port add dvs-prod 900",), "port remove dvs-prod 900"),
}


TOPOLOGY = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))), "host", "topology",
                        "default.json")


@pytest.fixture
def from_file(sim):
    from libtessel import testing

    testing.load(TOPOLOGY)
    yield
    testing.load_default()


@pytest.mark.parametrize("form", ["table", "json"])
@pytest.mark.parametrize("name", sorted(CASES))
def test_output_matches_its_golden_file(from_file, name, form):
    steps, command = CASES[name]
    for step in steps:
        run(*step.split())
    got = run(*command.split(), *(["--json"] if form == "json" else []))
    if form == "json":
        json.loads(got)
    path = os.path.join(GOLDEN, "%s.%s" % (name, form))
    if os.environ.get("TESSEL_REGOLD"):
        os.makedirs(GOLDEN, exist_ok=True)
        with open(path, "w") as f:
            f.write(got)
        pytest.fail("wrote %s; unset TESSEL_REGOLD and review the diff" % path)
    with open(path) as f:
        assert got == f.read()


def test_every_command_has_a_golden_case():
    assert {cli._split(command.split())[0] for _, command in CASES.values()} == set(COMMANDS)


@pytest.mark.parametrize("name", sorted(COMMANDS))
def test_every_command_has_help(capsys, name):
    assert cli.main([*name.split(), "--help"], out=io.StringIO()) == 0
    out = capsys.readouterr().out
    assert out.startswith("usage: libtessel %s " % name) and "--json" in out


@pytest.mark.parametrize(
    "argv,status,line",
    [(["ports", "nosuch"], 1, "libtessel: no switch named 'nosuch'"),
     (["macs", "switch0", "--port", "nosuch"], 1, "libtessel: no port 'nosuch' on switch0"),
     (["macs", "dvs-lab", "--port", ""], 2, "libtessel: port must be a client name or a port ID, got ''"),
     (["port", "remove", "dvs-prod", "999"], 1, "libtessel: VSDVS_RemoveDVPort on dswitch0 port 999 failed: %s "
      "(HYX_NOT_FOUND, 0x%x)" % (m.HYX_ReturnStatusToString(m.HYX_NOT_FOUND), m.HYX_NOT_FOUND)),
     (["options", "set", "IGMPQueryInterval=x"], 2,
      "libtessel: runtime option IGMPQueryInterval takes an int, got 'x'"),
     (["mac", "add", "switch0", "web-01.eth0", "0a:1b"], 2, "libtessel: mac must be a MAC address such as "
      "'0a:1b:2c:3d:4e:5f', '0a-1b-2c-3d-4e-5f', '0a1b.2c3d.4e5f' or six bytes, got '0a:1b'"),
     (["bogus"], 2, None), (["macs", "switch0", "--type", "bogus"], 2, None), (["ports"], 2, None),
     (["mac", "add", "switch0"], 2, None), ([], 2, None), (["--bogus"], 2, None),
     (["port", "bogus"], 2, "libtessel: port takes one of add, remove (see libtessel --help)")],
)
def test_failures_are_one_line_and_an_exit_status(sim, capsys, argv, status, line):
    try:
        assert cli.main(argv, out=io.StringIO()) == status
    except SystemExit as exc:
        assert exc.code == status
    err = capsys.readouterr().err.splitlines()
    assert "Traceback" not in err
    if line is not None:
        # The host is named once a command runs; a usage error comes first.
        assert err in (["libtessel: using the simulated host", line], [line])


def test_version_names_the_package_and_the_host(sim, capsys):
    with pytest.raises(SystemExit) as exc:
        cli.main(["--version"])
    assert exc.value.code == 0
    assert capsys.readouterr().out == "libtessel %s, simulated host (%s)\n" % (
        libtessel.__version__, os.path.join(os.path.realpath(PY_TREE), "libtessel.so"))


@pytest.mark.parametrize("how", ["module", "script"])
def test_a_host_that_cannot_be_loaded_is_one_line(tmp_path, how):
    env = dict(os.environ, PYTHONPATH=PY_TREE, TESSEL_HOST="bogus")
    script = tmp_path / "libtessel"
    script.write_text("import sys\nfrom libtessel.cli import main\nsys.exit(main())\n")
    argv = ["-m", "libtessel"] if how == "module" else [str(script)]
    proc = subprocess.run([sys.executable, *argv, "switches"], cwd=tmp_path, env=env, capture_output=True, text=True)
    assert (proc.returncode, proc.stdout) == (1, "")
    assert proc.stderr.startswith("libtessel: TESSEL_HOST='bogus' names no host") and proc.stderr.count("\n") == 1


@pytest.mark.parametrize("args, status", [
    (["switches", "--json"], 0), (["show", "dvs-prod"], 0), (["show", "nosuch"], 1), (["bogus"], 2), ([], 2),
])
def test_the_tool_ends_with_its_status_and_all_its_output(sim, capsys, tmp_path, args, status):
    assert cli.main(args) == status
    expected = capsys.readouterr()
    env = dict(os.environ, PYTHONPATH=PY_TREE, TESSEL_HOST="simulated")
    proc = subprocess.run([sys.executable, "-m", "libtessel", *args], cwd=tmp_path, env=env, capture_output=True,
                          text=True)
    assert (proc.returncode, proc.stdout, proc.stderr) == (status, expected.out, expected.err)


@pytest.mark.parametrize("status", [0, 3, 255, 256, -1, "3", None])
def test_the_tool_ends_as_c_does_writing_what_c_buffered(tmp_path, status):
    # Text C holds in its buffer (standard output is a pipe) is written
    # when the process ends; a status C cannot carry is a SystemExit.
    code = ("import ctypes, sys\nfrom libtessel._native import exit_process\n"
            "ctypes.CDLL(None).printf(b'held by C')\nprint('python', flush=True)\n"
            "try:\n    exit_process(%r)\nexcept SystemExit as e:\n    sys.stderr.write('SystemExit %%r' %% (e.code,))\n"
            % (status,))
    # Unbuffered, the interpreter would make C's standard output unbuffered.
    env = {k: v for k, v in os.environ.items() if k != "PYTHONUNBUFFERED"}
    env.update(PYTHONPATH=PY_TREE, TESSEL_HOST="simulated")
    proc = subprocess.run([sys.executable, "-c", code], cwd=tmp_path, env=env, capture_output=True, text=True)
    if isinstance(status, int) and 0 <= status <= 255:
        assert (proc.returncode, proc.stdout, proc.stderr) == (status, "python\nheld by C", "")
    else:
        assert proc.stderr == "SystemExit %r" % (status,)


def test_a_closed_pipe_ends_quietly(tmp_path):
    env = dict(os.environ, PYTHONPATH=PY_TREE)
    proc = subprocess.Popen([sys.executable, "-m", "libtessel", "switches", "--json"], cwd=tmp_path, env=env,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    # The reader goes away before the tool writes anything.
    proc.stdout.close()
    err = proc.stderr.read().decode()
    assert proc.wait() == 0
    assert err == "libtessel: using the simulated host\n"


@pytest.mark.parametrize("line", sorted({c for _, c in CASES.values()} | {
    "macs switch0 --type user --port 5 --json",
    "mirror add dvs-prod s --destination 1 --destination uplink0 --disabled",
    "switch create a b --max-ports x", "macs switch0 --type bogus", "ports", "ports a b", "macs switch0 --port",
    "options set A=1 B=2"}))
def test_the_quick_parse_agrees_with_argparse(line):
    name, rest = cli._split(line.split())
    command = cli.declared(name)
    quick = cli._quick_parse(command, rest)
    try:
        expected = vars(cli._parser(command).parse_args(rest))
    except SystemExit:
        expected = None
    assert quick is None or vars(quick) == expected
    # The common read commands take the quick path.
    if "set" not in name and name.count(" ") == 0 and expected is not None:
        assert quick is not None


@pytest.mark.parametrize("value", [
    {}, [], [[[]], {}], {"a": [1, -2.5, None, True, False], "b": {"c": ()}}, "caf\u00e9 \"q\" \\ \n\t\x00 \U0001f600",
    2 ** 70, 1e300, -0.0, {"k": float("nan")}, {1: "int key"}, [libtessel.MacType.STATIC],
    ["".join(map(chr, range(0x20, 0x7F))).replace('"', "").replace("\\", ""), "\x7f", "\x1f", "\u0100"],
])
def test_json_text_is_what_json_writes(value):
    from libtessel._jsontext import dumps

    assert dumps(value) == json.dumps(value, indent=2)
