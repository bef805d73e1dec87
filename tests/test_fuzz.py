"""Randomized calls of every method of the module.

Each call either returns or raises an ordinary Python exception: a crash
ends the test run (pytest's faulthandler then shows the call), and under
the sanitizers (make fuzz-sanitize) so does any bad memory access.  The
harness covers whatever methods the module has, so each new wrapper is
fuzzed without being named here.

Arguments are ints, texts (with NULs among them), odd Python objects
(objects whose `this` is a cycle, a fresh object at every access, or
raises), fresh records, pointers into fresh records (nested records at odd
offsets, array and tail views), element views of host tables, and views of
records and tables released just before the call.  Counts are any int: the
module knows the extent of every block the harness can reach.

What is excluded, by rule rather than by name lists:
- Release functions (names starting with "delete_" or "free_", or
  containing "FreeMemory") get only objects made for the call: a release
  given a record the harness stored in another record's pointer field
  would leave that field pointing at freed memory, which the module cannot
  know (a pointer read back from a field matches no live block).
- "_swigregister" methods change the process-wide class registrations;
  after each such call the layer's classes are registered again.

Besides the module's methods, a share of the calls go to the pointer
objects' own methods (append, next, own, disown, acquire, repr, int).

TESSEL_FUZZ_CALLS sets the number of calls (a quick pass by default; the
"fuzz" make target runs a long one) and TESSEL_FUZZ_SEED the seed.
"""

import os
import random
import re

import pytest

import _libtessel as m
import libtessel

CALLS = int(os.environ.get("TESSEL_FUZZ_CALLS", "40000"))
SEED = int(os.environ.get("TESSEL_FUZZ_SEED", "20261206"))

INTS = [0, 1, -1, 2, 3, 25, 255, 256, 4096, 65535, 65536, 2**31 - 1, 2**31, -(2**31), -(2**31) - 1,
        2**32 - 1, 2**32, 2**63 - 1, 2**63, 2**64 - 1, 2**64, 2**70, -(2**70), True]
STRS = ["", "a", "switch0", "dswitch0", "dvs-prod", "hostport0", "%s%n%p", "x" * 127, "x" * 128, "y" * 5000,
        "é", "\u20ac" * 40, "\udc80", "\ud800abc", "\x00", "a\x00b", "switch0\x00-evil"]


class FreshThis:
    @property
    def this(self):
        return m.new_VSInfo()


class RaisingThis:
    @property
    def this(self):
        raise KeyError("this")


def _cycle():
    a, b = type("A", (), {})(), type("B", (), {})()
    a.this, b.this = b, a
    return a


OTHERS = [None, b"", b"switch0", 0.0, -1.5, float("nan"), [], (), {}, object(), FreshThis(), RaisingThis(),
          _cycle(), type("Odd", (), {})]

METHODS = sorted(n for n, v in vars(m).items() if type(v).__name__ == "builtin_function_or_method")
RECORDS = sorted(n[len("new_"):] for n in METHODS if n.startswith("new_"))
RECORDS_LONGEST_FIRST = sorted(RECORDS, key=len, reverse=True)
REGISTERED = {name: getattr(libtessel, name) for name in RECORDS if hasattr(libtessel, name)}
# Host functions that hand out a table through their one out slot.
TABLE_CALLS = [
    (lambda: m.VSHYX_GetMACTable("switch0", 3, 0), "VSMACTable_macEntries_get"),
    (lambda: m.VSHYX_GetSwitchPortInfo("switch0"), "VSSwitchPortInfo_entries_get"),
    (lambda: m.VSHYX_GetL2Security("switch0"), "VSL2Security_portSecEntries_get"),
    (lambda: m.VSHYX_GetMACLearningAllPorts("switch0"), "VSMACLearningEntries_portMACLearningEntries_get"),
    (lambda: m.VSHYX_GetSwitchMACLearningStats("switch0"), "VSMACLearningStats_macLearningEntries_get"),
    (lambda: m.VSHYX_GetUplinks("switch0"), "VSUplinks_entries_get"),
    (lambda: m.VSDVS_GetLSTeamingPolicyTable("dswitch0"), "LSTeamTable_lsTeamPolicy_get"),
    (lambda: m.VSHYX_GetRemoteTepTable("dswitch0"), "VSRemoteTepEntries_entry_get"),
    (lambda: m.VSHYX_GetRdmaTable("dswitch0"), "VSRdmaEntries_entry_get"),
    (lambda: m.VSHYX_GetTenantTable("dswitch0"), "VSTenantEntries_entry_get"),
    (lambda: m.VSHYX_GetStaticLectx("dswitch0"), "VSStaticLeCtxEntries_staticLECtxEntries_get"),
]
ODD_CLASSES = [int, type(len), type("Slots", (), {"__slots__": ()}), type("Destroy", (), {"__swig_destroy__": len}),
               type("NoSet", (), {"__setattr__": lambda self, k, v: None})]


def owner(name):
    """The record a method belongs to: the longest record name it starts with,
    except that the accessors of a nested record's field (VSPortInfo_vlan_get)
    belong to the enclosing record."""
    return next((r for r in RECORDS_LONGEST_FIRST
                 if name.startswith(r + "_") and name not in (r + "_get", r + "_set")), None)


def releases_memory(name):
    return name.startswith("delete_") or name.startswith("free_") or "FreeMemory" in name


def is_pointer(value):
    return type(value).__name__ == "SwigPyObject" or hasattr(value, "thisown")


def arity(name):
    """The argument counts a method takes, told by its own error for too many
    arguments (nothing is converted, so nothing runs); any count when the
    error does not say."""
    try:
        getattr(m, name)(*([object()] * 7))
    except (TypeError, NotImplementedError) as exc:
        text = str(exc)
        found = re.search(r"expected (at least |at most )?(\d+) arguments?\b", text)
        if found:
            n = int(found.group(2))
            return list(range(n, n + 3)) if found.group(1) == "at least " else \
                list(range(0, n + 1)) if found.group(1) else [n]
        if "takes exactly one argument" in text or "takes exactly 1 argument" in text:
            return [1]
    return list(range(5))


ARITY = {n: arity(n) for n in METHODS}
GETTERS = {r: [n for n in METHODS if n.endswith("_get") and owner(n) == r] for r in RECORDS}


class Pool:
    """Fresh argument values; the records and tables made for a call live
    until the end of the call (tables are then handed back)."""

    def __init__(self, rng):
        self.rng = rng
        self.keep = []
        self.tables = []

    def record(self):
        rec = getattr(m, "new_" + self.rng.choice(RECORDS))()
        self.keep.append(rec)
        return rec

    def inner_pointer(self, rec_name=None):
        # Views into a fresh record: nested records, arrays and tails,
        # followed up to three levels down.
        rec_name = rec_name or self.rng.choice(RECORDS)
        value = getattr(m, "new_" + rec_name)()
        self.keep.append(value)
        for depth in range(self.rng.randrange(1, 4)):
            getters = GETTERS.get(rec_name if depth == 0 else type(value).__name__, [])
            if not getters:
                break
            try:
                inner = getattr(m, self.rng.choice(getters))(value)
            except (TypeError, ValueError):
                break
            if not is_pointer(inner):
                break
            value = inner
        return value

    def table_view(self):
        call, entries = self.rng.choice(TABLE_CALLS)
        status, table = call()
        if table is None:
            return None
        self.tables.append(table)
        return getattr(m, entries)(table) if self.rng.random() < 0.7 else table

    def released_view(self):
        # A view (or the object itself) of a record or table released at once.
        if self.rng.random() < 0.5:
            call, entries = self.rng.choice(TABLE_CALLS)
            status, table = call()
            view = getattr(m, entries)(table)
            m.VSHYX_FreeMemory(table)
            return self.rng.choice([view, table])
        rec_name = self.rng.choice(RECORDS)
        view = self.inner_pointer(rec_name)
        getattr(m, "delete_" + rec_name)(self.keep[-1])
        return view

    def value(self, pointers=True):
        kind = self.rng.randrange(13 if pointers else 7)
        if kind < 3:
            return self.rng.choice(INTS)
        if kind < 6:
            return self.rng.choice(STRS)
        if kind == 6:
            return self.rng.choice(OTHERS)
        if kind < 9:
            return self.record()
        if kind < 11:
            return self.inner_pointer()
        if kind == 11:
            return self.table_view()
        return self.released_view()

    def close(self):
        for table in self.tables:
            m.VSHYX_FreeMemory(table)


def arguments(pool, name, nargs):
    if name.endswith("_swigregister"):
        return (pool.rng.choice(ODD_CLASSES + [pool.value(pointers=False)]),)
    return tuple(pool.value() for _ in range(nargs))


def call(func, args):
    try:
        func(*args)
    except (TypeError, ValueError, OverflowError, AttributeError, RuntimeError, MemoryError,
            KeyError, IndexError, NotImplementedError, OSError, UnicodeError):
        pass


POINTER_METHODS = [("append", 1), ("next", 0), ("own", 0), ("own", 1), ("disown", 0), ("acquire", 0),
                   ("__repr__", 0), ("__int__", 0)]


def pointer_method_call(pool):
    target = pool.value()
    obj = getattr(target, "this", target) if not isinstance(target, (FreshThis, RaisingThis)) else target
    name, nargs = pool.rng.choice(POINTER_METHODS)
    method = getattr(obj, name, None)
    if method is not None:
        call(method, tuple(pool.value() for _ in range(nargs)))


@pytest.mark.parametrize("seed_offset", range(4))
def test_random_calls_never_crash(seed_offset):
    rng = random.Random(SEED + seed_offset)
    # Every method once in order, then random picks.
    names = METHODS + [rng.choice(METHODS) for _ in range(CALLS // 4)]
    try:
        for name in names:
            pool = Pool(rng)
            if rng.random() < 0.05:
                pointer_method_call(pool)
            else:
                # Mostly the counts the method takes, so calls reach the
                # conversions and the code behind them; sometimes any count.
                nargs = rng.choice(ARITY[name]) if rng.random() < 0.9 else rng.randrange(5)
                call(getattr(m, name), arguments(pool, name, nargs))
            pool.close()
            if name.endswith("_swigregister"):
                getattr(m, name)(REGISTERED[name[: -len("_swigregister")]])
    finally:
        for record, cls in REGISTERED.items():
            getattr(m, record + "_swigregister")(cls)
