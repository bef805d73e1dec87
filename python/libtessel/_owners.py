"""Which record a method of the module belongs to, by its name alone; shared
by the record classes and the build's stub generator (which loads this file
by path, before the module exists)."""


def owner(method, records):
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
