#!/usr/bin/env python3
"""Writes each ```python block of a Markdown file to a folder of its own, as
example_01.py, example_02.py, ... in the order they stand, so a type checker
can check them.

    readme_examples.py README.md OUT_DIR

A fence may be indented (inside a list item): the block loses that
indentation.  Only fences whose info string is exactly "python" count; an
unclosed fence is an error, not a shorter example.
"""

import os
import re
import sys

FENCE = re.compile(r"^( *)(```+|~~~+)\s*(\S*)\s*$")


def python_blocks(text):
    """The source of each ```python block, with its first line's number."""
    blocks = []
    lines = text.splitlines()
    i = 0
    while i < len(lines):
        m = FENCE.match(lines[i])
        if not m:
            i += 1
            continue
        indent, fence, info = len(m.group(1)), m.group(2), m.group(3)
        start = i + 1
        end = start
        while end < len(lines):
            close = FENCE.match(lines[end])
            if close and close.group(2).startswith(fence[0] * len(fence)) and not close.group(3):
                break
            end += 1
        else:
            raise ValueError("line %d: the fence opened here is never closed" % (i + 1))
        if info == "python":
            body = [line[indent:] if line[:indent].strip() == "" else line for line in lines[start:end]]
            blocks.append((start + 1, "\n".join(body) + "\n"))
        i = end + 1
    return blocks


def main(argv):
    if len(argv) != 3:
        print("usage: readme_examples.py README.md OUT_DIR", file=sys.stderr)
        return 2
    with open(argv[1]) as f:
        text = f.read()
    try:
        blocks = python_blocks(text)
    except ValueError as exc:
        print("%s: %s" % (argv[1], exc), file=sys.stderr)
        return 1
    os.makedirs(argv[2], exist_ok=True)
    for n, (line, source) in enumerate(blocks, 1):
        with open(os.path.join(argv[2], "example_%02d.py" % n), "w") as f:
            f.write("# %s, line %d\n%s" % (os.path.basename(argv[1]), line, source))
    print("readme_examples: %d example(s) from %s" % (len(blocks), argv[1]))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
