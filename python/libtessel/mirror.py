"""Port mirroring: the mirror sessions of a distributed switch, and what the
running switch reports about them.

A session is a plain ``MirrorSession``: made with ``mirror_session`` (its
identifier, display name, destinations, sources, encapsulation, truncation
and sampling), handed to ``set_mirror_sessions`` or
``append_mirror_sessions``, read back with ``mirror_sessions`` and dropped
with ``remove_mirror_session`` or ``clear_mirror_sessions``.  The layer
builds and reads the host's session table itself; no caller touches an
address.

An endpoint of a session (a destination or a source) is a ``MirrorEntity``:
a port ID (int) is a port, a text an uplink name; any other kind is given as
``MirrorEntity(kind, value)`` or a ``(kind, value)`` pair, the kind one of
``EntityKind``.
"""

import ipaddress
from collections import namedtuple

import _libtessel
from libtessel._errors import host_error, not_found
from libtessel._tables import Walk
from libtessel._enums import HostEnum
from libtessel._values import Command, PlainValue, argument, checked_int, checked_name, column
from libtessel.kernel import resolve_switch, switch_alias_map

__all__ = [
    "EntityKind",
    "Encapsulation",
    "MirrorAgentWorld",
    "MirrorEntity",
    "MirrorSession",
    "MirrorSessionStats",
    "SessionType",
    "append_mirror_sessions",
    "clear_mirror_sessions",
    "mirror_agent_stats",
    "mirror_session",
    "mirror_session_ids",
    "mirror_session_stats",
    "mirror_sessions",
    "promisc_destinations",
    "remove_mirror_session",
    "set_mirror_sessions",
]

m = _libtessel
_OK = m.HYX_OK
_SID_BYTES = 31
_NAME_BYTES = 80
_DVPORT_BYTES = 47
_UPLINK_BYTES = 31
_U32 = 0xFFFFFFFF
_U16 = 0xFFFF
_SNAP_WHOLE = m.VS_DVMIRROR_SNAPLEN_COMPLETE & _U32
_TABLE_VERSION = m.VS_DVMIRROR_VERSION_V4


class EntityKind(HostEnum):
    """What an endpoint of a session names."""

    DVPORT = ("dvport", m.MIRROR_ENTTYPE_DVPORT)
    UPLINK = ("uplink", m.MIRROR_ENTTYPE_UPLINK)
    VLAN = ("vlan", m.MIRROR_ENTTYPE_VLAN)
    IP = ("ip", m.MIRROR_ENTTYPE_IP)
    PORT = ("port", m.MIRROR_ENTTYPE_PORT)
    MAC = ("mac", m.MIRROR_ENTTYPE_MAC)


class SessionType(HostEnum):
    """The kind of a session."""

    MIXED = ("mixed", m.VS_DVMIRROR_SESSIONTYPE_MIXDST)
    DVPORT = ("dvport", m.VS_DVMIRROR_SESSIONTYPE_DVPORT)
    REMOTE_SOURCE = ("remote-source", m.VS_DVMIRROR_SESSIONTYPE_RMIRROR_SRC)
    REMOTE_DESTINATION = ("remote-destination", m.VS_DVMIRROR_SESSIONTYPE_RMIRROR_DST)
    ENCAPSULATED_SOURCE = ("encapsulated-source", m.VS_DVMIRROR_SESSIONTYPE_ERMIRROR_SRC)
    LOGICAL_DVPORT = ("logical-dvport", m.VS_DVMIRROR_SESSIONTYPE_LOGICAL_DVPORT)


class Encapsulation(HostEnum):
    """How mirrored frames are encapsulated towards a remote destination."""

    GRE = ("gre", m.DVMIRROR_ENCAP_GRE)
    ERSPAN2 = ("erspan2", m.DVMIRROR_ENCAP_ERSPAN2)
    ERSPAN3 = ("erspan3", m.DVMIRROR_ENCAP_ERSPAN3)


def _utf8_limited(value, argument, what, limit):
    checked_name(value, argument, what)
    if len(value.encode()) > limit:
        raise ValueError("%s must be at most %d bytes of UTF-8, got %r" % (argument, limit, value))
    return value


class MirrorEntity(PlainValue, namedtuple("MirrorEntity", "kind value")):
    """An endpoint of a session: its ``kind`` (an ``EntityKind``) and its
    ``value`` as text (a port ID, uplink name, VLAN, address, ...)."""

    __slots__ = ()

    def __new__(cls, kind, value):
        kind = EntityKind.of(kind, "kind")
        return super().__new__(cls, kind, _entity_text(kind, value))

    def __str__(self):
        return "%s:%s" % (self.kind.value, self.value)


def _entity_text(kind, value):
    """The text the module's entity parser takes for value, checked here
    (the parser itself ignores what it cannot read)."""
    if kind in (EntityKind.PORT, EntityKind.VLAN):
        if isinstance(value, str) and value.isdigit():
            value = int(value)
        high = _U32 if kind is EntityKind.PORT else 4095
        return str(checked_int(value, kind.value, 0, high))
    if kind is EntityKind.UPLINK:
        return _utf8_limited(value, "uplink", "an uplink name", _UPLINK_BYTES)
    if kind is EntityKind.DVPORT:
        return _utf8_limited(value, "dvport", "a distributed port ID", _DVPORT_BYTES)
    if kind is EntityKind.IP:
        try:
            return str(ipaddress.ip_address(value))
        except ValueError:
            raise ValueError("ip must be an IPv4 or IPv6 address, got %r" % (value,)) from None
    from libtessel.mac import parse_mac

    return ":".join("%02x" % b for b in parse_mac(value))


def _entity(value):
    if isinstance(value, MirrorEntity):
        return value
    if isinstance(value, int) and not isinstance(value, bool):
        return MirrorEntity(EntityKind.PORT, value)
    if isinstance(value, str):
        return MirrorEntity(EntityKind.UPLINK, value)
    if isinstance(value, tuple) and len(value) == 2:
        return MirrorEntity(*value)
    raise TypeError("an endpoint is a port ID (int), an uplink name (str) or a (kind, value) pair, not %r"
                    % (value,))


def _entity_list(values, argument):
    if isinstance(values, (str, bytes, int, MirrorEntity)):
        raise TypeError("%s must be a list of endpoints, not %r" % (argument, values))
    return tuple(_entity(v) for v in values)


class MirrorSession(PlainValue, namedtuple("MirrorSession", (
        "sid name type destinations ingress egress encapsulation encap_vlan snap_len sampling_rate gre_key "
        "erspan_id enabled legacy flags"))):
    """One mirror session, as plain values.

    ``sid`` (its identifier) and ``name``; its ``type`` (a ``SessionType``);
    ``destinations``, ``ingress`` and ``egress`` sources, each a tuple of
    ``MirrorEntity``; ``encapsulation`` (an ``Encapsulation``, or None when
    frames go out as they are) and ``encap_vlan``; ``snap_len`` (bytes kept
    of each frame, None for whole frames); ``sampling_rate`` (one frame in
    that many); ``gre_key`` and ``erspan_id``; ``enabled``, ``legacy``
    (promiscuous mirroring) and the raw ``flags``.
    """

    __slots__ = ()

    def as_dict(self):
        d = super().as_dict()
        for key in ("destinations", "ingress", "egress"):
            d[key] = [e.as_dict() for e in d[key]]
        return d


def mirror_session(sid: str, name: "str | None" = None, destinations: "list | tuple" = (), sources: "list | tuple" = (),
                   *, ingress: "list | tuple" = (), egress: "list | tuple" = (),
                   type: "SessionType | str" = SessionType.MIXED, encapsulation: "Encapsulation | str | None" = None,
                   encap_vlan: int = 0, snap_len: "int | None" = None, sampling_rate: int = 1, gre_key: int = 0,
                   erspan_id: int = 0, enabled: bool = True, legacy: bool = False) -> "MirrorSession":
    """A ``MirrorSession`` to hand to the host.  ``sources`` are mirrored in
    both directions, ``ingress`` and ``egress`` in one; an endpoint is a port
    ID, an uplink name or a ``MirrorEntity``.  Every value is checked here."""
    _utf8_limited(sid, "sid", "a session identifier", _SID_BYTES)
    name = sid if name is None else _utf8_limited(name, "name", "a session name", _NAME_BYTES)
    kind = SessionType.of(type, "type")
    encap = None if encapsulation is None else Encapsulation.of(encapsulation, "encapsulation")
    checked_int(encap_vlan, "encap_vlan", 0, 4095)
    if snap_len is not None:
        checked_int(snap_len, "snap_len", 1, _SNAP_WHOLE - 1)
    checked_int(sampling_rate, "sampling_rate", 1, _U32)
    checked_int(gre_key, "gre_key", 0, _U32)
    checked_int(erspan_id, "erspan_id", 0, 1023)
    sources = _entity_list(sources, "sources")
    flags = 0
    if encap is not None:
        flags |= m.VS_DVMIRROR_FLAG_DST_ENCAP
    if legacy:
        flags |= m.VS_DVMIRROR_FLAG_LEGACY
    if not enabled:
        flags |= m.VS_DVMIRROR_FLAG_DISABLED
    return MirrorSession(
        sid=sid, name=name, type=kind,
        destinations=_entity_list(destinations, "destinations"),
        ingress=sources + _entity_list(ingress, "ingress"),
        egress=sources + _entity_list(egress, "egress"),
        encapsulation=encap, encap_vlan=encap_vlan, snap_len=snap_len, sampling_rate=sampling_rate,
        gre_key=gre_key, erspan_id=erspan_id, enabled=bool(enabled), legacy=bool(legacy), flags=flags)


# ---- the session table ----

def _fill_session(record, session, start):
    m.DVMirrorSession_sid_set(record, session.sid)
    m.DVMirrorSession_dname_set(record, session.name)
    m.DVMirrorSession_type_set(record, session.type.code)
    m.DVMirrorSession_snapLen_set(record, _SNAP_WHOLE if session.snap_len is None else session.snap_len)
    m.DVMirrorSession_flags_set(record, session.flags)
    m.DVMirrorSession_encapVlan_set(record, session.encap_vlan)
    m.DVMirrorSession_samplingRate_set(record, session.sampling_rate)
    m.DVMirrorSession_greKey_set(record, session.gre_key)
    encap = session.encapsulation
    m.DVMirrorSession_encapType_set(record, m.DVMIRROR_ENCAP_GRE if encap is None else encap.code)
    m.DVMirrorSession_erspanID_set(record, session.erspan_id)
    m.DVMirrorSession_numDstEntities_set(record, len(session.destinations))
    m.DVMirrorSession_numSrcInEntities_set(record, len(session.ingress))
    m.DVMirrorSession_numSrcOutEntities_set(record, len(session.egress))
    m.DVMirrorSession_startIdx_set(record, start)


class _Table:
    """A session table the module allocates for sessions, freed on exit."""

    def __init__(self, sessions):
        sessions = list(sessions)
        for s in sessions:
            if not isinstance(s, MirrorSession):
                raise TypeError("sessions must be MirrorSession values (see mirror_session), not %s"
                                % type(s).__name__)
        sids = [s.sid for s in sessions]
        for sid in sids:
            if sids.count(sid) > 1:
                raise ValueError("sessions name the identifier %r twice" % sid)
        self.sessions = sessions

    def __enter__(self):
        sessions = self.sessions
        entities = [e for s in sessions for e in s.destinations + s.ingress + s.egress]
        self.table = m.alloc_dvmirror_session_table(len(sessions), len(entities))
        try:
            m.DVMirrorSessionTable_version_set(self.table, _TABLE_VERSION)
            start = 0
            for i, s in enumerate(sessions):
                _fill_session(m.DVMirrorSessionTable___getitem__(self.table, i), s, start)
                start += len(s.destinations) + len(s.ingress) + len(s.egress)
            for j, e in enumerate(entities):
                record = m.DVMirrorSessionTable_get_first_session_entity(self.table, j)
                m.DVMirrorEntity_type_set(record, e.kind.code)
                m.DVMirrorEntity_set_entity(record, e.value)
        except BaseException:
            m.free_dvmirror_session_table(self.table)
            raise
        return self.table

    def __exit__(self, *exc):
        m.free_dvmirror_session_table(self.table)


def _entities(table, start, count):
    out = []
    for j in range(start, start + count):
        record = m.DVMirrorSessionTable_get_first_session_entity(table, j)
        if record is None:
            raise ValueError("the host's session table names entity %d of %d"
                             % (j, m.DVMirrorSessionTable_numEntities_get(table)))
        kind = EntityKind.from_code(m.DVMirrorEntity_type_get(record))
        text = m.DVMirrorEntity_get_entity(record)
        out.append(_raw_entity(kind, text))
    return tuple(out)


def _raw_entity(kind, text):
    # An entity the host read back is shown as it is, unchecked.
    return tuple.__new__(MirrorEntity, (kind, text))


def _read_session(table, i):
    r = m.DVMirrorSessionTable___getitem__(table, i)
    dst = m.DVMirrorSession_numDstEntities_get(r)
    src_in = m.DVMirrorSession_numSrcInEntities_get(r)
    src_out = m.DVMirrorSession_numSrcOutEntities_get(r)
    start = m.DVMirrorSession_startIdx_get(r)
    flags = m.DVMirrorSession_flags_get(r)
    snap = m.DVMirrorSession_snapLen_get(r)
    encap = None
    if flags & m.VS_DVMIRROR_FLAG_DST_ENCAP:
        encap = Encapsulation.from_code(m.DVMirrorSession_encapType_get(r))
    return MirrorSession(
        sid=m.DVMirrorSession_sid_get(r), name=m.DVMirrorSession_dname_get(r),
        type=SessionType.from_code(m.DVMirrorSession_type_get(r)),
        destinations=_entities(table, start, dst),
        ingress=_entities(table, start + dst, src_in),
        egress=_entities(table, start + dst + src_in, src_out),
        encapsulation=encap, encap_vlan=m.DVMirrorSession_encapVlan_get(r),
        snap_len=None if snap == _SNAP_WHOLE else snap,
        sampling_rate=m.DVMirrorSession_samplingRate_get(r), gre_key=m.DVMirrorSession_greKey_get(r),
        erspan_id=m.DVMirrorSession_erspanID_get(r),
        enabled=not flags & m.VS_DVMIRROR_FLAG_DISABLED, legacy=bool(flags & m.VS_DVMIRROR_FLAG_LEGACY),
        flags=flags)


def _read_table(table):
    """The sessions of a session table, as ``MirrorSession`` values, read
    through the module's walking methods."""
    return [_read_session(table, i) for i in range(m.DVMirrorSessionTable_numSessions_get(table))]


# ---- host calls ----

def _distributed(switch):
    """The name and alias of a distributed switch given by either."""
    name = resolve_switch(switch)
    for alias, named in switch_alias_map().items():
        if named == name:
            return name, alias
    raise ValueError("switch %r is not a distributed switch: only distributed switches keep mirror sessions"
                     % switch)


def _error(operation, status, name, sid=None):
    """The exception for a failed call on switch name (about session sid)."""
    if sid is not None and status == m.HYX_NOT_FOUND:
        return not_found(operation, "sid", sid, "no mirror session %r on %s" % (sid, name))
    if sid is not None and status == m.HYX_EXISTS:
        return host_error(operation, status, argument="sid", value=sid,
                          message="%s has a mirror session %r already" % (name, sid))
    return host_error(operation, status, argument="switch", value=name, where=name)


def _check(operation, status, name, sid=None):
    if status != _OK:
        raise _error(operation, status, name, sid)


def mirror_sessions(switch: str) -> list:
    """The mirror sessions of a distributed switch, as ``MirrorSession``
    values in the host's order."""
    name, alias = _distributed(switch)
    status, table = m.VSDVS_GetDVMirrorSessions(name, alias)
    try:
        _check("VSDVS_GetDVMirrorSessions", status, name)
        return _read_table(table)
    finally:
        if table is not None:
            m.VSDVS_FreeMemory(table)


def _store(operation, switch, sessions):
    name, alias = _distributed(switch)
    given = _Table(sessions)
    with given as table:
        status = getattr(m, operation)(name, alias, table)
    if status == m.HYX_EXISTS:
        have = {s.sid for s in mirror_sessions(name)}
        sid = next((s.sid for s in given.sessions if s.sid in have), None)
        _check(operation, status, name, sid)
    _check(operation, status, name)


def set_mirror_sessions(switch: str, sessions: list) -> None:
    """Replaces the mirror sessions of a distributed switch."""
    _store("VSDVS_SetDVMirrorSessions", switch, sessions)


def append_mirror_sessions(switch: str, sessions: list) -> None:
    """Adds sessions after the switch's own; an identifier the switch has
    already raises ``AlreadyExists`` and nothing is added."""
    _store("VSDVS_AppendDVMirrorSessions", switch, sessions)


def remove_mirror_session(switch: str, sid: str) -> None:
    """Drops the session ``sid``; ``NotFound`` when there is none."""
    _utf8_limited(sid, "sid", "a session identifier", _SID_BYTES)
    name, alias = _distributed(switch)
    _check("VSDVS_RemoveDVMirrorSession", m.VSDVS_RemoveDVMirrorSession(name, alias, sid), name, sid)


def clear_mirror_sessions(switch: str) -> None:
    """Drops every mirror session of a distributed switch."""
    name, alias = _distributed(switch)
    _check("VSDVS_ClearDVMirrorSessions", m.VSDVS_ClearDVMirrorSessions(name, alias), name)


def _host_list(operation, switch, count, entry):
    name = resolve_switch(switch)
    result = getattr(m, operation)(name)
    with Walk(result, lambda status: _error(operation, status, name), count, lambda table: table, entry,
              "list") as walk:
        return list(walk)


def mirror_session_ids(switch: str) -> list:
    """The identifiers of the sessions the running switch mirrors with."""
    return _host_list("VSHYX_GetDVMirrorSessionIDs", switch, m.VSDVMirrorSessionIDs_numEntries_get,
                      lambda t, i: m.VSDVMirrorSessionIDs___getitem__(t, i).rstrip(b"\0").decode())


def promisc_destinations(switch: str) -> list:
    """The IDs of the ports that receive promiscuous (legacy) mirroring."""
    return _host_list("VSHYX_GetPromiscSessionActiveDsts", switch, m.VSPromiscSessionActiveDsts_numEntries_get,
                      m.VSPromiscSessionActiveDsts___getitem__)


class MirrorSessionStats(PlainValue, namedtuple("MirrorSessionStats", (
        "sid name packets failed mirrored discarded failed_packets"))):
    """The counters of one session."""

    __slots__ = ()


def mirror_session_stats(switch: str, sid: str) -> "MirrorSessionStats":
    """The counters of session ``sid``; ``NotFound`` when there is none."""
    _utf8_limited(sid, "sid", "a session identifier", _SID_BYTES)
    name = resolve_switch(switch)
    stats = m.new_VSDVMirrorSessionStats()
    _check("VSHYX_GetDVMirrorSessionStats", m.VSHYX_GetDVMirrorSessionStats(name, sid, stats), name, sid)
    return MirrorSessionStats(
        sid=sid, name=m.VSDVMirrorSessionStats_name_get(stats),
        packets=m.VSDVMirrorSessionStats_mirrorPktCnt_get(stats),
        failed=m.VSDVMirrorSessionStats_mirrorPktFailCnt_get(stats),
        mirrored=m.VSDVMirrorSessionStats_mirroredPkts_get(stats),
        discarded=m.VSDVMirrorSessionStats_discardedPkts_get(stats),
        failed_packets=m.VSDVMirrorSessionStats_failedPkts_get(stats))


class MirrorAgentWorld(PlainValue, namedtuple("MirrorAgentWorld", (
        "world_id ports requests socket_tx_packets socket_errors"))):
    """The counters of one worker of the mirror agent."""

    __slots__ = ()


def mirror_agent_stats() -> list:
    """The mirror agent's workers that are in use, as ``MirrorAgentWorld``."""
    stats = m.new_VSDVMirrorAgentWorldStats()
    status = m.VSHYX_GetDVMirrorAgentWorldStats(stats)
    if status != _OK:
        raise host_error("VSHYX_GetDVMirrorAgentWorldStats", status)
    out = []
    for i in range(min(m.VSDVMirrorAgentWorldStats___len__(stats), m.MIRROR_AGENT_WORLD_NUM)):
        w = m.VSDVMirrorAgentWorldStats___getitem__(stats, i)
        out.append(MirrorAgentWorld(m.VSDVMirrorAgentWorld_worldID_get(w), m.VSDVMirrorAgentWorld_portCnt_get(w),
                                    m.VSDVMirrorAgentWorld_requestNum_get(w),
                                    m.VSDVMirrorAgentWorld_socketTxPkts_get(w),
                                    m.VSDVMirrorAgentWorld_socketErrors_get(w)))
    return out


def _endpoints(entities):
    return ",".join(str(e) for e in entities) or "-"


def _endpoint_arg(text):
    # A port ID on the command line is its decimal text; anything else an uplink.
    return int(text) if text.isdigit() else text


def _mirror_add(args):
    session = mirror_session(args.sid, args.name, [_endpoint_arg(d) for d in args.destination],
                             [_endpoint_arg(s) for s in args.source], snap_len=args.snap_len,
                             sampling_rate=args.sampling_rate, enabled=not args.disabled)
    append_mirror_sessions(args.switch, [session])
    return {"switch": args.switch, "sid": args.sid}


def _mirror_remove(args):
    remove_mirror_session(args.switch, args.sid)
    return {"switch": args.switch, "sid": args.sid}


COMMANDS = (
    Command(
        "mirror add", "add a mirror session to a distributed switch",
        _mirror_add,
        arguments=(argument("switch", help="distributed switch name or alias"),
                   argument("sid", help="the session identifier"),
                   argument("--name", help="the session name (default: its identifier)"),
                   argument("--destination", action="append", default=[], metavar="ENDPOINT",
                            help="a destination: port ID or uplink name (repeatable)"),
                   argument("--source", action="append", default=[], metavar="ENDPOINT",
                            help="a source mirrored both ways: port ID or uplink name (repeatable)"),
                   argument("--snap-len", type=int, help="bytes kept of each frame (default: whole frames)"),
                   argument("--sampling-rate", type=int, default=1, help="mirror one frame in this many"),
                   argument("--disabled", action="store_true", help="add the session disabled")),
        line=lambda r: "added mirror session %(sid)s to %(switch)s" % r),
    Command(
        "mirror remove", "remove a mirror session of a distributed switch",
        _mirror_remove,
        arguments=(argument("switch", help="distributed switch name or alias"),
                   argument("sid", help="the session identifier")),
        line=lambda r: "removed mirror session %(sid)s from %(switch)s" % r),
    Command(
        "mirror", "list a distributed switch's mirror sessions",
        lambda args: mirror_sessions(args.switch),
        arguments=(argument("switch", help="distributed switch name or alias"),),
        columns=(column("SID", "sid"), column("NAME", "name"), column("TYPE", "type"),
                 column("ENABLED", "enabled"),
                 ("DESTINATIONS", lambda s: _endpoints(s.destinations)),
                 ("INGRESS", lambda s: _endpoints(s.ingress)), ("EGRESS", lambda s: _endpoints(s.egress)),
                 ("ENCAP", lambda s: s.encapsulation or "-"),
                 ("SNAPLEN", lambda s: "all" if s.snap_len is None else str(s.snap_len)),
                 column("SAMPLING", "sampling_rate"))),
)
