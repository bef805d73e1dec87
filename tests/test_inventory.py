"""The built module against the published inventory, both ways: every method
it has is listed there and every listed method is present; every record
size and every constant is the listed one."""

import os

import _libtessel as m

from conftest import INVENTORY


def _rows(name):
    with open(os.path.join(INVENTORY, name)) as f:
        return [line.rstrip("\n").split("\t") for line in f if line.strip()]


METHODS = {r[0] for r in _rows("methods.txt")}
RECORDS = {r[0]: int(r[1]) for r in _rows("records.tsv")}
CONSTANT_ROWS = _rows("constants.tsv")
CONSTANTS = {r[0]: (r[1], r[2]) for r in CONSTANT_ROWS}


def module_methods():
    return [n for n, v in vars(m).items() if type(v).__name__ == "builtin_function_or_method"]


def module_records():
    return sorted(n[: -len("_swigregister")] for n in module_methods() if n.endswith("_swigregister"))


def test_methods_are_exactly_the_inventory():
    have = set(module_methods())
    assert sorted(have - METHODS) == []
    assert sorted(METHODS - have) == []


def test_record_sizes():
    import ctypes

    for record in module_records():
        assert record in RECORDS
        raw = getattr(m, "new_" + record)()
        size = RECORDS[record]
        # The record is zero-filled over exactly its size: writing the last
        # byte is within the allocation (the sanitizer run checks the bound).
        assert ctypes.string_at(int(raw), size) == bytes(size), record


def test_constants_match():
    for name, value in vars(m).items():
        if isinstance(value, (int, str)) and not name.startswith("__"):
            assert name in CONSTANTS, name
            kind, text = CONSTANTS[name]
            expected = int(text) if kind == "int" else eval(text)  # noqa: S307 (literals from the inventory)
            assert type(value).__name__ == kind and value == expected, name


def test_constants_installed_in_order_with_cvar_among_them():
    # Dictionary order is insertion order: methods first, then the constants
    # one insertion each, cvar right after HYX_IOCTL_CALLER_32.
    names = [n for n, v in vars(m).items()
             if not n.startswith("__") and type(v).__name__ != "builtin_function_or_method"]
    expected = [r[0] for r in CONSTANT_ROWS]
    at = expected.index("HYX_IOCTL_CALLER_32") + 1
    assert names == expected[:at] + ["cvar"] + expected[at:]


def test_first_method_and_count():
    methods = module_methods()
    assert methods[0] == "SWIG_PyInstanceMethod_New"
    assert len(methods) == len(METHODS) == 2232


def test_every_record_is_built():
    assert module_records() == sorted(RECORDS)
