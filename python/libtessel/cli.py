"""The ``libtessel`` command-line tool: tables for people, --json for scripts.

    python -m libtessel switches [--json]
    python -m libtessel aliases [--json]
    python -m libtessel ports SWITCH [--json]
    python -m libtessel macs SWITCH [--port PORT] [--json]

The keys of the JSON output never change once published.
"""

import argparse
import json
import sys

import libtessel

_SWITCH_COLUMNS = [
    ("NAME", "name"),
    ("TYPE", None),
    ("MTU", "mtu"),
    ("VLANS", None),
    ("PORTS", None),
    ("SINK", "sink_ports"),
    ("FLAGS", None),
    ("VLANS-IN-USE", "vlans_in_use"),
    ("DVS", "dvs_name"),
]


def _cell(summary, header, key):
    if key is not None:
        return str(getattr(summary, key))
    if header == "TYPE":
        return "distributed" if summary.distributed else "standard"
    if header == "VLANS":
        return "%d-%d" % (summary.min_vlan, summary.max_vlan)
    if header == "PORTS":
        return "%d/%d" % (summary.active_ports, summary.max_ports)
    return "0x%x" % summary.flags


def format_table(headers, rows):
    widths = [len(h) for h in headers]
    for row in rows:
        widths = [max(w, len(c)) for w, c in zip(widths, row)]
    lines = ["  ".join(h.ljust(w) for h, w in zip(headers, widths)).rstrip()]
    for row in rows:
        lines.append("  ".join(c.ljust(w) for c, w in zip(row, widths)).rstrip())
    return "\n".join(lines)


def _cmd_switches(args, out):
    summaries = libtessel.switch_summaries()
    if args.json:
        json.dump([s.as_dict() for s in summaries], out, indent=2)
        out.write("\n")
        return 0
    headers = [h for h, _ in _SWITCH_COLUMNS]
    rows = [[_cell(s, h, k) for h, k in _SWITCH_COLUMNS] for s in summaries]
    out.write(format_table(headers, rows) + "\n")
    return 0


def _cmd_aliases(args, out):
    aliases = libtessel.switch_aliases()
    if args.json:
        json.dump(aliases, out, indent=2)
        out.write("\n")
    else:
        out.write(format_table(["ALIAS"], [[a] for a in aliases]) + "\n")
    return 0


def _dump(items, args, out, columns):
    if args.json:
        json.dump([i.as_dict() for i in items], out, indent=2)
        out.write("\n")
        return 0
    rows = [[str(getattr(i, key)) for _, key in columns] for i in items]
    out.write(format_table([h for h, _ in columns], rows) + "\n")
    return 0


_PORT_COLUMNS = [("PORT-ID", "port_id"), ("CLIENT", "client"), ("TYPE", "client_type"), ("MAC", "mac"),
                 ("VLAN", "default_vlan"), ("RX-PKTS", "pkts_rx"), ("TX-PKTS", "pkts_tx"),
                 ("RX-DROP", "dropped_rx"), ("TX-DROP", "dropped_tx")]
_MAC_COLUMNS = [("MAC", "mac"), ("TYPE", "type"), ("PORT-ID", "port_id"), ("VLAN", "vlan"), ("VNI", "vni"),
                ("AGING", "aging")]


def _cmd_ports(args, out):
    return _dump(libtessel.port_summaries(args.switch), args, out, _PORT_COLUMNS)


def _cmd_macs(args, out):
    return _dump(libtessel.mac_summaries(args.switch, args.port), args, out, _MAC_COLUMNS)


def main(argv=None, out=None):
    out = out or sys.stdout
    parser = argparse.ArgumentParser(prog="libtessel", description=__doc__.splitlines()[0])
    sub = parser.add_subparsers(dest="command", required=True)
    for name, func, text in (
        ("switches", _cmd_switches, "list the host's switches with their summaries"),
        ("aliases", _cmd_aliases, "list the distributed switches' aliases"),
    ):
        p = sub.add_parser(name, help=text)
        p.add_argument("--json", action="store_true", help="machine-readable output")
        p.set_defaults(func=func)
    p = sub.add_parser("ports", help="list a switch's ports with their traffic")
    p.add_argument("switch")
    p.add_argument("--json", action="store_true", help="machine-readable output")
    p.set_defaults(func=_cmd_ports)
    p = sub.add_parser("macs", help="list a switch's (or one port's) MAC table")
    p.add_argument("switch")
    p.add_argument("--port", help="only this port (client name or port ID)")
    p.add_argument("--json", action="store_true", help="machine-readable output")
    p.set_defaults(func=_cmd_macs)
    args = parser.parse_args(argv)
    try:
        return args.func(args, out)
    except libtessel.HostError as exc:
        print("libtessel: %s" % exc, file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
