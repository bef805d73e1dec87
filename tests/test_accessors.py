"""Every record accessor of the module at once: the null-record rules, and
each scalar setter writing exactly what its getter reads back."""

import pytest

import _libtessel as m

from conftest import msg, raw
from test_inventory import RECORDS, module_records

BUILT = module_records()
CANDIDATES = [2**64 - 1, 2**32 - 1, 2**31 - 1, 2**16 - 1, 255, 127, 1]


def owner(name):
    return next((r for r in sorted(BUILT, key=len, reverse=True)
                 if name.startswith(r + "_") and name not in (r + "_get", r + "_set")), None)


ACCESSORS = sorted(n for n in vars(m) if n.endswith(("_get", "_set")) and owner(n))


@pytest.mark.parametrize("name", ACCESSORS)
def test_null_record(name):
    func = getattr(m, name)
    if name.endswith("_set"):
        # No value is stored anywhere: the call converts nothing it could
        # write and returns None.
        for value in (0, "", None):
            try:
                assert func(None, value) is None
                return
            except (TypeError, ValueError, OverflowError):
                continue
        return
    with pytest.raises(ValueError) as err:
        func(None)
    assert str(err.value).startswith("invalid null reference in method '%s', argument 1 of type '" % name)


def test_a_setter_given_none_leaves_nothing_for_a_getter_given_none():
    # Both run against the same stand-in record: what the setter wrote there
    # (here over the bytes of ZARQuery's value pointer) must not be followed.
    m.VSInfo_maxValidVlan_set(None, 0x7D5B)
    m.VSInfo_mtu_set(None, 0x41414141)
    with pytest.raises(ValueError):
        m.ZARQuery_propValue_get(None)


def scalar_pairs():
    for name in ACCESSORS:
        if not name.endswith("_set") or not hasattr(m, name[:-4] + "_get"):
            continue
        record = owner(name)
        if isinstance(getattr(m, name[:-4] + "_get")(getattr(m, "new_" + record)()), int):
            yield record, name[:-4]


@pytest.mark.parametrize("record,field", list(scalar_pairs()))
def test_scalar_setter_and_getter_meet(record, field):
    rec = getattr(m, "new_" + record)()
    put, get = getattr(m, field + "_set"), getattr(m, field + "_get")
    for value in CANDIDATES:
        try:
            put(rec, value)
        except OverflowError:
            continue
        break
    got = get(rec)
    # Bit-fields keep only their own bits: an all-ones value reads back cut.
    assert got == value or (0 < got < value and got == (1 << got.bit_length()) - 1)
    assert raw(rec, RECORDS[record]) != bytes(RECORDS[record])
    put(rec, 0)
    assert get(rec) == 0


def test_setter_value_message_names_the_setter():
    with pytest.raises(TypeError) as err:
        m.VSMACEntry_vni_set(m.new_VSMACEntry(), "1")
    assert str(err.value) == msg("VSMACEntry_vni_set", 2, "hyx_uint32")
