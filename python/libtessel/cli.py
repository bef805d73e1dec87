"""The ``libtessel`` command-line tool: tables for people, --json for scripts.

    libtessel COMMAND [ARGUMENTS] [--json]
    libtessel COMMAND --help
    libtessel --help | --version

Each subsystem module of the package declares its own commands
(``COMMANDS``); ``_index.COMMANDS`` says which module declares which, so the
tool imports only the module of the command it runs.  A command is one word
(``ports``) or, for a change, two (``mac add``).  Exit status: 0 on success,
1 when the host refuses or lacks what was asked for (one line on standard
error), 2 for a usage error.  The keys of the JSON output stay once
published (the README lists them).
"""

import os
import sys

import libtessel
from libtessel import _host
from libtessel._index import COMMANDS

_PROG = "libtessel"


def format_table(headers: list, rows: list) -> str:
    """Left-aligned columns under their headers, two spaces apart."""
    widths = [len(h) for h in headers]
    for row in rows:
        widths = [max(w, len(c)) for w, c in zip(widths, row)]
    lines = ["  ".join(h.ljust(w) for h, w in zip(headers, widths)).rstrip()]
    for row in rows:
        lines.append("  ".join(c.ljust(w) for c, w in zip(row, widths)).rstrip())
    return "\n".join(lines)


def version_line() -> str:
    """What ``--version`` prints: the package version and the host in use."""
    return "libtessel %s, %s" % (libtessel.__version__, libtessel.host())


def declared(name: str):
    """The ``Command`` declared under ``name`` (imports only its module)."""
    module = "libtessel." + COMMANDS[name]
    __import__(module)
    for command in sys.modules[module].COMMANDS:
        if command.name == name:
            return command
    raise LookupError("libtessel.%s declares no command %r" % (COMMANDS[name], name))


def _overview():
    lines = ["usage: %s COMMAND [ARGUMENTS] [--json]" % _PROG, "",
             __doc__.splitlines()[0], "", "commands:"]
    for name in sorted(COMMANDS):
        lines.append("  %-18s %s" % (name, declared(name).help))
    lines += ["", "options:", "  -h, --help         show this help and exit",
              "  --version          show the package version and the host in use",
              "", "%s COMMAND --help describes a command." % _PROG]
    return "\n".join(lines)


def _parser(command):
    import argparse

    parser = argparse.ArgumentParser(prog="%s %s" % (_PROG, command.name), description=command.help)
    for flags, options in command.arguments:
        parser.add_argument(*flags, **options)
    parser.add_argument("--json", action="store_true", help="machine-readable output")
    return parser


class _Arguments:
    """The parsed arguments of a command, as attributes (argparse's
    Namespace, without importing argparse)."""

    def __init__(self, **values):
        self.__dict__.update(values)


def _quick_parse(command, argv):
    """The arguments of a plain command line (positionals, ``--option
    VALUE``, flags), parsed as argparse would; None for anything else (help,
    a usage error, an argument form this does not read), which argparse then
    parses and reports."""
    values = {"json": False}
    positionals, options = [], {}
    for flags, form in command.arguments:
        if set(form) - {"help", "default", "choices", "type", "action", "metavar"} or \
                form.get("action") not in (None, "store_true", "append") or form.get("type") not in (None, int):
            return None
        if flags[0].startswith("-"):
            options[flags[0]] = form
            dest = flags[0].lstrip("-").replace("-", "_")
            action = form.get("action")
            values[dest] = False if action == "store_true" else list(form.get("default", [])) \
                if action == "append" else form.get("default")
        else:
            positionals.append((flags[0], form))
    given = []
    rest = list(argv)
    while rest:
        arg = rest.pop(0)
        if arg == "--json":
            values["json"] = True
        elif arg in options:
            form = options[arg]
            dest = arg.lstrip("-").replace("-", "_")
            if form.get("action") == "store_true":
                values[dest] = True
                continue
            if not rest or rest[0].startswith("-"):
                return None
            value = _converted(form, rest.pop(0))
            if value is None:
                return None
            if form.get("action") == "append":
                values[dest].append(value)
            else:
                values[dest] = value
        elif arg.startswith("-"):
            return None
        else:
            given.append(arg)
    if len(given) != len(positionals):
        return None
    for (dest, form), text in zip(positionals, given):
        value = _converted(form, text)
        if value is None:
            return None
        values[dest] = value
    return _Arguments(**values)


def _converted(form, text):
    if form.get("type") is int:
        try:
            value = int(text)
        except ValueError:
            return None
    else:
        value = text
    if "choices" in form and value not in form["choices"]:
        return None
    return value


def _usage_error(text):
    print("%s: %s (see %s --help)" % (_PROG, text, _PROG), file=sys.stderr)
    return 2


def _split(argv):
    """The command's name and its arguments."""
    if len(argv) > 1 and "%s %s" % (argv[0], argv[1]) in COMMANDS:
        return "%s %s" % (argv[0], argv[1]), argv[2:]
    return argv[0], argv[1:]


def _human(command, result):
    if command.line is not None:
        return command.line(result)
    rows = [[text(row) for _, text in command.columns] for row in result]
    return format_table([header for header, _ in command.columns], rows)


def _json(command, result):
    from libtessel._jsontext import dumps

    if command.json is not None:
        data = command.json(result)
    elif isinstance(result, list):
        data = [row.as_dict() for row in result]
    else:
        data = result
    return dumps(data)


def _quiet_pipe(out):
    # The reader went away: later writes (and the flush at exit) go nowhere.
    try:
        devnull = os.open(os.devnull, os.O_WRONLY)
        os.dup2(devnull, out.fileno())
    except (OSError, ValueError, AttributeError):
        pass


def main(argv: "list[str] | None" = None, out=None) -> int:
    """Runs the tool on ``argv`` (the process's arguments by default),
    writing to ``out`` (standard output); returns the exit status."""
    out = out or sys.stdout
    argv = sys.argv[1:] if argv is None else list(argv)
    if not argv:
        print(_overview(), file=sys.stderr)
        return 2
    if argv[0] in ("-h", "--help"):
        print(_overview(), file=out)
        return 0
    if argv[0] == "--version":
        print(version_line(), file=out)
        raise SystemExit(0)
    if argv[0].startswith("-"):
        return _usage_error("unknown option %r" % argv[0])
    name, rest = _split(argv)
    if name not in COMMANDS:
        actions = sorted(c.split()[1] for c in COMMANDS if c.startswith(argv[0] + " "))
        if actions:
            return _usage_error("%s takes one of %s" % (argv[0], ", ".join(actions)))
        return _usage_error("unknown command %r" % name)
    command = declared(name)
    args = _quick_parse(command, rest)
    if args is None:
        try:
            args = _parser(command).parse_args(rest)
        except SystemExit as exc:
            # argparse has written the usage and its message (status 2), or
            # the command's help (status 0).
            return exc.code if isinstance(exc.code, int) else 2
    try:
        if _host.kind() == _host.SIMULATED:
            print("%s: using the simulated host" % _PROG, file=sys.stderr)
        result = command.run(args)
        text = _json(command, result) if args.json else _human(command, result)
        out.write(text + "\n")
        out.flush()
    except libtessel.HostError as exc:
        print("%s: %s" % (_PROG, exc), file=sys.stderr)
        return 1
    except ValueError as exc:
        print("%s: %s" % (_PROG, exc), file=sys.stderr)
        return 2
    except BrokenPipeError:
        _quiet_pipe(out)
    return 0


def run() -> None:
    """The tool's entry point (``libtessel``, ``python -m libtessel``): runs
    ``main`` on the process's arguments and ends the process with its
    status.  Once the output is written, the process ends without the
    interpreter's teardown (C's exit still writes what C buffered); an
    exception, or output that cannot be written, takes the ordinary way
    out."""
    status = main()
    try:
        sys.stdout.flush()
        sys.stderr.flush()
    except Exception:
        sys.exit(status)
    from libtessel._native import exit_process

    exit_process(status)


if __name__ == "__main__":
    run()
