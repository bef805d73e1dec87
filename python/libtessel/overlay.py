"""Overlay tables: a switch's remote tunnel endpoints, its ports' RDMA
identifiers by tenant and its tenant table, with addresses as text.

An address is an IPv4 or IPv6 address in text (``192.0.2.11``,
``2001:db8::12``) or an ``ipaddress`` object; a MAC address is given as
``libtessel.parse_mac`` takes it.
"""

import ipaddress
import sys
from collections import namedtuple

import _libtessel
from libtessel._errors import host_error, not_found, switch_error
from libtessel._tables import Walk
from libtessel._values import Command, PlainValue, argument, checked_int, column
from libtessel.kernel import resolve_switch
from libtessel.mac import parse_mac
from libtessel.ports import port_info

__all__ = [
    "RdmaEntry",
    "Tenant",
    "TunnelEndpoint",
    "add_tunnel_endpoint",
    "clear_rdma_ids",
    "rdma_entries",
    "remove_tunnel_endpoint",
    "set_rdma_ids",
    "tenants",
    "tunnel_endpoints",
]

_OK = _libtessel.HYX_OK
_NOT_FOUND = _libtessel.HYX_NOT_FOUND
_ID_IPV4 = 1
_ID_IPV6 = 2
_MAX_IDS = 32
_TENANT_LEN = 8
_VLAN_MAX = 4094


def _address(value, name="address"):
    if isinstance(value, (ipaddress.IPv4Address, ipaddress.IPv6Address)):
        return value
    if not isinstance(value, str):
        raise TypeError("%s must be an IP address (text), not %s" % (name, type(value).__name__))
    try:
        return ipaddress.ip_address(value)
    except ValueError:
        raise ValueError("%s must be an IPv4 or IPv6 address, got %r" % (name, value)) from None


def _words(address):
    """The address bytes as the module's words: each holds four bytes in
    memory order, read in this machine's byte order."""
    packed = address.packed
    return [int.from_bytes(packed[i:i + 4], sys.byteorder) for i in range(0, len(packed), 4)]


def _signed(word):
    return word - (1 << 32) if word >= 1 << 31 else word


class TunnelEndpoint(PlainValue, namedtuple("TunnelEndpoint", "address mac ipv6 ref_count entry_type")):
    """A remote tunnel endpoint: its outer ``address`` and ``mac`` as text,
    whether the address is IPv6, how many users it has (``ref_count``) and
    its ``entry_type``."""

    __slots__ = ()

    @classmethod
    def from_entry(cls, entry):
        ipv6 = entry.isIPv6 != "\0"
        return cls(entry.get_ipv6_entry() if ipv6 else entry.get_ipv4_entry(), entry.get_mac_entry(), ipv6,
                   entry.refCnt, entry.entryType)


def tunnel_endpoints(switch: str) -> list:
    """The switch's remote tunnel endpoints, each a ``TunnelEndpoint``."""
    name = resolve_switch(switch)
    with Walk(_libtessel.VSHYX_GetRemoteTepTable(name), switch_error("VSHYX_GetRemoteTepTable", name),
              _libtessel.VSRemoteTepEntries_numEntries_get, _libtessel.VSRemoteTepEntries_entry_get,
              _libtessel.VSRemoteTepEntry___getitem__, "tunnel endpoint table") as walk:
        return [TunnelEndpoint.from_entry(e) for e in walk]


def _endpoint_entry(address, mac=None):
    from libtessel.records import VSRemoteTepEntry

    entry = VSRemoteTepEntry()
    if address.version == 4:
        entry.set_ipv4_address(_signed(_words(address)[0]))
    else:
        for k, word in enumerate(_words(address)):
            entry.set_ipv6_address(k, word)
        entry.isIPv6 = 1
    if mac is not None:
        entry.set_mac_address(mac)
    return entry


def add_tunnel_endpoint(switch: str, address: str, mac: "str | bytes") -> None:
    """Adds a user of the tunnel endpoint at ``address`` with MAC ``mac``;
    the endpoint is created with its first user."""
    ip = _address(address)
    raw = parse_mac(mac)
    name = resolve_switch(switch)
    status = _libtessel.VSHYX_SetRemoteTepTable(name, _endpoint_entry(ip, raw))
    if status != _OK:
        raise host_error("VSHYX_SetRemoteTepTable", status, argument="address", value=address,
                         where="endpoint %s of %s" % (ip, name))


def remove_tunnel_endpoint(switch: str, address: str) -> None:
    """Removes a user of the tunnel endpoint at ``address``; the endpoint
    goes with its last user."""
    ip = _address(address)
    name = resolve_switch(switch)
    status = _libtessel.VSHYX_ClearRemoteTepTable(name, _endpoint_entry(ip))
    if status == _NOT_FOUND:
        raise not_found("VSHYX_ClearRemoteTepTable", "address", address, "no tunnel endpoint %s on %s" % (ip, name))
    if status != _OK:
        raise host_error("VSHYX_ClearRemoteTepTable", status, argument="address", value=address, where=name)


class RdmaEntry(PlainValue, namedtuple("RdmaEntry", "port_id tenant address vlan vtep_label remote")):
    """One RDMA identifier: the ``port_id`` and ``tenant`` it belongs to, its
    ``address`` as text, its ``vlan``, the tunnel-endpoint label and whether
    it is a ``remote`` entry."""

    __slots__ = ()

    @classmethod
    def from_entry(cls, entry):
        rid = entry.id
        text = rid.get_ipv6_entry() if rid.idType == _ID_IPV6 else rid.get_ipv4_entry()
        return cls(entry.portID, entry.get_tenant_id(), text, rid.vlanID, entry.vtepLabel, entry.remoteEntry != "\0")


def rdma_entries(switch: str) -> list:
    """The switch's RDMA identifiers, each an ``RdmaEntry``."""
    name = resolve_switch(switch)
    with Walk(_libtessel.VSHYX_GetRdmaTable(name), switch_error("VSHYX_GetRdmaTable", name),
              _libtessel.VSRdmaEntries_numEntries_get, _libtessel.VSRdmaEntries_entry_get,
              _libtessel.VSGetRdmaEntry___getitem__, "RDMA table") as walk:
        return [RdmaEntry.from_entry(e) for e in walk]


class Tenant(PlainValue, namedtuple("Tenant", "port_id tenant ports")):
    """A port's tenant, and how many ports of the switch share it."""

    __slots__ = ()


def tenants(switch: str) -> list:
    """The switch's tenant table, each entry a ``Tenant``."""
    name = resolve_switch(switch)
    with Walk(_libtessel.VSHYX_GetTenantTable(name), switch_error("VSHYX_GetTenantTable", name),
              _libtessel.VSTenantEntries_numEntries_get, _libtessel.VSTenantEntries_entry_get,
              _libtessel.VSTenantEntry___getitem__, "tenant table") as walk:
        return [Tenant(e.portID, e.get_tenant_id(), e.numPorts) for e in walk]


def _tenant(tenant):
    if not isinstance(tenant, str):
        raise TypeError("tenant must be a str, not %s" % type(tenant).__name__)
    size = len(tenant.encode("utf-8"))
    if not 1 <= size <= _TENANT_LEN or "\0" in tenant:
        raise ValueError("tenant must be 1 to %d bytes of text, got %r" % (_TENANT_LEN, tenant))
    return tenant


def _request(switch, port, tenant):
    from libtessel.records import VSSetRdmaEntry

    entry = VSSetRdmaEntry()
    entry.portID = port_info(switch, port).portID
    entry.set_tenant_id(_tenant(tenant))
    return entry


def set_rdma_ids(switch: str, port: "str | int", tenant: str, addresses: "list | str", vlan: int = 0,
                 vtep_label: int = 0) -> None:
    """Sets the RDMA identifiers (1 to 32 addresses) a port has for a tenant,
    replacing those it had."""
    ips = [_address(a, "addresses") for a in ([addresses] if isinstance(addresses, str) else addresses)]
    if not 1 <= len(ips) <= _MAX_IDS:
        raise ValueError("addresses must hold 1 to %d addresses, got %d" % (_MAX_IDS, len(ips)))
    checked_int(vlan, "vlan", 0, _VLAN_MAX)
    checked_int(vtep_label, "vtep_label", 0, 0xFFFFFFFF)
    name = resolve_switch(switch)
    entry = _request(name, port, tenant)
    entry.numIDs = len(ips)
    entry.vtepLabel = vtep_label
    for slot, ip in enumerate(ips):
        if ip.version == 4:
            entry.set_ipv4_address(slot, _signed(_words(ip)[0]))
        else:
            for k, word in enumerate(_words(ip)):
                entry.set_ipv6_address(slot, k, word)
        entry.set_id_type(slot, _ID_IPV4 if ip.version == 4 else _ID_IPV6)
        entry.set_vlan_id(slot, vlan)
    status = _libtessel.VSHYX_SetRdmaTable(name, entry)
    if status != _OK:
        raise host_error("VSHYX_SetRdmaTable", status, argument="port", value=port,
                         where="port %r of %s" % (port, name))


def clear_rdma_ids(switch: str, port: "str | int", tenant: str) -> None:
    """Removes the RDMA identifiers a port has for a tenant."""
    name = resolve_switch(switch)
    status = _libtessel.VSHYX_ClearPortRdmaTable(name, _request(name, port, tenant))
    if status == _NOT_FOUND:
        raise not_found("VSHYX_ClearPortRdmaTable", "tenant", tenant,
                        "port %r of %s has no RDMA ids for tenant %r" % (port, name, tenant))
    if status != _OK:
        raise host_error("VSHYX_ClearPortRdmaTable", status, argument="port", value=port, where=name)


COMMANDS = (
    Command(
        "teps", "list a switch's remote tunnel endpoints",
        lambda args: tunnel_endpoints(args.switch),
        arguments=(argument("switch", help="switch name or alias"),),
        columns=(column("ADDRESS", "address"), column("MAC", "mac"), column("REFS", "ref_count"),
                 column("TYPE", "entry_type"))),
    Command(
        "rdma", "list a switch's RDMA identifiers",
        lambda args: rdma_entries(args.switch),
        arguments=(argument("switch", help="switch name or alias"),),
        columns=(column("PORT-ID", "port_id"), column("TENANT", "tenant"), column("ADDRESS", "address"),
                 column("VLAN", "vlan"), column("VTEP", "vtep_label"))),
)
