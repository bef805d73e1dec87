"""Which host the module loads: the installed layout (this build installed
into a scratch site folder) with no host libraries, with stand-in host
libraries on the loader path, and with the simulated host chosen."""

import os
import re
import shutil
import subprocess
import sys

import pytest

from libtessel import _host

from conftest import BUILD, PY_TREE

HOST_LIBRARIES = ("libtessel.so", "libbasekit.so")
# After one call that reaches the host: the host's kind (told the quick way
# and from the files mapped, which must agree), the module's file and every
# shared object mapped.
REPORT = """import libtessel, _libtessel
libtessel.switch_names()
kind = libtessel._host.kind()
print(kind if kind == libtessel.host().kind else "differ", _libtessel.__file__,
      *sorted({l.split()[-1] for l in open("/proc/self/maps") if l.rstrip().endswith(".so")}))"""


def _cmake():
    with open(os.path.join(BUILD, "CMakeCache.txt")) as cache:
        for line in cache:
            if line.startswith("CMAKE_COMMAND:"):
                return line.split("=", 1)[1].strip()
    raise AssertionError("no CMAKE_COMMAND in the build's cache")


@pytest.fixture(scope="module")
def site(tmp_path_factory):
    prefix = tmp_path_factory.mktemp("site")
    subprocess.run([_cmake(), "--install", BUILD, "--prefix", str(prefix)], check=True, stdout=subprocess.DEVNULL)
    return prefix


def run(site, code_or_args, cwd, **env):
    environ = {k: v for k, v in os.environ.items() if k not in ("TESSEL_HOST", "LD_LIBRARY_PATH", "PYTHONPATH")}
    environ.update(PYTHONPATH=str(site), **env)
    args = ["-c", code_or_args] if isinstance(code_or_args, str) else code_or_args
    return subprocess.run([sys.executable, *args], cwd=cwd, env=environ, capture_output=True, text=True)


def test_without_host_libraries_the_import_fails_with_one_line(site, tmp_path):
    done = run(site, "import sys\ntry:\n    import libtessel\nexcept ImportError as e:\n    sys.exit(str(e))",
               tmp_path)
    assert done.returncode == 1 and done.stdout == ""
    message = done.stderr.rstrip("\n")
    assert "\n" not in message
    assert message.startswith("libtessel: cannot load this machine's switch-control libraries (libtessel.so")
    assert message.endswith("set TESSEL_HOST=simulated to use the simulated host instead")


def test_the_module_loads_the_host_libraries_found_on_the_loader_path(site, tmp_path):
    standin = tmp_path / "standin"
    standin.mkdir()
    simhost = site / "libtessel" / "_simhost"
    for name in HOST_LIBRARIES + ("libdvs.so",):
        shutil.copy(simhost / name, standin / name)
    away = tmp_path / "away"
    simhost.rename(away)
    try:
        done = run(site, REPORT, tmp_path, LD_LIBRARY_PATH=str(standin))
    finally:
        away.rename(simhost)
    assert done.returncode == 0, done.stderr
    kind, module, *mapped = done.stdout.split()
    # The stand-ins are copies of the simulated libraries.
    assert kind == "simulated" and module.startswith(str(site) + "/_libtessel.")
    loaded = {os.path.basename(path): os.path.dirname(path) for path in mapped}
    for name in HOST_LIBRARIES:
        assert loaded[name] == str(standin), name
    assert not [path for path in mapped if path.startswith((str(simhost), PY_TREE))]


def test_the_simulated_host_when_chosen_works_from_another_directory(site, tmp_path):
    simhost = str(site / "libtessel" / "_simhost")
    done = run(site, REPORT, tmp_path, TESSEL_HOST="simulated")
    assert done.returncode == 0, done.stderr
    kind, module, *mapped = done.stdout.split()
    assert kind == "simulated" and module.startswith(simhost + "/")
    assert {os.path.dirname(p) for p in mapped if os.path.basename(p) in HOST_LIBRARIES} == {simhost}
    done = run(site, ["-m", "libtessel", "switches"], tmp_path, TESSEL_HOST="simulated")
    assert done.returncode == 0 and done.stdout.splitlines()[1].split()[0] == "switch0"
    assert done.stderr == "libtessel: using the simulated host\n"


@pytest.mark.parametrize("value", ["Simulated", "sim"])
def test_a_host_choice_that_names_no_host_is_one_line(monkeypatch, value):
    monkeypatch.setenv("TESSEL_HOST", value)
    with pytest.raises(ImportError) as err:
        _host.chosen()
    assert re.fullmatch(r"libtessel: TESSEL_HOST='%s' names no host; .*TESSEL_HOST=simulated.*" % value, str(err.value))
