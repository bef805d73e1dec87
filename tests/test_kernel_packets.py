"""Packet header records: bit-field positions and overlapping views checked
against the raw wire bytes, no byte swapping, and the tail views."""

import pytest

import _libtessel as m

from conftest import addr, poke, raw


# (record, size, field, first bit counted from bit 0 of byte 0, width in bits)
BIT_FIELDS = [
    ("hyx_VLANHdr", 4, "vlanIDHigh", 0, 4), ("hyx_VLANHdr", 4, "dropEligible", 4, 1),
    ("hyx_VLANHdr", 4, "priority", 5, 3),
    ("hyx_IPv4Hdr", 20, "headerLength", 0, 4), ("hyx_IPv4Hdr", 20, "version", 4, 4),
    ("hyx_IPv4Hdr", 20, "tos", 8, 5), ("hyx_IPv4Hdr", 20, "precedence", 13, 3),
    ("hyx_IPv4Hdr", 20, "ecn", 8, 2), ("hyx_IPv4Hdr", 20, "dscp", 10, 6),
    ("hyx_IPv4Hdr", 20, "fragmentOffsetHigh", 48, 5), ("hyx_IPv4Hdr", 20, "moreFragments", 53, 1),
    ("hyx_IPv4Hdr", 20, "dontFragment", 54, 1), ("hyx_IPv4Hdr", 20, "zero", 55, 1),
    ("hyx_IPv6Hdr", 40, "trafficClassHigh", 0, 4), ("hyx_IPv6Hdr", 40, "version", 4, 4),
    ("hyx_IPv6Hdr", 40, "flowLabelHigh", 8, 4), ("hyx_IPv6Hdr", 40, "trafficClassLow", 12, 4),
    ("hyx_IGMPv3QueryHdr", 12, "qrv", 64, 3), ("hyx_IGMPv3QueryHdr", 12, "sFlag", 67, 1),
    ("hyx_IGMPv3QueryHdr", 12, "reserved", 68, 4),
    ("hyx_MLDv2QueryHdr", 28, "qrv", 192, 3), ("hyx_MLDv2QueryHdr", 28, "sFlag", 195, 1),
    ("hyx_MLDv2QueryHdr", 28, "reserved2", 196, 4),
    ("hyx_TCPHdr", 20, "reserved", 96, 4), ("hyx_TCPHdr", 20, "dataOffset", 100, 4),
] + [("hyx_TCPHdr", 20, f, 104 + i, 1) for i, f in enumerate("fin syn rst psh ack urg ece cwr".split())] + [
    ("hyx_FenceHdr", 4, "version", 0, 2), ("hyx_FenceHdr", 4, "frag", 2, 1),
    ("hyx_FenceHdr", 4, "fragmentID", 3, 5), ("hyx_FenceHdr", 4, "fenceID", 8, 24),
    ("hyx_VXLANHdr", 8, "flags1", 0, 1), ("hyx_VXLANHdr", 8, "locallyReplicate", 1, 1),
    ("hyx_VXLANHdr", 8, "flags1b", 2, 1), ("hyx_VXLANHdr", 8, "instanceID", 3, 1),
    ("hyx_VXLANHdr", 8, "flags2", 4, 4), ("hyx_VXLANHdr", 8, "reserved1", 8, 24),
    ("hyx_VXLANHdr", 8, "vxlanID", 32, 24),
    ("hyx_GREHdr", 4, "reserved1", 0, 3), ("hyx_GREHdr", 4, "strictSourceRoute", 3, 1),
    ("hyx_GREHdr", 4, "sequencePresent", 4, 1), ("hyx_GREHdr", 4, "keyPresent", 5, 1),
    ("hyx_GREHdr", 4, "routingPresent", 6, 1), ("hyx_GREHdr", 4, "checksumPresent", 7, 1),
    ("hyx_GREHdr", 4, "version", 8, 3), ("hyx_GREHdr", 4, "reserved2", 11, 4),
    ("hyx_GREHdr", 4, "ackPresent", 15, 1),
    ("hyx_GeneveHdr", 8, "optionsLength", 0, 6), ("hyx_GeneveHdr", 8, "version", 6, 2),
    ("hyx_GeneveHdr", 8, "reserved1", 8, 6), ("hyx_GeneveHdr", 8, "criticalOptions", 14, 1),
    ("hyx_GeneveHdr", 8, "oamFrame", 15, 1), ("hyx_GeneveHdr", 8, "virtualNetworkId", 32, 24),
    ("hyx_GeneveHdr", 8, "reserved2", 56, 8),
    ("hyx_GeneveOptionHdr", 4, "optLength", 24, 5), ("hyx_GeneveOptionHdr", 4, "reserved", 29, 3),
    ("hyx_PIMHdr", 4, "type", 0, 4), ("hyx_PIMHdr", 4, "version", 4, 4),
    ("hyx_MPLSHdr", 4, "label_hi", 0, 16), ("hyx_MPLSHdr", 4, "bos", 16, 1),
    ("hyx_MPLSHdr", 4, "tc", 17, 3), ("hyx_MPLSHdr", 4, "label_lo", 20, 4),
    ("hyx_MPLSHdr", 4, "ttl", 24, 8),
]


@pytest.mark.parametrize("record,size,field,first,width", BIT_FIELDS,
                         ids=["%s.%s" % (r[0], r[2]) for r in BIT_FIELDS])
def test_bit_field_position(record, size, field, first, width):
    rec = getattr(m, "new_" + record)()
    get = getattr(m, "%s_%s_get" % (record, field))
    put = getattr(m, "%s_%s_set" % (record, field))
    ones = (1 << width) - 1
    put(rec, ones)
    assert get(rec) == ones
    assert int.from_bytes(raw(rec, size), "little") == ones << first
    # Raw bits read back through the field, the neighbours left out.
    poke(rec, 0, (int.from_bytes(raw(rec, size), "little") ^ ((1 << (8 * size)) - 1)).to_bytes(size, "little"))
    assert get(rec) == 0
    poke(rec, 0, ((0b1 << first) | (1 << (first + width) if first + width < 8 * size else 0)).to_bytes(size, "little"))
    assert get(rec) == 1
    # Only the field's bits are stored: a value wider than the field is cut.
    if width < 8:
        poke(rec, 0, bytes(size))
        put(rec, 1 << width | 1)
        assert get(rec) == 1


def test_ipv4_first_byte_and_quality_of_service_views():
    h = m.new_hyx_IPv4Hdr()
    m.hyx_IPv4Hdr_version_set(h, 4)
    m.hyx_IPv4Hdr_headerLength_set(h, 5)
    assert raw(h, 2) == b"\x45\x00"
    assert (m.hyx_IPv4Hdr_qosFlags_get(h), m.hyx_IPv4Hdr_tos_get(h), m.hyx_IPv4Hdr_dscp_get(h)) == (0, 0, 0)
    m.hyx_IPv4Hdr_qosFlags_set(h, 0xB8)
    assert (m.hyx_IPv4Hdr_tos_get(h), m.hyx_IPv4Hdr_precedence_get(h)) == (0x18, 5)
    assert (m.hyx_IPv4Hdr_ecn_get(h), m.hyx_IPv4Hdr_dscp_get(h)) == (0, 0x2E)
    with pytest.raises(OverflowError) as err:
        m.hyx_IPv4Hdr_tos_set(h, 256)
    assert str(err.value) == "in method 'hyx_IPv4Hdr_tos_set', argument 2 of type 'hyx_uint8'"


def test_ipv4_fragment_view_is_not_byte_swapped():
    h = m.new_hyx_IPv4Hdr()
    m.hyx_IPv4Hdr_fragmentInfo_set(h, 0x4000)
    assert raw(h, 2, 6) == b"\x00\x40"
    assert m.hyx_IPv4Hdr_dontFragment_get(h) == 0 and m.hyx_IPv4Hdr_fragmentOffsetLow_get(h) == 0x40
    m.hyx_IPv4Hdr_fragmentInfo_set(h, 0x0040)
    assert (m.hyx_IPv4Hdr_dontFragment_get(h), m.hyx_IPv4Hdr_moreFragments_get(h),
            m.hyx_IPv4Hdr_fragmentOffsetHigh_get(h), m.hyx_IPv4Hdr_fragmentOffsetLow_get(h)) == (1, 0, 0, 0)


def test_wire_order_fields():
    eth = m.new_hyx_EthHdr()
    poke(eth, 12, b"\x08\x00")
    assert m.hyx_EthHdr_type_get(eth) == m.HYX_ETH_TYPE_IPV4_NBO
    vx = m.new_hyx_VXLANHdr()
    poke(vx, 4, b"\x01\x02\x03\x7f")
    assert m.hyx_VXLANHdr_vxlanID_get(vx) == 0x030201 and m.hyx_VXLANHdr_reserved2_get(vx) == 0x7F
    arp = m.new_hyx_ArpHdr()
    m.hyx_ArpHdr_tpa_set(arp, 0x0A0B0C0D)
    assert raw(arp, 4, 24) == b"\x0d\x0c\x0b\x0a"


def test_array_fields_copy_exactly_their_length():
    src, dst = m.new_hyx_IPv6Hdr(), m.new_hyx_IPv6Hdr()
    poke(src, 0, bytes(range(1, 41)))
    m.hyx_IPv6Hdr_saddr_set(dst, m.hyx_IPv6Hdr_saddr_get(src))
    assert raw(dst, 40) == bytes(8) + bytes(range(9, 25)) + bytes(16)
    eth = m.new_hyx_EthHdr()
    m.hyx_EthHdr_daddr_set(eth, m.hyx_IPv6Hdr_saddr_get(src))
    assert raw(eth, 14) == bytes(range(9, 15)) + bytes(8)
    with pytest.raises(ValueError) as err:
        m.hyx_EthHdr_daddr_set(eth, None)
    assert str(err.value) == "invalid null reference in variable 'daddr' of type 'unsigned char [6]'"


@pytest.mark.parametrize(
    "record,tail,offset",
    [("hyx_IGMPv3QueryHdr", "sourcesIPv4", 12), ("hyx_IGMPv3GrpRecord", "sourcesIPv4", 8),
     ("hyx_IGMPv3ReportHdr", "record", 8), ("hyx_MLDv2QueryHdr", "sourcesIPv6", 28),
     ("hyx_MLDv2GrpRecord", "sourcesIPv6", 20), ("hyx_MLDv2ReportHdr", "record", 8),
     ("hyx_GREHdr", "options", 4), ("hyx_GeneveHdr", "options", 8)],
)
def test_variable_length_tails(record, tail, offset):
    rec = getattr(m, "new_" + record)()
    assert addr(getattr(m, "%s_%s_get" % (record, tail))(rec)) == addr(rec) + offset
    setter = getattr(m, "%s_%s_set" % (record, tail), None)
    if tail != "options":
        assert setter is None
        return
    poke(rec, 0, b"\xaa" * offset)
    assert setter(rec, m.hyx_GREHdr_options_get(m.new_hyx_GREHdr())) is None
    assert raw(rec, offset) == b"\xaa" * offset
    with pytest.raises(ValueError) as err:
        setter(rec, None)
    assert str(err.value) == "invalid null reference in variable 'options' of type 'hyx_uint32 [0]'"


def test_new_and_delete():
    eth = m.new_hyx_EthHdr()
    assert eth.own() and raw(eth, 14) == bytes(14)
    m.delete_hyx_EthHdr(eth)
    assert not eth.own()
