"""JSON text of the tool's output, the same text ``json.dumps(value,
indent=2)`` gives, without importing ``json`` (whose decoder pulls in ``re``
and ``enum``): the tool's start is part of its cost.  A value of a type this
does not know goes to ``json`` itself."""

# The characters a JSON text may carry as they are (printable ASCII but the
# quote and the backslash); any other text goes through json's own encoder.
_PLAIN = frozenset(chr(c) for c in range(0x20, 0x7F)) - {'"', "\\"}


def _text(value):
    if _PLAIN.issuperset(value):
        return '"' + value + '"'
    from _json import encode_basestring_ascii

    return encode_basestring_ascii(value)


def dumps(value, indent: int = 2) -> str:
    """``value`` (dicts with str keys, lists, tuples, str, int, float, bool,
    None) as indented JSON text."""
    try:
        parts: list = []
        _write(value, parts, "\n", " " * indent)
        return "".join(parts)
    except _Unknown:
        import json

        return json.dumps(value, indent=indent)


class _Unknown(Exception):
    pass


def _write(value, parts, newline, step):
    if isinstance(value, str):
        parts.append(_text(value))
    elif value is None:
        parts.append("null")
    elif value is True:
        parts.append("true")
    elif value is False:
        parts.append("false")
    elif isinstance(value, int):
        parts.append(int.__repr__(value))
    elif isinstance(value, float):
        if value != value or value in (float("inf"), float("-inf")):
            raise _Unknown
        parts.append(float.__repr__(value))
    elif isinstance(value, (list, tuple)):
        if not value:
            parts.append("[]")
            return
        inner = newline + step
        parts.append("[")
        for i, item in enumerate(value):
            parts.append(inner if i == 0 else "," + inner)
            _write(item, parts, inner, step)
        parts.append(newline + "]")
    elif isinstance(value, dict):
        if not value:
            parts.append("{}")
            return
        inner = newline + step
        parts.append("{")
        for i, (key, item) in enumerate(value.items()):
            if not isinstance(key, str):
                raise _Unknown
            parts.append(inner if i == 0 else "," + inner)
            parts.append(_text(key) + ": ")
            _write(item, parts, inner, step)
        parts.append(newline + "}")
    else:
        raise _Unknown
