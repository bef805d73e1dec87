"""Which host the module talks to.

Installed, ``_libtessel`` sits at the top of site-packages without a runpath:
the dynamic loader finds this machine's own ``libtessel.so``, ``libdvs.so``
and ``libbasekit.so`` the way it finds any shared library.  The simulated
host is installed privately in ``libtessel/_simhost/`` together with a second
copy of the module that finds the simulated libraries beside it; it is used
only when chosen with ``TESSEL_HOST=simulated``.

The simulated libraries must be loaded as dependencies of the module, never
ahead of it: they bind the module's exception-guard globals weakly when they
are relocated together with it.
"""

import os
import sys

ENV = "TESSEL_HOST"
REAL = "real"
SIMULATED = "simulated"
LIBRARIES = ("libtessel.so", "libdvs.so", "libbasekit.so")
SIMHOST_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "_simhost")

# A symbol only the simulated base library exports.
_SIMULATED_MARK = "tessel_sim_outstanding_blocks"

_HOW_TO_CHOOSE = "set %s=simulated to use the simulated host instead" % ENV


def chosen():
    """The host named by TESSEL_HOST: "real" (also when unset) or "simulated"."""
    value = os.environ.get(ENV, "")
    if value in ("", REAL, SIMULATED):
        return value or REAL
    raise ImportError("libtessel: %s=%r names no host; leave it unset for this machine's own libraries or %s"
                      % (ENV, value, _HOW_TO_CHOOSE))


def running_the_tool():
    """Whether this process is the command-line tool (the ``libtessel``
    script or ``python -m libtessel``), which reports a failed import in one
    line instead of a traceback."""
    argv = getattr(sys, "orig_argv", sys.argv)
    if os.path.basename(sys.argv[0] if sys.argv else "") == "libtessel":
        return True
    return "-m" in argv[:-1] and argv[argv.index("-m") + 1] in ("libtessel", "libtessel.cli")


def _first_line(exc):
    lines = str(exc).strip().splitlines()
    return lines[0] if lines else type(exc).__name__


def _inside(path, folder):
    return os.path.dirname(os.path.abspath(path)) == folder


def load():
    """Imports ``_libtessel`` for the chosen host and returns it; fails with a
    one-line ImportError that says what is missing and how to choose."""
    choice = chosen()
    private = choice == SIMULATED and os.path.isdir(SIMHOST_DIR)
    loaded = sys.modules.get("_libtessel")
    if loaded is not None:
        if private and not _inside(loaded.__file__, SIMHOST_DIR):
            raise ImportError("libtessel: %s=simulated, but _libtessel was already imported from %s"
                              % (ENV, loaded.__file__))
        return loaded
    if private:
        sys.path.insert(0, SIMHOST_DIR)
    try:
        import _libtessel
    except ModuleNotFoundError as exc:
        if exc.name != "_libtessel":
            raise
        raise ImportError("libtessel: the module _libtessel is not installed beside the package") from None
    except ImportError as exc:
        if choice == SIMULATED:
            raise ImportError("libtessel: cannot load the simulated host (%s); reinstall the package"
                              % _first_line(exc)) from None
        raise ImportError("libtessel: cannot load this machine's switch-control libraries (%s); %s"
                          % (_first_line(exc), _HOW_TO_CHOOSE)) from None
    finally:
        if private:
            sys.path.remove(SIMHOST_DIR)
    return _libtessel


class Host(tuple):
    """The host in use: ``kind`` is "simulated" or "real", ``module`` the file
    of ``_libtessel``, ``libraries`` the file of each host library loaded."""

    __slots__ = ()
    _fields = ("kind", "module", "libraries")

    def __new__(cls, kind: str, module: str, libraries: dict) -> "Host":
        return tuple.__new__(cls, (kind, module, libraries))

    kind = property(lambda self: self[0], doc="\"simulated\" or \"real\".")
    module = property(lambda self: self[1], doc="The file of _libtessel.")
    libraries = property(lambda self: self[2], doc="{library name: its file}.")

    def __repr__(self):
        return "Host(kind=%r, module=%r, libraries=%r)" % self

    def __str__(self):
        where = self.libraries.get("libtessel.so") or self.module
        return "%s host (%s)" % (self.kind, where)


def _mapped_libraries():
    found = {}
    try:
        with open("/proc/self/maps") as maps:
            for line in maps:
                path = line.rstrip("\n").split(None, 5)[-1]
                name = os.path.basename(path)
                if name in LIBRARIES and name not in found and path.startswith("/"):
                    found[name] = path
    except OSError:
        pass
    return found


def _is_simulated(libraries):
    # Only looks up the library the module already loaded; never loads one.
    # The bare dynamic-loader calls of _ctypes spare loading ctypes itself.
    import _ctypes

    try:
        base = _ctypes.dlopen(libraries.get("libbasekit.so", "libbasekit.so"), os.RTLD_NOLOAD | os.RTLD_LAZY)
    except OSError:
        return False
    try:
        _ctypes.dlsym(base, _SIMULATED_MARK)
    except OSError:
        return False
    finally:
        _ctypes.dlclose(base)
    return True


_current = None


def kind() -> str:
    """"simulated" or "real": the kind of ``host()``, without reading which
    files are loaded (the loader finds the base library by its name)."""
    if _current is not None:
        return _current.kind
    return SIMULATED if _is_simulated({}) else REAL


def host() -> Host:
    """Which host the module talks to, as a ``Host``."""
    global _current
    if _current is None:
        libraries = _mapped_libraries()
        kind = SIMULATED if _is_simulated(libraries) else REAL
        _current = Host(kind, sys.modules["_libtessel"].__file__, libraries)
    return _current
