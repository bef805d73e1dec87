"""Named host constants: a member is its label and carries the host's
number."""

from enum import StrEnum


class HostEnum(StrEnum):
    """A named host constant.  A member compares equal to its label (so it
    prints and serialises as "static"); ``code`` is the host's number."""

    code: int

    def __new__(cls, label, code):
        member = str.__new__(cls, label)
        member._value_ = label
        member.code = code
        return member

    @classmethod
    def of(cls, value, argument) -> "HostEnum":
        """The member for a member, its label or the host's number."""
        if isinstance(value, cls):
            return value
        if isinstance(value, str):
            member = cls._value2member_map_.get(value.lower())
            if member is not None:
                return member  # type: ignore[return-value]
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
