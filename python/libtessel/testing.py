"""Shaping the simulated host from tests.

Works only against the simulated host (``TESSEL_HOST=simulated``, or the
build tree); anything here raises ``RuntimeError`` against a real one.

- ``load(topology)``: builds the host from a topology document (a path to a
  JSON file, or a dict) and makes it the one ``reset()`` restores; a document
  the host refuses raises ``TopologyError`` naming the place in it
  ("switches[2].ports[1].mac.macLimit: ...") and leaves the host as it was.
- ``load_default()``: back to the topology the process started with.
- ``reset()``: the host as the last loaded topology describes it.
- ``dump()``: the current host as a topology document (a dict); loading it
  gives the same host.
- ``inject_status(function, status)``: the next call of the named host
  function returns ``status`` (an int or a constant name such as
  ``"HYX_NOT_FOUND"``) without running.
- ``inject_abandon(function, message="", exception=RuntimeError)``: the next
  call of the named host function is abandoned through the module's
  exception guard, raising ``exception(message)``.
- ``clear_injections()``: disarms both kinds.

As a pytest plugin (``pytest_plugins = ["libtessel.testing"]`` in a
conftest), it gives the fixture ``tessel_host``: each test starts on the
default topology, or on the one its ``tessel_topology`` fixture returns (a
path or dict; override the fixture) or its ``@pytest.mark.tessel_topology(...)``
marker names, with no injection armed; afterwards injections are disarmed
and the default topology is back.
"""

import ctypes
import json
import os

__all__ = [
    "TopologyError",
    "clear_injections",
    "dump",
    "inject_abandon",
    "inject_status",
    "load",
    "load_default",
    "reset",
]


class TopologyError(ValueError):
    """A topology document the simulated host refuses; the message names the
    place in it."""


_ERROR_SIZE = 4096
_libs = None


def _libraries():
    """ctypes handles of the simulated libtessel.so and libbasekit.so the
    module loaded (never loads one itself)."""
    global _libs
    if _libs is not None:
        return _libs
    import libtessel
    from libtessel import _host

    current = _host.host()
    if current.kind != _host.SIMULATED:
        raise RuntimeError("libtessel.testing works only against the simulated host; this process uses the %s "
                           "(set %s=simulated)" % (current, _host.ENV))
    del libtessel
    handles = []
    for name in ("libtessel.so", "libbasekit.so"):
        path = current.libraries.get(name)
        if path is None:
            raise RuntimeError("libtessel.testing: %s is not loaded in this process" % name)
        handles.append(ctypes.CDLL(path, mode=os.RTLD_NOLOAD | os.RTLD_LAZY))
    tessel, base = handles
    tessel.tessel_sim_load_topology.argtypes = [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_char_p,
                                                ctypes.c_ulong]
    tessel.tessel_sim_load_topology.restype = ctypes.c_int
    tessel.tessel_sim_dump_topology.argtypes = []
    tessel.tessel_sim_dump_topology.restype = ctypes.c_void_p
    base.tessel_sim_block_release.argtypes = [ctypes.c_void_p]
    base.tessel_sim_block_release.restype = ctypes.c_int
    base.tessel_sim_reset.restype = None
    base.tessel_sim_clear_faults.restype = None
    base.tessel_sim_known_function.argtypes = [ctypes.c_char_p]
    base.tessel_sim_known_function.restype = ctypes.c_int
    base.tessel_sim_inject_status.argtypes = [ctypes.c_char_p, ctypes.c_int]
    base.tessel_sim_inject_status.restype = ctypes.c_int
    base.tessel_sim_inject_fault.argtypes = [ctypes.c_char_p, ctypes.py_object, ctypes.c_char_p]
    base.tessel_sim_inject_fault.restype = None
    _libs = (tessel, base)
    return _libs


def _load_text(text, source):
    tessel, _ = _libraries()
    error = ctypes.create_string_buffer(_ERROR_SIZE)
    if tessel.tessel_sim_load_topology(text, source.encode(), error, _ERROR_SIZE) != 0:
        raise TopologyError(error.value.decode("utf-8", "replace"))


def load(topology):
    """Builds the host from topology (a path to a JSON file, or a dict) and
    makes it the topology ``reset()`` restores."""
    if isinstance(topology, dict):
        text, source = json.dumps(topology), "the topology given"
    elif isinstance(topology, (str, bytes, os.PathLike)):
        path = os.fsdecode(topology)
        with open(path, "rb") as f:
            text, source = f.read().decode("utf-8"), path
    else:
        raise TypeError("a topology is a path or a dict, not %s" % type(topology).__name__)
    if "\0" in text:
        raise TopologyError("%s: a topology document holds no NUL character" % source)
    _load_text(text.encode("utf-8"), source)


def load_default():
    """Back to the topology the process started with (the built-in default,
    or the file TESSEL_SIM_TOPOLOGY named)."""
    _load_text(None, "")


def reset():
    """Builds the host again from the last loaded topology; disarms every
    injection."""
    _libraries()[1].tessel_sim_reset()


def dump():
    """The current host as a topology document (a dict)."""
    tessel, base = _libraries()
    block = tessel.tessel_sim_dump_topology()
    if not block:
        raise MemoryError("the simulated host could not write its topology")
    try:
        return json.loads(ctypes.string_at(block).decode("utf-8"))
    finally:
        base.tessel_sim_block_release(block)


def _function_name(function):
    if not isinstance(function, str):
        raise TypeError("a host function is named by a str, not %s" % type(function).__name__)
    known = _libraries()[1].tessel_sim_known_function(function.encode())
    if known < 0:
        raise ValueError("no host function named %r" % function)
    return known


def _status_value(status):
    if isinstance(status, bool) or not isinstance(status, (int, str)):
        raise TypeError("a status is an int or a status constant's name, not %s" % type(status).__name__)
    if isinstance(status, str):
        from libtessel import _host

        module = _host.load()
        value = getattr(module, status, None)
        if not status.startswith("HYX_") or not isinstance(value, int):
            raise ValueError("no status constant named %r" % status)
        return value
    if not -2**31 <= status < 2**31:
        raise ValueError("a status is a 32-bit value, not %d" % status)
    return status


def inject_status(function, status):
    """The next call of the named host function returns status without
    running; only functions that return a status take one."""
    value = _status_value(status)
    if _function_name(function) != 1:
        raise ValueError("%s returns no status" % function)
    result = _libraries()[1].tessel_sim_inject_status(function.encode(), value)
    if result == -3:
        raise RuntimeError("16 statuses are injected already; clear_injections() first")
    if result != 0:
        raise ValueError("%s takes no injected status" % function)


def inject_abandon(function, message="", exception=RuntimeError):
    """The next call of the named host function is abandoned through the
    module's exception guard and raises exception(message)."""
    _function_name(function)
    if not (isinstance(exception, type) and issubclass(exception, BaseException)):
        raise TypeError("exception is an exception class")
    if not isinstance(message, str) or "\0" in message:
        raise ValueError("message is a str without NUL characters")
    _libraries()[1].tessel_sim_inject_fault(function.encode(), exception, message.encode("utf-8"))


def clear_injections():
    """Disarms every injected status and abandoned call."""
    _libraries()[1].tessel_sim_clear_faults()


class SimulatedHost:
    """What the ``tessel_host`` fixture gives: this module's functions."""

    load = staticmethod(load)
    load_default = staticmethod(load_default)
    reset = staticmethod(reset)
    dump = staticmethod(dump)
    inject_status = staticmethod(inject_status)
    inject_abandon = staticmethod(inject_abandon)
    clear_injections = staticmethod(clear_injections)


try:
    import pytest
except ImportError:  # the fixtures need pytest; the functions do not
    pytest = None

if pytest is not None:

    def pytest_configure(config):
        config.addinivalue_line("markers", "tessel_topology(topology): the topology (a path or dict) the "
                                 "tessel_host fixture loads for the test")

    @pytest.fixture
    def tessel_topology():
        """The topology tessel_host loads: None for the default; override it."""
        return None

    @pytest.fixture
    def tessel_host(request, tessel_topology):
        """The simulated host on the test's topology, without injections;
        afterwards injections are cleared and the default topology is back."""
        marker = request.node.get_closest_marker("tessel_topology")
        topology = marker.args[0] if marker is not None and marker.args else tessel_topology
        clear_injections()
        if topology is None:
            load_default()
        else:
            load(topology)
        try:
            yield SimulatedHost()
        finally:
            clear_injections()
            load_default()
