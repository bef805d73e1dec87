"""VLAN policy: a port's VLAN policy and a switch's private-VLAN map, as
plain values.

A policy has a VLAN id, its flags by name (``VlanFlag``) and, for a port
that carries tagged VLANs, its VLAN ranges as (first, last) pairs.  A
private-VLAN map is a list of ``PvlanEntry`` (primary, secondary, type).
"""

from collections import namedtuple

import _libtessel
from libtessel._errors import switch_error
from libtessel._enums import HostEnum
from libtessel._values import Command, PlainValue, argument, checked_int, column
from libtessel.kernel import resolve_switch
from libtessel.ports import port_error, port_name, port_summaries

__all__ = [
    "PvlanEntry",
    "PvlanType",
    "VlanFlag",
    "VlanPolicy",
    "clear_port_vlan_policy",
    "port_vlan_policy",
    "private_vlan_map",
    "set_port_vlan_policy",
    "set_private_vlan_map",
    "vlan_policies",
]

_OK = _libtessel.HYX_OK
_release = _libtessel.VSHYX_FreeMemory
# 4095 is not a VLAN: a policy, range or map entry names 0..4094.
_VLAN_MAX = 4094


class VlanFlag(HostEnum):
    """A flag of a port's VLAN policy."""

    GUEST_TAGGING = ("guest-tagging", _libtessel.VSPORT_VLAN_GUEST_TAGGING)
    PVLAN = ("pvlan", _libtessel.VSPORT_VLAN_PVLAN_ENABLED)
    SET_PRIORITY = ("set-priority", _libtessel.VSPORT_VLAN_SET_PRIORITY)


class PvlanType(HostEnum):
    """The role of a secondary VLAN in a private VLAN."""

    PROMISC = ("promisc", _libtessel.VSPORT_PVLAN_TYPE_PROMISC)
    ISOLATED = ("isolated", _libtessel.VSPORT_PVLAN_TYPE_ISOLATED)
    COMMUNITY = ("community", _libtessel.VSPORT_PVLAN_TYPE_COMMUNITY)


def _flag_names(bits):
    names = [flag for flag in VlanFlag if bits & flag.code]
    unknown = bits & ~sum(flag.code for flag in VlanFlag)
    return tuple(names) + ((str(unknown),) if unknown else ())


class VlanPolicy(PlainValue, namedtuple("VlanPolicy", "port vlan_id flags ranges")):
    """A port's VLAN policy: the ``port`` (as given, or its name in a list),
    its ``vlan_id``, its ``flags`` (``VlanFlag`` members) and its ``ranges``,
    a tuple of (first, last) VLAN pairs."""

    __slots__ = ()

    def as_dict(self):
        return {"port": self.port, "vlan_id": self.vlan_id, "flags": [str(f) for f in self.flags],
                "ranges": [list(r) for r in self.ranges]}


class PvlanEntry(PlainValue, namedtuple("PvlanEntry", "primary secondary type")):
    """One private-VLAN mapping: ``secondary`` belongs to ``primary`` as a
    ``PvlanType``."""

    __slots__ = ()


def port_vlan_policy(switch: str, port: "str | int") -> "VlanPolicy":
    """The ``VlanPolicy`` in force on a port."""
    name = resolve_switch(switch)
    status, policy, count = _libtessel.VSDVS_GetPortVLANPolicy(name, port_name(port))
    try:
        if status != _OK:
            raise port_error("VSDVS_GetPortVLANPolicy", name, port)(status)
        ranges = []
        for i in range(count):
            r = _libtessel.VSPortVlanPolicy_get_vid_range(policy, i)
            ranges.append((r.minVID, r.maxVID))
        return VlanPolicy(port, _libtessel.VSPortVlanPolicy_vlanID_get(policy),
                          _flag_names(_libtessel.VSPortVlanPolicy_flags_get(policy)), tuple(ranges))
    finally:
        if policy is not None:
            _release(policy)


def _checked_ranges(ranges):
    checked = []
    for r in ranges:
        if not isinstance(r, (tuple, list)) or len(r) != 2:
            raise TypeError("ranges must hold (first, last) pairs, got %r" % (r,))
        first = checked_int(r[0], "ranges", 0, _VLAN_MAX)
        last = checked_int(r[1], "ranges", 0, _VLAN_MAX)
        if first > last:
            raise ValueError("ranges must run from their first to their last VLAN, got %r" % (tuple(r),))
        checked.append((first, last))
    return checked


def set_port_vlan_policy(switch: str, port: "str | int", vlan_id: int = 0, ranges: "list | tuple" = (),
                         flags: "list | tuple | str" = ()) -> None:
    """Sets a port's VLAN policy: ``vlan_id`` (0..4094), ``ranges`` of
    (first, last) VLANs the port carries tagged (with ``guest-tagging``) and
    ``flags`` (``VlanFlag`` members or labels)."""
    checked_int(vlan_id, "vlan_id", 0, _VLAN_MAX)
    pairs = _checked_ranges(ranges)
    chosen = {VlanFlag.of(f, "flags") for f in ([flags] if isinstance(flags, str) else flags)}
    if pairs and VlanFlag.GUEST_TAGGING not in chosen:
        raise ValueError("ranges need the guest-tagging flag: the port carries them tagged")
    name = resolve_switch(switch)
    array = _libtessel.new_vidrangeArray(len(pairs))
    if array is None:
        raise MemoryError("no memory for %d VLAN ranges" % len(pairs))
    try:
        item = _libtessel.new_hyx_ZARPortVIDRange()
        for i, (first, last) in enumerate(pairs):
            _libtessel.hyx_ZARPortVIDRange_minVID_set(item, first)
            _libtessel.hyx_ZARPortVIDRange_maxVID_set(item, last)
            _libtessel.vidrangeArray_setitem(array, i, item)
        priority = VlanFlag.SET_PRIORITY.code if VlanFlag.SET_PRIORITY in chosen else 0
        status = _libtessel.VSDVS_SetPortVLANPolicy(
            name, port_name(port), vlan_id, priority, int(VlanFlag.GUEST_TAGGING in chosen),
            int(VlanFlag.PVLAN in chosen), array, len(pairs))
    finally:
        _libtessel.delete_vidrangeArray(array)
    if status != _OK:
        raise port_error("VSDVS_SetPortVLANPolicy", name, port)(status)


def clear_port_vlan_policy(switch: str, port: "str | int") -> None:
    """Returns a port to the VLAN policy its switch gives it."""
    name = resolve_switch(switch)
    status = _libtessel.VSDVS_ClearPortVLANPolicy(name, port_name(port))
    if status != _OK:
        raise port_error("VSDVS_ClearPortVLANPolicy", name, port)(status)


def vlan_policies(switch: str, port: "str | int | None" = None) -> list:
    """The ``VlanPolicy`` of every port of a switch (by port name), or of one."""
    if port is not None:
        return [port_vlan_policy(switch, port)]
    name = resolve_switch(switch)
    return [port_vlan_policy(name, p.name) for p in port_summaries(name)]


def private_vlan_map(switch: str) -> list:
    """The switch's private-VLAN map: a list of ``PvlanEntry``."""
    name = resolve_switch(switch)
    status, entries, count = _libtessel.VSDVS_GetPrivateVLANMap(name)
    try:
        if status != _OK:
            raise switch_error("VSDVS_GetPrivateVLANMap", name)(status)
        result = []
        for i in range(count):
            e = _libtessel.VSPvlanMapEntry___getitem__(entries, i)
            result.append(PvlanEntry(e.primaryVID, e.secondaryVID, PvlanType.from_code(e.pvlanType)))
        return result
    finally:
        if entries is not None:
            _release(entries)


def set_private_vlan_map(switch: str, entries: list) -> None:
    """Replaces the switch's private-VLAN map with ``entries``, each a
    ``PvlanEntry`` or a (primary, secondary, type) triple; an empty list
    empties it."""
    rows = []
    for e in entries:
        if not isinstance(e, (tuple, list)) or len(e) != 3:
            raise TypeError("entries must hold (primary, secondary, type) triples, got %r" % (e,))
        rows.append((checked_int(e[0], "primary", 1, _VLAN_MAX), checked_int(e[1], "secondary", 1, _VLAN_MAX),
                     PvlanType.of(e[2], "type")))
    name = resolve_switch(switch)
    array = _libtessel.new_pvlanmapentryArray(len(rows))
    if array is None:
        raise MemoryError("no memory for %d map entries" % len(rows))
    try:
        item = _libtessel.new_VSPvlanMapEntry()
        for i, (primary, secondary, kind) in enumerate(rows):
            _libtessel.VSPvlanMapEntry_primaryVID_set(item, primary)
            _libtessel.VSPvlanMapEntry_secondaryVID_set(item, secondary)
            _libtessel.VSPvlanMapEntry_pvlanType_set(item, kind.code)
            _libtessel.pvlanmapentryArray_setitem(array, i, item)
        status = _libtessel.VSDVS_SetPrivateVLANMap(name, array, len(rows))
    finally:
        _libtessel.delete_pvlanmapentryArray(array)
    if status != _OK:
        raise switch_error("VSDVS_SetPrivateVLANMap", name)(status)


def _ranges_text(ranges):
    return ",".join("%d-%d" % r if r[0] != r[1] else str(r[0]) for r in ranges) or "-"


COMMANDS = (
    Command(
        "vlan", "show the VLAN policy of a switch's ports (or of one port)",
        lambda args: vlan_policies(args.switch, args.port),
        arguments=(
            argument("switch", help="switch name or alias"),
            argument("--port", help="only this port (client name or port ID)"),
        ),
        columns=(column("PORT", "port"), column("VLAN", "vlan_id"),
                 ("FLAGS", lambda row: ",".join(str(f) for f in row.flags) or "-"),
                 ("RANGES", lambda row: _ranges_text(row.ranges)))),
)
