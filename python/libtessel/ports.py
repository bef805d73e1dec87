"""Ports: each port's identity, VLAN and traffic.

A port is named by its client name (``web-01.eth0``) or its port ID (an
int, or its decimal text).
"""

from collections import namedtuple

import _libtessel
from libtessel._errors import host_error, not_found, switch_error
from libtessel._tables import Walk, host_record
from libtessel._enums import HostEnum
from libtessel._values import Command, PlainValue, argument, checked_int, column
from libtessel.kernel import resolve_switch

__all__ = [
    "ClientType",
    "PortCounters",
    "PortSummary",
    "RarpStats",
    "port_info",
    "port_summaries",
    "port_summary",
    "port_counters",
    "ports",
    "rarp_stats",
]

_NOT_FOUND = _libtessel.HYX_NOT_FOUND


class ClientType(HostEnum):
    """What is connected to a port."""

    UNKNOWN = ("unknown", _libtessel.VS_PORT_CLIENT_UNKNOWN)
    TCPIP = ("tcpip", _libtessel.VS_PORT_CLIENT_TCPIP)
    VNIC = ("vnic", _libtessel.VS_PORT_CLIENT_VNIC)
    UPLINK = ("uplink", _libtessel.VS_PORT_CLIENT_UPLINK)
    LAG = ("lag", _libtessel.VS_PORT_CLIENT_LAG)


def port_name(port):
    """The text the host takes for a port given by client name or port ID."""
    if isinstance(port, str):
        if port and "\0" not in port:
            return port
        raise ValueError("port must be a client name or a port ID, got %r" % port)
    if isinstance(port, int) and not isinstance(port, bool):
        return str(checked_int(port, "port", 0, 0xFFFFFFFF))
    raise TypeError("port must be a client name (str) or a port ID (int), not %s" % type(port).__name__)


def port_error(operation, switch, port):
    """Makes the exception for a failed call on one port of a switch that
    exists: "not found" means the port."""

    def error(status):
        if status == _NOT_FOUND:
            return not_found(operation, "port", port, "no port %r on %s" % (port, switch))
        return host_error(operation, status, argument="port", value=port,
                          where="port %r of %s" % (port, switch))

    return error


def ports(switch: str) -> Walk:
    """Each port of a switch, as a Python-owned ``records.VSPortInfo``.

    Returns a ``Walk``: the host's table is held until the walk ends, is
    closed or dropped; ``with libtessel.ports(s) as walk:`` bounds it.
    """
    name = resolve_switch(switch)
    return Walk(_libtessel.VSHYX_GetSwitchPortInfo(name), switch_error("VSHYX_GetSwitchPortInfo", name),
                _libtessel.VSSwitchPortInfo_numEntries_get, _libtessel.VSSwitchPortInfo_entries_get,
                _libtessel.VSPortInfo___getitem__, "port table")


def port_info(switch: str, port: "str | int"):
    """One port as a Python-owned ``records.VSPortInfo``."""
    name = resolve_switch(switch)
    text = port_name(port)
    return host_record(_libtessel.VSHYX_GetPortInfo(name, text), port_error("VSHYX_GetPortInfo", name, port),
                       _libtessel.VSPortInfo___getitem__)


class PortSummary(PlainValue, namedtuple("PortSummary", (
        "port_id index client client_type mac default_vlan pkts_rx pkts_tx bytes_rx bytes_tx dropped_rx "
        "dropped_tx"))):
    """One port, as plain values.

    ``port_id`` and ``index`` on the switch; ``client`` (the client name, also
    as ``name``) and ``client_type`` (a ``ClientType``); ``mac``, the port's
    fixed MAC address as text; ``default_vlan``; the traffic counters
    ``pkts_rx``, ``pkts_tx``, ``bytes_rx``, ``bytes_tx``, ``dropped_rx`` and
    ``dropped_tx``.
    """

    __slots__ = ()

    @property
    def name(self):
        """The port's name: its client name."""
        return self.client

    def as_dict(self):
        row = super().as_dict()
        row["name"] = self.client
        return row

    @classmethod
    def from_info(cls, info):
        stats = info.stats
        return cls(
            port_id=info.portID,
            index=info.portIdx,
            client=info.clientName,
            client_type=ClientType.from_code(info.clientType),
            mac=info.fixedHwID,
            default_vlan=info.vlan.defaultVID,
            pkts_rx=stats.pktsRx,
            pkts_tx=stats.pktsTx,
            bytes_rx=stats.bytesRx,
            bytes_tx=stats.bytesTx,
            dropped_rx=stats.droppedRx,
            dropped_tx=stats.droppedTx,
        )


def port_summaries(switch: str) -> list:
    """A ``PortSummary`` for each port of a switch."""
    with ports(switch) as walk:
        return [PortSummary.from_info(info) for info in walk]


def port_summary(switch: str, port: "str | int") -> "PortSummary":
    """The ``PortSummary`` of one port."""
    return PortSummary.from_info(port_info(switch, port))


def _snake(name):
    """``brBcastPktCloneErr`` -> ``br_bcast_pkt_clone_err``."""
    out = []
    for i, c in enumerate(name):
        if c.isupper() and i and (not name[i - 1].isupper() or (i + 1 < len(name) and name[i + 1].islower())):
            out.append("_")
        out.append(c.lower())
    return "".join(out)


def _counters_of(record):
    from libtessel import records

    fields = records.fill(type(record))._fields
    return {_snake(field): getattr(record, field) for field in fields}


class PortCounters(PlainValue, namedtuple("PortCounters", "port_id name traffic slab_errors errors info")):
    """The counters of one port, as plain values: its ``port_id`` and
    ``name``; ``traffic``, a dict of the packet, byte and drop counters
    (``pkts_tx`` ... ``dropped_rx``); ``slab_errors`` (dispatch data slab
    errors); ``errors`` and ``info``, dicts of the forwarding error and
    information counters, each under its name in snake case."""

    __slots__ = ()

    @classmethod
    def from_info(cls, info) -> "PortCounters":
        """The counters of a ``records.VSPortInfo``."""
        counters = info.portCounters
        return cls(info.portID, info.clientName, _counters_of(info.stats), counters.dispatchDataSlabErrors,
                   _counters_of(counters.errCtrs), _counters_of(counters.infoCtrs))


def port_counters(switch: str, port: "str | int | None" = None) -> list:
    """The ``PortCounters`` of every port of a switch, or of one port."""
    if port is not None:
        return [PortCounters.from_info(port_info(switch, port))]
    with ports(switch) as walk:
        return [PortCounters.from_info(info) for info in walk]


class RarpStats(PlainValue, namedtuple("RarpStats", "packets_sent max_time time")):
    """A switch's reverse-ARP announcements: ``packets_sent``, ``max_time``
    and ``time``."""

    __slots__ = ()


def rarp_stats(switch: str) -> RarpStats:
    """The ``RarpStats`` of a switch."""
    from libtessel.records import VSRARPStats

    name = resolve_switch(switch)
    record = VSRARPStats()
    status = _libtessel.VSHYX_GetRARPStats(name, record)
    if status != _libtessel.HYX_OK:
        raise switch_error("VSHYX_GetRARPStats", name)(status)
    return RarpStats(record.rarpPktsSent, record.maxRARPTime, record.rarpTime)


COMMANDS = (
    Command(
        "ports", "list a switch's ports with their traffic",
        lambda args: port_summaries(args.switch),
        arguments=(argument("switch", help="switch name or alias"),),
        columns=(column("PORT-ID", "port_id"), column("CLIENT", "client"), column("TYPE", "client_type"),
                 column("MAC", "mac"), column("VLAN", "default_vlan"), column("RX-PKTS", "pkts_rx"),
                 column("TX-PKTS", "pkts_tx"), column("RX-DROP", "dropped_rx"), column("TX-DROP", "dropped_tx"))),
    Command(
        "counters", "show the traffic and forwarding counters of a switch's ports (or of one port)",
        lambda args: port_counters(args.switch, args.port),
        arguments=(argument("switch", help="switch name or alias"),
                   argument("--port", help="only this port (client name or port ID)")),
        columns=(column("PORT-ID", "port_id"), column("NAME", "name"),
                 ("RX-PKTS", lambda c: str(c.traffic["pkts_rx"])), ("TX-PKTS", lambda c: str(c.traffic["pkts_tx"])),
                 ("RX-BYTES", lambda c: str(c.traffic["bytes_rx"])), ("TX-BYTES", lambda c: str(c.traffic["bytes_tx"])),
                 ("RX-DROP", lambda c: str(c.traffic["dropped_rx"])),
                 ("TX-DROP", lambda c: str(c.traffic["dropped_tx"])),
                 ("ERRORS", lambda c: str(c.slab_errors + sum(c.errors.values()))))),
)
