"""Test set-up: the built tree (module, host libraries, Python layer and the
test-only probe module) is imported from the build directory."""

import ctypes
import os
import sys

import pytest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, os.environ.get("TESSEL_BUILD_DIR", "build"))
PY_TREE = os.path.join(BUILD, "python")
PROBE_TREE = os.path.join(BUILD, "tests_python")
# A copy of the published inventory of the finished module, kept with the tests.
INVENTORY = os.path.join(ROOT, "tests", "data", "inventory")

# The build tree carries the simulated host; the suite talks to it.
os.environ.setdefault("TESSEL_HOST", "simulated")

for path in (PROBE_TREE, PY_TREE):
    if path not in sys.path:
        sys.path.insert(0, path)

import _libtessel  # noqa: E402
import libtessel  # noqa: E402,F401  (registers the proxy classes)


class SimHost:
    """The simulated host's control functions, reached through ctypes."""

    def __init__(self):
        lib = ctypes.CDLL(os.path.join(PY_TREE, "libbasekit.so"))
        lib.tessel_sim_inject_fault.argtypes = [ctypes.c_char_p, ctypes.py_object, ctypes.c_char_p]
        lib.tessel_sim_inject_fault.restype = None
        lib.tessel_sim_clear_faults.restype = None
        lib.tessel_sim_outstanding_blocks.restype = ctypes.c_long
        lib.tessel_sim_reset.restype = None
        self.lib = lib

    def inject_fault(self, function, exc_class, message):
        self.lib.tessel_sim_inject_fault(function.encode(), exc_class, message.encode())

    def clear_faults(self):
        self.lib.tessel_sim_clear_faults()

    def outstanding_blocks(self):
        return self.lib.tessel_sim_outstanding_blocks()

    def reset(self):
        self.lib.tessel_sim_reset()


_SIM = SimHost()


# Raw memory of records, for checks against their exact byte layout.


def addr(ptr):
    """The address a raw pointer object or a proxy holds."""
    return int(getattr(ptr, "this", ptr))


def raw(ptr, size, offset=0):
    return ctypes.string_at(addr(ptr) + offset, size)


def poke(ptr, offset, data):
    ctypes.memmove(addr(ptr) + offset, data, len(data))


def msg(method, argnum, ctype):
    """The message of an argument conversion failure."""
    return "in method '%s', argument %d of type '%s'" % (method, argnum, ctype)


@pytest.fixture
def sim():
    _SIM.reset()
    yield _SIM
    _SIM.clear_faults()
    _SIM.reset()


@pytest.fixture
def m():
    return _libtessel
