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
from libtessel._enums import HostEnum
from libtessel._values import Command, PlainValue, argument, checked_int, checked_name, column

__all__ = [
    "OPTION_NAMES",
    "Option",
    "RtmOperation",
    "bridge_fastpath_disabled",
    "l3_iso_test_mode",
    "options",
    "rtm_operation",
    "set_bridge_fastpath_disabled",
    "set_l3_iso_test_mode",
    "set_options",
]

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


def options() -> dict:
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


def set_options(**values: "int | str") -> None:
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


class RtmOperation(HostEnum):
    """A restart-time (RTM) operation on the state of portsets: save, block
    the ports, restore, complete, and the other steps the host knows."""

    REG_SAVE = ("reg-save", _libtessel.RTM_IOCCMD_REG_SAVE)
    REG_RESTORE = ("reg-restore", _libtessel.RTM_IOCCMD_REG_RESTORE)
    REG_SAVE_DUALLOAD = ("reg-save-dualload", _libtessel.RTM_IOCCMD_REG_SAVE_DUALLOAD)
    REG_RESTORE_DUALLOAD = ("reg-restore-dualload", _libtessel.RTM_IOCCMD_REG_RESTORE_DUALLOAD)
    SAVE = ("save", _libtessel.RTM_IOCCMD_SAVE)
    RESTORE = ("restore", _libtessel.RTM_IOCCMD_RESTORE)
    BLOCK_PORTS = ("block-ports", _libtessel.RTM_IOCCMD_BLOCKPORTS)
    PRE_DUALLOAD = ("pre-dualload", _libtessel.RTM_IOCCMD_PREDUALLOAD)
    GLOBAL_CONFIG = ("global-config", _libtessel.RTM_IOCCMD_GLOBALCONFIG_SAVERESTORE)
    PS_UPGRADE = ("ps-upgrade", _libtessel.RTM_IOCCMD_PS_UPGRADE)
    PORT_UPGRADE = ("port-upgrade", _libtessel.RTM_IOCCMD_PORT_UPGRADE)
    COMPLETE = ("complete", _libtessel.RTM_IOCCMD_COMPLETE)
    RESTORE_COMPLETE = ("restore-complete", _libtessel.RTM_IOCCMD_RESTORE_COMPLETE)
    ENS_OP = ("ens-op", _libtessel.RTM_IOCCMD_ENS_OP)
    CSWITCH_OP = ("cswitch-op", _libtessel.RTM_IOCCMD_CSWITCH_OP)


def rtm_operation(operation: "RtmOperation | str", switches: "list | str") -> None:
    """Applies an RTM operation to the state of the switches given (names
    or aliases).  The host keeps the sequence: an operation out of turn
    raises ``HostError`` with HYX_INVALID_STATE."""
    from libtessel.kernel import resolve_switch

    op = RtmOperation.of(operation, "operation")
    for s in ([switches] if isinstance(switches, str) else switches):
        checked_name(s, "switches", "a switch name or alias")
    names = [resolve_switch(s) for s in ([switches] if isinstance(switches, str) else switches)]
    for name in names:
        if len(name.encode("utf-8")) >= 128:
            raise ValueError("switches must be names of fewer than 128 bytes, got %r" % name)
    query = _libtessel.alloc_rtm_query(len(names))
    if query is None:
        raise MemoryError("no memory for an RTM query of %d switches" % len(names))
    try:
        for i, name in enumerate(names):
            _libtessel.RTM_Portset_psName_set(_libtessel.RTMIOCtlQuery___getitem__(query, i), name)
        status = _libtessel.VSHYX_RTMOp(query, op.code)
    finally:
        _libtessel.free_rtm_query(query)
    if status != _OK:
        raise host_error("VSHYX_RTMOp", status, where="%s of %s" % (op, ", ".join(names) or "no switch"))


def _get(operation):
    status, value = getattr(_libtessel, operation)()
    if status != _OK:
        raise host_error(operation, status)
    return value


def _set(operation, value):
    status = getattr(_libtessel, operation)(value)
    if status != _OK:
        raise host_error(operation, status)


def l3_iso_test_mode() -> int:
    """The layer-3 isolation test mode: 0 (off), 1 or 2."""
    return _get("VSHYX_GetL3IsoTestMode")


def set_l3_iso_test_mode(mode: int) -> None:
    """Sets the layer-3 isolation test mode (0, 1 or 2)."""
    _set("VSHYX_SetL3IsoTestMode", checked_int(mode, "mode", 0, 2))


def bridge_fastpath_disabled() -> bool:
    """Whether the bridge fast path is disabled."""
    return bool(_get("VSHYX_GetBridgeFastpathConfig"))


def set_bridge_fastpath_disabled(disabled: bool) -> None:
    """Disables (True) or enables (False) the bridge fast path."""
    if not isinstance(disabled, bool):
        raise TypeError("disabled must be True or False, not %s" % type(disabled).__name__)
    _set("VSHYX_SetBridgeFastpathConfig", int(disabled))


def _option_value(name, text):
    # On the command line every value is text: an int option takes digits.
    if name in _TYPES and _TYPES[name] < _FIRST_TEXT:
        try:
            return int(text, 0)
        except ValueError:
            raise ValueError("runtime option %s takes an int, got %r" % (name, text)) from None
    return text


def _options_set(args):
    values = {}
    for item in args.assignments:
        name, sep, text = item.partition("=")
        if not sep:
            raise ValueError("options must be given as NAME=VALUE, got %r" % item)
        values[name] = _option_value(name, text)
    set_options(**values)
    return values


COMMANDS = (
    Command(
        "options", "list the host's runtime options",
        lambda args: [Option(name, value) for name, value in options().items()],
        columns=(column("NAME", "name"), column("VALUE", "value")),
        json=lambda rows: {row.name: row.value for row in rows}),
    Command(
        "options set", "set runtime options, all of them or none",
        _options_set,
        arguments=(argument("assignments", nargs="+", metavar="NAME=VALUE", help="an option and its new value"),),
        line=lambda r: "set " + ", ".join("%s=%s" % item for item in r.items()),
        json=lambda r: r),
)
