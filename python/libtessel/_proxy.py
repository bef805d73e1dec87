"""Proxy classes over the module's record accessors.

Every record the module registers (it has a ``<Record>_swigregister``
method) gets a class here: its constructor attaches ``new_<Record>()`` as
``this``, ``delete_<Record>`` is its ``__swig_destroy__``, each field is a
property over ``<Record>_<field>_get``/``_set`` and each extension method
``<Record>_<name>`` is a method.  The classes are built from the module's own
method names, so a record added to the module needs no code here.
"""

import _libtessel

_SUFFIX_GET = "_get"
_SUFFIX_SET = "_set"


def _record_names(methods):
    return sorted(m[: -len("_swigregister")] for m in methods if m.endswith("_swigregister"))


def _owner(method, records_longest_first):
    """The record a method belongs to: the longest record name it starts with
    (``VSPortInfo_vlan_flags_get`` belongs to ``VSPortInfo_vlan``), except that
    the accessors of the field holding a nested record (``VSPortInfo_vlan_get``)
    belong to the enclosing record (``VSPortInfo``)."""
    for record in records_longest_first:
        if method.startswith(record + "_") and method not in (record + _SUFFIX_GET, record + _SUFFIX_SET):
            return record
    return None


def _proxy_repr(self):
    return "<%s.%s; proxy of %r >" % (type(self).__module__, type(self).__name__, self.this)


def _make_class(record, members, module_name):
    getters = {}
    setters = {}
    methods = {}
    for member in members:
        if member == "swigregister":
            continue
        if member.endswith(_SUFFIX_GET):
            getters[member[: -len(_SUFFIX_GET)]] = getattr(_libtessel, "%s_%s" % (record, member))
        elif member.endswith(_SUFFIX_SET):
            setters[member[: -len(_SUFFIX_SET)]] = getattr(_libtessel, "%s_%s" % (record, member))
        else:
            methods[member] = getattr(_libtessel, "%s_%s" % (record, member))
    new = getattr(_libtessel, "new_" + record, None)

    def __init__(self):
        if new is None:
            raise TypeError("%s records are made by the host library only" % record)
        self.this = new()

    namespace = {
        "__module__": module_name,
        "__doc__": "Proxy of the host record %s." % record,
        "__init__": __init__,
        "__repr__": _proxy_repr,
        "thisown": property(lambda self: self.this.own(), lambda self, v: self.this.own(v)),
    }
    destroy = getattr(_libtessel, "delete_" + record, None)
    if destroy is not None:
        namespace["__swig_destroy__"] = destroy
    for field, getter in getters.items():
        namespace[field] = property(getter, setters.get(field), doc="%s.%s" % (record, field))
    for name, func in methods.items():
        # A record's own __repr__ replaces the generic one.
        if name not in namespace or name == "__repr__":
            namespace[name] = _libtessel.SWIG_PyInstanceMethod_New(func)
    return type(record, (object,), namespace)


def build_proxies(module_name):
    """Creates and registers one proxy class per record; returns them by name."""
    methods = [m for m in dir(_libtessel) if callable(getattr(_libtessel, m))]
    records = _record_names(methods)
    longest_first = sorted(records, key=len, reverse=True)
    members = {record: [] for record in records}
    for method in methods:
        record = _owner(method, longest_first)
        if record is not None:
            members[record].append(method[len(record) + 1 :])
    classes = {}
    for record in records:
        cls = _make_class(record, members[record], module_name)
        getattr(_libtessel, record + "_swigregister")(cls)
        classes[record] = cls
    return classes
