"""The ``libtessel`` command-line tool: tables for people, --json for scripts.

    libtessel switches [--json]
    libtessel aliases [--json]
    libtessel ports SWITCH [--json]
    libtessel macs SWITCH [--port PORT] [--type TYPE] [--json]
    libtessel mirror SWITCH [--json]
    libtessel mcast SWITCH [--port PORT] [--json]
    libtessel --version

Each subsystem module of the package declares its own commands
(``COMMANDS``); this module only runs them.  Exit status: 0 on success, 1
when the host refuses or lacks what was asked for, 2 for a usage error.  The
keys of the JSON output stay once published (the README lists them).
"""

import argparse
import json
import os
import sys

import libtessel


def format_table(headers, rows):
    widths = [len(h) for h in headers]
    for row in rows:
        widths = [max(w, len(c)) for w, c in zip(widths, row)]
    lines = ["  ".join(h.ljust(w) for h, w in zip(headers, widths)).rstrip()]
    for row in rows:
        lines.append("  ".join(c.ljust(w) for c, w in zip(row, widths)).rstrip())
    return "\n".join(lines)


def version_line():
    return "libtessel %s, %s" % (libtessel.__version__, libtessel.host())


class _Version(argparse.Action):
    def __init__(self, option_strings, dest, **kwargs):
        super().__init__(option_strings, dest, nargs=0, help="show the package version and the host in use")

    def __call__(self, parser, namespace, values, option_string=None):
        print(version_line())
        parser.exit()


def build_parser():
    parser = argparse.ArgumentParser(prog="libtessel", description=__doc__.splitlines()[0])
    parser.add_argument("--version", action=_Version)
    sub = parser.add_subparsers(dest="command", required=True, metavar="COMMAND")
    for command in libtessel._commands():
        p = sub.add_parser(command.name, help=command.help, description=command.help)
        for flags, options in command.arguments:
            p.add_argument(*flags, **options)
        p.add_argument("--json", action="store_true", help="machine-readable output")
        p.set_defaults(declared=command)
    return parser


def _write(command, rows, as_json, out):
    if as_json:
        json.dump(command.json(rows) if command.json else [row.as_dict() for row in rows], out, indent=2)
        out.write("\n")
    else:
        rows = [[text(row) for _, text in command.columns] for row in rows]
        out.write(format_table([header for header, _ in command.columns], rows) + "\n")
    out.flush()


def _quiet_pipe(out):
    # The reader went away: later writes (and the flush at exit) go nowhere.
    try:
        devnull = os.open(os.devnull, os.O_WRONLY)
        os.dup2(devnull, out.fileno())
    except (OSError, ValueError, AttributeError):
        pass


def main(argv=None, out=None):
    out = out or sys.stdout
    args = build_parser().parse_args(argv)
    try:
        if libtessel.host().kind == "simulated":
            print("libtessel: using the simulated host", file=sys.stderr)
        _write(args.declared, args.declared.run(args), args.json, out)
    except libtessel.HostError as exc:
        print("libtessel: %s" % exc, file=sys.stderr)
        return 1
    except ValueError as exc:
        print("libtessel: %s" % exc, file=sys.stderr)
        return 2
    except BrokenPipeError:
        _quiet_pipe(out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
