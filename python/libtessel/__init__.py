"""libtessel: Python access to the host's virtual-switch control plane.

Switches, ports and MAC tables come out as plain values (``SwitchSummary``,
``PortSummary``, ``MacEntry``); the host's records, for the fields the plain
values leave out, are the classes of ``libtessel.records``.  Failures raise
``HostError`` or one of its subclasses.  ``host()`` says which host the
module talks to: this machine's own libraries, or the simulated host chosen
with ``TESSEL_HOST=simulated``.

Every module of this package whose name has no leading underscore, other
than ``cli``, ``records`` and ``testing``, is a subsystem: it lists its public names in
``__all__`` (exported here) and its command-line commands in ``COMMANDS``.
"""

__version__ = "0.1.0"

import os as _os

from libtessel import _host

_libtessel = _host.load()

from libtessel import records  # noqa: E402  (registers the record classes with the module)
from libtessel._errors import (  # noqa: E402
    AlreadyExists,
    BadParameter,
    Busy,
    HostError,
    LimitExceeded,
    NotFound,
)
from libtessel._host import Host, host  # noqa: E402
from libtessel._tables import Walk  # noqa: E402

_NOT_SUBSYSTEMS = ("cli", "records", "testing")
_SUBSYSTEMS = tuple(sorted(
    entry[:-3] for entry in _os.listdir(_os.path.dirname(__file__))
    if entry.endswith(".py") and not entry.startswith("_") and entry[:-3] not in _NOT_SUBSYSTEMS))

__all__ = ["AlreadyExists", "BadParameter", "Busy", "Host", "HostError", "LimitExceeded", "NotFound", "Walk",
           "host", "records"]


def _export():
    from importlib import import_module

    namespace = globals()
    for name in _SUBSYSTEMS:
        module = import_module("libtessel." + name)
        for public in module.__all__:
            # A subsystem's module may share its name with one of its
            # functions (ports.ports): the function takes the name.
            earlier = namespace.get(public, _os)
            if earlier is not _os and earlier is not getattr(module, public) and type(earlier) is not type(_os):
                raise ImportError("libtessel: %s.%s hides another name of the package" % (name, public))
            namespace[public] = getattr(module, public)
            __all__.append(public)


_export()


def _commands():
    """The command-line commands the subsystems declare, in subsystem order."""
    from sys import modules

    return [command for name in _SUBSYSTEMS for command in getattr(modules["libtessel." + name], "COMMANDS", ())]


def __getattr__(name):
    # Earlier scripts reach the record classes and the raw module's names
    # through the package; both still resolve, without being listed.
    if name in records.classes:
        return records.classes[name]
    if not name.startswith("_") and hasattr(_libtessel, name):
        import warnings

        warnings.warn("libtessel.%s is the raw module's; import it from _libtessel" % name, DeprecationWarning,
                      stacklevel=2)
        return getattr(_libtessel, name)
    raise AttributeError("module 'libtessel' has no attribute %r" % name)


def __dir__():
    return sorted(__all__ + ["__version__"])
