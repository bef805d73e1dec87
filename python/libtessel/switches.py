"""Switch enumeration and summaries in Python terms."""

import ctypes
from dataclasses import asdict, dataclass

import _libtessel

_DVS_NAME_LEN = 128
_ZAR_ID_LEN = 64


class HostError(Exception):
    """A host library call returned a failure status."""

    def __init__(self, operation, status=None):
        self.operation = operation
        self.status = status
        if status is None:
            # The host's status is not known (the helper reported it itself).
            self.text = "failed"
            super().__init__("%s failed" % operation)
        else:
            self.text = _libtessel.HYX_ReturnStatusToString(status)
            super().__init__("%s failed: %s (0x%x)" % (operation, self.text, status & 0xFFFFFFFF))


def _list_entries(lst):
    return [_libtessel.VSList___getitem__(lst, i) for i in range(max(lst.count, 0))]


def _listed(list_type):
    lst = _libtessel.VSHYX_GetSwitchesPy(list_type)
    if lst is None:
        # The helper has already said "failed: <status>" on standard output.
        raise HostError("VSHYX_GetSwitches")
    try:
        return _list_entries(lst)
    finally:
        _libtessel.free_switches(lst)


def switch_names():
    """The portset names of all switches of the host."""
    return _listed(_libtessel.VS_LIST_PS)


def switch_aliases():
    """The aliases of the host's distributed switches."""
    return _listed(_libtessel.VS_LIST_DVS_ALIAS)


def switch_info(name):
    """The summary record (a Python-owned ``VSInfo``) of one switch."""
    from libtessel import VSInfo

    info = VSInfo()
    status = _libtessel.VSHYX_GetVSInfo(name, info)
    if status != _libtessel.HYX_OK:
        raise HostError("VSHYX_GetVSInfo(%r)" % name, status)
    return info


def _text_at(pointer, size):
    raw = ctypes.string_at(int(pointer), size)
    return raw.split(b"\0", 1)[0].decode("utf-8", "surrogateescape")


@dataclass(frozen=True)
class SwitchSummary:
    """The summary fields of one switch, as plain Python values."""

    name: str
    distributed: bool
    dvs_name: str
    zar_id: str
    mtu: int
    min_vlan: int
    max_vlan: int
    active_ports: int
    max_ports: int
    sink_ports: int
    service_vm_ports: int
    flags: int
    assoc_mac_filter: bool
    forwarding_disabled: bool
    vdr_port_id: int
    rdma_entries: int
    rdma_tenant_entries: int
    vlans_in_use: int

    @classmethod
    def from_info(cls, name, info):
        dvs_name = _text_at(info.dvsName, _DVS_NAME_LEN)
        return cls(
            name=name,
            distributed=bool(dvs_name),
            dvs_name=dvs_name,
            zar_id=_text_at(info.zarID, _ZAR_ID_LEN),
            mtu=info.mtu,
            min_vlan=info.minValidVlan,
            max_vlan=info.maxValidVlan,
            active_ports=info.activePorts,
            max_ports=info.maxPorts,
            sink_ports=info.numSinkPorts,
            service_vm_ports=info.numServiceVmPorts,
            flags=info.flags,
            assoc_mac_filter=info.isAssocMACFilterEnabled != "\0",
            forwarding_disabled=info.isForwardingDisabled != "\0",
            vdr_port_id=info.vdrPortID,
            rdma_entries=info.numRdmaEntries,
            rdma_tenant_entries=info.numRdmaTenantEntries,
            vlans_in_use=sum(1 for v in range(4096) if info.vlan_get_use_count(v)),
        )

    def as_dict(self):
        return asdict(self)


def switch_summaries():
    """One ``SwitchSummary`` per switch of the host, in the host's order."""
    return [SwitchSummary.from_info(name, switch_info(name)) for name in switch_names()]
