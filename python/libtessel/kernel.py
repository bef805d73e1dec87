"""Switches: their names and aliases, and their summaries.

A switch is named by its name (``switch0``) or, for a distributed switch,
by its alias (``dvs-prod``); every function of the layer that takes a switch
takes either.
"""

from collections import namedtuple

import _libtessel
from libtessel._errors import HostError, host_error, not_found
from libtessel._native import bytes_at
from libtessel._values import Command, PlainValue, argument, checked_name, column

__all__ = [
    "SwitchAlias",
    "SwitchSummary",
    "resolve_switch",
    "switch_alias_map",
    "switch_aliases",
    "switch_info",
    "switch_names",
    "switch_summaries",
    "switch_summary",
]

_OK = _libtessel.HYX_OK
_DVS_NAME_LEN = 128
_ZAR_ID_LEN = 64
_VLAN_IDS = 4096
_entry = _libtessel.VSList___getitem__


def _listed(list_type):
    lst = _libtessel.VSHYX_GetSwitchesPy(list_type)
    if lst is None:
        # The helper has already said "failed: <status>" on standard output.
        raise HostError("VSHYX_GetSwitches")
    try:
        return [_entry(lst, i) for i in range(max(_libtessel.VSList_count_get(lst), 0))]
    finally:
        _libtessel.free_switches(lst)


def switch_names() -> list:
    """The names of all switches of the host, in the host's order."""
    return _listed(_libtessel.VS_LIST_PS)


def switch_aliases() -> list:
    """The aliases of the host's distributed switches."""
    return _listed(_libtessel.VS_LIST_DVS_ALIAS)


def _text_at(pointer, size):
    raw = bytes_at(int(pointer), size)
    return raw.split(b"\0", 1)[0].decode("utf-8", "surrogateescape")


def _info(name, raw=False):
    # The layer's own reads take the module's record as it comes (no class
    # needed); a caller gets a ``records.VSInfo``.
    if raw:
        info = _libtessel.new_VSInfo()
        if info is None:
            raise MemoryError("no memory for a VSInfo record")
    else:
        from libtessel.records import VSInfo

        info = VSInfo()
    status = _libtessel.VSHYX_GetVSInfo(name, info)
    if status != _OK:
        if status == _libtessel.HYX_NOT_FOUND:
            raise not_found("VSHYX_GetVSInfo", "switch", name, "no switch named %r" % name)
        raise host_error("VSHYX_GetVSInfo", status, argument="switch", value=name, where=name)
    return info


def _pair(aliases, distributed):
    """Each alias with the switch it names.  The host lists one alias per
    distributed switch, in the order of its switch list; the state store's
    own lookup is used where the module offers it."""
    lookup = getattr(_libtessel, "DVSAliasToPortsetName", None)
    if lookup is not None:
        pairs = {}
        for alias in aliases:
            status, name = lookup(alias)
            if status == _OK:
                pairs[alias] = name
        return pairs
    if len(aliases) != len(distributed):
        raise HostError("VSHYX_GetSwitches", message="the host lists %d aliases for %d distributed switches"
                        % (len(aliases), len(distributed)))
    return dict(zip(aliases, distributed))


def _is_distributed(info):
    # The record must stay alive while its field is read: ``info`` holds it.
    return bool(_text_at(_libtessel.VSInfo_dvsName_get(info), _DVS_NAME_LEN))


def _distributed(names):
    return [name for name in names if _is_distributed(_info(name, raw=True))]


def switch_alias_map() -> dict:
    """Each alias of the host with the name of the switch it names."""
    return _pair(switch_aliases(), _distributed(switch_names()))


def resolve_switch(switch: str) -> str:
    """The name of a switch given by its name or alias; ``NotFound`` when
    there is no such switch."""
    checked_name(switch, "switch", "a switch name or alias")
    names = switch_names()
    if switch in names:
        return switch
    aliases = switch_aliases()
    if switch in aliases:
        name = _pair(aliases, _distributed(names)).get(switch)
        if name is not None:
            return name
    raise not_found("VSHYX_GetSwitches", "switch", switch, "no switch named %r" % switch)


def switch_info(switch: str) -> object:
    """The summary record (a Python-owned ``records.VSInfo``) of a switch."""
    return _info(resolve_switch(switch))


class SwitchSummary(PlainValue, namedtuple("SwitchSummary", (
        "name distributed dvs_name zar_id mtu min_vlan max_vlan active_ports max_ports sink_ports "
        "service_vm_ports flags assoc_mac_filter forwarding_disabled vdr_port_id rdma_entries "
        "rdma_tenant_entries vlans_in_use alias"))):
    """The summary of one switch, as plain values.

    ``name`` and, for a distributed switch, ``alias`` ("" otherwise);
    ``distributed``, ``dvs_name`` and ``zar_id``; ``mtu``; the valid VLAN
    range ``min_vlan``..``max_vlan`` and ``vlans_in_use`` (VLAN ids with a
    use count); ``active_ports`` of ``max_ports``, ``sink_ports`` and
    ``service_vm_ports``; the host's ``flags``; ``assoc_mac_filter`` and
    ``forwarding_disabled``; ``vdr_port_id``; ``rdma_entries`` and
    ``rdma_tenant_entries``.
    """

    __slots__ = ()

    @classmethod
    def from_info(cls, name, info, alias=""):
        """The summary of switch ``name`` from its ``VSInfo`` record."""
        m = _libtessel
        dvs_name = _text_at(m.VSInfo_dvsName_get(info), _DVS_NAME_LEN)
        counts = memoryview(bytes_at(int(m.VSInfo_overlayVlanUseCount_get(info)), 2 * _VLAN_IDS)).cast("H")
        return cls(
            name=name,
            distributed=bool(dvs_name),
            dvs_name=dvs_name,
            zar_id=_text_at(m.VSInfo_zarID_get(info), _ZAR_ID_LEN),
            mtu=m.VSInfo_mtu_get(info),
            min_vlan=m.VSInfo_minValidVlan_get(info),
            max_vlan=m.VSInfo_maxValidVlan_get(info),
            active_ports=m.VSInfo_activePorts_get(info),
            max_ports=m.VSInfo_maxPorts_get(info),
            sink_ports=m.VSInfo_numSinkPorts_get(info),
            service_vm_ports=m.VSInfo_numServiceVmPorts_get(info),
            flags=m.VSInfo_flags_get(info),
            assoc_mac_filter=m.VSInfo_isAssocMACFilterEnabled_get(info) != "\0",
            forwarding_disabled=m.VSInfo_isForwardingDisabled_get(info) != "\0",
            vdr_port_id=m.VSInfo_vdrPortID_get(info),
            rdma_entries=m.VSInfo_numRdmaEntries_get(info),
            rdma_tenant_entries=m.VSInfo_numRdmaTenantEntries_get(info),
            vlans_in_use=_VLAN_IDS - counts.tolist().count(0),
            alias=alias,
        )


def _aliases_of(distributed):
    return {name: alias for alias, name in _pair(switch_aliases(), distributed).items()} if distributed else {}


def switch_summaries() -> list:
    """One ``SwitchSummary`` per switch of the host, in the host's order."""
    infos = [(name, _info(name, raw=True)) for name in switch_names()]
    aliases = _aliases_of([name for name, info in infos if _is_distributed(info)])
    return [SwitchSummary.from_info(name, info, aliases.get(name, "")) for name, info in infos]


def switch_summary(switch: str) -> "SwitchSummary":
    """The ``SwitchSummary`` of one switch, given by its name or alias."""
    name = resolve_switch(switch)
    info = _info(name, raw=True)
    alias = _aliases_of(_distributed(switch_names())).get(name, "") if _is_distributed(info) else ""
    return SwitchSummary.from_info(name, info, alias)


class SwitchAlias(PlainValue, namedtuple("SwitchAlias", "alias switch")):
    """An alias and the name of the switch it names."""

    __slots__ = ()


def _flags(summary):
    return "0x%x" % summary.flags


_SHOWN = (
    ("name", "name"), ("alias", "alias"), ("type", lambda s: "distributed" if s.distributed else "standard"),
    ("dvs name", "dvs_name"), ("zar id", "zar_id"), ("mtu", "mtu"),
    ("vlans", lambda s: "%d-%d" % (s.min_vlan, s.max_vlan)), ("vlans in use", "vlans_in_use"),
    ("ports", lambda s: "%d/%d" % (s.active_ports, s.max_ports)), ("sink ports", "sink_ports"),
    ("service vm ports", "service_vm_ports"), ("flags", _flags), ("assoc mac filter", "assoc_mac_filter"),
    ("forwarding disabled", "forwarding_disabled"), ("vdr port id", "vdr_port_id"),
    ("rdma entries", "rdma_entries"), ("rdma tenant entries", "rdma_tenant_entries"),
)


def _shown(summary):
    return [(label, str(key(summary) if callable(key) else getattr(summary, key)) or "-") for label, key in _SHOWN]


COMMANDS = (
    Command(
        "show", "show one switch's summary",
        lambda args: [switch_summary(args.switch)],
        arguments=(argument("switch", help="switch name or alias"),),
        columns=(("FIELD", lambda row: row[0]), ("VALUE", lambda row: row[1])),
        json=lambda rows: rows[0].as_dict(),
        line=lambda rows: "\n".join("%-20s %s" % pair for pair in _shown(rows[0]))),
    Command(
        "switches", "list the host's switches with their summaries",
        lambda args: switch_summaries(),
        columns=(
            column("NAME", "name"),
            ("TYPE", lambda s: "distributed" if s.distributed else "standard"),
            column("MTU", "mtu"),
            ("VLANS", lambda s: "%d-%d" % (s.min_vlan, s.max_vlan)),
            ("PORTS", lambda s: "%d/%d" % (s.active_ports, s.max_ports)),
            column("SINK", "sink_ports"),
            ("FLAGS", _flags),
            column("VLANS-IN-USE", "vlans_in_use"),
            column("DVS", "dvs_name"),
            ("ALIAS", lambda s: s.alias or "-"),
        )),
    Command(
        "aliases", "list the distributed switches' aliases and the switch each names",
        lambda args: [SwitchAlias(a, s) for a, s in switch_alias_map().items()],
        columns=(column("ALIAS", "alias"), column("SWITCH", "switch")),
        # Published as a plain list of aliases.
        json=lambda rows: [row.alias for row in rows]),
)
