"""Multicast filtering: a switch's filter mode, the IGMP and MLD groups its
ports have joined with their source filters, and the user legacy multicast
MAC entries of a switch and of a port.  Addresses come out as text."""

from collections import namedtuple

import _libtessel
from libtessel._errors import switch_error
from libtessel._tables import Walk
from libtessel._enums import HostEnum
from libtessel._values import Command, PlainValue, argument, column
from libtessel.kernel import resolve_switch
from libtessel.mac import parse_mac
from libtessel.ports import port_error, port_info, port_name

__all__ = [
    "McastGroup",
    "McastMode",
    "SourceFilter",
    "clear_user_mcast_macs",
    "mcast_filter_mode",
    "mcast_groups",
    "set_mcast_filter_mode",
    "set_user_mcast_macs",
    "user_mcast_macs",
]

m = _libtessel
_OK = m.HYX_OK
_USER_MAX = m.VS_MULTICAST_USER_ENTRIES_MAX


class McastMode(HostEnum):
    """How a switch filters multicast."""

    LEGACY = ("legacy", m.VS_MCAST_FILTER_MODE_LEGACY)
    SNOOPING = ("snooping", m.VS_MCAST_FILTER_MODE_SNOOPING)
    IGMP = ("igmp", m.VS_MCAST_FILTER_MODE_IGMP)
    MLD = ("mld", m.VS_MCAST_FILTER_MODE_MLD)


class SourceFilter(HostEnum):
    """How a group's source list applies."""

    NONE = ("none", m.VS_MCAST_SRC_IP_FILTER_MODE_NONE)
    INCLUDE = ("include", m.VS_MCAST_SRC_IP_FILTER_MODE_INCLUDE)
    EXCLUDE = ("exclude", m.VS_MCAST_SRC_IP_FILTER_MODE_EXCLUDE)



def _read(result, error, count, entry, what):
    """entry(table, i) of every entry of a table a host call handed out; the
    table goes back to the host at the end of the walk."""
    with Walk(result, error, count, lambda table: table, entry, what) as walk:
        return list(walk)


def mcast_filter_mode(switch: str, configured: bool = False) -> "McastMode":
    """The mode the running switch filters with, or (``configured=True``) the
    configured one, as a ``McastMode``."""
    name = resolve_switch(switch)
    operation = "VSDVS_GetMcastFilterMode" if configured else "VSHYX_GetMcastFilterMode"
    status, mode = getattr(m, operation)(name)
    if status != _OK:
        raise switch_error(operation, name)(status)
    return McastMode.from_code(mode)


def set_mcast_filter_mode(switch: str, mode: "McastMode | str | int") -> None:
    """Configures the switch's filter mode (a ``McastMode``, its label or
    number)."""
    mode = McastMode.of(mode, "mode")
    name = resolve_switch(switch)
    status = m.VSDVS_SetMcastFilterMode(name, mode.code)
    if status != _OK:
        raise switch_error("VSDVS_SetMcastFilterMode", name)(status)


class McastGroup(PlainValue, namedtuple("McastGroup", "port_id group family filter sources")):
    """One group a port has joined: the ``port_id``, the ``group`` address
    as text and its ``family`` ("ipv4" or "ipv6"), the source ``filter`` (a
    ``SourceFilter``) and its ``sources`` (a tuple of address texts)."""

    __slots__ = ()

    def as_dict(self):
        d = super().as_dict()
        d["sources"] = list(self.sources)
        return d


_FAMILIES = ((McastMode.IGMP, "ipv4", m.VSMcastFilterStats_get_ip_entry),
             (McastMode.MLD, "ipv6", m.VSMcastFilterStats_get_ipv6_entry))


def _group(name, port_id, mode, family, stats_entry, group):
    result = m.VSHYX_GetMcastFilterStats(name, port_id, mode.code, group.encode())
    with Walk(result, port_error("VSHYX_GetMcastFilterStats", name, port_id), m.VSMcastFilterStats_numEntries_get,
              lambda stats: stats, stats_entry, "source list") as walk:
        source_filter = SourceFilter.from_code(m.VSMcastFilterStats_srcIPFilterMode_get(result[1]))
        return McastGroup(port_id, group, family, source_filter, tuple(walk))


def _port_groups(name, port_id):
    out = []
    for mode, family, stats_entry in _FAMILIES:
        entry = m.VSMcastFilters_get_ip_entry if family == "ipv4" else m.VSMcastFilters_get_ipv6_entry
        groups = _read(m.VSHYX_GetMcastFilters(name, port_id, mode.code),
                       port_error("VSHYX_GetMcastFilters", name, port_id), m.VSMcastFilters_numEntries_get,
                       entry, "filter table")
        out.extend(_group(name, port_id, mode, family, stats_entry, g) for g in groups)
    return out


def _switch_groups(name):
    out = []
    for mode, family, stats_entry in _FAMILIES:
        text = m.VSPMcastFilter_get_ip_entry if family == "ipv4" else m.VSPMcastFilter_get_ipv6_entry

        with Walk(m.VSHYX_GetSwitchMcastFilters(name, mode.code), switch_error("VSHYX_GetSwitchMcastFilters", name),
                  m.VSMcastSwitchFilters_numEntries_get, m.VSMcastSwitchFilters_filterEntries_get,
                  m.VSPMcastFilter___getitem__, "switch filter table") as walk:
            pairs = [(m.VSPMcastFilter_portID_get(f), text(f)) for f in walk]
        out.extend(_group(name, port_id, mode, family, stats_entry, g) for port_id, g in pairs)
    return out


def mcast_groups(switch: str, port: "str | int | None" = None) -> list:
    """The IGMP and MLD groups of every port of a switch (or of one port), as
    ``McastGroup`` values."""
    name = resolve_switch(switch)
    if port is None:
        groups = _switch_groups(name)
    else:
        groups = _port_groups(name, port_info(name, port).portID)
    return sorted(groups, key=lambda g: (g.port_id, g.family))


def user_mcast_macs(switch: str, port: "str | int | None" = None) -> list:
    """The user legacy multicast MAC addresses of a switch, or of one port."""
    name = resolve_switch(switch)
    if port is None:
        result = m.VSDVS_GetMcastUserLegacyEntries(name)
        error = switch_error("VSDVS_GetMcastUserLegacyEntries", name)
    else:
        result = m.VSDVS_GetPortMcastUserLegacyEntries(name, port_name(port))
        error = port_error("VSDVS_GetPortMcastUserLegacyEntries", name, port)
    return _read(result, error, m.VSUserMcastLegacyKeys_numEntries_get, m.VSUserMcastLegacyKeys_get_mac_entry,
                 "user entry list")


def set_user_mcast_macs(switch: str, macs: list, port: "str | int | None" = None) -> None:
    """Replaces the user legacy multicast MAC addresses of a switch (or of
    one port) with ``macs``: at most 25 multicast addresses, in any form
    ``parse_mac`` takes."""
    raw = [parse_mac(mac, "macs") for mac in macs]
    if len(raw) > _USER_MAX:
        raise ValueError("macs must hold at most %d addresses, got %d" % (_USER_MAX, len(raw)))
    for mac, given in zip(raw, macs):
        if not mac[0] & 1:
            raise ValueError("macs must be multicast addresses (low bit of the first byte set), got %r" % (given,))
    block = m.new_VSMACEntries()
    for i, mac in enumerate(raw):
        m.VSMACEntries_set_mac_address(block, i, mac)
    name = resolve_switch(switch)
    if port is None:
        status = m.VSDVS_SetMcastUserLegacyEntries(name, len(raw), block)
        error = switch_error("VSDVS_SetMcastUserLegacyEntries", name)
    else:
        status = m.VSDVS_SetPortMcastUserLegacyEntries(name, port_name(port), len(raw), block)
        error = port_error("VSDVS_SetPortMcastUserLegacyEntries", name, port)
    if status != _OK:
        raise error(status)


def clear_user_mcast_macs(switch: str, port: "str | int | None" = None) -> None:
    """Removes the user legacy multicast MAC addresses of a switch, or of one
    port."""
    name = resolve_switch(switch)
    if port is None:
        status = m.VSDVS_ClearMcastUserLegacyEntries(name)
        error = switch_error("VSDVS_ClearMcastUserLegacyEntries", name)
    else:
        status = m.VSDVS_ClearPortMcastUserLegacyEntries(name, port_name(port))
        error = port_error("VSDVS_ClearPortMcastUserLegacyEntries", name, port)
    if status != _OK:
        raise error(status)


COMMANDS = (
    Command(
        "mcast", "list the multicast groups of a switch's ports (or of one port)",
        lambda args: mcast_groups(args.switch, args.port),
        arguments=(
            argument("switch", help="switch name or alias"),
            argument("--port", help="only this port (client name or port ID)"),
        ),
        columns=(column("PORT-ID", "port_id"), column("GROUP", "group"), column("FAMILY", "family"),
                 column("FILTER", "filter"), ("SOURCES", lambda g: ",".join(g.sources) or "-"))),
)
