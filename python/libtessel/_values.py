"""What the subsystem modules share: plain-value results, the checks of
values given by callers, and the declarations of command-line commands
(named host constants are in ``_enums``)."""

from collections import namedtuple


class PlainValue:
    """Mixin for the plain-value results (named tuples): ``as_dict()`` gives
    the JSON object the command-line tool prints."""

    __slots__ = ()

    def as_dict(self) -> dict:
        """The value as the JSON object the tool prints."""
        return dict(zip(self._fields, self))  # type: ignore[attr-defined, call-overload]


def checked_int(value, argument, low, high):
    """An int within low..high, or a TypeError/ValueError naming the argument."""
    if not isinstance(value, int) or isinstance(value, bool):
        raise TypeError("%s must be an int, not %s" % (argument, type(value).__name__))
    if not low <= value <= high:
        raise ValueError("%s must be within %d..%d, got %d" % (argument, low, high, value))
    return value


def checked_name(value, argument, what):
    """A non-empty str without NUL, or a TypeError/ValueError naming the
    argument."""
    if not isinstance(value, str):
        raise TypeError("%s must be %s (str), not %s" % (argument, what, type(value).__name__))
    if not value or "\0" in value:
        raise ValueError("%s must be %s, got %r" % (argument, what, value))
    return value


def argument(*flags, **options):
    """One argument of a command, as argparse's add_argument takes it."""
    return flags, options


class Command(namedtuple("Command", "name help run arguments columns json line")):
    """A command of the command-line tool, declared by its subsystem module.

    ``name`` is one word (``ports``) or, for a change, two (``mac add``).
    ``run(args)`` returns the rows (a list) or, for a change, one result;
    ``columns`` are (header, row -> text) pairs for the table; ``json(rows)``
    is what --json prints (by default each row's ``as_dict()``); ``line(result)``
    is the one line a change prints.  Every command takes --json.
    """

    __slots__ = ()

    def __new__(cls, name, help, run, arguments=(), columns=(), json=None, line=None):
        return super().__new__(cls, name, help, run, arguments, columns, json, line)


def column(header, key):
    """A table column showing the row's attribute ``key``."""
    return header, lambda row: str(getattr(row, key))
