#!/usr/bin/env python3
"""Writes the API reference: one HTML page per public module of the layer
from its docstrings, with the interpreter's own pydoc, and one for the raw
module whose methods carry the signatures of its type stubs (the methods
themselves have no docstrings or signatures a page could show).

    apidocs.py OUT_DIR STUBS.pyi MODULE...

Run with the built tree on sys.path (PYTHONPATH=build/python).
"""

import ast
import importlib
import inspect
import os
import pydoc
import sys
import types


class _Shown(str):
    """An annotation shown as its own text (pydoc shows an annotation's repr)."""

    def __repr__(self):
        return str(self)


def _parameter(arg, kind, default):
    return inspect.Parameter(arg.arg, kind, default=default,
                             annotation=_Shown(ast.unparse(arg.annotation)) if arg.annotation else
                             inspect.Parameter.empty)


def _signature(node):
    args = node.args
    positional = args.posonlyargs + args.args
    first_default = len(positional) - len(args.defaults)
    params = [_parameter(a, inspect.Parameter.POSITIONAL_ONLY if a in args.posonlyargs
                         else inspect.Parameter.POSITIONAL_OR_KEYWORD,
                         _Shown("...") if i >= first_default else inspect.Parameter.empty)
              for i, a in enumerate(positional)]
    if args.vararg:
        params.append(_parameter(args.vararg, inspect.Parameter.VAR_POSITIONAL, inspect.Parameter.empty))
    return inspect.Signature(params, return_annotation=_Shown(ast.unparse(node.returns)))


def stub_module(module, stub_path):
    """A stand-in of the raw module for pydoc: each method a function with
    its stub signature (an overloaded one lists each form), the constants
    with their values."""
    with open(stub_path) as f:
        tree = ast.parse(f.read())
    shown = types.ModuleType(module.__name__, module.__doc__)
    forms = {}
    for node in tree.body:
        if isinstance(node, ast.FunctionDef):
            forms.setdefault(node.name, []).append(_signature(node))
    for name, signatures in forms.items():
        def method(*args):
            pass
        method.__name__ = method.__qualname__ = name
        method.__module__ = module.__name__
        method.__signature__ = signatures[0]
        if len(signatures) > 1:
            method.__doc__ = "\n".join(name + str(s) for s in signatures)
        setattr(shown, name, method)
    for name, value in vars(module).items():
        if isinstance(value, (int, str)) and not name.startswith("__"):
            setattr(shown, name, value)
    shown.__file__ = module.__file__
    # pydoc lists what __all__ names (its functions are not the module's own).
    shown.__all__ = [n for n in vars(shown) if not n.startswith("__")]
    return shown


def main(argv):
    if len(argv) < 3:
        print("usage: apidocs.py OUT_DIR STUBS.pyi MODULE...", file=sys.stderr)
        return 2
    out, stub, names = argv[1], argv[2], argv[3:]
    os.makedirs(out, exist_ok=True)
    for name in names:
        module = importlib.import_module(name)
        if name == "_libtessel":
            module = stub_module(module, stub)
        page = pydoc.html.page(pydoc.describe(module), pydoc.html.document(module, name))
        with open(os.path.join(out, name + ".html"), "w", encoding="utf-8") as f:
            f.write(page)
    print("apidocs: %d page(s) in %s" % (len(names), out))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
