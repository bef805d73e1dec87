"""The host's records as Python classes.

Every record the module registers (it has a ``<Record>_swigregister``
method) gets a class here, so the records the module returns are instances
of it.  A class is made and registered with the module the first time it
is needed: when the module first hands out a record of its type (the module
asks ``__record_class__``, which this package sets at import), or when the
class is named here (``records.VSInfo``; ``classes`` makes them all).  Its
constructor attaches ``new_<Record>()`` as ``this``, ``delete_<Record>`` is
its ``__swig_destroy__``, each field is a property over
``<Record>_<field>_get``/``_set`` and each extension method
``<Record>_<name>`` is a method; a record added to the module needs no code
here.

A class gets its fields and methods the first time one of its instances is
made, read or written (or ``fill`` is called), from the module's own method
names.  Only the sequence methods
(``__len__``, ``__getitem__``, ...) are there from the start, since Python
looks them up on the class itself.

``repr(record)`` shows the fields (nested records in parentheses); a field
that cannot be read shows as ``?``.  A host table record (a header with
``numEntries``, then its entries) is a sequence: ``len(table)``,
``table[i]`` and iteration give Python-owned copies of its entries, within
its count; ``walk(table)`` gives them as a list.
"""

import _thread

import _libtessel

_REGISTER = "_swigregister"
_SPECIAL = ("__getitem__", "__setitem__", "__len__", "__next__")
_instance_method = _libtessel.SWIG_PyInstanceMethod_New
_module_names = None
_record_names = None


def _names():
    global _module_names
    if _module_names is None:
        _module_names = tuple(vars(_libtessel))
    return _module_names


def _names_of_records():
    """The records of the module, in its order."""
    return [name[: -len(_REGISTER)] for name in _names() if name.endswith(_REGISTER)]


def _records():
    global _record_names
    if _record_names is None:
        _record_names = frozenset(_names_of_records())
    return _record_names


def _members(record):
    """{member: function} of one record, from the module's method names."""
    from libtessel._owners import owner as _owner

    prefix = record + "_"
    found = {}
    for name in _names():
        if name.startswith(prefix) and _owner(name, _records()) == record:
            found[name[len(prefix):]] = getattr(_libtessel, name)
    return found


class Record:
    """The base of every record class: a record of the host, addressed
    through the module's pointer object ``this``."""

    __slots__ = ()
    _fields = None

    @property
    def thisown(self):
        """Whether Python owns (and frees) the record's memory."""
        return self.this.own()

    @thisown.setter
    def thisown(self, value):
        self.this.own(value)

    def __init__(self):
        cls = type(self)
        if cls._fields is None:
            fill(cls)
        this = getattr(_libtessel, "new_" + cls.__name__)()
        if this is None:
            # The module has said "malloc failed for <record>".
            raise MemoryError("no memory for a %s record" % cls.__name__)
        self.this = this

    def __getattr__(self, name):
        # Reached only for a name the class lacks: its members, before the
        # class got them.
        cls = type(self)
        if cls._fields is None and not name.startswith("__"):
            fill(cls)
            return getattr(self, name)
        raise AttributeError("%r object has no attribute %r" % (cls.__name__, name))

    def __setattr__(self, name, value):
        cls = type(self)
        if cls._fields is None and name != "this":
            fill(cls)
        object.__setattr__(self, name, value)

    def __dir__(self):
        cls = type(self)
        if cls._fields is None:
            fill(cls)
        return object.__dir__(self)

    def __repr__(self):
        return _show(self, 2)


def _show(record, depth):
    cls = type(record)
    if cls._fields is None:
        fill(cls)
    if depth <= 0:
        return "%s(...)" % cls.__name__
    parts = []
    for field in cls._fields:
        try:
            value = getattr(record, field)
        except Exception:
            parts.append("%s=?" % field)
            continue
        if isinstance(value, Record):
            parts.append("%s=%s" % (field, _show(value, depth - 1)))
        else:
            parts.append("%s=%r" % (field, value))
    return "%s(%s)" % (cls.__name__, ", ".join(parts))


def fill(cls):
    """Gives a record class its fields and methods (done on first use)."""
    if cls._fields is not None:
        return cls
    record = cls.__name__
    members = _members(record)
    setters = {m[:-4]: f for m, f in members.items() if m.endswith("_set")}
    fields = []
    for member, func in members.items():
        if member.endswith("_get"):
            field = member[:-4]
            fields.append(field)
            setattr(cls, field, property(func, setters.get(field), doc="%s.%s" % (record, field)))
    for member, func in members.items():
        if member.endswith(("_get", "_set")) or member == "swigregister" or member in _SPECIAL:
            continue
        if member not in fields:
            setattr(cls, member, _instance_method(func))
    cls._fields = tuple(fields)
    # Filled: plain attribute writes from now on.
    cls.__setattr__ = object.__setattr__
    return cls


def _make_class(record, specials, table):
    namespace = {
        "__module__": __name__,
        "__doc__": "The host record %s." % record,
        "__swig_destroy__": getattr(_libtessel, "delete_" + record),
    }
    if table and not specials:
        namespace.update(_TABLE)
    for special, func in specials:
        namespace[special] = _instance_method(func)
    return type(record, (Record,), namespace)


_made: dict = {}
# Threads asking for the same class at once get the one class (reentrant:
# a collection while a class is made may run code that asks for another).
_making = _thread.RLock()


# The class of a record, made and registered with the module on first need;
# None for a name that is no record of the module.  (No docstring: the
# module's callables carry none, and this one is set on it.)
def _class_for(record):
    cls = _made.get(record)
    if cls is not None:
        return cls
    with _making:
        return _made.get(record) or _make(record)


def _make(record):
    module = vars(_libtessel)
    register = module.get(record + _REGISTER) if type(record) is str else None
    if register is None:
        return None
    specials = [(special, module[record + "_" + special]) for special in _SPECIAL + ("__repr__",)
                if record + "_" + special in module]
    cls = _make_class(record, specials, record + "_numEntries_get" in module)
    _made[record] = cls
    globals()[record] = cls
    register(cls)
    return cls


def _elements(table):
    """The first element of a table's element array (its last field) and
    the function that copies element i out of it."""
    cls = type(table)
    if cls._fields is None:
        fill(cls)
    first = getattr(table, cls._fields[-1]) if cls._fields else None
    if "numEntries" not in cls._fields or "__getitem__" not in type(first).__dict__:
        raise TypeError("%s is not a table of entries" % cls.__name__)
    return first, type(first).__getitem__


def _table_len(self):
    return self.numEntries


def _table_getitem(self, index):
    if not isinstance(index, int) or isinstance(index, bool):
        raise TypeError("%s indices must be int, not %s" % (type(self).__name__, type(index).__name__))
    count = self.numEntries
    if index < 0:
        index += count
    if not 0 <= index < count:
        raise IndexError("%s index out of range" % type(self).__name__)
    first, copy = _elements(self)
    return copy(first, index)


def _table_iter(self):
    first, copy = _elements(self)
    for i in range(self.numEntries):
        yield copy(first, i)


# A table of the host (a header with numEntries, then its entries) is a
# sequence of Python-owned copies of its entries, unless the module gives
# it its own sequence methods.
_TABLE = {"__len__": _table_len, "__getitem__": _table_getitem, "__iter__": _table_iter}


def walk(table) -> list:
    """The entries of a host table record (one with ``numEntries`` and an
    element array, its last field), each a Python-owned copy, as a list."""
    first, copy = _elements(table)
    return [copy(first, i) for i in range(table.numEntries)]


# The module asks for a class the first time it hands out a record of a
# type no class is registered for.
setattr(_libtessel, "__record_class__", _class_for)


def __getattr__(name: str) -> "Any":
    """A record class by its name (made on first use); ``classes`` is
    {record name: class} of every record of the module."""
    if name == "classes":
        made = {record: _class_for(record) for record in _names_of_records()}
        globals()["classes"] = made
        return made
    cls = _class_for(name)
    if cls is None:
        raise AttributeError("module %r has no attribute %r" % (__name__, name))
    return cls


_TYPE_CHECKING = False
if _TYPE_CHECKING:
    from typing import Any
