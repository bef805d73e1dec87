"""MAC tables: a switch's and a port's entries, and a port's static entries.

A MAC address is given as text in one of the common forms
(``0a:1b:2c:3d:4e:5f``, ``0a-1b-2c-3d-4e-5f``, ``0a1b.2c3d.4e5f``) or as six
bytes; it comes out as the module's text form ``0a:1b:2c:3d:4e:5f``.
"""

from collections import namedtuple

import _libtessel
from libtessel._errors import host_error, not_found, switch_error
from libtessel._tables import Walk
from libtessel._enums import HostEnum
from libtessel._values import Command, PlainValue, argument, checked_int, column
from libtessel.kernel import resolve_switch
from libtessel.ports import port_error, port_name

__all__ = [
    "LearningProps",
    "LimitPolicy",
    "MacEntry",
    "MacEntrySummary",
    "MacTable",
    "MacType",
    "PortLearning",
    "PortLearningStats",
    "SecurityFlag",
    "StaticLeContext",
    "SwitchLearning",
    "clear_static_mac",
    "learning_props",
    "learning_stats",
    "mac_summaries",
    "mac_table",
    "parse_mac",
    "port_learning",
    "port_mac_table",
    "port_security",
    "set_learning_props",
    "set_port_learning",
    "set_port_security",
    "set_static_mac",
    "static_le_contexts",
    "switch_learning",
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


def parse_mac(mac: "str | bytes", name: str = "mac") -> bytes:
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



def _walk(result, error):
    return Walk(result, error, _libtessel.VSMACTable_numEntries_get, _libtessel.VSMACTable_macEntries_get,
                _libtessel.VSMACEntry___getitem__, "MAC table")


def mac_table(switch: str, addr_type: "MacType | str | int" = MacType.ALL,
              table_type: "MacTable | str | int" = MacTable.ALL) -> "Walk":
    """The MAC entries of a switch, each a Python-owned ``records.VSMACEntry``,
    as a ``Walk`` (see ``ports``)."""
    kind = MacType.of(addr_type, "addr_type")
    table = MacTable.of(table_type, "table_type")
    name = resolve_switch(switch)
    return _walk(_libtessel.VSHYX_GetMACTable(name, kind.code, table.code),
                 switch_error("VSHYX_GetMACTable", name))


def port_mac_table(switch: str, port: "str | int", addr_type: "MacType | str | int" = MacType.ALL) -> "Walk":
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


def set_static_mac(switch: str, port: "str | int", mac: "str | bytes", vid: int = 0, vni: int = 0,
                   addr_type: "MacType | str | int" = MacType.STATIC) -> None:
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


def clear_static_mac(switch: str, port: "str | int", mac: "str | bytes", vid: int = 0, vni: int = 0,
                     addr_type: "MacType | str | int" = MacType.STATIC) -> None:
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


def mac_summaries(switch: str, port: "str | int | None" = None, addr_type: "MacType | str | int" = MacType.ALL) -> list:
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


def static_le_contexts(switch: str, port: "str | int | None" = None) -> list:
    """The static LE contexts of a switch, or of one port: a list of
    ``StaticLeContext``, which agree with the switch's static and user MAC
    entries."""
    name = resolve_switch(switch)
    if port is None:
        result, error = _libtessel.VSHYX_GetStaticLectx(name), switch_error("VSHYX_GetStaticLectx", name)
    else:
        result = _libtessel.VSHYX_GetPortStaticLectx(name, port_name(port))
        error = port_error("VSHYX_GetPortStaticLectx", name, port)
    with Walk(result, error, _libtessel.VSStaticLeCtxEntries_numEntries_get,
              _libtessel.VSStaticLeCtxEntries_staticLECtxEntries_get, _libtessel.VSStaticLEEntry___getitem__,
              "static LE context table") as walk:
        return [StaticLeContext.from_entry(e) for e in walk]


# ---- MAC learning and layer-2 security ----


class LimitPolicy(HostEnum):
    """What a port does with a new address once it has learned its limit."""

    ALLOW = ("allow", _libtessel.VSPORT_MAC_LEARNING_LIMIT_POLICY_ALLOW)
    DROP = ("drop", _libtessel.VSPORT_MAC_LEARNING_LIMIT_POLICY_DROP)


class SecurityFlag(HostEnum):
    """A layer-2 security flag of a port."""

    DISALLOW_PROMISC = ("disallow-promisc", _libtessel.VSPORT_SECURITY_DISALLOW_PROMISC)
    DISALLOW_MAC_CHANGE = ("disallow-mac-change", _libtessel.VSPORT_SECURITY_DISALLOW_MAC_CHANGE)
    DISALLOW_FORGED_SRC = ("disallow-forged-src", _libtessel.VSPORT_SECURITY_DISALLOW_FORGED_SRC)


def _flag(value):
    # A one-byte host boolean: a one-character str or an int.
    return bool(ord(value) if isinstance(value, str) else value)


def _security_names(bits):
    return tuple(flag for flag in SecurityFlag if bits & flag.code)


def _check(operation, status, error):
    if status != _libtessel.HYX_OK:
        raise error(status)


class LearningProps(PlainValue, namedtuple("LearningProps", "aging_time mac_limit learn_static static_mac_allow")):
    """The host's MAC-learning properties: ``aging_time`` (seconds),
    ``mac_limit``, and whether static entries are learned
    (``learn_static``) and allowed (``static_mac_allow``)."""

    __slots__ = ()


def _props_record():
    from libtessel.records import VSMACLearningGlobalProps

    record = VSMACLearningGlobalProps()
    _check("VSHYX_GetGlobalMACLearningProps", _libtessel.VSHYX_GetGlobalMACLearningProps(record),
           lambda status: host_error("VSHYX_GetGlobalMACLearningProps", status))
    return record


def learning_props() -> LearningProps:
    """The host's ``LearningProps``."""
    r = _props_record()
    return LearningProps(r.agingTime, r.macLimit, _flag(r.learnStatic), _flag(r.staticMACAllow))


def set_learning_props(aging_time: "int | None" = None, mac_limit: "int | None" = None,
                       learn_static: "bool | None" = None, static_mac_allow: "bool | None" = None) -> None:
    """Changes the properties given (the others stay)."""
    r = _props_record()
    if aging_time is not None:
        r.agingTime = checked_int(aging_time, "aging_time", 0, _libtessel.VS_MAC_LEARNING_AGING_TIME_MAX)
    if mac_limit is not None:
        r.macLimit = checked_int(mac_limit, "mac_limit", 0, 0xFFFFFFFF)
    if learn_static is not None:
        r.learnStatic = int(_checked_bool(learn_static, "learn_static"))
    if static_mac_allow is not None:
        r.staticMACAllow = int(_checked_bool(static_mac_allow, "static_mac_allow"))
    _check("VSHYX_SetGlobalMACLearningProps", _libtessel.VSHYX_SetGlobalMACLearningProps(r),
           lambda status: host_error("VSHYX_SetGlobalMACLearningProps", status))


def _checked_bool(value, argument):
    if not isinstance(value, bool):
        raise TypeError("%s must be True or False, not %s" % (argument, type(value).__name__))
    return value


class SwitchLearning(PlainValue, namedtuple("SwitchLearning", (
        "switch aging_time mac_limit learning_ports macs_learned team_macs_learned ports_at_limit sink_ports "
        "overlay_caching team_learning aging_multiplier"))):
    """A switch's MAC-learning summary: its ``aging_time`` and ``mac_limit``,
    how many ports learn (``learning_ports``), the addresses learned on its
    ports (``macs_learned``) and on the team side (``team_macs_learned``),
    ``ports_at_limit``, ``sink_ports``, whether overlay addresses are cached
    (``overlay_caching``) and the team side learns (``team_learning``), and
    the ``aging_multiplier``."""

    __slots__ = ()


def switch_learning(switch: str) -> SwitchLearning:
    """The ``SwitchLearning`` of a switch."""
    from libtessel.records import VSMACLearningSwitchInfo

    name = resolve_switch(switch)
    r = VSMACLearningSwitchInfo()
    _check("VSHYX_GetSwitchMACLearningInfo", _libtessel.VSHYX_GetSwitchMACLearningInfo(name, r),
           switch_error("VSHYX_GetSwitchMACLearningInfo", name))
    return SwitchLearning(name, r.agingTime, r.macLimit, r.numLearningPorts, r.numMACsLearned, r.teamNumMACsLearned,
                          r.noOfPortsMACLimitHit, r.numSinkPorts, _flag(r.cachingMlOverlayEnabled),
                          _flag(r.configureTeamMacLearning), r.agingMultiplier)


class PortLearning(PlainValue, namedtuple("PortLearning", "port_id learning flooding mac_limit limit_policy security")):
    """A port's learning settings: whether it ``learning`` and ``flooding``,
    its ``mac_limit`` and ``limit_policy`` (a ``LimitPolicy``), and its
    layer-2 ``security`` flags (a tuple of ``SecurityFlag``)."""

    __slots__ = ()

    def as_dict(self):
        row = super().as_dict()
        row["security"] = [str(flag) for flag in self.security]
        return row


def _table(result, error, entries, copy, what):
    return Walk(result, error, lambda table: getattr(table, "numEntries"), entries, copy, what)


def _security_by_port(name):
    with _table(_libtessel.VSHYX_GetL2Security(name), switch_error("VSHYX_GetL2Security", name),
                _libtessel.VSL2Security_portSecEntries_get, _libtessel.VSPropSecurityPortInfo___getitem__,
                "security table") as walk:
        return {e.portID: e.get_port_sec().flags for e in walk}


def port_learning(switch: str, port: "str | int | None" = None) -> list:
    """The ``PortLearning`` of every port of a switch (or of one port), as
    the running switch reports it."""
    from libtessel.ports import port_info

    name = resolve_switch(switch)
    wanted = None if port is None else port_info(name, port).portID
    security = _security_by_port(name)
    with _table(_libtessel.VSHYX_GetMACLearningAllPorts(name), switch_error("VSHYX_GetMACLearningAllPorts", name),
                _libtessel.VSMACLearningEntries_portMACLearningEntries_get, _libtessel.VSPMACLearningInfo___getitem__,
                "learning table") as walk:
        rows = []
        for e in walk:
            if wanted is not None and e.portID != wanted:
                continue
            c = e.get_mac_learning_config()
            rows.append(PortLearning(e.portID, _flag(c.learning), _flag(c.flooding), c.macLimit,
                                     LimitPolicy.from_code(c.macLimitPolicy),
                                     _security_names(security.get(e.portID, 0))))
        return rows


def set_port_learning(switch: str, port: "str | int", learning: "bool | None" = None,
                      flooding: "bool | None" = None, mac_limit: "int | None" = None,
                      limit_policy: "LimitPolicy | str | None" = None) -> None:
    """Changes the learning settings given of a port's configuration (the
    others stay)."""
    from libtessel.records import VSPMACLearning

    if learning is not None:
        _checked_bool(learning, "learning")
    if flooding is not None:
        _checked_bool(flooding, "flooding")
    if mac_limit is not None:
        checked_int(mac_limit, "mac_limit", 0, _libtessel.VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX)
    policy = None if limit_policy is None else LimitPolicy.of(limit_policy, "limit_policy")
    name = resolve_switch(switch)
    text = port_name(port)
    c = VSPMACLearning()
    _check("VSDVS_GetPortMACLearning", _libtessel.VSDVS_GetPortMACLearning(name, text, c),
           port_error("VSDVS_GetPortMACLearning", name, port))
    if learning is not None:
        c.learning = int(learning)
    if flooding is not None:
        c.flooding = int(flooding)
    if mac_limit is not None:
        c.macLimit = mac_limit
    if policy is not None:
        c.macLimitPolicy = policy.code
    _check("VSDVS_SetPortMACLearning", _libtessel.VSDVS_SetPortMACLearning(name, text, c),
           port_error("VSDVS_SetPortMACLearning", name, port))


def port_security(switch: str, port: "str | int") -> tuple:
    """A port's configured layer-2 security flags, a tuple of
    ``SecurityFlag``."""
    from libtessel.records import VSPropSecurity

    name = resolve_switch(switch)
    record = VSPropSecurity()
    _check("VSDVS_GetPortSecurity", _libtessel.VSDVS_GetPortSecurity(name, port_name(port), record),
           port_error("VSDVS_GetPortSecurity", name, port))
    return _security_names(record.flags)


def set_port_security(switch: str, port: "str | int", flags: "list | tuple | str") -> None:
    """Sets a port's layer-2 security flags (``SecurityFlag`` members or
    labels; an empty list clears them)."""
    from libtessel.records import VSPropSecurity

    chosen = {SecurityFlag.of(f, "flags") for f in ([flags] if isinstance(flags, str) else flags)}
    name = resolve_switch(switch)
    record = VSPropSecurity()
    record.flags = sum(flag.code for flag in chosen)
    _check("VSDVS_SetPortSecurity", _libtessel.VSDVS_SetPortSecurity(name, port_name(port), record),
           port_error("VSDVS_SetPortSecurity", name, port))


class PortLearningStats(PlainValue, namedtuple("PortLearningStats", (
        "port_id macs_learned no_learning_allowed no_learning_dropped macs_moved rpf_dropped cache_src cache_dst"))):
    """A port's learning counters: addresses learned and moved, packets
    allowed and dropped while not learning, unicast reverse-path drops and
    the port cache's source and destination counts."""

    __slots__ = ()


def learning_stats(switch: str) -> list:
    """The ``PortLearningStats`` of every port of a switch."""
    name = resolve_switch(switch)
    with _table(_libtessel.VSHYX_GetSwitchMACLearningStats(name),
                switch_error("VSHYX_GetSwitchMACLearningStats", name),
                _libtessel.VSMACLearningStats_macLearningEntries_get,
                _libtessel.VSPMACLearningStatsPortInfo___getitem__, "learning statistics") as walk:
        rows = []
        for e in walk:
            s, c = e.get_mac_learning_stats(), e.get_cached_stats()
            rows.append(PortLearningStats(e.portID, s.numMACsLearned, s.noLearningAllowedPkts,
                                          s.noLearningDroppedPkts, s.numMACsMoved, e.unicastRPFDroppedPkts,
                                          c.cacheSrcMlStats, c.cacheDstStats))
        return rows


def _mac_change(args, add):
    kind = MacType.of(args.type, "--type")
    if add:
        set_static_mac(args.switch, args.port, args.mac, args.vlan, args.vni, kind)
    else:
        clear_static_mac(args.switch, args.port, args.mac, args.vlan, args.vni, kind)
    return {"switch": args.switch, "port": args.port, "mac": _mac_text(parse_mac(args.mac)), "type": str(kind),
            "vlan": args.vlan, "vni": args.vni}


def _mac_arguments():
    return (argument("switch", help="switch name or alias"),
            argument("port", help="the port (client name or port ID)"),
            argument("mac", help="the MAC address"),
            argument("--vlan", type=int, default=0, help="the VLAN id (default 0)"),
            argument("--vni", type=int, default=0, help="the overlay network (default 0)"),
            argument("--type", default="static", choices=["static", "user"], help="the kind of entry"))


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
    Command(
        "mac add", "add a static (or user) MAC entry to a port",
        lambda args: _mac_change(args, True), arguments=_mac_arguments(),
        line=lambda r: "added %(type)s MAC %(mac)s (VLAN %(vlan)d, VNI %(vni)d) to port %(port)s of %(switch)s" % r),
    Command(
        "mac remove", "remove a port's static (or user) MAC entry",
        lambda args: _mac_change(args, False), arguments=_mac_arguments(),
        line=lambda r: "removed %(type)s MAC %(mac)s (VLAN %(vlan)d, VNI %(vni)d) from port %(port)s of %(switch)s"
        % r),
    Command(
        "learning", "show the MAC-learning settings and layer-2 security of a switch's ports (or of one port)",
        lambda args: port_learning(args.switch, args.port),
        arguments=(argument("switch", help="switch name or alias"),
                   argument("--port", help="only this port (client name or port ID)")),
        columns=(column("PORT-ID", "port_id"), column("LEARNING", "learning"), column("FLOODING", "flooding"),
                 column("LIMIT", "mac_limit"), column("POLICY", "limit_policy"),
                 ("SECURITY", lambda r: ",".join(str(f) for f in r.security) or "-"))),
)
