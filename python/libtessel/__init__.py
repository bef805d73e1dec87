"""libtessel: Python access to the host's virtual-switch control plane.

Switches, ports, MAC tables and every other subsystem come out as plain
values (named tuples such as ``SwitchSummary``, ``PortSummary``,
``MacEntry``); the host's records, for the fields the plain values leave
out, are the classes of ``libtessel.records``.  Failures raise ``HostError``
or one of its subclasses.  ``host()`` says which host the module talks to:
this machine's own libraries, or the simulated host chosen with
``TESSEL_HOST=simulated``.

Every module of this package whose name has no leading underscore, other
than ``cli``, ``records`` and ``testing``, is a subsystem: it lists its public names in
``__all__`` and its command-line commands in ``COMMANDS``.  The package
imports a subsystem the first time one of its names is used (``_index``
says which module holds which name).
"""

__version__ = "0.1.0"

import sys as _sys

from libtessel import _host

try:
    _libtessel = _host.load()
except ImportError as _exc:
    if _host.running_the_tool():
        # The command-line tool says what is missing in one line.
        _sys.stderr.write("%s\n" % _exc)
        raise SystemExit(1) from None
    raise

from libtessel import records  # noqa: E402  (the module asks it for the record classes)
from libtessel._errors import (  # noqa: E402
    AlreadyExists,
    BadParameter,
    Busy,
    HostError,
    LimitExceeded,
    NotFound,
)
from libtessel._host import Host, host  # noqa: E402
from libtessel._index import NAMES as _NAMES  # noqa: E402

__all__ = ["AlreadyExists", "BadParameter", "Busy", "Host", "HostError", "LimitExceeded", "NotFound", "Walk",
           "host", "records"] + sorted(_NAMES)


class _Package(type(_sys)):  # type: ignore[misc]
    # A subsystem module shares its name with one of its functions
    # (``ports.ports``, ``options.options``): importing the module would set
    # the package's attribute to the module; the function keeps the name.
    def __setattr__(self, name, value):
        if type(value) is type(_sys) and _NAMES.get(name) == name and value.__name__ == "libtessel." + name:
            value = getattr(value, name)
        super().__setattr__(name, value)


_sys.modules[__name__].__class__ = _Package


def __getattr__(name):
    if name == "Walk":
        from libtessel._tables import Walk

        globals()["Walk"] = Walk
        return Walk
    subsystem = _NAMES.get(name)
    if subsystem is not None:
        __import__("libtessel." + subsystem)
        value = getattr(_sys.modules["libtessel." + subsystem], name)
        globals()[name] = value
        return value
    # Earlier scripts reach the record classes and the raw module's names
    # through the package; both still resolve, without being listed.
    cls = records._class_for(name)
    if cls is not None:
        return cls
    if not name.startswith("_") and hasattr(_libtessel, name):
        import warnings

        warnings.warn("libtessel.%s is the raw module's; import it from _libtessel" % name, DeprecationWarning,
                      stacklevel=2)
        return getattr(_libtessel, name)
    raise AttributeError("module 'libtessel' has no attribute %r" % name)


def __dir__():
    return sorted(__all__ + ["__version__"])
