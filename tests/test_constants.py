"""Constants as scripts use them: the status block and its texts, byte-order
twins, signed values."""

import pytest

import _libtessel as m

STATUS_NAMES = [n for n in vars(m) if n.startswith("HYX_") and isinstance(getattr(m, n), int)
                and 0xBAD0001 <= getattr(m, n) <= m.HYX_LAST_ERR]


def test_status_block_runs_and_gaps():
    values = sorted(getattr(m, n) for n in STATUS_NAMES)
    assert values[0] == m.HYX_FAILURE == 0xBAD0001 and values[-1] == m.HYX_LAST_ERR
    assert len(values) == len(set(values))
    present = set(values)
    gaps = [v for v in range(0xBAD0001, m.HYX_LAST_ERR) if v not in present]
    assert gaps == [0xBAD00E9, 0xBAD0127, 0xBAD0130, 0xBAD0131]
    assert m.HYX_GENERIC_LINUX_ERROR == 0x2BAD0000


def test_every_status_has_its_own_text():
    unknown = m.HYX_ReturnStatusToString(0xBAD00E9)
    texts = {m.HYX_ReturnStatusToString(getattr(m, n)) for n in STATUS_NAMES + ["HYX_GENERIC_LINUX_ERROR"]}
    assert unknown not in texts
    assert len(texts) == len(STATUS_NAMES) + 1
    assert m.HYX_ReturnStatusToString(m.HYX_OK) not in texts | {unknown}
    assert m.HYX_ReturnStatusToString(-7) == unknown


def test_network_order_twins_are_byte_swapped():
    twins = [n for n in vars(m) if n.startswith("HYX_ETH_TYPE_") and n.endswith("_NBO")]
    assert len(twins) == 28
    for nbo in twins:
        host = getattr(m, nbo[: -len("_NBO")])
        assert getattr(m, nbo) == ((host & 0xFF) << 8) | (host >> 8), nbo
    assert m.HYX_ETH_TYPE_DVFILTER == m.HYX_ETH_TYPE_DVFILTER_NBO == 0xDFDF
    assert m.HYX_NET_PROTO_GENEVE_UDP_PORT_NBO == 0xC117


@pytest.mark.parametrize(
    "name,value",
    [
        ("NO_SYNC_PROP_TYPE", -0x80000000),
        ("ALL_PROP_TYPE", -0x7FFFFF04),
        ("VS_DVMIRROR_MAGIC_NUM", -0x5314111),
        ("HYX_LINK_DUPLEX_AUTO", -1),
        ("HYX_EXABYTE", 1 << 60),
        ("HYX_FMT64", "L"),
        ("SWNAME", "CSwitch"),
    ],
)
def test_signed_wide_and_text_values(name, value):
    assert getattr(m, name) == value and type(getattr(m, name)) is type(value)
    if name == "ALL_PROP_TYPE":
        assert value & 0xFFFFFFFF == 0x800000FC
    if name == "VS_DVMIRROR_MAGIC_NUM":
        assert value & 0xFFFFFFFF == 0xFACEBEEF


def test_enumerations_match_what_the_host_accepts(sim):
    # The list types are the host's own values: each gives a list of its type.
    for list_type in (m.VS_LIST_PS, m.VS_LIST_DVS_ALIAS):
        lst = m.VSHYX_GetSwitchesPy(list_type)
        assert m.VSList_listType_get(lst) == list_type
        m.free_switches(lst)
