"""Ports and MAC tables in Python terms.

The host returns its port and MAC tables as blocks it owns.  The generators
here copy each entry out (the copies are Python-owned records that outlive
the table) and hand the block back to the host when the walk ends: when the
generator is exhausted, closed or dropped, or when the caller's loop raises.
"""

from dataclasses import asdict, dataclass

import _libtessel
from libtessel.switches import HostError

_CLIENT_TYPES = {
    _libtessel.VS_PORT_CLIENT_UNKNOWN: "unknown",
    _libtessel.VS_PORT_CLIENT_TCPIP: "tcpip",
    _libtessel.VS_PORT_CLIENT_VNIC: "vnic",
    _libtessel.VS_PORT_CLIENT_UPLINK: "uplink",
    _libtessel.VS_PORT_CLIENT_LAG: "lag",
}
_ADDR_TYPES = {
    _libtessel.VS_MAC_ADDR_TYPE_STATIC: "static",
    _libtessel.VS_MAC_ADDR_TYPE_USER: "user",
    _libtessel.VS_MAC_ADDR_TYPE_LEARNED: "learned",
}


def _checked(operation, result):
    status, value = result
    if status != _libtessel.HYX_OK:
        if value is not None:
            _libtessel.VSHYX_FreeMemory(value)
        raise HostError(operation, status)
    return value


def _walk(operation, result, first_field, copy):
    """Yields a copy of each entry of a host table, then releases it."""
    table = _checked(operation, result)
    try:
        count = table.numEntries
        first = getattr(table, first_field)
        for i in range(count):
            yield copy(first, i)
    finally:
        _libtessel.VSHYX_FreeMemory(table)


def ports(switch):
    """Each port of a switch, as a Python-owned ``VSPortInfo``."""
    return _walk("VSHYX_GetSwitchPortInfo(%r)" % switch, _libtessel.VSHYX_GetSwitchPortInfo(switch),
                 "entries", _libtessel.VSPortInfo___getitem__)


def port_info(switch, port):
    """One port (its client name or decimal port ID) as a Python-owned ``VSPortInfo``."""
    info = _checked("VSHYX_GetPortInfo(%r, %r)" % (switch, port), _libtessel.VSHYX_GetPortInfo(switch, port))
    try:
        return _libtessel.VSPortInfo___getitem__(info, 0)
    finally:
        _libtessel.VSHYX_FreeMemory(info)


def mac_table(switch, addr_type=_libtessel.VS_MAC_ADDR_TYPE_ALL, table_type=_libtessel.VS_ALL_MAC_TABLE):
    """The MAC entries of a switch, each a Python-owned ``VSMACEntry``."""
    return _walk("VSHYX_GetMACTable(%r)" % switch, _libtessel.VSHYX_GetMACTable(switch, addr_type, table_type),
                 "macEntries", _libtessel.VSMACEntry___getitem__)


def port_mac_table(switch, port, addr_type=_libtessel.VS_MAC_ADDR_TYPE_ALL):
    """The MAC entries of one port."""
    return _walk("VSHYX_GetPortMACTable(%r, %r)" % (switch, port),
                 _libtessel.VSHYX_GetPortMACTable(switch, port, addr_type),
                 "macEntries", _libtessel.VSMACEntry___getitem__)


def _static_entry(mac, vid, vni, addr_type):
    from libtessel import VSMACEntry

    entry = VSMACEntry()
    entry.set_mac_address(bytes.fromhex(mac.replace(":", "")) if isinstance(mac, str) else mac)
    entry.vid = vid
    entry.vni = vni
    entry.macAddrType = addr_type
    return entry


def set_static_mac(switch, port, mac, vid=0, vni=0, addr_type=_libtessel.VS_MAC_ADDR_TYPE_USER):
    """Adds a static entry to a port's table; mac is "0a:1b:2c:3d:4e:5f" or six bytes."""
    status = _libtessel.VSHYX_SetPortMACTable(switch, port, 1, _static_entry(mac, vid, vni, addr_type))
    if status != _libtessel.HYX_OK:
        raise HostError("VSHYX_SetPortMACTable(%r, %r)" % (switch, port), status)


def clear_static_mac(switch, port, mac, vid=0, vni=0):
    """Removes a static entry from a port's table."""
    entry = _static_entry(mac, vid, vni, _libtessel.VS_MAC_ADDR_TYPE_USER)
    status = _libtessel.VSHYX_ClearPortMACTable(switch, port, 1, entry)
    if status != _libtessel.HYX_OK:
        raise HostError("VSHYX_ClearPortMACTable(%r, %r)" % (switch, port), status)


@dataclass(frozen=True)
class PortSummary:
    """The identity, VLAN and traffic of one port, as plain Python values."""

    port_id: int
    index: int
    client: str
    client_type: str
    mac: str
    default_vlan: int
    pkts_rx: int
    pkts_tx: int
    bytes_rx: int
    bytes_tx: int
    dropped_rx: int
    dropped_tx: int

    @classmethod
    def from_info(cls, info):
        stats = info.stats
        return cls(
            port_id=info.portID,
            index=info.portIdx,
            client=info.clientName,
            client_type=_CLIENT_TYPES.get(info.clientType, str(info.clientType)),
            mac=info.fixedHwID,
            default_vlan=info.vlan.defaultVID,
            pkts_rx=stats.pktsRx,
            pkts_tx=stats.pktsTx,
            bytes_rx=stats.bytesRx,
            bytes_tx=stats.bytesTx,
            dropped_rx=stats.droppedRx,
            dropped_tx=stats.droppedTx,
        )

    def as_dict(self):
        return asdict(self)


@dataclass(frozen=True)
class MacEntrySummary:
    """One MAC table entry, as plain Python values."""

    mac: str
    type: str
    port_id: int
    vlan: int
    vni: int
    aging: bool

    @classmethod
    def from_entry(cls, entry):
        return cls(
            mac=entry.macAddress,
            type=_ADDR_TYPES.get(entry.macAddrType, str(entry.macAddrType)),
            port_id=entry.portID,
            vlan=entry.vid,
            vni=entry.vni,
            aging=entry.aging != "\0",
        )

    def as_dict(self):
        return asdict(self)


def port_summaries(switch):
    return [PortSummary.from_info(p) for p in ports(switch)]


def mac_summaries(switch, port=None):
    entries = mac_table(switch) if port is None else port_mac_table(switch, port)
    return [MacEntrySummary.from_entry(e) for e in entries]
