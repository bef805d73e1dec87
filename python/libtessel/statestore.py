"""The distributed-switch store: creating and destroying a distributed switch
and its ports, and reading, setting and clearing its properties at global,
host and port scope under their key names.  Values are bytes, or str for
text properties (passed as UTF-8)."""

from collections import namedtuple

import _libtessel
from libtessel._errors import host_error
from libtessel._values import Command, PlainValue, argument, checked_int, checked_name, column

__all__ = [
    "Property",
    "PUBLISHED_KEYS",
    "add_dvport",
    "clear_prop",
    "create_dvs",
    "destroy_dvs",
    "get_prop",
    "prop",
    "props",
    "remove_dvport",
    "set_prop",
]

m = _libtessel
_OK = m.HYX_OK
_SCOPES = ("global", "host", "port")
_FIRST_READ = 256
_UINT32 = 0xFFFFFFFF

# The property keys the host publishes, by scope: what ``props`` lists.
# VSPROP_PORT_* and HYX_ZARPROP_PORT_* are a port's, HYX_ZARPROP_HOST_* a
# host's; the other VSPROP_* and HYX_ZARPROP_SWITCH_* are the switch's.
_SCOPE_PREFIXES = (
    ("port", ("VSPROP_PORT_", "HYX_ZARPROP_PORT_")),
    ("host", ("HYX_ZARPROP_HOST_",)),
    ("global", ("VSPROP_", "HYX_ZARPROP_SWITCH_")),
)


def _published():
    keys = {scope: [] for scope, _ in _SCOPE_PREFIXES}
    for name in sorted(vars(m)):
        value = getattr(m, name)
        if not isinstance(value, str):
            continue
        for scope, prefixes in _SCOPE_PREFIXES:
            if name.startswith(prefixes):
                keys[scope].append(value)
                break
    return {scope: tuple(values) for scope, values in keys.items()}


PUBLISHED_KEYS = _published()


class Property(PlainValue, namedtuple("Property", "scope key value")):
    """A property: its ``scope`` ("global", "host" or "port"), ``key`` and
    ``value`` (bytes)."""

    __slots__ = ()

    def as_dict(self):
        return {"scope": self.scope, "key": self.key, "value": self.value.hex()}


def _dvs(switch):
    """The portset name and alias of a distributed switch given by either."""
    checked_name(switch, "switch", "a distributed switch name or alias")
    status, name = m.DVSAliasToPortsetName(switch)
    if status == _OK:
        return name, switch
    status, alias = m.VSDVS_GetAliasFromPortset(switch)
    if status != _OK:
        raise host_error("VSDVS_GetAliasFromPortset", status, argument="switch", value=switch, where=switch)
    return switch, alias


def _check(operation, status, switch, port=None):
    if status != _OK:
        where = switch if port is None else "%s port %s" % (switch, port)
        raise host_error(operation, status, argument="switch" if port is None else "port",
                         value=switch if port is None else port, where=where)


def _scope(scope, port):
    if scope not in _SCOPES:
        raise ValueError("scope must be one of %s, got %r" % (", ".join(_SCOPES), scope))
    if (scope == "port") != (port is not None):
        raise ValueError("a port is given exactly for the port scope")
    if port is not None:
        checked_name(port, "port", "a distributed port id")
    return () if port is None else (port,)


def _value(value):
    if isinstance(value, str):
        value = value.encode()
    if not isinstance(value, bytes):
        raise TypeError("value must be bytes or str, not %s" % type(value).__name__)
    return value


def create_dvs(name: str, alias: str, max_ports: int = 128, version: "int | None" = None, class_name: str = "cswitch",
               mtu: int = 0) -> None:
    """Creates a distributed switch with its portset ``name`` and ``alias``."""
    checked_name(name, "name", "a switch name")
    checked_name(alias, "alias", "a switch alias")
    checked_name(class_name, "class_name", "a switch class name")
    max_ports = checked_int(max_ports, "max_ports", 0, _UINT32)
    version = checked_int(m.DVS_VERSION_70 if version is None else version, "version", 0, _UINT32)
    mtu = checked_int(mtu, "mtu", 0, _UINT32)
    _check("VSDVS_CreateVSwitch", m.VSDVS_CreateVSwitch(name, alias, class_name, max_ports, 0, mtu, version, 0), name)


def destroy_dvs(switch: str) -> None:
    """Destroys a distributed switch (refused with ``Busy`` while a port of
    it is in use)."""
    name, _ = _dvs(switch)
    _check("VSDVS_DestroyVSwitch", m.VSDVS_DestroyVSwitch(name), name)


def add_dvport(switch: str, port: str, connect_id: int = 0, external_id: "str | None" = None) -> None:
    """Adds a distributed port (with an external id: an opaque port)."""
    name, _ = _dvs(switch)
    checked_name(port, "port", "a distributed port id")
    if external_id is None:
        status = m.VSDVS_AddDVPort(name, port, checked_int(connect_id, "connect_id", 0, _UINT32))
    else:
        checked_name(external_id, "external_id", "an external id")
        status = m.VSDVS_AddOpaqueDVPort(name, port, external_id)
    _check("VSDVS_AddDVPort", status, name, port)


def remove_dvport(switch: str, port: str) -> None:
    """Removes a distributed port added to the switch (one with a client of
    the host, such as a VM port or an uplink, is refused with ``Busy``)."""
    name, _ = _dvs(switch)
    checked_name(port, "port", "a distributed port id")
    _check("VSDVS_RemoveDVPort", m.VSDVS_RemoveDVPort(name, port), name, port)


_GET = {"global": "VSDVS_GetGlobProp", "host": "VSDVS_GetHostProp", "port": "VSDVS_GetPortProp"}
_SET = {"global": "VSDVS_SetGlobProp", "host": "VSDVS_SetHostProp", "port": "VSDVS_SetPortProp"}
_CLEAR = {"global": "VSDVS_ClearGlobProp", "host": "VSDVS_ClearHostProp", "port": "VSDVS_ClearPortProp"}


def _read(name, alias, scope, port, key):
    """The value's bytes, or None when the property is not set."""
    size = _FIRST_READ
    for _ in range(2):
        query = m.alloc_zar_query(size)
        if query is None:
            raise MemoryError("no memory for a property query")
        try:
            status = getattr(m, _GET[scope])(name, alias, *port, query, key, 1)
            if status == _OK:
                return m.ZARQuery_get_val_in_bytes(query)
            needed = m.ZARQuery_propLen_get(query)
        finally:
            m.free_zar_query(query)
        if status == m.HYX_NOT_FOUND:
            return None
        if status != m.HYX_LIMIT_EXCEEDED or needed <= size:
            _check(_GET[scope], status, name, port[0] if port else None)
        size = needed
    raise RuntimeError("the property %r grew while it was read" % key)


def prop(switch: str, key: str, scope: str = "global", port: "str | None" = None) -> bytes:
    """The value of a property as bytes; ``NotFound`` when it is not set."""
    port = _scope(scope, port)
    checked_name(key, "key", "a property key")
    name, alias = _dvs(switch)
    value = _read(name, alias, scope, port, key)
    if value is None:
        _check(_GET[scope], m.HYX_NOT_FOUND, name, port[0] if port else None)
    return value


# The earlier name of prop.
get_prop = prop


def set_prop(switch: str, key: str, value: "bytes | str", scope: str = "global", port: "str | None" = None,
             persistent: bool = True) -> None:
    """Sets a property to ``value`` (bytes, or str as UTF-8)."""
    port = _scope(scope, port)
    checked_name(key, "key", "a property key")
    value = _value(value)
    name, alias = _dvs(switch)
    status = getattr(m, _SET[scope])(name, alias, *port, value, len(value), key, 1 if persistent else 0)
    _check(_SET[scope], status, name, port[0] if port else None)


def clear_prop(switch: str, key: str, scope: str = "global", port: "str | None" = None) -> None:
    """Clears a property; ``NotFound`` when it is not set."""
    port = _scope(scope, port)
    checked_name(key, "key", "a property key")
    name, alias = _dvs(switch)
    _check(_CLEAR[scope], getattr(m, _CLEAR[scope])(name, alias, *port, key, 1), name, port[0] if port else None)


def props(switch: str, scope: str = "global", port: "str | None" = None, keys: "list | None" = None) -> list:
    """The properties set among ``keys`` (the published keys of the scope by
    default), as ``Property`` values in key order."""
    port_args = _scope(scope, port)
    wanted = PUBLISHED_KEYS[scope] if keys is None else [checked_name(k, "keys", "a property key") for k in keys]
    name, alias = _dvs(switch)
    out = []
    for key in wanted:
        value = _read(name, alias, scope, port_args, key)
        if value is not None:
            out.append(Property(scope, key, value))
    return out


_SHOWN_BYTES = 16


def _show(value):
    """A value for the table: printable text as it is, other bytes in hex;
    a long binary value (a whole policy record) shows its first bytes and
    its length, and --json gives all of it."""
    try:
        text = value.decode()
        if text.isprintable():
            return text
    except UnicodeDecodeError:
        pass
    if len(value) > _SHOWN_BYTES:
        return "%s... (%d bytes)" % (value[:_SHOWN_BYTES].hex(), len(value))
    return value.hex()


def _props_set(args):
    scope = args.scope or ("port" if args.port else "global")
    if args.hex:
        try:
            value = bytes.fromhex(args.value)
        except ValueError:
            raise ValueError("value must be hexadecimal bytes with --hex, got %r" % args.value) from None
    else:
        value = args.value.encode()
    set_prop(args.switch, args.key, value, scope=scope, port=args.port)
    return {"switch": args.switch, "scope": scope, "port": args.port, "key": args.key, "value": value.hex()}


def _props_clear(args):
    scope = args.scope or ("port" if args.port else "global")
    clear_prop(args.switch, args.key, scope=scope, port=args.port)
    return {"switch": args.switch, "scope": scope, "port": args.port, "key": args.key}


def _where(r):
    return "%s %s" % (r["switch"], "port %s" % r["port"] if r["port"] else r["scope"])


def _switch_create(args):
    create_dvs(args.name, args.alias, max_ports=args.max_ports, mtu=args.mtu)
    return {"switch": args.name, "alias": args.alias}


def _switch_destroy(args):
    name, alias = _dvs(args.switch)
    destroy_dvs(name)
    return {"switch": name, "alias": alias}


def _port_change(args, add):
    name, _ = _dvs(args.switch)
    if add:
        add_dvport(name, args.port, connect_id=args.connect_id)
    else:
        remove_dvport(name, args.port)
    return {"switch": name, "port": args.port}


_SCOPE_ARGS = (argument("--port", help="a distributed port id (port scope)"),
               argument("--scope", choices=_SCOPES, help="global, host or port"))

COMMANDS = (
    Command(
        "props set", "set a property of a distributed switch (or of one of its ports)",
        _props_set,
        arguments=(argument("switch", help="distributed switch name or alias"), argument("key", help="the key"),
                   argument("value", help="the value (text, stored as UTF-8)"),
                   argument("--hex", action="store_true",
                            help="the value is hexadecimal bytes (a record or a 32-bit little-endian number)"))
        + _SCOPE_ARGS,
        line=lambda r: "set %s on %s" % (r["key"], _where(r))),
    Command(
        "props clear", "clear a property of a distributed switch (or of one of its ports)",
        _props_clear,
        arguments=(argument("switch", help="distributed switch name or alias"), argument("key", help="the key"))
        + _SCOPE_ARGS,
        line=lambda r: "cleared %s on %s" % (r["key"], _where(r))),
    Command(
        "switch create", "create a distributed switch",
        _switch_create,
        arguments=(argument("name", help="the switch's name"), argument("alias", help="its alias"),
                   argument("--max-ports", type=int, default=128, help="how many ports it may have (default 128)"),
                   argument("--mtu", type=int, default=0, help="its MTU (default: the host's)")),
        line=lambda r: "created distributed switch %(switch)s (%(alias)s)" % r),
    Command(
        "switch destroy", "destroy a distributed switch (none of its ports may be in use)",
        _switch_destroy,
        arguments=(argument("switch", help="distributed switch name or alias"),),
        line=lambda r: "destroyed distributed switch %(switch)s (%(alias)s)" % r),
    Command(
        "port add", "add a port to a distributed switch",
        lambda args: _port_change(args, True),
        arguments=(argument("switch", help="distributed switch name or alias"),
                   argument("port", help="the distributed port id"),
                   argument("--connect-id", type=int, default=0, help="the connection id (default 0: unused)")),
        line=lambda r: "added port %(port)s to %(switch)s" % r),
    Command(
        "port remove", "remove a port of a distributed switch (one added to it; a port with a client stays)",
        lambda args: _port_change(args, False),
        arguments=(argument("switch", help="distributed switch name or alias"),
                   argument("port", help="the distributed port id")),
        line=lambda r: "removed port %(port)s from %(switch)s" % r),
    Command(
        "props", "list the published properties set on a distributed switch (or one of its ports)",
        lambda args: props(args.switch, args.scope or ("port" if args.port else "global"), args.port),
        arguments=(
            argument("switch", help="distributed switch name or alias"),
            argument("--port", help="a distributed port id (port scope)"),
            argument("--scope", choices=_SCOPES, help="global, host or port"),
        ),
        columns=(column("SCOPE", "scope"), column("KEY", "key"), ("VALUE", lambda p: _show(p.value)))),
)
