"""Uplinks, NIC teaming and link aggregation.

A switch's uplinks with their link state, the teaming policy of a switch
and of each port, and the switch's link aggregation groups (LAGs).  An
uplink is named by its client name (``uplink0``).
"""

from collections import namedtuple

import _libtessel
from libtessel._errors import host_error, not_found, switch_error
from libtessel._native import bytes_at
from libtessel._tables import Walk
from libtessel._enums import HostEnum
from libtessel._values import Command, PlainValue, argument, checked_int, checked_name, column
from libtessel.kernel import resolve_switch
from libtessel.ports import port_error, port_name

__all__ = [
    "Lag",
    "LagMember",
    "LinkState",
    "LoadBalance",
    "TeamPolicy",
    "Uplink",
    "clear_teaming_policy",
    "lags",
    "set_teaming_policy",
    "set_uplink_admin_state",
    "teaming_policy",
    "uplinks",
]

_OK = _libtessel.HYX_OK
_NOT_FOUND = _libtessel.HYX_NOT_FOUND
_MAX_UPLINKS = _libtessel.HYX_TEAM_MAX_UPLINKS
_release = _libtessel.VSHYX_FreeMemory
# An entry of the live uplink table: a 32-byte name, then the port ID.
_ENTRY_SIZE = 36
_PORT_ID_AT = 32


class LinkState(HostEnum):
    """The state of a link."""

    DOWN = ("down", _libtessel.HYX_LINK_STATE_DOWN)
    UP = ("up", _libtessel.HYX_LINK_STATE_UP)


class LoadBalance(HostEnum):
    """How a teaming policy spreads traffic over its uplinks."""

    NONE = ("none", _libtessel.TEAM_FRP_TYPE_NONE)
    IP = ("ip", _libtessel.TEAM_FRP_TYPE_LB_IP)
    SRCMAC = ("srcmac", _libtessel.TEAM_FRP_TYPE_LB_SRCMAC)
    SRCID = ("srcid", _libtessel.TEAM_FRP_TYPE_LB_SRCID)
    EXPLICIT = ("explicit", _libtessel.TEAM_FRP_TYPE_FO_EXPLICIT)
    LBT = ("lbt", _libtessel.TEAM_FRP_TYPE_LB_LBT)


def _uplink_error(operation, switch, uplink):
    def error(status):
        if status == _NOT_FOUND:
            return not_found(operation, "uplink", uplink, "no uplink %r on %s" % (uplink, switch))
        return host_error(operation, status, argument="uplink", value=uplink, where="uplink %r of %s" % (uplink, switch))

    return error


class Uplink(PlainValue, namedtuple("Uplink", "name port_id link lacp")):
    """One uplink of a switch: its ``name`` and ``port_id``, its ``link``
    state (a ``LinkState``) and, for a member of a LAG, the ``lacp`` link
    state (None otherwise)."""

    __slots__ = ()


def _uplink_entry(table, i):
    # The name through the table's own bounded reader; the port ID from the
    # entry's bytes, index i being below the table's count.
    first = int(_libtessel.VSUplinks_entries_get(table).this)
    raw = bytes_at(first + i * _ENTRY_SIZE + _PORT_ID_AT, 4)
    return _libtessel.VSUplinks___getitem__(table, i), int.from_bytes(raw, "little")


def _link_state(function, name, uplink):
    status, state = function(name, uplink)
    if status != _OK:
        return status, None
    return status, LinkState.from_code(state)


def uplinks(switch: str) -> list:
    """The ``Uplink`` of each uplink port of a switch, in port order."""
    name = resolve_switch(switch)
    with Walk(_libtessel.VSHYX_GetUplinks(name), switch_error("VSHYX_GetUplinks", name),
              _libtessel.VSUplinks___len__, lambda table: table, _uplink_entry, "uplink table") as walk:
        entries = list(walk)
    result = []
    for uplink, port_id in entries:
        status, link = _link_state(_libtessel.VSHYX_GetUplinkLinkState, name, uplink)
        if status != _OK:
            raise _uplink_error("VSHYX_GetUplinkLinkState", name, uplink)(status)
        status, lacp = _link_state(_libtessel.VSHYX_GetUplinkLACPLinkState, name, uplink)
        if status not in (_OK, _NOT_FOUND):
            raise _uplink_error("VSHYX_GetUplinkLACPLinkState", name, uplink)(status)
        result.append(Uplink(uplink, port_id, link, lacp))
    return result


def set_uplink_admin_state(switch: str, uplink: str, state: "LinkState | str | int | bool") -> None:
    """Sets an uplink administratively up or down (a ``LinkState``, its
    label or the host's number; True and False for up and down)."""
    name = resolve_switch(switch)
    checked_name(uplink, "uplink", "an uplink name")
    if isinstance(state, bool):
        state = LinkState.UP if state else LinkState.DOWN
    state = LinkState.of(state, "state")
    status = _libtessel.VSHYX_SetUplinkAdminLinkState(name, uplink, state.code)
    if status != _OK:
        raise _uplink_error("VSHYX_SetUplinkAdminLinkState", name, uplink)(status)


class TeamPolicy(PlainValue, namedtuple("TeamPolicy", (
        "load_balance link_criteria flags active standby percent_error full_duplex speed"))):
    """A NIC teaming policy.

    ``load_balance`` (a ``LoadBalance``), the ``link_criteria`` and
    ``flags`` bit sets (the TEAM_FRP_CRIT_* and TEAM_FRP_FLAG_* constants),
    the ``active`` and ``standby`` uplinks (lists of names, at most 32
    together), and ``percent_error``, ``full_duplex`` and ``speed``.
    """

    __slots__ = ()

    def __new__(cls, load_balance=LoadBalance.SRCID, link_criteria=_libtessel.TEAM_FRP_CRIT_LINK_STATE,
                flags=_libtessel.TEAM_FRP_FLAG_NOTIFY_SWITCH, active=(), standby=(), percent_error=0,
                full_duplex=0, speed=0):
        return super().__new__(cls, load_balance, link_criteria, flags, list(active), list(standby),
                               percent_error, full_duplex, speed)

    @property
    def uplinks(self):
        """The active uplinks, then the standby ones."""
        return self.active + self.standby

    @classmethod
    def from_record(cls, record):
        g = _libtessel
        active = g.VSTeamPolicy_numActive_get(record)
        standby = g.VSTeamPolicy_numStandby_get(record)
        # The record has 32 slots, whatever its counts say.
        names = [g.VSTeamPolicy___getitem__(record, i) for i in range(min(active + standby, _MAX_UPLINKS))]
        active = min(active, _MAX_UPLINKS)
        return cls(
            load_balance=LoadBalance.from_code(g.VSTeamPolicy_loadBalance_get(record)),
            link_criteria=g.VSTeamPolicy_linkCriteria_get(record),
            flags=g.VSTeamPolicy_flags_get(record),
            active=names[:active],
            standby=names[active:],
            percent_error=g.VSTeamPolicy_percentError_get(record),
            full_duplex=g.VSTeamPolicy_fullDuplex_get(record),
            speed=g.VSTeamPolicy_speed_get(record),
        )

    def to_record(self):
        """A Python-owned ``records.VSTeamPolicy`` holding this policy."""
        from libtessel.records import VSTeamPolicy

        names = list(self.active) + list(self.standby)
        if len(names) > _MAX_UPLINKS:
            raise ValueError("a teaming policy has at most %d uplinks, got %d" % (_MAX_UPLINKS, len(names)))
        g = _libtessel
        record = VSTeamPolicy()
        load_balance = self.load_balance
        if not isinstance(load_balance, LoadBalance):
            load_balance = LoadBalance.of(load_balance, "load_balance")
        g.VSTeamPolicy_loadBalance_set(record, load_balance.code)
        g.VSTeamPolicy_linkCriteria_set(record, checked_int(self.link_criteria, "link_criteria", 0, 0xFFFFFFFF))
        g.VSTeamPolicy_flags_set(record, checked_int(self.flags, "flags", 0, 0xFFFFFFFF))
        g.VSTeamPolicy_percentError_set(record, checked_int(self.percent_error, "percent_error", 0, 255))
        g.VSTeamPolicy_fullDuplex_set(record, checked_int(self.full_duplex, "full_duplex", 0, 255))
        g.VSTeamPolicy_speed_set(record, checked_int(self.speed, "speed", 0, 65535))
        g.VSTeamPolicy_numActive_set(record, len(self.active))
        g.VSTeamPolicy_numStandby_set(record, len(self.standby))
        for i, uplink in enumerate(names):
            checked_name(uplink, "uplink", "an uplink name")
            if len(uplink.encode("utf-8", "surrogateescape")) > 80:
                raise ValueError("uplink name %r is longer than 80 bytes" % uplink)
            g.VSTeamPolicy___setitem__(record, i, uplink)
        return record


def _policy_call(switch, port, switch_function, port_function, *more):
    """Calls a teaming function of a switch (port None) or of one of its
    ports, raising the layer's exception on a failure status."""
    name = resolve_switch(switch)
    if port is None:
        status = getattr(_libtessel, switch_function)(name, *more)
        error = switch_error(switch_function, name)
    else:
        status = getattr(_libtessel, port_function)(name, port_name(port), *more)
        error = port_error(port_function, name, port)
    if status != _OK:
        raise error(status)


def teaming_policy(switch: str, port: "str | int | None" = None) -> "TeamPolicy":
    """The ``TeamPolicy`` in force on a switch, or on one of its ports (its
    own, else the switch's)."""
    from libtessel.records import VSTeamPolicy

    record = VSTeamPolicy()
    _policy_call(switch, port, "VSDVS_GetTeamingPolicy", "VSDVS_GetPortTeamingPolicy", record)
    return TeamPolicy.from_record(record)


def set_teaming_policy(switch: str, policy: "TeamPolicy", port: "str | int | None" = None) -> None:
    """Sets the teaming policy (a ``TeamPolicy``) of a switch, or of one of
    its ports."""
    if not isinstance(policy, TeamPolicy):
        raise TypeError("policy must be a TeamPolicy, not %s" % type(policy).__name__)
    _policy_call(switch, port, "VSDVS_SetTeamingPolicy", "VSDVS_SetPortTeamingPolicy", policy.to_record())


def clear_teaming_policy(switch: str, port: "str | int | None" = None) -> None:
    """Removes the teaming policy of a switch (the host's default applies
    again) or of a port (the switch's applies again)."""
    _policy_call(switch, port, "VSDVS_ClearTeamingPolicy", "VSDVS_ClearPortTeamingPolicy")


class LagMember(PlainValue, namedtuple("LagMember", "name link")):
    """A member uplink of a LAG and its ``link`` state (a ``LinkState``)."""

    __slots__ = ()


class Lag(PlainValue, namedtuple("Lag", "name id state members")):
    """A link aggregation group: its ``name`` and ``id``, its ``state`` (a
    ``LinkState``: up while any member is) and its ``members``
    (``LagMember`` values)."""

    __slots__ = ()

    def as_dict(self):
        row = super().as_dict()
        row["members"] = [member.as_dict() for member in self.members]
        return row


def _read_lag(lag):
    g = _libtessel
    bitmap = g.VSLAGStatus_uplinkLinkupBitmap_get(lag)
    members = []
    for i in range(g.VSLAGStatus_numUplinks_get(lag)):
        member = g.VSLAGStatus_get_uplink_name(lag, i)
        if member is None:
            break
        link = LinkState.UP if i < 64 and bitmap >> i & 1 else LinkState.DOWN
        members.append(LagMember(member, link))
    return Lag(g.VSLAGStatus_get_name(lag), g.VSLAGStatus_id_get(lag),
               LinkState.from_code(g.VSLAGStatus_state_get(lag)), members)


def lags(switch: str) -> list:
    """The ``Lag`` values of a switch's LAG table; the host's table goes
    back when they are read."""
    name = resolve_switch(switch)
    status, table = _libtessel.VSHYX_GetLAGTable(name)
    try:
        if status != _OK:
            raise switch_error("VSHYX_GetLAGTable", name)(status)
        result = []
        lag = _libtessel.VSLAGTable_vs_lag_table_first_lag(table)
        for _ in range(_libtessel.VSLAGTable_numLAGs_get(table)):
            if lag is None:
                break
            result.append(_read_lag(lag))
            lag = _libtessel.VSLAGStatus_vs_lag_table_next_lag(lag)
        return result
    finally:
        if table is not None:
            _release(table)


def _names(names):
    return ",".join(names) or "-"


def _members(lag):
    return ",".join("%s:%s" % member for member in lag.members) or "-"


def _set_state(args):
    set_uplink_admin_state(args.switch, args.uplink, args.state)
    return {"switch": args.switch, "uplink": args.uplink, "state": args.state}


COMMANDS = (
    Command(
        "uplink set-state", "set an uplink administratively up or down",
        _set_state,
        arguments=(argument("switch", help="switch name or alias"), argument("uplink", help="the uplink's name"),
                   argument("state", choices=["up", "down"], help="up or down")),
        line=lambda r: "set uplink %(uplink)s of %(switch)s %(state)s" % r),
    Command(
        "uplinks", "list a switch's uplinks with their link state",
        lambda args: uplinks(args.switch),
        arguments=(argument("switch", help="switch name or alias"),),
        columns=(column("NAME", "name"), column("PORT-ID", "port_id"), column("LINK", "link"),
                 ("LACP", lambda u: u.lacp or "-"))),
    Command(
        "teaming", "show the teaming policy of a switch or of one of its ports",
        lambda args: [teaming_policy(args.switch, args.port)],
        arguments=(argument("switch", help="switch name or alias"),
                   argument("--port", help="a port's client name or port ID")),
        columns=(column("LOAD-BALANCE", "load_balance"), ("CRITERIA", lambda p: "0x%x" % p.link_criteria),
                 ("FLAGS", lambda p: "0x%x" % p.flags), ("ACTIVE", lambda p: _names(p.active)),
                 ("STANDBY", lambda p: _names(p.standby))),
        json=lambda rows: rows[0].as_dict()),
    Command(
        "lags", "list a switch's link aggregation groups with their members",
        lambda args: lags(args.switch),
        arguments=(argument("switch", help="switch name or alias"),),
        columns=(column("NAME", "name"), column("ID", "id"), column("STATE", "state"), ("MEMBERS", _members))),
)
