"""Runtime options: building and walking the packed option block within its
bounds, the option names, the simulated host's Get and Set calls, and the
layer's options() / set_options()."""

import json
import random
import struct

import pytest

import _libtessel as m
import libtessel
from libtessel import cli

from conftest import addr, poke, raw

INT_OPTIONS = list(range(16))
TEXT = {"IGMPRouterIP": "10.1.2.3", "MLDRouterIP": "fe80::1"}


def build(capacity, options):
    """A block of the given capacity with options (type, int or str) added;
    the positions returned, the last one None when an option did not fit."""
    b = m.new_VSRuntimeOptions(capacity)
    h = m.VSRuntimeOptions_get_first_option(b)
    positions = [h]
    for t, v in options:
        if isinstance(v, str):
            h = m.VSRuntimeOptions_add_str_option(b, h, "x", t, v)
        else:
            h = m.VSRuntimeOptions_add_int_option(b, h, "x", t, v)
        positions.append(h)
        if h is None:
            break
    return b, positions


def walk(b):
    out, h = [], m.VSRuntimeOptions_get_first_option(b)
    while h is not None:
        out.append((m.VSRuntimeOptionHeader_get_option_name(h), m.VSRuntimeOptionHeader_get_option_value(h)))
        h = m.VSRuntimeOptions_get_next_option(b, h)
    return out


def offset(b, h):
    return addr(h) - addr(b)


# ---- Building ----

@pytest.mark.parametrize("capacity, fits", [(20, 1), (21, 2)])
def test_an_option_must_end_before_the_buffer_end(capacity, fits):
    b, positions = build(capacity, [(0, 1), (1, 2)])
    assert [offset(b, h) for h in positions[:fits + 1]] == [4, 12, 20][:fits + 1]
    if fits == 1:
        assert positions[2] is None and raw(b, 8, 12) == bytes(8)


@pytest.mark.parametrize("n, ok", [(8, True), (127, True), (128, False)])
def test_text_option_length(n, ok):
    text = "1" * n
    b, positions = build(4 + n + 5 + 1, [(16, text)])
    if ok:
        assert offset(b, positions[1]) == 4 + n + 5
        assert raw(b, 4, 4) == struct.pack("<HH", 16, n + 5) and raw(b, n + 1, 8) == text.encode() + b"\0"
    else:
        assert positions[1] is None and raw(b, n, 4) == bytes(n)


def test_int_option_stores_low_16_bits_of_type_and_32_bit_pattern():
    b, _ = build(16, [(65536 + 1, -1)])
    m.VSRuntimeOptions_set_options_length(b, 8)
    assert m.VSRuntimeOptions_totalLength_get(b) == 12
    assert walk(b) == [("IGMPV3MaxSrcIPNum", 4294967295)]


def test_walk_visits_options_in_order_and_ends():
    b, _ = build(64, [(3, 2), (17, "::1"), (12, 0)])
    m.VSRuntimeOptions_set_options_length(b, 8 + 8 + 8)
    assert walk(b) == [("IGMPVersion", 2), ("MLDRouterIP", b"::1"), ("AllowMirrorStats", 0)]


@pytest.mark.parametrize("size, total", [(0, 0), (3, 3), (4, 4)])
def test_small_blocks_hold_their_header_and_no_option(size, total):
    b = m.new_VSRuntimeOptions(size)
    assert m.VSRuntimeOptions_totalLength_get(b) == total
    assert m.VSRuntimeOptions_get_first_option(b) is None


def test_negative_size_gives_none():
    assert m.new_VSRuntimeOptions(-1) is None


@pytest.mark.parametrize("call", [
    lambda b, h: m.VSRuntimeOptions_add_int_option(b, h, None, 0, 1),
    lambda b, h: m.VSRuntimeOptions_add_str_option(b, h, None, 16, "1.2.3.4"),
    lambda b, h: m.VSRuntimeOptions_add_str_option(b, h, "x", 16, None),
    lambda b, h: m.get_runtime_option_type_from_name(None),
])
def test_none_name_or_text_is_refused(call):
    b = m.new_VSRuntimeOptions(64)
    with pytest.raises(TypeError, match="of type 'char \\*'"):
        call(b, m.VSRuntimeOptions_get_first_option(b))
    assert raw(b, 60, 4) == bytes(60)


@pytest.mark.parametrize("name, t", [("AllowMirrorStats", 12), ("allowmirrorstats", -1), ("MLDRouterIP", 17), ("", -1)])
def test_type_from_name(name, t):
    assert m.get_runtime_option_type_from_name(name) == t


# ---- Walking a malformed block never leaves it ----

@pytest.mark.parametrize("header, expect_next", [
    (struct.pack("<HH", 0, 0), None),      # zero length: the walk would never end
    (struct.pack("<HH", 0, 3), None),      # below a header
    (struct.pack("<HH", 0, 200), None),    # past the block
    (struct.pack("<HH", 0, 8), 12),
])
def test_next_option_stays_in_the_block(header, expect_next):
    b = m.new_VSRuntimeOptions(32)
    poke(b, 4, header)
    nxt = m.VSRuntimeOptions_get_next_option(b, m.VSRuntimeOptions_get_first_option(b))
    assert (nxt if nxt is None else offset(b, nxt)) == expect_next


def test_total_length_beyond_the_buffer_is_not_walked():
    b = m.new_VSRuntimeOptions(12)
    poke(b, 4, struct.pack("<HH", 0, 8))
    m.VSRuntimeOptions_totalLength_set(b, 4096)
    h = m.VSRuntimeOptions_get_first_option(b)
    assert m.VSRuntimeOptions_get_next_option(b, h) is None
    assert m.VSRuntimeOptions_add_int_option(b, h, "x", 0, 1) is None


@pytest.mark.parametrize("t, length, result", [
    (18, 8, ValueError), (65535, 8, ValueError),
    (16, 9, b"abcde"), (16, 200, b"abcdefghijkl"),   # bounded by length, then by the block
    (0, 8, 0x64636261),
])
def test_name_and_value_of_a_malformed_option(t, length, result):
    b = m.new_VSRuntimeOptions(20)
    poke(b, 4, struct.pack("<HH", t, length) + b"abcdefghijkl")
    h = m.VSRuntimeOptions_get_first_option(b)
    if result is ValueError:
        with pytest.raises(ValueError, match="names no option"):
            m.VSRuntimeOptionHeader_get_option_name(h)
    else:
        assert m.VSRuntimeOptionHeader_get_option_value(h) == result


def test_integer_value_past_a_lone_header_is_refused():
    with pytest.raises(ValueError, match="lies past"):
        m.VSRuntimeOptionHeader_get_option_value(m.new_VSRuntimeOptionHeader())


# ---- The host ----

def every_option_block():
    opts = [(t, 1000 + t) for t in INT_OPTIONS]
    for flag in (8, 9, 10, 12, 13, 14, 15):
        opts[flag] = (flag, 1)
    opts[3], opts[4] = (3, 2), (4, 1)
    opts += [(16, TEXT["IGMPRouterIP"]), (17, TEXT["MLDRouterIP"])]
    length = 8 * 16 + sum(5 + len(v) for v in TEXT.values())
    b, positions = build(length + 5, opts)
    assert positions[-1] is not None
    m.VSRuntimeOptions_set_options_length(b, length)
    return b, opts


def get_all():
    status, block = m.VSHYX_GetRuntimeOptions(None, 0)
    assert status == m.HYX_OK
    try:
        return walk(block)
    finally:
        m.VSHYX_FreeMemory(block)


def test_every_option_type_passes_set_and_get_unchanged(sim):
    blocks = sim.outstanding_blocks()
    b, opts = every_option_block()
    assert m.VSHYX_SetRuntimeOptions(b) == m.HYX_OK
    got = get_all()
    assert [v for _, v in got] == [v.encode() if isinstance(v, str) else v for _, v in opts]
    assert sim.outstanding_blocks() == blocks


def malformed(kind):
    b, _ = every_option_block()
    if kind == "total-below-header":
        m.VSRuntimeOptions_totalLength_set(b, 3)
    elif kind == "length-zero":
        poke(b, 6, struct.pack("<H", 0))
    elif kind == "length-past-block":
        poke(b, 4 + 8 * 15 + 2, struct.pack("<H", 400))
    elif kind == "type-18":
        poke(b, 4, struct.pack("<H", 18))
    elif kind == "int-length-9":
        poke(b, 6, struct.pack("<H", 9))
    elif kind == "text-unterminated":
        poke(b, 4 + 8 * 16 + 4 + len(TEXT["IGMPRouterIP"]), b"9")
    elif kind == "bad-version":
        poke(b, 4 + 8 * 3 + 4, struct.pack("<I", 7))
    return b


@pytest.mark.parametrize("kind", ["total-below-header", "length-zero", "length-past-block", "type-18",
                                  "int-length-9", "text-unterminated", "bad-version"])
def test_malformed_block_is_refused_and_changes_nothing(sim, kind):
    before = get_all()
    assert m.VSHYX_SetRuntimeOptions(malformed(kind)) == m.HYX_BAD_PARAM
    assert get_all() == before


def test_block_claiming_more_than_it_holds_never_reaches_the_host(sim):
    b = m.new_VSRuntimeOptions(8)
    m.VSRuntimeOptions_totalLength_set(b, 4096)
    sim.inject_fault("VSHYX_SetRuntimeOptions", RuntimeError, "reached the host")
    with pytest.raises(ValueError, match="claims 4096 bytes"):
        m.VSHYX_SetRuntimeOptions(b)


def test_random_blocks_are_refused_or_applied_within_bounds(sim):
    blocks = sim.outstanding_blocks()
    rng = random.Random(1414)
    for _ in range(300):
        size = rng.randrange(4, 96)
        b = m.new_VSRuntimeOptions(size)
        poke(b, 4, bytes(rng.randrange(256) for _ in range(size - 4)))
        steps, h = 0, m.VSRuntimeOptions_get_first_option(b)
        while h is not None:
            steps += 1
            assert 4 <= offset(b, h) <= size - 4 and steps <= size // 4
            h = m.VSRuntimeOptions_get_next_option(b, h)
        assert m.VSHYX_SetRuntimeOptions(b) in (m.HYX_OK, m.HYX_BAD_PARAM)
    assert sim.outstanding_blocks() == blocks


@pytest.mark.parametrize("types, count, status", [(None, 1, m.HYX_BAD_PARAM), (None, 0, m.HYX_OK)])
def test_get_arguments(sim, types, count, status):
    got, block = m.VSHYX_GetRuntimeOptions(types, count)
    assert got == status and (block is None) == (status != m.HYX_OK)
    if block is not None:
        m.VSHYX_FreeMemory(block)


# ---- The layer and the tool ----

def test_layer_round_trip(sim):
    blocks = sim.outstanding_blocks()
    values = {name: 1 for name in libtessel.OPTION_NAMES[:16]}
    values.update(IGMPQueryInterval=4294967295, IGMPVersion=2, **TEXT)
    libtessel.set_options(**values)
    assert libtessel.options() == values
    assert sim.outstanding_blocks() == blocks


@pytest.mark.parametrize("values, error", [
    ({"Bogus": 1}, ValueError), ({"igmpqueryinterval": 1}, ValueError),
    ({"IGMPQueries": "2"}, TypeError), ({"IGMPQueries": True}, TypeError), ({"IGMPQueries": -1}, ValueError),
    ({"IGMPQueries": 2 ** 32}, ValueError), ({"MLDRouterIP": b"::"}, TypeError),
    ({"MLDRouterIP": "a" * 128}, ValueError), ({"MLDRouterIP": "::\0"}, ValueError),
])
def test_layer_refuses_before_the_host(sim, values, error):
    sim.inject_fault("VSHYX_SetRuntimeOptions", RuntimeError, "reached the host")
    with pytest.raises(error):
        libtessel.set_options(AllowFastPath=0, **values)


def test_layer_reports_host_refusal(sim):
    with pytest.raises(libtessel.BadParameter):
        libtessel.set_options(IGMPQueryInterval=30, IGMPRouterIP="not-an-address")
    assert libtessel.options()["IGMPQueryInterval"] == 125


def test_cli_options_json(sim, capsys):
    assert cli.main(["options", "--json"]) == 0
    out = json.loads(capsys.readouterr().out)
    assert list(out) == list(libtessel.OPTION_NAMES) and out["MLDRouterIP"] == "::"


@pytest.mark.parametrize("settings, expected, error", [
    ({"IGMPQueries": 5, "MLDRouterIP": "fe80::2"}, {"IGMPQueries": 5, "MLDRouterIP": "fe80::2"}, ""),
    ({"IGMPVersion": 4}, None, "options.IGMPVersion"),
    ({"IGMPRouterIP": "::1"}, None, "options.IGMPRouterIP"),
])
def test_topology_sets_options(tmp_path, settings, expected, error):
    import os
    import subprocess
    import sys

    from conftest import PY_TREE

    doc = tmp_path / "topology.json"
    doc.write_text(json.dumps({"options": settings, "switches": [{"name": "switch0"}]}))
    env = dict(os.environ, PYTHONPATH=PY_TREE, TESSEL_HOST="simulated", TESSEL_SIM_TOPOLOGY=str(doc))
    code = "import json, libtessel\nprint(json.dumps(libtessel.options()))"
    done = subprocess.run([sys.executable, "-c", code], env=env, capture_output=True, text=True, check=True)
    got = json.loads(done.stdout)
    assert error in done.stderr
    if expected:
        assert {k: got[k] for k in expected} == expected
    else:
        # A document the host cannot build leaves the defaults.
        assert got["IGMPVersion"] == 3 and got["IGMPRouterIP"] == "0.0.0.0"
