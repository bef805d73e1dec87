"""What the subsystem modules share: plain-value results, named host
constants, the checks of values given by callers, and the declarations of
command-line commands."""

from collections import namedtuple
from enum import StrEnum


class PlainValue:
    """Mixin for the plain-value results (named tuples): ``as_dict()`` gives
    the JSON object the command-line tool prints."""

    __slots__ = ()

    def as_dict(self):
        return dict(zip(self._fields, self))


class HostEnum(StrEnum):
    """A named host constant.  A member compares equal to its label (so it
    prints and serialises as "static"); ``code`` is the host's number."""

    def __new__(cls, label, code):
        member = str.__new__(cls, label)
        member._value_ = label
        member.code = code
        return member

    @classmethod
    def of(cls, value, argument):
        """The member for a member, its label or the host's number."""
        if isinstance(value, cls):
            return value
        if isinstance(value, str):
            member = cls._value2member_map_.get(value.lower())
            if member is not None:
                return member
        elif isinstance(value, int) and not isinstance(value, bool):
            for member in cls:
                if member.code == value:
                    return member
        else:
            raise TypeError("%s must be a %s or one of its labels, not %s"
                            % (argument, cls.__name__, type(value).__name__))
        raise ValueError("%s must be one of %s, got %r"
                         % (argument, ", ".join(repr(m.value) for m in cls), value))

    @classmethod
    def from_code(cls, code):
        """The member the host's number stands for; a number the layer does
        not know comes back as its decimal text."""
        for member in cls:
            if member.code == code:
                return member
        return str(code)


def checked_int(value, argument, low, high):
    """An int within low..high, or a TypeError/ValueError naming the argument."""
    if not isinstance(value, int) or isinstance(value, bool):
        raise TypeError("%s must be an int, not %s" % (argument, type(value).__name__))
    if not low <= value <= high:
        raise ValueError("%s must be within %d..%d, got %d" % (argument, low, high, value))
    return value


def checked_name(value, argument, what):
    if not isinstance(value, str):
        raise TypeError("%s must be %s (str), not %s" % (argument, what, type(value).__name__))
    if not value or "\0" in value:
        raise ValueError("%s must be %s, got %r" % (argument, what, value))
    return value


def argument(*flags, **options):
    """One argument of a command, as argparse's add_argument takes it."""
    return flags, options


class Command(namedtuple("Command", "name help run arguments columns json")):
    """A command of the command-line tool, declared by its subsystem module.

    ``run(args)`` returns the rows; ``columns`` are (header, row -> text)
    pairs for the table; ``json(rows)`` is what --json prints (by default
    each row's ``as_dict()``).  Every command takes --json.
    """

    __slots__ = ()

    def __new__(cls, name, help, run, arguments=(), columns=(), json=None):
        return super().__new__(cls, name, help, run, arguments, columns, json)


def column(header, key):
    """A table column showing the row's attribute ``key``."""
    return header, lambda row: str(getattr(row, key))
