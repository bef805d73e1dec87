"""Calls into C made with the interpreter's own ``_ctypes`` runtime (the
host check loads it anyway; ``ctypes`` itself would cost the tool's start a
millisecond and a half): the bytes of the host's records the module gives
only as addresses (array fields: a switch's names, its VLAN use counts),
and C's ``exit`` for the tool's end."""

import os
import _ctypes


class _Address(_ctypes._SimpleCData):
    _type_ = "P"


class _Count(_ctypes._SimpleCData):
    _type_ = "i"


class _Object(_ctypes._SimpleCData):
    _type_ = "O"


class _Exit(_ctypes.CFuncPtr):
    # C's exit(status), called with the interpreter's lock held: nothing of
    # Python runs while the process ends.
    _argtypes_ = (_Count,)
    _restype_ = None
    _flags_ = _ctypes.FUNCFLAG_CDECL | _ctypes.FUNCFLAG_PYTHONAPI


class _StringAt(_ctypes.CFuncPtr):
    # ctypes.string_at's own function: a Python API call, so the
    # interpreter's lock is held and an error it sets is raised.
    _argtypes_ = (_Address, _Count)
    _restype_ = _Object
    _flags_ = _ctypes.FUNCFLAG_CDECL | _ctypes.FUNCFLAG_PYTHONAPI


# ctypes' own address of the function (the typeshed stubs leave it out).
_string_at = _StringAt(_ctypes._string_at_addr)  # type: ignore[attr-defined]


def bytes_at(address: int, size: int) -> bytes:
    """``size`` bytes from ``address`` (which must address that many)."""
    if not isinstance(address, int) or address <= 0:
        raise ValueError("bytes_at needs an address, got %r" % (address,))
    if not isinstance(size, int) or not 0 <= size < 2 ** 31:
        raise ValueError("bytes_at needs a size within 0..2**31-1, got %r" % (size,))
    return _string_at(address, size)


def exit_process(status: int) -> None:
    """Ends the process with ``status`` as C's ``exit`` does (C's buffered
    output written, the libraries' destructors run), without the
    interpreter's teardown, which would double the tool's run: for a
    process that has flushed its own output and registered no ``atexit``
    callbacks.  Raises SystemExit where C's exit cannot be found."""
    if not isinstance(status, int) or not 0 <= status <= 255:
        raise SystemExit(status)
    try:
        address = _ctypes.dlsym(_ctypes.dlopen(None, os.RTLD_NOW), "exit")
    except OSError:
        raise SystemExit(status) from None
    _Exit(address)(status)
