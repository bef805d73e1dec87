"""Randomized calls of every method of the module.

Each call either returns or raises an ordinary Python exception: a crash
ends the test run (pytest's faulthandler then shows the call).  The harness
covers whatever methods the module has, so each new wrapper is fuzzed
without being named here.

What is excluded, by rule rather than by name lists:
- Methods that release the memory they are given (names starting with
  "delete_" or "free_", or containing "FreeMemory") are called only with
  values that are not pointers to memory the harness owns: None and
  non-pointer values.  Handing them a live record would free it behind its
  owning pointer object.
- Array field setters copy a whole array from the pointer they are given, so
  they get pointers from the getter of the same field (or None, or wrong
  types), never a pointer into a smaller array.
- "_swigregister" methods change the process-wide class registrations; they
  are given only non-class values.
- A count next to a record pointer: a host function given a count and a
  record reads (or writes) that many records from it, and an element
  "___getitem__" copies element i of the array its record starts.  The
  harness owns single records only, so in such calls every int that would
  convert is 0 or 1; ints that fail conversion (negative, too wide) stay.
- Pointers into a record come only from its getters whose address lies
  inside the record's published size: the view of a zero-length array
  addresses the bytes after a table header, which a fresh header does not
  have.

TESSEL_FUZZ_CALLS sets the number of calls (a quick pass by default; the
"fuzz" make target runs a long one) and TESSEL_FUZZ_SEED the seed.
"""

import os
import random

import pytest

import _libtessel as m

from conftest import INVENTORY, addr

CALLS = int(os.environ.get("TESSEL_FUZZ_CALLS", "3000"))
SEED = int(os.environ.get("TESSEL_FUZZ_SEED", "20261206"))

INTS = [0, 1, -1, 255, 256, 65535, 65536, 2**31 - 1, 2**31, -(2**31), -(2**31) - 1, 2**32 - 1,
        2**32, 2**63 - 1, 2**63, 2**64 - 1, 2**64, 2**70, -(2**70), True]
STRS = ["", "a", "switch0", "dswitch0", "dvs-prod", "%s%n%p", "x" * 127, "x" * 128, "y" * 5000,
        "é", "\u20ac" * 40, "\udc80", "\ud800abc", "\x00", "a\x00b"]
OTHERS = [None, b"", b"switch0", 0.0, -1.5, float("nan"), [], (), {}, object()]

METHODS = sorted(n for n, v in vars(m).items() if type(v).__name__ == "builtin_function_or_method")
RECORDS = sorted(n[len("new_"):] for n in METHODS if n.startswith("new_"))
RECORDS_LONGEST_FIRST = sorted(RECORDS, key=len, reverse=True)


with open(os.path.join(INVENTORY, "records.tsv")) as _f:
    SIZES = {name: int(size) for name, size in (line.split() for line in _f if line.strip())}


def owner(name):
    """The record a method belongs to: the longest record name it starts with,
    except that the accessors of a nested record's field (VSPortInfo_vlan_get)
    belong to the enclosing record."""
    return next((r for r in RECORDS_LONGEST_FIRST
                 if name.startswith(r + "_") and name not in (r + "_get", r + "_set")), None)


def releases_memory(name):
    return name.startswith("delete_") or name.startswith("free_") or "FreeMemory" in name


def array_setter_source(name):
    """For an array field setter, the getter of the same field (it returns a
    pointer into a fresh record's array of the right length)."""
    if not name.endswith("_set"):
        return None
    getter = getattr(m, name[:-4] + "_get", None)
    record = owner(name)
    if getter is None or record is None:
        return None
    new = getattr(m, "new_" + record)
    sample = new()
    if type(getter(sample)).__name__ != "SwigPyObject":
        return None

    def source(keep):
        # The pointer addresses the fresh record, which must outlive the call.
        rec = new()
        keep.append(rec)
        return getter(rec)

    return source


class Pool:
    """Fresh argument values; pointer objects address records the harness
    owns and keeps alive until the end of the call."""

    def __init__(self, rng):
        self.rng = rng
        self.keep = []

    def record(self):
        rec = getattr(m, "new_" + self.rng.choice(RECORDS))()
        self.keep.append(rec)
        return rec

    def inner_pointer(self):
        # Non-owning pointers into a fresh record: array and nested fields.
        rec_name = self.rng.choice(RECORDS)
        rec = getattr(m, "new_" + rec_name)()
        self.keep.append(rec)
        getters = [n for n in METHODS if n.endswith("_get") and owner(n) == rec_name]
        start = addr(rec)
        for _ in range(4):
            if not getters:
                break
            value = getattr(m, self.rng.choice(getters))(rec)
            if type(value).__name__ == "SwigPyObject" or hasattr(value, "this"):
                if start <= addr(value) < start + SIZES.get(rec_name, 0):
                    return value
        return rec

    def value(self, pointers=True):
        kind = self.rng.randrange(10 if pointers else 7)
        if kind < 3:
            return self.rng.choice(INTS)
        if kind < 6:
            return self.rng.choice(STRS)
        if kind == 6:
            return self.rng.choice(OTHERS)
        if kind < 9:
            return self.record()
        return self.inner_pointer()


def is_pointer(value):
    return type(value).__name__ == "SwigPyObject" or hasattr(value, "this")


def counts_records(name):
    """Calls whose int arguments may count records behind a pointer: the host
    functions (they belong to no record) and the element copies."""
    return owner(name) is None or name.endswith("___getitem__")


def single_record_count(rng, value):
    if isinstance(value, int) and 1 < value < 2**32:
        return rng.choice([0, 1])
    return value


def arguments(pool, name, nargs):
    rng = pool.rng
    if name.endswith("_swigregister") or releases_memory(name):
        return tuple(pool.value(pointers=False) for _ in range(nargs))
    args = [pool.value() for _ in range(nargs)]
    if counts_records(name) and any(is_pointer(a) for a in args):
        args = [single_record_count(rng, a) for a in args]
    source = ARRAY_SOURCES.get(name)
    if source is not None and nargs >= 2:
        args[1] = source(pool.keep) if rng.random() < 0.7 else pool.value(pointers=False)
    return tuple(args)


ARRAY_SOURCES = {n: s for n in METHODS if (s := array_setter_source(n)) is not None}


def call(func, args):
    try:
        func(*args)
    except (TypeError, ValueError, OverflowError, AttributeError, RuntimeError, MemoryError,
            KeyError, IndexError, NotImplementedError, OSError, UnicodeError):
        pass


@pytest.mark.parametrize("seed_offset", range(4))
def test_random_calls_never_crash(seed_offset):
    rng = random.Random(SEED + seed_offset)
    # Every method once in order, then random picks.
    names = METHODS + [rng.choice(METHODS) for _ in range(CALLS // 4)]
    for name in names:
        pool = Pool(rng)
        nargs = rng.choice([0, 1, 1, 2, 2, 2, 3, 4])
        call(getattr(m, name), arguments(pool, name, nargs))

