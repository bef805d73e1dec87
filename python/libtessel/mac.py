"""MAC tables: a switch's and a port's entries, and a port's static entries.

A MAC address is given as text in one of the common forms
(``0a:1b:2c:3d:4e:5f``, ``0a-1b-2c-3d-4e-5f``, ``0a1b.2c3d.4e5f``) or as six
bytes; it comes out as the module's text form ``0a:1b:2c:3d:4e:5f``.
"""

from collections import namedtuple

import _libtessel
from libtessel._errors import host_error, not_found
from libtessel._tables import Walk
from libtessel._values import Command, HostEnum, PlainValue, argument, checked_int, column
from libtessel.kernel import resolve_switch
from libtessel.ports import port_error, port_name

__all__ = [
    "MacEntry",
    "MacEntrySummary",
    "MacTable",
    "MacType",
    "StaticLeContext",
    "clear_static_mac",
    "mac_summaries",
    "mac_table",
    "parse_mac",
    "port_mac_table",
    "set_static_mac",
    "static_le_contexts",
]

_NOT_FOUND = _libtessel.HYX_NOT_FOUND
_EXISTS = _libtessel.HYX_EXISTS
_LIMIT_EXCEEDED = _libtessel.HYX_LIMIT_EXCEEDED
_VLAN_MAX = 4095
_VNI_MAX = 0xFFFFFFFF
_HEX = frozenset("0123456789abcdefABCDEF")


class MacType(HostEnum):
    """The kind of a MAC table entry; ``ALL`` selects every kind."""

    STATIC = ("static", _libtessel.VS_MAC_ADDR_TYPE_STATIC)
    USER = ("user", _libtessel.VS_MAC_ADDR_TYPE_USER)
    LEARNED = ("learned", _libtessel.VS_MAC_ADDR_TYPE_LEARNED)
    ALL = ("all", _libtessel.VS_MAC_ADDR_TYPE_ALL)


class MacTable(HostEnum):
    """Which of a switch's MAC tables to read."""

    ALL = ("all", _libtessel.VS_ALL_MAC_TABLE)
    DYNAMIC = ("dynamic", _libtessel.VS_DYNAMIC_MAC_TABLE)
    STATIC = ("static", _libtessel.VS_STATIC_MAC_TABLE)


def _groups(text):
    if len(text) == 17 and text[2] in ":-" and all(text[i] == text[2] for i in range(2, 17, 3)):
        return text.split(text[2])
    if len(text) == 14 and text[4] == text[9] == ".":
        return text.split(".")
    return None


def parse_mac(mac, name="mac"):
    """The six bytes of a MAC address given as six bytes or as text in a
    common form; anything else raises a ValueError (TypeError for a value
    that is neither text nor bytes) naming the argument and showing the
    value."""
    if isinstance(mac, (bytes, bytearray, memoryview)):
        raw = bytes(mac)
        if len(raw) == 6:
            return raw
    elif isinstance(mac, str):
        groups = _groups(mac)
        if groups is not None and all(c in _HEX for c in "".join(groups)):
            return bytes.fromhex("".join(groups))
    else:
        raise TypeError("%s must be a MAC address (text or six bytes), not %s" % (name, type(mac).__name__))
    raise ValueError("%s must be a MAC address such as '0a:1b:2c:3d:4e:5f', '0a-1b-2c-3d-4e-5f', "
                     "'0a1b.2c3d.4e5f' or six bytes, got %r" % (name, mac))


def _mac_text(raw):
    return ":".join("%02x" % b for b in raw)


def _switch_error(operation, switch):
    def error(status):
        return host_error(operation, status, argument="switch", value=switch, where=switch)

    return error


def _walk(result, error):
    return Walk(result, error, _libtessel.VSMACTable_numEntries_get, _libtessel.VSMACTable_macEntries_get,
                _libtessel.VSMACEntry___getitem__, "MAC table")


def mac_table(switch, addr_type=MacType.ALL, table_type=MacTable.ALL):
    """The MAC entries of a switch, each a Python-owned ``records.VSMACEntry``,
    as a ``Walk`` (see ``ports``)."""
    kind = MacType.of(addr_type, "addr_type")
    table = MacTable.of(table_type, "table_type")
    name = resolve_switch(switch)
    return _walk(_libtessel.VSHYX_GetMACTable(name, kind.code, table.code),
                 _switch_error("VSHYX_GetMACTable", name))


def port_mac_table(switch, port, addr_type=MacType.ALL):
    """The MAC entries of one port, as a ``Walk``."""
    kind = MacType.of(addr_type, "addr_type")
    name = resolve_switch(switch)
    return _walk(_libtessel.VSHYX_GetPortMACTable(name, port_name(port), kind.code),
                 port_error("VSHYX_GetPortMACTable", name, port))


def _static_kind(addr_type):
    kind = MacType.of(addr_type, "addr_type")
    if kind not in (MacType.STATIC, MacType.USER):
        raise ValueError("addr_type must be 'static' or 'user' for a port's static entries, got %r" % kind.value)
    return kind


def _static_entry(mac, vid, vni, kind):
    from libtessel.records import VSMACEntry

    entry = VSMACEntry()
    entry.set_mac_address(mac)
    entry.vid = vid
    entry.vni = vni
    entry.macAddrType = kind.code
    return entry


def _describe(mac, vid, vni):
    return "MAC %s (VLAN %d, VNI %d)" % (_mac_text(mac), vid, vni)


def set_static_mac(switch, port, mac, vid=0, vni=0, addr_type=MacType.STATIC):
    """Adds a static entry (or, with ``addr_type=MacType.USER``, a user entry)
    for ``mac`` on VLAN ``vid`` and network ``vni`` to a port's table."""
    raw = parse_mac(mac)
    checked_int(vid, "vid", 0, _VLAN_MAX)
    checked_int(vni, "vni", 0, _VNI_MAX)
    kind = _static_kind(addr_type)
    name = resolve_switch(switch)
    status = _libtessel.VSHYX_SetPortMACTable(name, port_name(port), 1, _static_entry(raw, vid, vni, kind))
    if status == _EXISTS:
        raise host_error("VSHYX_SetPortMACTable", status, argument="mac", value=mac,
                         message="%s has an entry on another port of %s already" % (_describe(raw, vid, vni), name))
    if status == _LIMIT_EXCEEDED:
        raise host_error("VSHYX_SetPortMACTable", status, argument="port", value=port,
                         message="port %r of %s has no room for another static entry" % (port, name))
    if status != _libtessel.HYX_OK:
        raise port_error("VSHYX_SetPortMACTable", name, port)(status)


def clear_static_mac(switch, port, mac, vid=0, vni=0, addr_type=MacType.STATIC):
    """Removes a port's static entry (or, with ``addr_type=MacType.USER``, its
    user entry) for ``mac`` on VLAN ``vid`` and network ``vni``; an entry of
    the other kind stays and the call raises ``NotFound``."""
    raw = parse_mac(mac)
    checked_int(vid, "vid", 0, _VLAN_MAX)
    checked_int(vni, "vni", 0, _VNI_MAX)
    kind = _static_kind(addr_type)
    name = resolve_switch(switch)
    text = _mac_text(raw)

    def missing():
        return not_found("VSHYX_ClearPortMACTable", "mac", mac, "no %s entry for %s on port %r of %s"
                         % (kind.value, _describe(raw, vid, vni), port, name))

    # The host clears an entry of either kind: only one of the kind asked
    # for may go.
    with port_mac_table(name, port, kind) as entries:
        if not any(e.macAddress == text and e.vid == vid and e.vni == vni for e in entries):
            raise missing()
    status = _libtessel.VSHYX_ClearPortMACTable(name, port_name(port), 1, _static_entry(raw, vid, vni, kind))
    if status == _NOT_FOUND:
        raise missing()
    if status != _libtessel.HYX_OK:
        raise port_error("VSHYX_ClearPortMACTable", name, port)(status)


class MacEntry(PlainValue, namedtuple("MacEntry", "mac type port_id vlan vni aging")):
    """One MAC table entry, as plain values: ``mac`` as text, its ``type`` (a
    ``MacType``), the ``port_id`` it leads to, its ``vlan`` and ``vni``, and
    whether it ages out (``aging``)."""

    __slots__ = ()

    @classmethod
    def from_entry(cls, entry):
        return cls(
            mac=entry.macAddress,
            type=MacType.from_code(entry.macAddrType),
            port_id=entry.portID,
            vlan=entry.vid,
            vni=entry.vni,
            aging=entry.aging != "\0",
        )


# The earlier name of MacEntry.
MacEntrySummary = MacEntry


def mac_summaries(switch, port=None, addr_type=MacType.ALL):
    """A ``MacEntry`` for each entry of a switch's MAC table, or of one port's."""
    walk = mac_table(switch, addr_type) if port is None else port_mac_table(switch, port, addr_type)
    with walk:
        return [MacEntry.from_entry(e) for e in walk]


class StaticLeContext(PlainValue, namedtuple("StaticLeContext", "mac type port_id vni vlans vdr trunk_vni")):
    """A static LE context: a static or user address (``mac`` as text, its
    ``type``) of a port on the network ``vni``, the ``vlans`` it is static
    on (a tuple, ascending), whether it is the router port's (``vdr``) and
    whether it is an overlay address of a trunk port (``trunk_vni``)."""

    __slots__ = ()

    @classmethod
    def from_entry(cls, entry):
        vlans = []
        for word_index in range(64):
            word = entry.vlan_get_values(word_index)
            vlans.extend(word_index * 64 + bit for bit in range(64) if word >> bit & 1)
        return cls(entry.macAddress, MacType.from_code(entry.macAddrType), entry.portID, entry.vni, tuple(vlans),
                   entry.isVdrMac != "\0", entry.isTrunkVNI != "\0")


def static_le_contexts(switch, port=None):
    """The static LE contexts of a switch, or of one port: a list of
    ``StaticLeContext``, which agree with the switch's static and user MAC
    entries."""
    name = resolve_switch(switch)
    if port is None:
        result, error = _libtessel.VSHYX_GetStaticLectx(name), _switch_error("VSHYX_GetStaticLectx", name)
    else:
        result = _libtessel.VSHYX_GetPortStaticLectx(name, port_name(port))
        error = port_error("VSHYX_GetPortStaticLectx", name, port)
    with Walk(result, error, _libtessel.VSStaticLeCtxEntries_numEntries_get,
              _libtessel.VSStaticLeCtxEntries_staticLECtxEntries_get, _libtessel.VSStaticLEEntry___getitem__,
              "static LE context table") as walk:
        return [StaticLeContext.from_entry(e) for e in walk]


COMMANDS = (
    Command(
        "macs", "list a switch's (or one port's) MAC table",
        lambda args: mac_summaries(args.switch, args.port, args.type),
        arguments=(
            argument("switch", help="switch name or alias"),
            argument("--port", help="only this port (client name or port ID)"),
            argument("--type", default="all", choices=[m.value for m in MacType], help="only entries of this type"),
        ),
        columns=(column("MAC", "mac"), column("TYPE", "type"), column("PORT-ID", "port_id"), column("VLAN", "vlan"),
                 column("VNI", "vni"), column("AGING", "aging"))),
)
