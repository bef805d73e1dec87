"""The built module against the published inventory: every method, record
size and constant it has must be listed there, exactly; and every listed
name of a subsystem that is built must be present."""

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


def test_every_method_is_in_the_inventory():
    assert sorted(set(module_methods()) - METHODS) == []


def test_built_records_are_complete():
    # Every inventory method of a record the module has is present.
    have = set(module_methods())
    for record in module_records():
        prefix = record + "_"
        longer = [r for r in RECORDS if r != record and r.startswith(prefix)]
        expected = {
            n for n in METHODS
            if (n.startswith(prefix) and not any(n.startswith(r + "_") for r in longer))
            or n in ("new_" + record, "delete_" + record)
        }
        assert sorted(expected - have) == [], record


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


def test_first_method_and_count_bounds():
    methods = module_methods()
    assert methods[0] == "SWIG_PyInstanceMethod_New"
    assert len(methods) <= len(METHODS) == 2232
