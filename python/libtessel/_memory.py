"""Bytes of the host's records the module gives only as addresses (array
fields: a switch's names, its VLAN use counts), read with the interpreter's
own ``_ctypes`` runtime: the host check loads it anyway, and ``ctypes``
itself would cost the tool's start a millisecond and a half."""

import _ctypes


class _Address(_ctypes._SimpleCData):
    _type_ = "P"


class _Count(_ctypes._SimpleCData):
    _type_ = "i"


class _Object(_ctypes._SimpleCData):
    _type_ = "O"


class _StringAt(_ctypes.CFuncPtr):
    # ctypes.string_at's own function: a Python API call, so the
    # interpreter's lock is held and an error it sets is raised.
    _argtypes_ = (_Address, _Count)
    _restype_ = _Object
    _flags_ = _ctypes.FUNCFLAG_CDECL | _ctypes.FUNCFLAG_PYTHONAPI


_string_at = _StringAt(_ctypes._string_at_addr)


def bytes_at(address: int, size: int) -> bytes:
    """``size`` bytes from ``address`` (which must address that many)."""
    if not isinstance(address, int) or address <= 0:
        raise ValueError("bytes_at needs an address, got %r" % (address,))
    if not isinstance(size, int) or not 0 <= size < 2 ** 31:
        raise ValueError("bytes_at needs a size within 0..2**31-1, got %r" % (size,))
    return _string_at(address, size)
