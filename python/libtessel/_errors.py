"""Host failures as exceptions a caller can act on.

A ``HostError`` carries the host's status, the name of its constant and the
host's text, and, where the layer can tell, which argument (switch, port,
MAC) the failure concerns and the value given there.  The common statuses
have their own subclasses.
"""

import _libtessel

HYX_OK = _libtessel.HYX_OK


class HostError(Exception):
    """A host call failed.

    Attributes: ``operation`` (the host function), ``status`` (the host's
    status as an int, or None when the host gave none), ``name`` (the status
    constant, for example "HYX_NOT_FOUND"), ``text`` (the host's text for the
    status), ``argument`` ("switch", "port", "mac" or None) and ``value`` (what
    was given for that argument).  ``where`` says what the call was made on,
    for the message.
    """

    def __init__(self, operation, status=None, *, argument=None, value=None, message=None, where=None):
        self.operation = operation
        self.status = status
        self.argument = argument
        self.value = value
        if status is None:
            self.name = None
            self.text = "failed"
        else:
            self.name = status_name(status)
            self.text = _libtessel.HYX_ReturnStatusToString(status)
        if message is None:
            message = "%s on %s failed" % (operation, where) if where else "%s failed" % operation
            if status is not None:
                message += ": %s (%s, 0x%x)" % (self.text, self.name or "unknown status", status & 0xFFFFFFFF)
        super().__init__(message)


class NotFound(HostError):
    """The switch, port or entry named does not exist (HYX_NOT_FOUND)."""


class AlreadyExists(HostError):
    """The entry exists already (HYX_EXISTS)."""


class LimitExceeded(HostError):
    """A table of the host is full (HYX_LIMIT_EXCEEDED)."""


class BadParameter(HostError):
    """The host refused a value (HYX_BAD_PARAM)."""


class Busy(HostError):
    """The host is busy; the call may succeed later (HYX_BUSY)."""


_CLASSES = {
    _libtessel.HYX_NOT_FOUND: NotFound,
    _libtessel.HYX_EXISTS: AlreadyExists,
    _libtessel.HYX_LIMIT_EXCEEDED: LimitExceeded,
    _libtessel.HYX_BAD_PARAM: BadParameter,
    _libtessel.HYX_BUSY: Busy,
}

# Status codes: HYX_OK and the block from HYX_FAILURE up to HYX_LAST_ERR,
# plus HYX_GENERIC_LINUX_ERROR.
_FIRST_ERROR = _libtessel.HYX_FAILURE
_LAST_ERROR = _libtessel.HYX_LAST_ERR
_names = None


def status_name(status):
    """The name of a status constant ("HYX_NOT_FOUND"), or None."""
    global _names
    if _names is None:
        names = {}
        for name, value in vars(_libtessel).items():
            if (name.startswith("HYX_") and type(value) is int and name != "HYX_LAST_ERR"
                    and (_FIRST_ERROR <= value < _LAST_ERROR or value == _libtessel.HYX_GENERIC_LINUX_ERROR)):
                names[value] = name
        names[HYX_OK] = "HYX_OK"
        _names = names
    return _names.get(status)


def host_error(operation, status, **details):
    """The exception for a failure status: the subclass of its status."""
    return _CLASSES.get(status, HostError)(operation, status, **details)


def not_found(operation, argument, value, message):
    return NotFound(operation, _libtessel.HYX_NOT_FOUND, argument=argument, value=value, message=message)


def switch_error(operation, switch):
    """Makes the exception for a failed call on a switch: "not found" means
    the switch."""

    def error(status):
        if status == _libtessel.HYX_NOT_FOUND:
            return not_found(operation, "switch", switch, "no switch named %r" % switch)
        return host_error(operation, status, argument="switch", value=switch, where=switch)

    return error
