"""Runtime options: the switch-wide settings of the host (IGMP and MLD
snooping, reverse-ARP announcements, reverse-path checks, fast path,
teaming behaviour, mirror statistics, the IGMP and MLD router addresses).

``options()`` gives every option by its name (``IGMPQueryInterval``, ...)
with a plain value: an int, or a str for the two router addresses.
``set_options(IGMPQueryInterval=125, IGMPRouterIP="10.0.0.1")`` writes the
options given, all of them or none: unknown names and values of the wrong
type or range raise before anything reaches the host; the host refuses
values its options may not take with ``BadParameter``.
"""

from collections import namedtuple

import _libtessel
from libtessel._errors import host_error
from libtessel._values import Command, PlainValue, column

__all__ = ["OPTION_NAMES", "Option", "options", "set_options"]

_OK = _libtessel.HYX_OK
_release = _libtessel.VSHYX_FreeMemory
_NUM = _libtessel.VS_NUM_RT_OPT
_FIRST_TEXT = _libtessel.NUM_RUNTIME_INT_OPTIONS
# The longest text value, its terminating zero included.
_MAX_TEXT = _libtessel.VS_CHARDEV_MAX_RUNTIME_STRING_OPTION_LENGTH
_HEADER = 4
_INT_LENGTH = 8



def _names():
    # The module's own table, index = type.
    header = _libtessel.new_VSRuntimeOptionHeader()
    names = []
    for t in range(_NUM):
        _libtessel.VSRuntimeOptionHeader_type_set(header, t)
        names.append(_libtessel.VSRuntimeOptionHeader_get_option_name(header))
    _libtessel.delete_VSRuntimeOptionHeader(header)
    return tuple(names)


OPTION_NAMES = _names()
_TYPES = {name: t for t, name in enumerate(OPTION_NAMES)}


class Option(PlainValue, namedtuple("Option", "name value")):
    """One runtime option: its name and its value (int, or str for an
    address)."""

    __slots__ = ()


def options():
    """Every runtime option of the host: {name: value}, in type order."""
    status, block = _libtessel.VSHYX_GetRuntimeOptions(None, 0)
    if status != _OK:
        raise host_error("VSHYX_GetRuntimeOptions", status)
    try:
        result = {}
        header = _libtessel.VSRuntimeOptions_get_first_option(block)
        while header is not None:
            name = _libtessel.VSRuntimeOptionHeader_get_option_name(header)
            value = _libtessel.VSRuntimeOptionHeader_get_option_value(header)
            result[name] = value.decode("utf-8", "surrogateescape") if isinstance(value, bytes) else value
            header = _libtessel.VSRuntimeOptions_get_next_option(block, header)
        return result
    finally:
        _release(block)


def _checked(name, value):
    """The option's type and its value as the block stores it."""
    if name not in _TYPES:
        raise ValueError("unknown runtime option %r (known: %s)" % (name, ", ".join(OPTION_NAMES)))
    t = _TYPES[name]
    if t < _FIRST_TEXT:
        if not isinstance(value, int) or isinstance(value, bool):
            raise TypeError("runtime option %s takes an int, not %s" % (name, type(value).__name__))
        if not 0 <= value <= 0xFFFFFFFF:
            raise ValueError("runtime option %s must be within 0..4294967295, got %d" % (name, value))
        return t, value
    if not isinstance(value, str):
        raise TypeError("runtime option %s takes a str, not %s" % (name, type(value).__name__))
    if "\0" in value or len(value.encode("utf-8")) >= _MAX_TEXT:
        raise ValueError("runtime option %s must be a text of at most %d bytes without NUL, got %r"
                         % (name, _MAX_TEXT - 1, value))
    return t, value


def set_options(**values):
    """Writes the options given by name, all of them or none."""
    items = [(name,) + _checked(name, value) for name, value in values.items()]
    lengths = [_INT_LENGTH if t < _FIRST_TEXT else _HEADER + len(v.encode("utf-8")) + 1 for _, t, v in items]
    # One byte more than the options need: an option must end before the
    # buffer's end.
    block = _libtessel.new_VSRuntimeOptions(4 + sum(lengths) + 1)
    position = _libtessel.VSRuntimeOptions_get_first_option(block) if items else None
    for name, t, value in items:
        if t < _FIRST_TEXT:
            # The block stores the value's 32-bit pattern.
            signed = value - (1 << 32) if value >= 1 << 31 else value
            position = _libtessel.VSRuntimeOptions_add_int_option(block, position, name, t, signed)
        else:
            position = _libtessel.VSRuntimeOptions_add_str_option(block, position, name, t, value)
        if position is None:
            raise RuntimeError("the runtime option block was built too small for %s" % name)
    _libtessel.VSRuntimeOptions_set_options_length(block, sum(lengths))
    status = _libtessel.VSHYX_SetRuntimeOptions(block)
    if status != _OK:
        raise host_error("VSHYX_SetRuntimeOptions", status)


COMMANDS = (
    Command(
        "options", "list the host's runtime options",
        lambda args: [Option(name, value) for name, value in options().items()],
        columns=(column("NAME", "name"), column("VALUE", "value")),
        json=lambda rows: {row.name: row.value for row in rows}),
)
