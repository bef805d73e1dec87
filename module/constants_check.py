"""Build-time check: each value has one source.

A constant that a host header defines (a macro or an enumeration item) must
take its value from that header in module/constants.i
(`%constant int NAME = NAME;`), never a number written again beside it, so
the two cannot drift apart.  Exits non-zero, naming each offender, when one
is written again.
"""

import glob
import os
import re
import sys


def header_names(root):
    names = {}
    for path in sorted(glob.glob(os.path.join(root, "hostapi", "*.h"))):
        text = open(path, encoding="utf-8").read()
        for match in re.finditer(r"^#define (\w+) \S", text, re.M):
            names.setdefault(match.group(1), path)
        for enum in re.finditer(r"enum\s*\w*\s*\{(.*?)\}", text, re.S):
            for match in re.finditer(r"(\w+)\s*=", enum.group(1)):
                names.setdefault(match.group(1), path)
    return names


def main(root):
    names = header_names(root)
    constants = open(os.path.join(root, "module", "constants.i"), encoding="utf-8").read()
    offenders = []
    for match in re.finditer(r"^%constant .+? (\w+) = (.+);$", constants, re.M):
        name, value = match.group(1), match.group(2)
        if name in names and value != name:
            offenders.append("%s (defined in %s) is written as %s"
                             % (name, os.path.relpath(names[name], root), value))
    for line in offenders:
        print("module/constants.i: %s; take the header's value: %%constant ... %s = %s;"
              % (line, line.split()[0], line.split()[0]), file=sys.stderr)
    return 1 if offenders else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))))
