/* Packet header records of the kernel API: the network headers scripts
 * read and build byte for byte. */
#ifndef TESSEL_HOSTAPI_KERNEL_PACKETS_H
#define TESSEL_HOSTAPI_KERNEL_PACKETS_H

#include "hostapi/common.h"

/* ---- Packet header records ----
 *
 * Wire layouts: multi-byte fields hold the bytes as they appear on the wire
 * (no byte-order conversion anywhere), bit-fields are allocated from the
 * least significant bit of their byte upward, and unions give alternative
 * views of the same bytes.  The variable-length tails are zero-length arrays
 * addressing the first byte after the fixed part. */

typedef struct HYX_PACKED hyx_EthHdr {
   unsigned char daddr[6];
   unsigned char saddr[6];
   hyx_uint16 type;
} hyx_EthHdr;
HYX_CHECK_OFFSET(hyx_EthHdr, daddr, 0);
HYX_CHECK_OFFSET(hyx_EthHdr, saddr, 6);
HYX_CHECK_OFFSET(hyx_EthHdr, type, 12);
HYX_CHECK_SIZE(hyx_EthHdr, 14);

typedef struct HYX_PACKED hyx_VLANHdr {
   hyx_uint8 vlanIDHigh : 4;
   hyx_uint8 dropEligible : 1;
   hyx_uint8 priority : 3;
   hyx_uint8 vlanIDLow;
   hyx_uint16 type;
} hyx_VLANHdr;
HYX_CHECK_OFFSET(hyx_VLANHdr, vlanIDLow, 1);
HYX_CHECK_OFFSET(hyx_VLANHdr, type, 2);
HYX_CHECK_SIZE(hyx_VLANHdr, 4);

typedef struct HYX_PACKED hyx_ArpHdr {
   hyx_uint16 htype;
   hyx_uint16 ptype;
   hyx_uint8 hlen;
   hyx_uint8 plen;
   hyx_uint16 oper;
   hyx_uint8 sha[6];
   hyx_uint32 spa;
   hyx_uint8 tha[6];
   hyx_uint32 tpa;
} hyx_ArpHdr;
HYX_CHECK_OFFSET(hyx_ArpHdr, htype, 0);
HYX_CHECK_OFFSET(hyx_ArpHdr, ptype, 2);
HYX_CHECK_OFFSET(hyx_ArpHdr, hlen, 4);
HYX_CHECK_OFFSET(hyx_ArpHdr, plen, 5);
HYX_CHECK_OFFSET(hyx_ArpHdr, oper, 6);
HYX_CHECK_OFFSET(hyx_ArpHdr, sha, 8);
HYX_CHECK_OFFSET(hyx_ArpHdr, spa, 14);
HYX_CHECK_OFFSET(hyx_ArpHdr, tha, 18);
HYX_CHECK_OFFSET(hyx_ArpHdr, tpa, 24);
HYX_CHECK_SIZE(hyx_ArpHdr, 28);

typedef struct HYX_PACKED hyx_IPv4Hdr {
   hyx_uint8 headerLength : 4;
   hyx_uint8 version : 4;
   union {
      struct {
         hyx_uint8 tos : 5;
         hyx_uint8 precedence : 3;
      };
      struct {
         hyx_uint8 ecn : 2;
         hyx_uint8 dscp : 6;
      };
      hyx_uint8 qosFlags;
   };
   hyx_uint16 totalLength;
   hyx_uint16 identification;
   union {
      struct {
         hyx_uint8 fragmentOffsetHigh : 5;
         hyx_uint8 moreFragments : 1;
         hyx_uint8 dontFragment : 1;
         hyx_uint8 zero : 1;
         hyx_uint8 fragmentOffsetLow;
      };
      hyx_uint16 fragmentInfo;
   };
   hyx_uint8 ttl;
   hyx_uint8 protocol;
   hyx_uint16 checksum;
   hyx_IPv4Address saddr;
   hyx_IPv4Address daddr;
} hyx_IPv4Hdr;
HYX_CHECK_OFFSET(hyx_IPv4Hdr, qosFlags, 1);
HYX_CHECK_OFFSET(hyx_IPv4Hdr, totalLength, 2);
HYX_CHECK_OFFSET(hyx_IPv4Hdr, identification, 4);
HYX_CHECK_OFFSET(hyx_IPv4Hdr, fragmentOffsetLow, 7);
HYX_CHECK_OFFSET(hyx_IPv4Hdr, fragmentInfo, 6);
HYX_CHECK_OFFSET(hyx_IPv4Hdr, ttl, 8);
HYX_CHECK_OFFSET(hyx_IPv4Hdr, protocol, 9);
HYX_CHECK_OFFSET(hyx_IPv4Hdr, checksum, 10);
HYX_CHECK_OFFSET(hyx_IPv4Hdr, saddr, 12);
HYX_CHECK_OFFSET(hyx_IPv4Hdr, daddr, 16);
HYX_CHECK_SIZE(hyx_IPv4Hdr, 20);

typedef struct HYX_PACKED hyx_IPv6Hdr {
   hyx_uint8 trafficClassHigh : 4;
   hyx_uint8 version : 4;
   hyx_uint8 flowLabelHigh : 4;
   hyx_uint8 trafficClassLow : 4;
   hyx_uint16 flowLabelLow;
   hyx_uint16 payloadLength;
   hyx_uint8 nextHeader;
   hyx_uint8 hopLimit;
   unsigned char saddr[16];
   unsigned char daddr[16];
} hyx_IPv6Hdr;
HYX_CHECK_OFFSET(hyx_IPv6Hdr, flowLabelLow, 2);
HYX_CHECK_OFFSET(hyx_IPv6Hdr, payloadLength, 4);
HYX_CHECK_OFFSET(hyx_IPv6Hdr, nextHeader, 6);
HYX_CHECK_OFFSET(hyx_IPv6Hdr, hopLimit, 7);
HYX_CHECK_OFFSET(hyx_IPv6Hdr, saddr, 8);
HYX_CHECK_OFFSET(hyx_IPv6Hdr, daddr, 24);
HYX_CHECK_SIZE(hyx_IPv6Hdr, 40);

typedef struct HYX_PACKED hyx_IPv6ExtHdr {
   hyx_uint8 nextHeader;
   hyx_uint8 hdrExtLength;
   hyx_uint16 optPad1;
   hyx_uint32 optPad2;
} hyx_IPv6ExtHdr;
HYX_CHECK_OFFSET(hyx_IPv6ExtHdr, nextHeader, 0);
HYX_CHECK_OFFSET(hyx_IPv6ExtHdr, hdrExtLength, 1);
HYX_CHECK_OFFSET(hyx_IPv6ExtHdr, optPad1, 2);
HYX_CHECK_OFFSET(hyx_IPv6ExtHdr, optPad2, 4);
HYX_CHECK_SIZE(hyx_IPv6ExtHdr, 8);

typedef struct HYX_PACKED hyx_ICMPHdr {
   hyx_uint8 type;
   hyx_uint8 code;
   hyx_uint16 checksum;
} hyx_ICMPHdr;
HYX_CHECK_OFFSET(hyx_ICMPHdr, type, 0);
HYX_CHECK_OFFSET(hyx_ICMPHdr, code, 1);
HYX_CHECK_OFFSET(hyx_ICMPHdr, checksum, 2);
HYX_CHECK_SIZE(hyx_ICMPHdr, 4);

typedef struct HYX_PACKED hyx_IGMPHdr {
   hyx_uint8 type;
   hyx_uint8 maxResponseTime;
   hyx_uint16 checksum;
   hyx_IPv4Address groupAddr;
} hyx_IGMPHdr;
HYX_CHECK_OFFSET(hyx_IGMPHdr, type, 0);
HYX_CHECK_OFFSET(hyx_IGMPHdr, maxResponseTime, 1);
HYX_CHECK_OFFSET(hyx_IGMPHdr, checksum, 2);
HYX_CHECK_OFFSET(hyx_IGMPHdr, groupAddr, 4);
HYX_CHECK_SIZE(hyx_IGMPHdr, 8);

typedef struct HYX_PACKED hyx_IGMPv3QueryHdr {
   hyx_uint8 type;
   hyx_uint8 maxResponseCode;
   hyx_uint16 checksum;
   hyx_IPv4Address groupAddr;
   hyx_uint8 qrv : 3;
   hyx_uint8 sFlag : 1;
   hyx_uint8 reserved : 4;
   hyx_uint8 qqic;
   hyx_uint16 numSources;
   hyx_IPv4Address sourcesIPv4[0];
} hyx_IGMPv3QueryHdr;
HYX_CHECK_OFFSET(hyx_IGMPv3QueryHdr, type, 0);
HYX_CHECK_OFFSET(hyx_IGMPv3QueryHdr, maxResponseCode, 1);
HYX_CHECK_OFFSET(hyx_IGMPv3QueryHdr, checksum, 2);
HYX_CHECK_OFFSET(hyx_IGMPv3QueryHdr, groupAddr, 4);
HYX_CHECK_OFFSET(hyx_IGMPv3QueryHdr, qqic, 9);
HYX_CHECK_OFFSET(hyx_IGMPv3QueryHdr, numSources, 10);
HYX_CHECK_OFFSET(hyx_IGMPv3QueryHdr, sourcesIPv4, 12);
HYX_CHECK_SIZE(hyx_IGMPv3QueryHdr, 12);

typedef struct HYX_PACKED hyx_IGMPv3GrpRecord {
   hyx_uint8 type;
   hyx_uint8 dataLength;
   hyx_uint16 numSources;
   hyx_IPv4Address groupIPv4Addr;
   hyx_IPv4Address sourcesIPv4[0];
} hyx_IGMPv3GrpRecord;
HYX_CHECK_OFFSET(hyx_IGMPv3GrpRecord, type, 0);
HYX_CHECK_OFFSET(hyx_IGMPv3GrpRecord, dataLength, 1);
HYX_CHECK_OFFSET(hyx_IGMPv3GrpRecord, numSources, 2);
HYX_CHECK_OFFSET(hyx_IGMPv3GrpRecord, groupIPv4Addr, 4);
HYX_CHECK_OFFSET(hyx_IGMPv3GrpRecord, sourcesIPv4, 8);
HYX_CHECK_SIZE(hyx_IGMPv3GrpRecord, 8);

typedef struct HYX_PACKED hyx_IGMPv3ReportHdr {
   hyx_uint8 type;
   hyx_uint8 reserved1;
   hyx_uint16 checksum;
   hyx_uint16 reserved2;
   hyx_uint16 numGroups;
   hyx_IGMPv3GrpRecord record[0];
} hyx_IGMPv3ReportHdr;
HYX_CHECK_OFFSET(hyx_IGMPv3ReportHdr, type, 0);
HYX_CHECK_OFFSET(hyx_IGMPv3ReportHdr, reserved1, 1);
HYX_CHECK_OFFSET(hyx_IGMPv3ReportHdr, checksum, 2);
HYX_CHECK_OFFSET(hyx_IGMPv3ReportHdr, reserved2, 4);
HYX_CHECK_OFFSET(hyx_IGMPv3ReportHdr, numGroups, 6);
HYX_CHECK_OFFSET(hyx_IGMPv3ReportHdr, record, 8);
HYX_CHECK_SIZE(hyx_IGMPv3ReportHdr, 8);

typedef struct HYX_PACKED hyx_MLDHdr {
   hyx_uint8 type;
   hyx_uint8 code;
   hyx_uint16 checksum;
   hyx_uint16 maxResponseTime;
   hyx_uint16 reserved;
   unsigned char groupIPv6Addr[16];
} hyx_MLDHdr;
HYX_CHECK_OFFSET(hyx_MLDHdr, type, 0);
HYX_CHECK_OFFSET(hyx_MLDHdr, code, 1);
HYX_CHECK_OFFSET(hyx_MLDHdr, checksum, 2);
HYX_CHECK_OFFSET(hyx_MLDHdr, maxResponseTime, 4);
HYX_CHECK_OFFSET(hyx_MLDHdr, reserved, 6);
HYX_CHECK_OFFSET(hyx_MLDHdr, groupIPv6Addr, 8);
HYX_CHECK_SIZE(hyx_MLDHdr, 24);

typedef struct HYX_PACKED hyx_MLDv2QueryHdr {
   hyx_uint8 type;
   hyx_uint8 code;
   hyx_uint16 checksum;
   hyx_uint16 maxResponseCode;
   hyx_uint16 reserved1;
   unsigned char groupIPv6Addr[16];
   hyx_uint8 qrv : 3;
   hyx_uint8 sFlag : 1;
   hyx_uint8 reserved2 : 4;
   hyx_uint8 qqic;
   hyx_uint16 numSources;
   hyx_IPv6Address sourcesIPv6[0];
} hyx_MLDv2QueryHdr;
HYX_CHECK_OFFSET(hyx_MLDv2QueryHdr, type, 0);
HYX_CHECK_OFFSET(hyx_MLDv2QueryHdr, code, 1);
HYX_CHECK_OFFSET(hyx_MLDv2QueryHdr, checksum, 2);
HYX_CHECK_OFFSET(hyx_MLDv2QueryHdr, maxResponseCode, 4);
HYX_CHECK_OFFSET(hyx_MLDv2QueryHdr, reserved1, 6);
HYX_CHECK_OFFSET(hyx_MLDv2QueryHdr, groupIPv6Addr, 8);
HYX_CHECK_OFFSET(hyx_MLDv2QueryHdr, qqic, 25);
HYX_CHECK_OFFSET(hyx_MLDv2QueryHdr, numSources, 26);
HYX_CHECK_OFFSET(hyx_MLDv2QueryHdr, sourcesIPv6, 28);
HYX_CHECK_SIZE(hyx_MLDv2QueryHdr, 28);

typedef struct HYX_PACKED hyx_MLDv2GrpRecord {
   hyx_uint8 type;
   hyx_uint8 dataLength;
   hyx_uint16 numSources;
   unsigned char groupIPv6Addr[16];
   hyx_IPv6Address sourcesIPv6[0];
} hyx_MLDv2GrpRecord;
HYX_CHECK_OFFSET(hyx_MLDv2GrpRecord, type, 0);
HYX_CHECK_OFFSET(hyx_MLDv2GrpRecord, dataLength, 1);
HYX_CHECK_OFFSET(hyx_MLDv2GrpRecord, numSources, 2);
HYX_CHECK_OFFSET(hyx_MLDv2GrpRecord, groupIPv6Addr, 4);
HYX_CHECK_OFFSET(hyx_MLDv2GrpRecord, sourcesIPv6, 20);
HYX_CHECK_SIZE(hyx_MLDv2GrpRecord, 20);

typedef struct HYX_PACKED hyx_MLDv2ReportHdr {
   hyx_uint8 type;
   hyx_uint8 reserved1;
   hyx_uint16 checksum;
   hyx_uint16 reserved2;
   hyx_uint16 numGroups;
   hyx_MLDv2GrpRecord record[0];
} hyx_MLDv2ReportHdr;
HYX_CHECK_OFFSET(hyx_MLDv2ReportHdr, type, 0);
HYX_CHECK_OFFSET(hyx_MLDv2ReportHdr, reserved1, 1);
HYX_CHECK_OFFSET(hyx_MLDv2ReportHdr, checksum, 2);
HYX_CHECK_OFFSET(hyx_MLDv2ReportHdr, reserved2, 4);
HYX_CHECK_OFFSET(hyx_MLDv2ReportHdr, numGroups, 6);
HYX_CHECK_OFFSET(hyx_MLDv2ReportHdr, record, 8);
HYX_CHECK_SIZE(hyx_MLDv2ReportHdr, 8);

typedef struct HYX_PACKED hyx_UDPHdr {
   hyx_uint16 srcPort;
   hyx_uint16 dstPort;
   hyx_uint16 length;
   hyx_uint16 checksum;
} hyx_UDPHdr;
HYX_CHECK_OFFSET(hyx_UDPHdr, srcPort, 0);
HYX_CHECK_OFFSET(hyx_UDPHdr, dstPort, 2);
HYX_CHECK_OFFSET(hyx_UDPHdr, length, 4);
HYX_CHECK_OFFSET(hyx_UDPHdr, checksum, 6);
HYX_CHECK_SIZE(hyx_UDPHdr, 8);

typedef struct HYX_PACKED hyx_TCPHdr {
   hyx_uint16 srcPort;
   hyx_uint16 dstPort;
   hyx_uint32 seq;
   hyx_uint32 ackSeq;
   hyx_uint8 reserved : 4;
   hyx_uint8 dataOffset : 4;
   union {
      struct {
         hyx_uint8 fin : 1;
         hyx_uint8 syn : 1;
         hyx_uint8 rst : 1;
         hyx_uint8 psh : 1;
         hyx_uint8 ack : 1;
         hyx_uint8 urg : 1;
         hyx_uint8 ece : 1;
         hyx_uint8 cwr : 1;
      };
      hyx_uint8 flags;
   };
   hyx_uint16 window;
   hyx_uint16 checksum;
   hyx_uint16 urgPtr;
} hyx_TCPHdr;
HYX_CHECK_OFFSET(hyx_TCPHdr, srcPort, 0);
HYX_CHECK_OFFSET(hyx_TCPHdr, dstPort, 2);
HYX_CHECK_OFFSET(hyx_TCPHdr, seq, 4);
HYX_CHECK_OFFSET(hyx_TCPHdr, ackSeq, 8);
HYX_CHECK_OFFSET(hyx_TCPHdr, flags, 13);
HYX_CHECK_OFFSET(hyx_TCPHdr, window, 14);
HYX_CHECK_OFFSET(hyx_TCPHdr, checksum, 16);
HYX_CHECK_OFFSET(hyx_TCPHdr, urgPtr, 18);
HYX_CHECK_SIZE(hyx_TCPHdr, 20);

typedef struct HYX_PACKED hyx_ESPHdr {
   hyx_uint32 spi;
   hyx_uint32 seq;
} hyx_ESPHdr;
HYX_CHECK_OFFSET(hyx_ESPHdr, spi, 0);
HYX_CHECK_OFFSET(hyx_ESPHdr, seq, 4);
HYX_CHECK_SIZE(hyx_ESPHdr, 8);

/* The host's own fence header. */
typedef struct HYX_PACKED hyx_FenceHdr {
   hyx_uint8 version : 2;
   hyx_uint8 frag : 1;
   hyx_uint8 fragmentID : 5;
   hyx_uint32 fenceID : 24;
} hyx_FenceHdr;
HYX_CHECK_SIZE(hyx_FenceHdr, 4);

typedef struct HYX_PACKED hyx_VXLANHdr {
   hyx_uint8 flags1 : 1;
   hyx_uint8 locallyReplicate : 1;
   hyx_uint8 flags1b : 1;
   hyx_uint8 instanceID : 1;
   hyx_uint8 flags2 : 4;
   hyx_uint32 reserved1 : 24;
   hyx_uint32 vxlanID : 24;
   hyx_uint8 reserved2;
} hyx_VXLANHdr;
HYX_CHECK_OFFSET(hyx_VXLANHdr, reserved2, 7);
HYX_CHECK_SIZE(hyx_VXLANHdr, 8);

typedef struct HYX_PACKED hyx_GREHdr {
   union {
      struct {
         hyx_uint8 reserved1 : 3;
         hyx_uint8 strictSourceRoute : 1;
         hyx_uint8 sequencePresent : 1;
         hyx_uint8 keyPresent : 1;
         hyx_uint8 routingPresent : 1;
         hyx_uint8 checksumPresent : 1;
         hyx_uint8 version : 3;
         hyx_uint8 reserved2 : 4;
         hyx_uint8 ackPresent : 1;
      };
      hyx_uint16 flags;
   };
   hyx_uint16 protocol;
   hyx_uint32 options[0];
} hyx_GREHdr;
HYX_CHECK_OFFSET(hyx_GREHdr, flags, 0);
HYX_CHECK_OFFSET(hyx_GREHdr, protocol, 2);
HYX_CHECK_OFFSET(hyx_GREHdr, options, 4);
HYX_CHECK_SIZE(hyx_GREHdr, 4);

typedef struct HYX_PACKED hyx_GeneveHdr {
   hyx_uint8 optionsLength : 6;
   hyx_uint8 version : 2;
   hyx_uint8 reserved1 : 6;
   hyx_uint8 criticalOptions : 1;
   hyx_uint8 oamFrame : 1;
   hyx_uint16 protocolType;
   hyx_uint32 virtualNetworkId : 24;
   hyx_uint32 reserved2 : 8;
   hyx_uint32 options[0];
} hyx_GeneveHdr;
HYX_CHECK_OFFSET(hyx_GeneveHdr, protocolType, 2);
HYX_CHECK_OFFSET(hyx_GeneveHdr, options, 8);
HYX_CHECK_SIZE(hyx_GeneveHdr, 8);

typedef struct HYX_PACKED hyx_GeneveOptionHdr {
   hyx_uint16 optClass;
   hyx_uint8 optType;
   hyx_uint8 optLength : 5;
   hyx_uint8 reserved : 3;
} hyx_GeneveOptionHdr;
HYX_CHECK_OFFSET(hyx_GeneveOptionHdr, optClass, 0);
HYX_CHECK_OFFSET(hyx_GeneveOptionHdr, optType, 2);
HYX_CHECK_SIZE(hyx_GeneveOptionHdr, 4);

typedef struct HYX_PACKED hyx_PIMHdr {
   hyx_uint8 type : 4;
   hyx_uint8 version : 4;
   hyx_uint8 reserved;
   hyx_uint16 checksum;
} hyx_PIMHdr;
HYX_CHECK_OFFSET(hyx_PIMHdr, reserved, 1);
HYX_CHECK_OFFSET(hyx_PIMHdr, checksum, 2);
HYX_CHECK_SIZE(hyx_PIMHdr, 4);

typedef struct HYX_PACKED hyx_MPLSHdr {
   hyx_uint32 label_hi : 16;
   hyx_uint32 bos : 1;
   hyx_uint32 tc : 3;
   hyx_uint32 label_lo : 4;
   hyx_uint32 ttl : 8;
} hyx_MPLSHdr;
HYX_CHECK_SIZE(hyx_MPLSHdr, 4);

#endif
