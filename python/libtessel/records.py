"""The host's records as Python classes.

Every record the module registers (it has a ``<Record>_swigregister``
method) gets a class here: its constructor attaches ``new_<Record>()`` as
``this``, ``delete_<Record>`` is its ``__swig_destroy__``, each field is a
property over ``<Record>_<field>_get``/``_set`` and each extension method
``<Record>_<name>`` is a method.  The classes are built from the module's own
method names and registered with it at import, so the records the module
returns are instances of them; a record added to the module needs no code
here.
"""

import _libtessel

_FUNCTION = type(_libtessel.HYX_ReturnStatusToString)
_REGISTER = "_swigregister"


def _owner(method, records):
    """The record a method belongs to: the longest record name it starts with
    (``VSPortInfo_vlan_flags_get`` belongs to ``VSPortInfo_vlan``), except that
    the accessors of the field holding a nested record (``VSPortInfo_vlan_get``)
    belong to the enclosing record (``VSPortInfo``)."""
    end = len(method)
    while True:
        end = method.rfind("_", 0, end)
        if end <= 0:
            return None
        prefix = method[:end]
        if prefix in records and method[end:] not in ("_get", "_set"):
            return prefix


def _proxy_repr(self):
    return "<%s.%s; proxy of %r >" % (type(self).__module__, type(self).__name__, self.this)


def _thisown_get(self):
    return self.this.own()


def _thisown_set(self, value):
    self.this.own(value)


_THISOWN = property(_thisown_get, _thisown_set)
_instance_method = _libtessel.SWIG_PyInstanceMethod_New


def _make_class(record, members):
    new = getattr(_libtessel, "new_" + record, None)

    def __init__(self):
        if new is None:
            raise TypeError("%s records are made by the host library only" % record)
        self.this = new()

    namespace = {
        "__module__": __name__,
        "__doc__": "Proxy of the host record %s." % record,
        "__init__": __init__,
        "__repr__": _proxy_repr,
        "thisown": _THISOWN,
    }
    destroy = getattr(_libtessel, "delete_" + record, None)
    if destroy is not None:
        namespace["__swig_destroy__"] = destroy
    setters = {}
    for member, func in members.items():
        if member.endswith("_set"):
            setters[member[:-4]] = func
    for member, func in members.items():
        if member.endswith("_get"):
            field = member[:-4]
            namespace[field] = property(func, setters.get(field), doc="%s.%s" % (record, field))
    for member, func in members.items():
        if member.endswith(("_get", "_set")) or member == "swigregister":
            continue
        # A record's own __repr__ replaces the generic one.
        if member not in namespace or member == "__repr__":
            namespace[member] = _instance_method(func)
    return type(record, (object,), namespace)


def _build():
    functions = {name: f for name, f in vars(_libtessel).items() if type(f) is _FUNCTION}
    records = {name[: -len(_REGISTER)] for name in functions if name.endswith(_REGISTER)}
    members = {record: {} for record in records}
    for name, func in functions.items():
        record = _owner(name, records)
        if record is not None:
            members[record][name[len(record) + 1:]] = func
    classes = {}
    for record in sorted(records):
        cls = _make_class(record, members[record])
        functions[record + _REGISTER](cls)
        classes[record] = cls
    return classes


classes = _build()
globals().update(classes)
__all__ = sorted(classes)
