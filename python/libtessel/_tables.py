"""Tables and records the host hands out, copied out and handed back.

The host allocates its tables and keeps them until they are passed back to
its release function.  A ``Walk`` makes the host call and owns the release:
the table goes back when the walk is exhausted, closed, left as a context
manager, or dropped (also without a single step, and when the caller's loop
raises).  Each entry comes out as a Python-owned copy that outlives it.
"""

from itertools import repeat
from operator import length_hint

import _libtessel

_OK = _libtessel.HYX_OK
_release = _libtessel.VSHYX_FreeMemory


class Walk:
    """One pass over a host table, entry by entry.

    Iterate it once (``for entry in walk``), or use it as a context manager
    to bound how long the host's table is held.  ``len(walk)`` is the number
    of entries; ``walk[i]`` copies entry i while the table is held.
    """

    __slots__ = ("_table", "_first", "_count", "_next", "_copy", "_what")

    def __init__(self, result, error, count, entries, copy, what):
        """``result`` is the host call's [status, table]; ``error(status)``
        makes the exception for a failure; ``count(table)`` and
        ``entries(table)`` read its header; ``copy(first, i)`` copies entry
        i; ``what`` names the table in messages."""
        self._table = None
        status, table = result
        if status != _OK:
            if table is not None:
                _release(table)
            raise error(status)
        try:
            self._count = count(table)
            self._first = entries(table)
        except BaseException:
            _release(table)
            raise
        self._table = table
        self._next = 0
        self._copy = copy
        self._what = what

    def close(self):
        """Hands the table back to the host; later steps end the walk."""
        table = self._table
        if table is not None:
            self._table = self._first = None
            _release(table)

    def __del__(self):
        try:
            self.close()
        except Exception:
            # Interpreter shut-down: the module may be gone already.
            pass

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def __iter__(self):
        # A loop takes the entries through a generator over the module's
        # own copy function (no Python step per entry); ``next(walk)`` steps
        # one at a time, from the same position.
        return self._entries()

    def _entries(self):
        if self._table is None:
            return
        count = self._count
        steps = iter(range(self._next, count))
        try:
            yield from map(self._copy, repeat(self._first, count), steps)
        except Exception:
            # The caller closed the walk inside the loop: the copies of the
            # handed-back table are refused, and the walk ends.
            if self._table is not None:
                raise
            return
        finally:
            self._next = count - length_hint(steps)
        self.close()

    def __next__(self):
        if self._table is None:
            raise StopIteration
        i = self._next
        if i >= self._count:
            self.close()
            raise StopIteration
        self._next = i + 1
        return self._copy(self._first, i)

    def __len__(self):
        return self._count

    def __getitem__(self, index):
        if not isinstance(index, int):
            raise TypeError("%s indices must be int, not %s" % (self._what, type(index).__name__))
        if self._table is None:
            raise ValueError("the %s was handed back to the host already" % self._what)
        if index < 0:
            index += self._count
        if not 0 <= index < self._count:
            raise IndexError("%s index out of range" % self._what)
        return self._copy(self._first, index)

    def __repr__(self):
        state = "held" if self._table is not None else "handed back"
        return "<libtessel walk over a %s of %d entries, %s>" % (self._what, self._count, state)


def host_record(result, error, copy):
    """A Python-owned copy of the one record a host call handed out; the
    host's record goes back at once."""
    status, record = result
    try:
        if status != _OK:
            raise error(status)
        return copy(record, 0)
    finally:
        if record is not None:
            _release(record)
