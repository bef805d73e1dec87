/* The module's constants, installed into the module dictionary in this
 * order, one insertion each, when the module is initialised; cvar and its two
 * variables are placed among them.
 *
 * Each value has one source: the status codes come from the status table
 * (hostapi/status_codes.def), which the host libraries share; a constant that
 * a host header also defines takes its value from that header; only the
 * values no header defines are written here.  Enumerations declared
 * in the host headers do not install their items by themselves (see
 * libtessel.i), so this list alone decides names and order. */

%{
#include "hostapi/status.h"
#include "module/vars.h"
%}

/* Kernel basics */
%constant int HYX_MODULE_NAME_MAX = 32;
%constant int hyxApiDebug = 0;
%constant int HYX_DEVICE_NAME_MAX_LENGTH = 32;
%constant const char *HYX_FMT64 = "L";
%constant int HYX_FALSE = 0;
%constant int HYX_TRUE = 1;
%constant int HYX_KILOBYTE = 1024;
%constant int HYX_MEGABYTE = 0x100000;
%constant int HYX_GIGABYTE = 0x40000000;
%constant long long HYX_TERABYTE = 0x10000000000LL;
%constant long long HYX_PETABYTE = 0x4000000000000LL;
%constant long long HYX_EXABYTE = 0x1000000000000000LL;
%constant int HYX_BITS_PER_BYTE = 8;

/* Status codes */
#define HYX_STATUS(name, value, text) %constant int name = value;
%include "hostapi/status_codes.def"
#undef HYX_STATUS

/* Ioctl caller sizes and name limit */
%constant int HYX_IOCTL_CALLER_64 = 0;
%constant int HYX_IOCTL_CALLER_32 = 1;

/* cvar enters the dictionary here, with its first variable. */
%immutable hyx_ModuleCurrentID;
extern const int hyx_ModuleCurrentID;

%constant int HYX_MISC_NAME_MAX = 32;

/* Management interface */
%constant int HYX_MGMT_MAX_CALLBACK_PARMS = HYX_MGMT_MAX_CALLBACK_PARMS;
%constant int HYX_MGMT_RESERVED_CALLBACKS = 15;
%constant int HYX_MGMT_KEY_TYPE_LONG = 1;
%constant int HYX_MGMT_KEY_TYPE_STRING = 2;
%constant int HYX_MGMT_KEY_STRING_MAXLEN = 0x1000;
%constant int HYX_MGMT_MAX_KEYS_PER_INSTANCE = 32;
%constant int HYX_MGMT_MAX_INSTANCES = HYX_MGMT_MAX_INSTANCES;
%constant int HYX_MGMT_CALLBACK_KERNEL = HYX_MGMT_CALLBACK_KERNEL;
%constant int HYX_MGMT_CALLBACK_USER = HYX_MGMT_CALLBACK_USER;
%constant int HYX_MGMT_PARMTYPE_IN = HYX_MGMT_PARMTYPE_IN;
%constant int HYX_MGMT_PARMTYPE_OUT = HYX_MGMT_PARMTYPE_OUT;
%constant int HYX_MGMT_PARMTYPE_INOUT = HYX_MGMT_PARMTYPE_INOUT;
%constant int HYX_MGMT_PARMTYPE_VECTOR_IN = HYX_MGMT_PARMTYPE_VECTOR_IN;
%constant int HYX_MGMT_PARMTYPE_VECTOR_OUT = HYX_MGMT_PARMTYPE_VECTOR_OUT;
%constant int HYX_MGMT_PARMTYPE_VECTOR_INOUT = HYX_MGMT_PARMTYPE_VECTOR_INOUT;

/* Interrupt trigger and polarity */
%constant int HYX_INTR_TRIGGER_LEVEL = HYX_INTR_TRIGGER_LEVEL;
%constant int HYX_INTR_TRIGGER_EDGE = HYX_INTR_TRIGGER_EDGE;
%constant int HYX_INTR_POLARITY_LOW = HYX_INTR_POLARITY_LOW;
%constant int HYX_INTR_POLARITY_HIGH = HYX_INTR_POLARITY_HIGH;

/* Attribute types */
%constant int HYX_ATTR_TYPE_INVALID = HYX_ATTR_TYPE_INVALID;
%constant int HYX_ATTR_TYPE_BOOL = HYX_ATTR_TYPE_BOOL;
%constant int HYX_ATTR_TYPE_INT64 = HYX_ATTR_TYPE_INT64;
%constant int HYX_ATTR_TYPE_STRING = HYX_ATTR_TYPE_STRING;
%constant int HYX_ATTR_STRING_MAX = HYX_ATTR_STRING_MAX;

/* Address format strings */
%constant const char *HYX_ETH_ADDR_FMT_STR = "%02hhx:%02hhx:%02hhx:%02hhx:%02hhx:%02hhx";
%constant const char *HYX_IPV4_ADDR_FMT_STR = "%u.%u.%u.%u";
%constant const char *HYX_IPV6_ADDR_FMT_STR = "%hx:%hx:%hx:%hx:%hx:%hx:%hx:%hx";

/* Ethernet types (host order, then network byte order "_NBO") */
%constant int HYX_ETH_TYPE_IPV4 = 2048;
%constant int HYX_ETH_TYPE_ARP = 2054;
%constant int HYX_ETH_TYPE_CDP = 0x2000;
%constant int HYX_ETH_TYPE_TRILL = 0x22f3;
%constant int HYX_ETH_TYPE_TRANSPARENT_ETH = 0x6558;
%constant int HYX_ETH_TYPE_RARP = 0x8035;
%constant int HYX_ETH_TYPE_ATALK = 0x809b;
%constant int HYX_ETH_TYPE_AARP = 0x80f3;
%constant int HYX_ETH_TYPE_VLAN = 0x8100;
%constant int HYX_ETH_TYPE_IPX_ALT = 0x8137;
%constant int HYX_ETH_TYPE_IPX = 0x8138;
%constant int HYX_ETH_TYPE_SNMP = 0x814c;
%constant int HYX_ETH_TYPE_IPV6 = 0x86dd;
%constant int HYX_ETH_TYPE_SLOW = 0x8809;
%constant int HYX_ETH_TYPE_MPLS_UNICAST = 0x8847;
%constant int HYX_ETH_TYPE_MPLS_MULTICAST = 0x8848;
%constant int HYX_ETH_TYPE_PPPOE_DISCOVERY = 0x8863;
%constant int HYX_ETH_TYPE_PPPOE_SESSION = 0x8864;
%constant int HYX_ETH_TYPE_JUMBO = 0x8870;
%constant int HYX_ETH_TYPE_PROVIDER_BRIDGING = 0x88a8;
%constant int HYX_ETH_TYPE_LLDP = 0x88cc;
%constant int HYX_ETH_TYPE_ORRIN = 0x88de;
%constant int HYX_ETH_TYPE_NCSI = 0x88f8;
%constant int HYX_ETH_TYPE_FCOE = 0x8906;
%constant int HYX_ETH_TYPE_FCOE_INIT = 0x8914;
%constant int HYX_ETH_TYPE_KESTRA = 0x8922;
%constant int HYX_ETH_TYPE_QINQ = 0x9100;
%constant int HYX_ETH_TYPE_DVFILTER = 0xdfdf;
%constant int HYX_ETH_TYPE_IPV4_NBO = 8;
%constant int HYX_ETH_TYPE_ARP_NBO = 1544;
%constant int HYX_ETH_TYPE_CDP_NBO = 32;
%constant int HYX_ETH_TYPE_TRILL_NBO = 0xf322;
%constant int HYX_ETH_TYPE_TRANSPARENT_ETH_NBO = 0x5865;
%constant int HYX_ETH_TYPE_RARP_NBO = 0x3580;
%constant int HYX_ETH_TYPE_ATALK_NBO = 0x9b80;
%constant int HYX_ETH_TYPE_AARP_NBO = 0xf380;
%constant int HYX_ETH_TYPE_VLAN_NBO = 129;
%constant int HYX_ETH_TYPE_IPX_ALT_NBO = 0x3781;
%constant int HYX_ETH_TYPE_IPX_NBO = 0x3881;
%constant int HYX_ETH_TYPE_SNMP_NBO = 0x4c81;
%constant int HYX_ETH_TYPE_IPV6_NBO = 0xdd86;
%constant int HYX_ETH_TYPE_SLOW_NBO = 2440;
%constant int HYX_ETH_TYPE_MPLS_UNICAST_NBO = 0x4788;
%constant int HYX_ETH_TYPE_MPLS_MULTICAST_NBO = 0x4888;
%constant int HYX_ETH_TYPE_PPPOE_DISCOVERY_NBO = 0x6388;
%constant int HYX_ETH_TYPE_PPPOE_SESSION_NBO = 0x6488;
%constant int HYX_ETH_TYPE_JUMBO_NBO = 0x7088;
%constant int HYX_ETH_TYPE_PROVIDER_BRIDGING_NBO = 0xa888;
%constant int HYX_ETH_TYPE_LLDP_NBO = 0xcc88;
%constant int HYX_ETH_TYPE_ORRIN_NBO = 0xde88;
%constant int HYX_ETH_TYPE_NCSI_NBO = 0xf888;
%constant int HYX_ETH_TYPE_FCOE_NBO = 1673;
%constant int HYX_ETH_TYPE_FCOE_INIT_NBO = 0x1489;
%constant int HYX_ETH_TYPE_KESTRA_NBO = 0x2289;
%constant int HYX_ETH_TYPE_QINQ_NBO = 145;
%constant int HYX_ETH_TYPE_DVFILTER_NBO = 0xdfdf;

/* VLAN priorities */
%constant int HYX_VLAN_PRIORITY_MINIMUM = 0;
%constant int HYX_VLAN_PRIORITY_BE = 0;
%constant int HYX_VLAN_PRIORITY_BEST_EFFORT = 0;
%constant int HYX_VLAN_PRIORITY_BK = 1;
%constant int HYX_VLAN_PRIORITY_BACKGROUND = 1;
%constant int HYX_VLAN_PRIORITY_EE = 2;
%constant int HYX_VLAN_PRIORITY_EXCELLENT_EFFORT = 2;
%constant int HYX_VLAN_PRIORITY_CA = 3;
%constant int HYX_VLAN_PRIORITY_CRITICAL_APPS = 3;
%constant int HYX_VLAN_PRIORITY_VI = 4;
%constant int HYX_VLAN_PRIORITY_VIDEO = 4;
%constant int HYX_VLAN_PRIORITY_VO = 5;
%constant int HYX_VLAN_PRIORITY_VOICE = 5;
%constant int HYX_VLAN_PRIORITY_IC = 6;
%constant int HYX_VLAN_PRIORITY_INTERNETWORK_CONROL = 6;
%constant int HYX_VLAN_PRIORITY_NC = 7;
%constant int HYX_VLAN_PRIORITY_NETWORK_CONROL = 7;
%constant int HYX_VLAN_PRIORITY_MAXIMUM = 7;
%constant int HYX_VLAN_NUM_PRIORITIES = 8;
%constant int HYX_VLAN_PRIORITY_INVALID = 255;

/* IP protocol numbers */
%constant int HYX_IP_PROTO_IPV6_HOPOPT = 0;
%constant int HYX_IP_PROTO_ICMPV4 = 1;
%constant int HYX_IP_PROTO_IGMP = 2;
%constant int HYX_IP_PROTO_IPV4 = 4;
%constant int HYX_IP_PROTO_TCP = 6;
%constant int HYX_IP_PROTO_EGP = 8;
%constant int HYX_IP_PROTO_IGP = 9;
%constant int HYX_IP_PROTO_UDP = 17;
%constant int HYX_IP_PROTO_IPV6 = 41;
%constant int HYX_IP_PROTO_IPV6_ROUTE = 43;
%constant int HYX_IP_PROTO_IPV6_FRAG = 44;
%constant int HYX_IP_PROTO_GRE = 47;
%constant int HYX_IP_PROTO_ESP = 50;
%constant int HYX_IP_PROTO_AH = 51;
%constant int HYX_IP_PROTO_ICMPV6 = 58;
%constant int HYX_IP_PROTO_IPV6_NONXT = 59;
%constant int HYX_IP_PROTO_IPV6_DSTOPTS = 60;
%constant int HYX_IP_PROTO_EIGRP = 88;
%constant int HYX_IP_PROTO_OSPF = 89;
%constant int HYX_IP_PROTO_IPIP = 94;
%constant int HYX_IP_PROTO_PIM = 103;
%constant int HYX_IP_PROTO_VRRP = 112;
%constant int HYX_IP_PROTO_L2TP = 115;
%constant int HYX_IP_PROTO_MOB = 135;
%constant int HYX_IP_PROTO_HIP = 139;

/* IGMP and MLD message types */
%constant int HYX_IGMP_QUERY = 17;
%constant int HYX_IGMP_V1REPORT = 18;
%constant int HYX_IGMP_V2REPORT = 22;
%constant int HYX_IGMP_V3REPORT = 34;
%constant int HYX_IGMP_V2LEAVE = 23;
%constant int HYX_IGMP_MRDADV = 48;
%constant int HYX_IGMP_MRDSOL = 49;
%constant int HYX_IGMP_MRDTERM = 50;
%constant int HYX_MLD_QUERY = 130;
%constant int HYX_MLD_V1REPORT = 131;
%constant int HYX_MLD_V2REPORT = 143;
%constant int HYX_MLD_DONE = 132;
%constant int HYX_MLD_MRDADV = 151;
%constant int HYX_MLD_MRDSOL = 152;
%constant int HYX_MLD_MRDTERM = 153;

/* Address lengths, virtual network ids, tunnel ports */
%constant int HYX_ETH_ADDR_LENGTH = 6;
%constant int HYX_IPV6_ADDR_LENGTH = 16;
%constant int HYX_VIRTUAL_NETWORK_ID_NONE = 0;
%constant int HYX_VIRTUAL_NETWORK_ID_MAX = 0xffffff;
%constant int HYX_UDP_PROTO_VXLAN = 0x2118;
%constant int HYX_NET_PROTO_GENEVE_UDP_PORT = 0x17c1;
%constant int HYX_NET_PROTO_GENEVE_UDP_PORT_NBO = 0xc117;

/* Packet-capture drop reasons */
%constant int HYX_PKTCAP_NO_DROP = 0;
%constant int HYX_PKTCAP_ENQUEUE_FAIL_DROP = 1;
%constant int HYX_PKTCAP_DEV_STOPPED_DROP = 2;
%constant int HYX_PKTCAP_DEV_TX_DROP = 3;
%constant int HYX_PKTCAP_DEV_RX_DROP = 4;
%constant int HYX_PKTCAP_TSO_FAIL_DROP = 5;
%constant int HYX_PKTCAP_TERMINAL_IOCHAIN_DROP = 6;
%constant int HYX_PKTCAP_SHAPER_DROP = 7;
%constant int HYX_PKTCAP_CSUM_FAIL_DROP = 8;
%constant int HYX_PKTCAP_VLAN_DROP = 9;
%constant int HYX_PKTCAP_VXLAN_DROP = 10;
%constant int HYX_PKTCAP_PADDING_FAIL_DROP = 11;
%constant int HYX_PKTCAP_MAC_FORGERY_DROP = 12;
%constant int HYX_PKTCAP_FIREWALL_DROP = 13;
%constant int HYX_PKTCAP_PORT_BLOCKED_DROP = 14;
%constant int HYX_PKTCAP_DEFAULT_DROP = 15;
%constant int HYX_PKTCAP_TCPIP_DROP = 16;
%constant int HYX_PKTCAP_OVERLAY_DROP = 17;
%constant int HYX_PKTCAP_SUBNET_GW_ISOLATION_DROP = 18;
%constant int HYX_PKTCAP_DROP_REASON_MAX = 19;

/* Packet-capture points */
%constant int HYX_PKTCAP_POINT_INVALID = 0;
%constant int HYX_PKTCAP_POINT_DYNAMIC = 1;
%constant int HYX_PKTCAP_POINT_UPLINK_DRIVER_RX = 2;
%constant int HYX_PKTCAP_POINT_UPLINK_DRIVER_TX = 3;
%constant int HYX_PKTCAP_POINT_VNIC_TX = 4;
%constant int HYX_PKTCAP_POINT_VNIC_RX = 5;
%constant int HYX_PKTCAP_POINT_PORT_INPUT = 6;
%constant int HYX_PKTCAP_POINT_IOCHAIN = 7;
%constant int HYX_PKTCAP_POINT_SWITCH_DISPATCH = 8;
%constant int HYX_PKTCAP_POINT_SWITCH_OUTPUT = 9;
%constant int HYX_PKTCAP_POINT_PORT_OUTPUT = 10;
%constant int HYX_PKTCAP_POINT_TCPIP = 11;
%constant int HYX_PKTCAP_POINT_PRE_DVFILTER = 12;
%constant int HYX_PKTCAP_POINT_POST_DVFILTER = 13;
%constant int HYX_PKTCAP_POINT_DROP = 14;
%constant int HYX_PKTCAP_POINT_VDR_RX_FIRST = 15;
%constant int HYX_PKTCAP_POINT_VDR_TX_FIRST = 16;
%constant int HYX_PKTCAP_POINT_VDR_RX_TERMINAL = 17;
%constant int HYX_PKTCAP_POINT_VDR_TX_TERMINAL = 18;
%constant int HYX_PKTCAP_POINT_PKTFREE = 19;
%constant int HYX_PKTCAP_POINT_TCPIP_RX = 20;
%constant int HYX_PKTCAP_POINT_TCPIP_TX = 21;
%constant int HYX_PKTCAP_POINT_UPLINK_KERNEL_RX = 22;
%constant int HYX_PKTCAP_POINT_UPLINK_KERNEL_TX = 23;
%constant int HYX_PKTCAP_POINT_PRE_OVERLAY_INPUT = 24;
%constant int HYX_PKTCAP_POINT_POST_OVERLAY_INPUT = 25;
%constant int HYX_PKTCAP_POINT_PRE_OVERLAY_OUTPUT = 26;
%constant int HYX_PKTCAP_POINT_POST_OVERLAY_OUTPUT = 27;
%constant int HYX_PKTCAP_POINT_SWITCH_FWD_POLICY_CHECK = 28;
%constant int HYX_PKTCAP_POINT_VNIC_RX_ENTRY = 29;
%constant int HYX_PKTCAP_POINT_REP_RX = 30;
%constant int HYX_PKTCAP_POINT_REP_TX = 31;
%constant int HYX_PKTCAP_POINT_FPO_RX = 32;
%constant int HYX_PKTCAP_POINT_FPO_TX = 33;
%constant int HYX_PKTCAP_POINT_ENS_INPUT = 34;
%constant int HYX_PKTCAP_POINT_ENS_OUTPUT = 35;
%constant int HYX_PKTCAP_POINT_ENS_ACTION = 36;
%constant int HYX_PKTCAP_POINT_ENS_SLOWPATH_ENTER = 37;
%constant int HYX_PKTCAP_POINT_ENS_SLOWPATH_EXIT = 38;
%constant int HYX_PKTCAP_POINT_MBUF_FREE = 39;
%constant int HYX_PKTCAP_POINT_RDMA_SNIFFER = 40;
%constant int HYX_PKTCAP_POINT_PRE_BRIDGE = 41;
%constant int HYX_PKTCAP_POINT_POST_BRIDGE = 42;
%constant int HYX_PKTCAP_POINT_MUX_RX = 43;
%constant int HYX_PKTCAP_POINT_MUX_TX = 44;
%constant int HYX_PKTCAP_POINT_NICOFLD_SP_RX = 45;
%constant int HYX_PKTCAP_POINT_NICOFLD_SP_QUEUE = 46;
%constant int HYX_PKTCAP_POINT_MAX = 47;

/* Overlay key, pass-through types, port limits */
%constant int HYX_NET_OVERLAY_NETWORK_KEY_NON_APPLICABLE = 0;
%constant int HYX_PT_UPT = 1;
%constant int HYX_PT_CDPT = 2;
%constant int HYX_VSWITCH_INVALID_PORT_ID = 0;
%constant int HYX_PORT_CLIENT_NAME_MAX = HYX_PORT_CLIENT_NAME_MAX;
%constant int HYX_PORTSET_DEFAULT_RESPOOL_TAG = 0;

/* Link state, speed (Mbit/s), duplex and media */
%constant int HYX_LINK_STATE_DOWN = HYX_LINK_STATE_DOWN;
%constant int HYX_LINK_STATE_UP = HYX_LINK_STATE_UP;
%constant int HYX_LINK_SPEED_AUTO = 0;
%constant int HYX_LINK_SPEED_10_MBPS = 10;
%constant int HYX_LINK_SPEED_100_MBPS = 100;
%constant int HYX_LINK_SPEED_1000_MBPS = 1000;
%constant int HYX_LINK_SPEED_2500_MBPS = 2500;
%constant int HYX_LINK_SPEED_5000_MBPS = 0x1388;
%constant int HYX_LINK_SPEED_10000_MBPS = 0x2710;
%constant int HYX_LINK_SPEED_20000_MBPS = 0x4e20;
%constant int HYX_LINK_SPEED_25000_MBPS = 0x61a8;
%constant int HYX_LINK_SPEED_37500_MBPS = 0x927c;
%constant int HYX_LINK_SPEED_40000_MBPS = 0x9c40;
%constant int HYX_LINK_SPEED_50000_MBPS = 0xc350;
%constant int HYX_LINK_SPEED_56000_MBPS = 0xdac0;
%constant int HYX_LINK_SPEED_75000_MBPS = 0x124f8;
%constant int HYX_LINK_SPEED_100000_MBPS = 0x186a0;
%constant int HYX_LINK_SPEED_200000_MBPS = 0x30d40;
%constant int HYX_LINK_SPEED_400000_MBPS = 0x61a80;
%constant int HYX_LINK_DUPLEX_AUTO = HYX_LINK_DUPLEX_AUTO;
%constant int HYX_LINK_DUPLEX_HALF = HYX_LINK_DUPLEX_HALF;
%constant int HYX_LINK_DUPLEX_FULL = HYX_LINK_DUPLEX_FULL;
%constant int HYX_LINK_MEDIA_NONE = 0;
%constant int HYX_LINK_MEDIA_UNKNOWN = 1;
%constant int HYX_LINK_MEDIA_BASE_T = 2;
%constant int HYX_LINK_MEDIA_BASE_X = 3;
%constant int HYX_LINK_MEDIA_BASE_KX = 4;
%constant int HYX_LINK_MEDIA_BASE_SX = 5;
%constant int HYX_LINK_MEDIA_BASE_LX = 6;
%constant int HYX_LINK_MEDIA_BASE_KR = 7;
%constant int HYX_LINK_MEDIA_BASE_LR = 8;
%constant int HYX_LINK_MEDIA_BASE_SR = 9;
%constant int HYX_LINK_MEDIA_BASE_ER = 10;
%constant int HYX_LINK_MEDIA_BASE_TWINAX = 11;
%constant int HYX_LINK_MEDIA_BASE_TWINAX_LONG = 12;
%constant int HYX_LINK_MEDIA_BASE_LRM = 13;
%constant int HYX_LINK_MEDIA_BASE_CR1 = 14;
%constant int HYX_LINK_MEDIA_BASE_KR2 = 15;
%constant int HYX_LINK_MEDIA_BASE_MLD2 = 16;
%constant int HYX_LINK_MEDIA_BASE_KR4 = 17;
%constant int HYX_LINK_MEDIA_BASE_KX4 = 18;
%constant int HYX_LINK_MEDIA_BASE_CR4 = 19;
%constant int HYX_LINK_MEDIA_BASE_SR4 = 20;
%constant int HYX_LINK_MEDIA_BASE_LR4 = 21;
%constant int HYX_LINK_MEDIA_BASE_R4 = 22;
%constant int HYX_LINK_MEDIA_BASE_SGMII = 23;
%constant int HYX_LINK_MEDIA_BASE_SFI = 24;
%constant int HYX_LINK_MEDIA_BASE_XLPPI = 25;
%constant int HYX_LINK_MEDIA_BASE_CX_SGMII = 26;
%constant int HYX_LINK_MEDIA_BASE_DR4 = 27;
%constant int HYX_LINK_MEDIA_BASE_FR4 = 28;
%constant int HYX_LINK_MEDIA_AUI8 = 29;
%constant int HYX_LINK_MEDIA_AUI4 = 30;
%constant int HYX_LINK_MEDIA_BASE_SR16 = 31;
%constant int HYX_LINK_MEDIA_BASE_FR8 = 32;
%constant int HYX_LINK_MEDIA_BASE_LR8 = 33;
%constant int HYX_LINK_MEDIA_AUI16 = 34;
%constant int HYX_LINK_MEDIA_BASE_ER4 = 35;
%constant int HYX_LINK_MEDIA_BASE_ER8 = 36;
%constant int HYX_LINK_MEDIA_BASE_CX4 = 37;
%constant int HYX_LINK_MEDIA_BASE_CR2 = 38;
%constant int HYX_LINK_MEDIA_BASE_CR8 = 39;
%constant int HYX_LINK_MEDIA_BASE_SR2 = 40;
%constant int HYX_LINK_MEDIA_BASE_LR2 = 41;
%constant int HYX_LINK_MEDIA_BASE_ER2 = 42;
%constant int HYX_LINK_MEDIA_BASE_SR8 = 43;
%constant int HYX_LINK_MEDIA_BASE_DR8 = 44;

/* Resource pools */
%constant int HYX_PORTSET_RESPOOL_LIMIT_INFINITE = -1;
%constant int HYX_PORTSET_RESPOOL_DEFAULT_QUEUE_DEPTH = -1;
%constant int HYX_PORTSET_RESPOOL_DEFAULT_PRIORITY_TAG = 0;
%constant int HYX_PORTSET_RESPOOL_MAX_SHARES = 100;
%constant const char *HYX_PORTSET_SKATE_RESPOOL_ID = "netsched.pools.persist.skate";
%constant const char *HYX_PORTSET_ISCSI_RESPOOL_ID = "netsched.pools.persist.iscsi";
%constant const char *HYX_PORTSET_NFS_RESPOOL_ID = "netsched.pools.persist.nfs";
%constant const char *HYX_PORTSET_FT_RESPOOL_ID = "netsched.pools.persist.ft";
%constant const char *HYX_PORTSET_VM_RESPOOL_ID = "netsched.pools.persist.vm";
%constant const char *HYX_PORTSET_MGMT_RESPOOL_ID = "netsched.pools.persist.mgmt";
%constant const char *HYX_PORTSET_FCOE_RESPOOL_ID = "netsched.pools.persist.fcoe";
%constant const char *HYX_PORTSET_HBR_RESPOOL_ID = "netsched.pools.persist.hbr";
%constant const char *HYX_PORTSET_TROVE_RESPOOL_ID = "netsched.pools.persist.trove";
%constant const char *HYX_PORTSET_BUNKR_RESPOOL_ID = "netsched.pools.persist.bunkr";
%constant const char *HYX_PORTSET_BACKUPNFC_RESPOOL_ID = "netsched.pools.persist.backupNfc";
%constant const char *HYX_PORTSET_NVMETCP_RESPOOL_ID = "netsched.pools.persist.nvmetcp";
%constant const char *HYX_PORTSET_PROVISIONING_RESPOOL_ID = "netsched.pools.persist.provisioning";
%constant const char *HYX_PORTSET_TROVEISCSI_RESPOOL_ID = "netsched.pools.persist.troveiSCSI";

/* Distributed-switch property keys (strings) */
%constant const char *HYX_ZARPROP_SWITCH_ALIAS = "com.kestra.common.alias";
%constant const char *HYX_ZARPROP_SWITCH_VERSION = "com.kestra.common.version";
%constant const char *HYX_ZARPROP_SWITCH_UPLINKPORTS = HYX_ZARPROP_SWITCH_UPLINKPORTS;
%constant const char *HYX_ZARPROP_SWITCH_OVERLAY = "com.kestra.common.overlay";
%constant const char *HYX_ZARPROP_SWITCH_RESPOOLS_LIST = "com.kestra.common.respools.list";
%constant const char *HYX_ZARPROP_SWITCH_RESPOOLS_SCHED = "com.kestra.common.respools.sched";
%constant const char *HYX_ZARPROP_HOST_STATUS = "com.kestra.common.host.volatile.status";
%constant const char *HYX_ZARPROP_HOST_PROXY_STATE = "com.kestra.common.host.portset.volatile.state";
%constant const char *HYX_ZARPROP_HOST_PROXY = "com.kestra.common.host.portset";
%constant const char *HYX_ZARPROP_HOST_UPLINKPORTS = "com.kestra.common.host.uplinkPorts";
%constant const char *HYX_ZARPROP_PORT_STATUS = "com.kestra.common.port.volatile.status";
%constant const char *HYX_ZARPROP_PORT_TYPE = "com.kestra.common.port.volatile.type";
%constant const char *HYX_ZARPROP_PORT_VLAN = "com.kestra.common.port.volatile.vlan";
%constant const char *HYX_ZARPROP_PORT_PERSIST = "com.kestra.common.port.volatile.persist";
%constant const char *HYX_ZARPROP_PORT_PTALLOWED = "com.kestra.common.port.ptAllowed";
%constant const char *HYX_ZARPROP_PORT_PTALLOWEDRT = "com.kestra.common.port.ptAllowedRT";
%constant const char *HYX_ZARPROP_PORT_STATISTICS = "com.kestra.common.port.statistics";
%constant const char *HYX_ZARPROP_PORT_ALIAS = "com.kestra.common.port.alias";
%constant const char *HYX_ZARPROP_PORT_CONNECTID = "com.kestra.common.port.connectid";
%constant const char *HYX_ZARPROP_PORT_HYXNIC_VLANID = "com.kestra.common.port.hyxnicVlanID";
%constant const char *HYX_ZARPROP_PORT_VNIC_CONNECTEE = "com.kestra.common.port.vnicConnectee";
%constant const char *HYX_ZARPROP_PORT_PORTGROUP = "com.kestra.common.port.portgroupid";
%constant const char *HYX_ZARPROP_PORT_BLOCK = "com.kestra.common.port.block";
%constant const char *HYX_ZARPROP_PORT_LINK_STATUS = "com.kestra.common.port.linkstatus";
%constant const char *HYX_ZARPROP_PORT_RESPOOLS_CFG = "com.kestra.common.port.respools.cfg";
%constant const char *HYX_ZARPROP_PORT_RESPOOL_ASSOC = "com.kestra.common.port.respool.assoc";
%constant const char *HYX_ZARPROP_PORT_SHAPER_INPUT = "com.kestra.common.port.shaper.input";
%constant const char *HYX_ZARPROP_PORT_SHAPER_BROADCAST = "com.kestra.common.port.shaper.broadcast";
%constant const char *HYX_ZARPROP_PORT_SHAPER_OUTPUT = "com.kestra.common.port.shaper.output";
%constant const char *HYX_ZARPROP_PORT_OVERLAY = "com.kestra.common.port.overlay";
%constant const char *HYX_ZARPROP_PORT_DVFILTER = "com.kestra.common.port.dvfilter";
%constant const char *HYX_ZARPORT_FORWARD_NOT_READY_BLOCK = "com.kestra.port.forward.not.ready.block";
%constant const char *HYX_CISCO_PROP_SWITCH_CDP = "com.cisco.svs.switch.cdp";

/* Distributed-switch limits and status values */
%constant int HYX_ZARPORTSET_STATE_DEACTIVE = 1;
%constant int HYX_ZARPORTSET_STATE_HOTSWAP = 2;
%constant int HYX_ZAR_ID_MAX_LEN = 64;
%constant int HYX_ZAR_NAME_MAX_LEN = 81;
%constant int HYX_ZAR_CLASS_NAME_MAX_LEN = 128;
%constant int HYX_ZAR_PORT_ID_MAX_LEN = 48;
%constant int HYX_ZAR_PORT_ID_LEGACY_MAX_LEN = 16;
%constant int HYX_ZAR_PORT_ALIAS_MAX_LEN = 81;
%constant int HYX_ZARPORT_STATUS_INUSE = HYX_ZARPORT_STATUS_INUSE;
%constant int HYX_ZARPORT_STATUS_LINKUP = HYX_ZARPORT_STATUS_LINKUP;
%constant int HYX_ZARPORT_STATUS_BLOCKED = HYX_ZARPORT_STATUS_BLOCKED;
%constant int HYX_ZARPORT_STATUS_PASSTHRU = HYX_ZARPORT_STATUS_PASSTHRU;
%constant int HYX_ZAR_STATUS_OK = 0;
%constant int HYX_ZAR_STATUS_DEGRADED = 1;
%constant int HYX_ZAR_STATUS_DOWN = 2;

/* Socket address families and types */
%constant int HYX_SOCKET_AF_INET_STRLEN = 16;
%constant int HYX_SOCKET_AF_INET6_STRLEN = 46;
%constant int HYX_SOCKET_AF_INET = 2;
%constant int HYX_SOCKET_AF_INET6 = 28;
%constant int HYX_SOCKET_SOCK_STREAM = 1;
%constant int HYX_SOCKET_SOCK_DGRAM = 2;
%constant int HYX_SOCKET_SOCK_RAW = 3;

/* Kernel API revision */
%constant int HYXAPI_REVISION_MAJOR = 3;
%constant int HYXAPI_REVISION_MINOR = 1;
%constant int HYXAPI_REVISION_UPDATE = 0;
%constant int HYXAPI_REVISION_PATCH_LEVEL = 0;
%constant int HYXAPI_REVISION = 0x3010000;

/* Runtime integer option indexes */
%constant int GET_RUNTIME_OPTIONS_IGMP_QUERY_INTERVAL = 0;
%constant int GET_RUNTIME_OPTIONS_IGMP_V3_MAX_SRC_IP_NUM = 1;
%constant int GET_RUNTIME_OPTIONS_IGMP_QUERIES = 2;
%constant int GET_RUNTIME_OPTIONS_IGMP_VERSION = 3;
%constant int GET_RUNTIME_OPTIONS_MLD_VERSION = 4;
%constant int GET_RUNTIME_OPTIONS_MLD_V2_MAX_SRC_IP_NUM = 5;
%constant int GET_RUNTIME_OPTIONS_MAX_RARPS_PER_INTERVAL = 6;
%constant int GET_RUNTIME_OPTIONS_RARP_ADVERTISEMENT_DURATION = 7;
%constant int GET_RUNTIME_OPTIONS_REVERSE_PATH_FWD_CHECK = 8;
%constant int GET_RUNTIME_OPTIONS_REVERSE_PATH_FWD_CHECK_PROMISC = 9;
%constant int GET_RUNTIME_OPTIONS_ALLOW_FAST_PATH = 10;
%constant int GET_RUNTIME_OPTIONS_TEAM_POLICY_UP_DELAY = 11;
%constant int GET_RUNTIME_OPTIONS_ALLOW_MIRROR_STATS = 12;
%constant int GET_RUNTIME_OPTIONS_TEAMING_NUMA_AWARE = 13;
%constant int GET_RUNTIME_OPTIONS_SEND_IGMP_REPORT_TO_UPLINK = 14;
%constant int GET_RUNTIME_OPTIONS_TEAMING_IGNORE_SHOTGUN = 15;
%constant int NUM_RUNTIME_INT_OPTIONS = 16;

/* The option names join cvar after the last integer option index.  A
   dimensionless array has no setter: assignment raises AttributeError. */
%warnfilter(462) runtimeOptionNames;
extern const char *runtimeOptionNames[];


/* Property type flags */
%constant int CONFIG_PROP_TYPE = 16;
%constant int RUNTIME_PROP_TYPE = 32;
%constant int NO_REPLICATE_PROP_TYPE = 64;
%constant int NO_SET_LOCAL_CALLBACK_PROP_TYPE = 128;
%constant int VOLATILE_PROP_TYPE = 4;
%constant int POLICY_PROP_TYPE = 8;
%constant int ALL_PUBLIC_PROP_TYPE = 252;
%constant int NO_SYNC_PROP_TYPE = (-0x7FFFFFFF - 1);
%constant int ALL_PROP_TYPE = -0x7fffff04;

/* Distributed port types and state-store limits */
%constant int DVSPORT_TYPE_INVALID = 0;
%constant int DVSPORT_TYPE_ACTIVE = 1;
%constant int DVSPORT_TYPE_SHADOW = 2;
%constant int DVSPORT_TYPE_ZOMBIE = 3;
%constant int DVSPORT_TYPE_LOCALCACHE = 4;
%constant int DVS_UUID_MAXLEN = 128;
%constant const char *RCFDefaultType = "cbpf";
%constant int PORTSET_NAME_MAX = 128;

/* Switch class, device and name limits */
%constant const char *VS_CHARDEV_NAME = "cswitch";
%constant const char *VS_CHARDEV_PATH = "/dev/cswitch";
%constant int VS_PORTSET_NAME_MAX = 128;
%constant int VS_DVPORT_ID_MAX = 48;
%constant int VS_STATS_FLAG_RARP = 1;
%constant int VS_STATS_FLAG_SERVICE_PORT = 2;
%constant int VS_ETH_MAX_EXACT_MULTICAST_ADDRS = VS_ETH_MAX_EXACT_MULTICAST_ADDRS;
%constant const char *CSWITCH_CNAME_STR = "cswitch";
%constant const char *PS_CLASS_NAME = "cswitch";
%constant const char *SWNAME = "CSwitch";

/* Switch versions */
%constant int DVS_VERSION_60 = 4;
%constant int DVS_VERSION_65 = 5;
%constant int DVS_VERSION_66 = 6;
%constant int DVS_VERSION_70 = 7;
%constant int VS_ZEB_ZAR_VERSION_10 = 100;
%constant int VS_ZEBT_ON_DVS70_VERSION = 107;

/* Switch property keys (strings) */
%constant const char *VSPROP_MTU = VSPROP_MTU;
%constant const char *VSPROP_PVLAN_MAP = VSPROP_PVLAN_MAP;
%constant const char *VSPROP_MULTICAST_FILTER = VSPROP_MULTICAST_FILTER;
%constant const char *VSPROP_SWITCH_TEAMING = VSPROP_SWITCH_TEAMING;
%constant const char *VSPROP_SWITCH_FORWARDING_DISABLED = "com.kestra.vswitch.disabled";
%constant const char *VSPROP_SWITCH_UPLINK_MIRROR_SESSIONS = "com.kestra.vswitch.uplinkMirrorSessions";
%constant const char *VSPROP_SWITCH_MAC_LEARNING = VSPROP_SWITCH_MAC_LEARNING;
%constant const char *VSPROP_SWITCH_MAC_LEARN_STATIC = "com.kestra.vswitch.macLearning.learnStatic";
%constant const char *VSPROP_SWITCH_STATIC_MAC_ALLOW = "com.kestra.vswitch.macLearning.staticMACAllow";
%constant const char *VSPROP_MAC_ENTRY_MAX_AGING_MULTIPLIER = "com.kestra.vswitch.macLearning.maxAgingMultiplier";
%constant const char *VSPROP_SWITCH_LLSPAN_RX_DISPATCHER = "com.kestra.vswitch.LLSPAN.rxDispatcher";
%constant const char *VSPROP_RCF_INSN_TYPE = VSPROP_RCF_INSN_TYPE;
%constant const char *VSPROP_USER_MCAST_ADDRESSES = "com.kestra.vswitch.mcast.user.addresses";
%constant const char *VSPROP_SWITCH_CACHE_MAC_LEARNING_OVERLAY = "com.kestra.vswitch.macLearning.overlay.cache";
%constant const char *VSPROP_ASSOC_MAC_FILTER = "com.kestra.vswitch.assocMACFilter";
%constant const char *VSPROP_SWITCH_CONFIG_TEAM_MAC_LEARNING = "com.kestra.vswitch.config.teamMacLearning";
%constant const char *VSPROP_PORT_SECURITY = VSPROP_PORT_SECURITY;
%constant const char *VSPROP_PORT_TEAMING_POLICY = VSPROP_PORT_TEAMING_POLICY;
%constant const char *VSPROP_PORT_TEAMING_OVERRIDE = "com.kestra.vswitch.port.teaming.override";
%constant const char *VSPROP_PORT_VLAN = VSPROP_PORT_VLAN;
%constant const char *VSPROP_PORT_PRIORITY = "com.kestra.vswitch.port.priority";
%constant const char *VSPROP_PORT_TX_UPLINK = "com.kestra.vswitch.port.txUplink";
%constant const char *VSPROP_PORT_MIRROR_SESSIONS = "com.kestra.vswitch.port.mirrorSessions";
%constant const char *VSPROP_PORT_VLAN_NESTEDTAG = VSPROP_PORT_VLAN_NESTEDTAG;
%constant const char *VSPROP_PORT_EXTRA_ETH_FRP = "com.kestra.vswitch.port.extraEthFRP";
%constant const char *VSPROP_PORT_MAC_MANAGEMENT = VSPROP_PORT_MAC_MANAGEMENT;
%constant const char *VSPROP_PORT_MAC_LEARNING_STATS = "com.kestra.vswitch.port.macLearningStats";
%constant const char *VSPROP_PORT_PRIORITY_RETAIN = "com.kestra.vswitch.port.priority.retain";
%constant const char *VSPROP_PORT_USER_MCAST_ADDRESSES = "com.kestra.vswitch.port.mcast.user.addresses";
%constant const char *VSPROP_PORT_USER_MCAST_ADDRESSES_OVERRIDE = "com.kestra.vswitch.port.mcast.user.addresses.override";
%constant const char *VSPROP_PORT_ASSOC_MAC_FILTER_AGING_STATIC = "com.kestra.vswitch.port.assocMACFilter.aging.static";
%constant const char *VSPROP_SWITCH_STATUS = "com.kestra.common.opaqueDvs.status.component.vswitch";
%constant const char *VSPROP_PORT_PROJ = "com.kestra.common.port.project";
%constant const char *VSPROP_LS_TEAMING_POLICY = "com.kestra.vswitch.logicalswitch.teaming";
%constant const char *VSPROP_PORT_LS_TEAMING_POLICY = "com.kestra.vswitch.port.logicalswitch.teaming";
%constant const char *VSPROP_PORT_SERVICE_VM_CONFIG = "com.kestra.zeb.port.netQFilterConfig";
%constant int NETQ_FILT_PARENT_MAC_NO_CHILD = 2;
%constant const char *VSPROP_PORT_PARENT_TEAMING = "com.kestra.zeb.port.parent.teaming";
%constant const char *ESPROP_PORT_SECURITY = "com.kestra.etherswitch.port.security";

/* Mirroring */
%constant int VS_DVMIRROR_MAGIC_NUM = VS_DVMIRROR_MAGIC_NUM;
%constant int VS_DVMIRROR_VERSION_V1 = VS_DVMIRROR_VERSION_V1;
%constant int VS_DVMIRROR_VERSION_V2 = VS_DVMIRROR_VERSION_V2;
%constant int VS_DVMIRROR_VERSION_V3 = VS_DVMIRROR_VERSION_V3;
%constant int VS_DVMIRROR_VERSION_V4 = VS_DVMIRROR_VERSION_V4;
%constant int VS_DVMIRROR_VERSION_UNSUPPORTED = VS_DVMIRROR_VERSION_UNSUPPORTED;
%constant int VS_DVMIRROR_FLAG_DST_NO_OUTPUT = VS_DVMIRROR_FLAG_DST_NO_OUTPUT;
%constant int VS_DVMIRROR_FLAG_DST_NO_INPUT = VS_DVMIRROR_FLAG_DST_NO_INPUT;
%constant int VS_DVMIRROR_FLAG_DST_ORIG_VLAN = VS_DVMIRROR_FLAG_DST_ORIG_VLAN;
%constant int VS_DVMIRROR_FLAG_DST_ENCAP = VS_DVMIRROR_FLAG_DST_ENCAP;
%constant int VS_DVMIRROR_FLAG_LEGACY = VS_DVMIRROR_FLAG_LEGACY;
%constant int VS_DVMIRROR_FLAG_DISABLED = VS_DVMIRROR_FLAG_DISABLED;
%constant int VS_DVMIRROR_FLAG_SRC_UPLINK_MIRROR = VS_DVMIRROR_FLAG_SRC_UPLINK_MIRROR;
%constant int VS_DVMIRROR_WILDCARD_VMM = VS_DVMIRROR_WILDCARD_VMM;
%constant int VS_DVMIRROR_WILDCARD_PNIC = VS_DVMIRROR_WILDCARD_PNIC;
%constant int VS_DVMIRROR_WILDCARD_COS = VS_DVMIRROR_WILDCARD_COS;
%constant int VS_DVMIRROR_WILDCARD_TCPIP = VS_DVMIRROR_WILDCARD_TCPIP;
%constant int VS_DVMIRROR_WILDCARD_TEST = VS_DVMIRROR_WILDCARD_TEST;
%constant const char *VS_DVMIRROR_DEFAULT_LEGACY_SESSION_SID = VS_DVMIRROR_DEFAULT_LEGACY_SESSION_SID;
%constant const char *VS_DVMIRROR_DEFAULT_LEGACY_SESSION_DNAME = VS_DVMIRROR_DEFAULT_LEGACY_SESSION_DNAME;
%constant int VS_DVMIRROR_SNAPLEN_COMPLETE = VS_DVMIRROR_SNAPLEN_COMPLETE;
%constant int VS_DVMIRROR_SESSIONTYPE_MIXDST = VS_DVMIRROR_SESSIONTYPE_MIXDST;
%constant int VS_DVMIRROR_SESSIONTYPE_DVPORT = VS_DVMIRROR_SESSIONTYPE_DVPORT;
%constant int VS_DVMIRROR_SESSIONTYPE_RMIRROR_SRC = VS_DVMIRROR_SESSIONTYPE_RMIRROR_SRC;
%constant int VS_DVMIRROR_SESSIONTYPE_RMIRROR_DST = VS_DVMIRROR_SESSIONTYPE_RMIRROR_DST;
%constant int VS_DVMIRROR_SESSIONTYPE_ERMIRROR_SRC = VS_DVMIRROR_SESSIONTYPE_ERMIRROR_SRC;
%constant int VS_DVMIRROR_SESSIONTYPE_LOGICAL_DVPORT = VS_DVMIRROR_SESSIONTYPE_LOGICAL_DVPORT;
%constant int MIRROR_ENTTYPE_DVPORT = MIRROR_ENTTYPE_DVPORT;
%constant int MIRROR_ENTTYPE_UPLINK = MIRROR_ENTTYPE_UPLINK;
%constant int MIRROR_ENTTYPE_VLAN = MIRROR_ENTTYPE_VLAN;
%constant int MIRROR_ENTTYPE_IP = MIRROR_ENTTYPE_IP;
%constant int MIRROR_ENTTYPE_PORT = MIRROR_ENTTYPE_PORT;
%constant int MIRROR_ENTTYPE_MAC = MIRROR_ENTTYPE_MAC;
%constant int MIRROR_UPLINK_FILTER_NONE = MIRROR_UPLINK_FILTER_NONE;
%constant int MIRROR_UPLINK_FILTER_NORMAL = MIRROR_UPLINK_FILTER_NORMAL;
%constant int MIRROR_UPLINK_FILTER_STT = MIRROR_UPLINK_FILTER_STT;
%constant int MIRROR_UPLINK_FILTER_VXLAN = MIRROR_UPLINK_FILTER_VXLAN;
%constant int MIRROR_UPLINK_FILTER_GENEVE = MIRROR_UPLINK_FILTER_GENEVE;
%constant int MIRROR_UPLINK_FILTER_ALL_ENCAP = MIRROR_UPLINK_FILTER_ALL_ENCAP;
%constant int MIRROR_UPLINK_FILTER_TYPE_MAX = MIRROR_UPLINK_FILTER_TYPE_MAX;
%constant int DVMIRROR_ENCAP_GRE = DVMIRROR_ENCAP_GRE;
%constant int DVMIRROR_ENCAP_ERSPAN2 = DVMIRROR_ENCAP_ERSPAN2;
%constant int DVMIRROR_ENCAP_ERSPAN3 = DVMIRROR_ENCAP_ERSPAN3;
%constant int DVMIRROR_ENCAP_TYPE_MAX = DVMIRROR_ENCAP_TYPE_MAX;
%constant int ACTION_DONT_MIRROR = ACTION_DONT_MIRROR;
%constant int ACTION_MIRROR = ACTION_MIRROR;
%constant int ACTION_MAX = 2;

/* Private VLAN types and forwarding modes */
%constant int VSPORT_PVLAN_TYPE_PROMISC = VSPORT_PVLAN_TYPE_PROMISC;
%constant int VSPORT_PVLAN_TYPE_ISOLATED = VSPORT_PVLAN_TYPE_ISOLATED;
%constant int VSPORT_PVLAN_TYPE_COMMUNITY = VSPORT_PVLAN_TYPE_COMMUNITY;
%constant int FORWARDING_MODE_INVALID = FORWARDING_MODE_INVALID;
%constant int FORWARDING_MODE_IPV4_ONLY = FORWARDING_MODE_IPV4_ONLY;
%constant int FORWARDING_MODE_IPV6_ONLY = FORWARDING_MODE_IPV6_ONLY;
%constant int FORWARDING_MODE_IPV4_AND_IPV6 = FORWARDING_MODE_IPV4_AND_IPV6;

/* MAC learning and multicast defaults */
%constant int VS_MAC_LEARNING_AGING_TIME_DEFAULT = VS_MAC_LEARNING_AGING_TIME_DEFAULT;
%constant int VS_MAC_LEARNING_AGING_TIME_MAX = VS_MAC_LEARNING_AGING_TIME_MAX;
%constant int TEAM_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT = TEAM_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT;
%constant int VS_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT = VS_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT;
%constant int TEAM_MAC_LEARNING_LIMIT_ENTRIES_SCALED = TEAM_MAC_LEARNING_LIMIT_ENTRIES_SCALED;
%constant int VS_MAC_LEARNING_LIMIT_ENTRIES_SCALED = VS_MAC_LEARNING_LIMIT_ENTRIES_SCALED;
%constant int VS_MULTICAST_USER_ENTRIES_MAX = VS_MULTICAST_USER_ENTRIES_MAX;
%constant int VS_TENANCY_ELEM_SIZE = 8;
%constant int VS_MAC_LEARNING_LEARN_STATIC_DEFAULT = VS_MAC_LEARNING_LEARN_STATIC_DEFAULT;
%constant int VS_MAC_LEARNING_ALLOW_STATIC_DEFAULT = VS_MAC_LEARNING_ALLOW_STATIC_DEFAULT;
%constant int VS_MAC_LEARNING_MAX_AGING_MULTIPLIER_DEFAULT = VS_MAC_LEARNING_MAX_AGING_MULTIPLIER_DEFAULT;

/* Port VLAN and security flags, Ethernet filter flags */
%constant int VSPORT_VLAN_GUEST_TAGGING = VSPORT_VLAN_GUEST_TAGGING;
%constant int VSPORT_VLAN_PVLAN_ENABLED = VSPORT_VLAN_PVLAN_ENABLED;
%constant int VSPORT_VLAN_SET_PRIORITY = VSPORT_VLAN_SET_PRIORITY;
%constant int VSPORT_SECURITY_DISALLOW_PROMISC = VSPORT_SECURITY_DISALLOW_PROMISC;
%constant int VSPORT_SECURITY_DISALLOW_MAC_CHANGE = VSPORT_SECURITY_DISALLOW_MAC_CHANGE;
%constant int VSPORT_SECURITY_DISALLOW_FORGED_SRC = VSPORT_SECURITY_DISALLOW_FORGED_SRC;
%constant int VSWITCH_ETH_MAX_EXACT_MULTICAST_ADDRS = VSWITCH_ETH_MAX_EXACT_MULTICAST_ADDRS;
%constant int HYX_ETH_FILTER_UNICAST = 1;
%constant int HYX_ETH_FILTER_MULTICAST = 2;
%constant int HYX_ETH_FILTER_ALLMULTI = 4;
%constant int HYX_ETH_FILTER_BROADCAST = 8;
%constant int HYX_ETH_FILTER_PROMISC = 16;
%constant int HYX_ETH_FILTER_USE_LADRF = 32;
%constant int HYX_ETH_FILTER_SINK = 0x10000;

/* Teaming */
%constant int HYX_TEAM_MAX_UPLINKS = HYX_TEAM_MAX_UPLINKS;
%constant int HYX_PORTSET_NAME_MAX = 128;
%constant int TEAM_FRP_TYPE_NONE = TEAM_FRP_TYPE_NONE;
%constant int TEAM_FRP_TYPE_LB_IP = TEAM_FRP_TYPE_LB_IP;
%constant int TEAM_FRP_TYPE_LB_SRCMAC = TEAM_FRP_TYPE_LB_SRCMAC;
%constant int TEAM_FRP_TYPE_LB_SRCID = TEAM_FRP_TYPE_LB_SRCID;
%constant int TEAM_FRP_TYPE_FO_EXPLICIT = TEAM_FRP_TYPE_FO_EXPLICIT;
%constant int TEAM_FRP_TYPE_LB_LBT = TEAM_FRP_TYPE_LB_LBT;
%constant int TEAM_FRP_CRIT_LINK_SPEED = TEAM_FRP_CRIT_LINK_SPEED;
%constant int TEAM_FRP_CRIT_LINK_SPEED_GTE = TEAM_FRP_CRIT_LINK_SPEED_GTE;
%constant int TEAM_FRP_CRIT_LINK_DUPLEX = TEAM_FRP_CRIT_LINK_DUPLEX;
%constant int TEAM_FRP_CRIT_LACP_PORT_DOWN = TEAM_FRP_CRIT_LACP_PORT_DOWN;
%constant int TEAM_FRP_CRIT_BEACON_STATE = TEAM_FRP_CRIT_BEACON_STATE;
%constant int TEAM_FRP_CRIT_LINK_ERR = TEAM_FRP_CRIT_LINK_ERR;
%constant int TEAM_FRP_CRIT_LINK_STATE = TEAM_FRP_CRIT_LINK_STATE;
%constant int TEAM_FRP_CRIT_PORT_BLOCKED = TEAM_FRP_CRIT_PORT_BLOCKED;
%constant int TEAM_FRP_CRIT_DRV_PRESENT = TEAM_FRP_CRIT_DRV_PRESENT;
%constant int TEAM_FRP_FLAG_ALL_AVAILABLE = TEAM_FRP_FLAG_ALL_AVAILABLE;
%constant int TEAM_FRP_FLAG_REVERSE = TEAM_FRP_FLAG_REVERSE;
%constant int TEAM_FRP_FLAG_BEST_EFFORT = TEAM_FRP_FLAG_BEST_EFFORT;
%constant int TEAM_FRP_FLAG_ROLLING = TEAM_FRP_FLAG_ROLLING;
%constant int TEAM_FRP_FLAG_SHOTGUN = TEAM_FRP_FLAG_SHOTGUN;
%constant int TEAM_FRP_FLAG_NOTIFY_SWITCH = TEAM_FRP_FLAG_NOTIFY_SWITCH;
%constant int TEAM_FRP_FLAG_BLOCK_OUTPUT = TEAM_FRP_FLAG_BLOCK_OUTPUT;
%constant int TEAM_FRP_FLAG_LACP_CLIENT = TEAM_FRP_FLAG_LACP_CLIENT;
%constant int HYX_TEAMING_POLICY_PRIORITY_NUMALB = 7;
%constant int VSPORT_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT = VSPORT_MAC_LEARNING_LIMIT_ENTRIES_DEFAULT;
%constant int VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX = VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX;
%constant int VSPORT_MAC_LEARNING_LIMIT_POLICY_ALLOW = VSPORT_MAC_LEARNING_LIMIT_POLICY_ALLOW;
%constant int VSPORT_MAC_LEARNING_LIMIT_POLICY_DROP = VSPORT_MAC_LEARNING_LIMIT_POLICY_DROP;

/* Overlay teaming and PRP property keys */
%constant const char *ZEB_PRP_LAN_TEAMING_POLICY = "com.kestra.vswitch.prp.teaming";
%constant const char *ZEB_ENS_PRP_TUNABLE_PROP = "com.kestra.zebData.ens.prp.tunables";
%constant const char *ZEB_ENS_PRP_CONFIG_PROP = "com.kestra.zebData.ens.prp.config";
%constant const char *ZEB_ENS_PRP_STATUS = "com.kestra.zebData.ens.prp.status";

/* MAC address types */
%constant int VS_MAC_ADDR_TYPE_STATIC = 0;
%constant int VS_MAC_ADDR_TYPE_USER = 1;
%constant int VS_MAC_ADDR_TYPE_LEARNED = 2;
%constant int VS_MAC_ADDR_TYPE_ALL = 3;

/* Switch ioctl commands */
%constant int VS_IOCMD_GET_MASK = 0x1000;
%constant int VS_IOCMD_GET_RARP_STATS = 0x1001;
%constant int VS_IOCMD_GET_SERVICE_PORT_TEAMING_STATS = 0x1002;
%constant int VS_IOCMD_GET_RUNTIME_OPTIONS = 0x1003;
%constant int VS_IOCMD_GET_PROMISC_SESSION_ACTIVE_DSTS = 0x1004;
%constant int VS_IOCMD_GET_DVMIRROR_SESSION_IDS = 0x1005;
%constant int VS_IOCMD_GET_DVMIRROR_SESSION_STATS = 0x1006;
%constant int VS_IOCMD_GET_MCAST_FILTER_MODE = 0x1007;
%constant int VS_IOCMD_GET_MCAST_FILTERS = 0x1008;
%constant int VS_IOCMD_GET_SWITCH_MCAST_FILTERS = 0x1009;
%constant int VS_IOCMD_GET_MCAST_FILTER_STATS = 0x100a;
%constant int VS_IOCMD_GET_UPLINKS = 0x100b;
%constant int VS_IOCMD_GET_UPLINK_LINK_STATE = 0x100c;
%constant int VS_IOCMD_GET_UPLINK_LACP_LINK_STATE = 0x100d;
%constant int VS_IOCMD_GET_LAG_TABLE = 0x100e;
%constant int VS_IOCMD_GET_IS_VSWITCH = 0x100f;
%constant int VS_IOCMD_GET_VSWITCH_INFO = 0x1010;
%constant int VS_IOCMD_GET_SWITCH_PORT_INFO = 0x1011;
%constant int VS_IOCMD_GET_VSWITCH_STATS = 0x1012;
%constant int VS_IOCMD_GET_PORT_LIST = 0x1013;
%constant int VS_IOCMD_GET_PORT_INFO = 0x1014;
%constant int VS_IOCMD_GET_UPLINK_VLAN_LIST = 0x1015;
%constant int VS_IOCMD_GET_VLAN_INFO = 0x1016;
%constant int VS_IOCMD_GET_MAC_TABLE = 0x1017;
%constant int VS_IOCMD_GET_REMOTE_TEP_TABLE = 0x1018;
%constant int VS_IOCMD_GET_RDMA_TABLE = 0x1019;
%constant int VS_IOCMD_GET_TENANT_TABLE = 0x101a;
%constant int VS_IOCMD_GET_BRIDGED_MAC_TABLE_BY_ID = 0x101b;
%constant int VS_IOCMD_GET_STATIC_LE_CTX = 0x101c;
%constant int VS_IOCMD_GET_PORT_MAC_TABLE = 0x101d;
%constant int VS_IOCMD_GET_PORT_STATIC_LE_CTX = 0x101e;
%constant int VS_IOCMD_GET_TEAM_MAC_TABLE = 0x101f;
%constant int VS_IOCMD_GET_PORT_MAC_LEARNING_STATS = 0x1020;
%constant int VS_IOCMD_GET_GLOBAL_MAC_LEARNING_PROPS = 0x1021;
%constant int VS_IOCMD_GET_SWITCH_MAC_LEARNING_INFO = 0x1022;
%constant int VS_IOCMD_GET_SWITCH_MAC_LEARNING_ALL_PORTS = 0x1023;
%constant int VS_IOCMD_GET_SWITCH_MAC_LEARNING_STATS = 0x1024;
%constant int VS_IOCMD_GET_SWITCH_L2SECURITY = 0x1025;
%constant int VS_IOCMD_PORT_GET_TEAM_UPLINK_HINT = 0x1026;
%constant int VS_IOCMD_GET_UPLINK_DVPORT_ID = 0x1027;
%constant int VS_IOCMD_PORT_GET_LS_TEAM_POLICY_NAME = 0x1028;
%constant int VS_IOCMD_GET_LS_TEAM_POLICY = 0x1029;
%constant int VS_IOCMD_GET_SWITCHES = 0x102a;
%constant int VS_IOCMD_GET_DVSID = 0x102b;
%constant int VS_IOCMD_GET_L3_ISO_TEST_MODE = 0x102c;
%constant int VS_IOCMD_GET_MAC_ENTRY = 0x102d;
%constant int VS_IOCMD_GET_BRIDGE_FASTPATH_DISABLE = 0x102e;
%constant int VS_IOCMD_SET_MASK = 0x2000;
%constant int VS_IOCMD_SET_RUNTIME_OPTIONS = 0x2001;
%constant int VS_IOCMD_SET_UPLINK_ADMIN_LINK_STATE = 0x2002;
%constant int VS_IOCMD_SET_PORT_MAC_TABLE = 0x2003;
%constant int VS_IOCMD_CLEAR_PORT_MAC_TABLE = 0x2004;
%constant int VS_IOCMD_SET_REMOTE_TEP_TABLE = 0x2005;
%constant int VS_IOCMD_CLEAR_REMOTE_TEP_TABLE = 0x2006;
%constant int VS_IOCMD_SET_RDMA_TABLE = 0x2007;
%constant int VS_IOCMD_CLEAR_RDMA_TABLE = 0x2008;
%constant int VS_IOCMD_SET_RDMA = 0x2009;
%constant int VS_IOCMD_SET_RDMA_SNIC = 0x200a;
%constant int VS_IOCMD_SET_SWITCH_MAC_LEARNING = 0x200b;
%constant int VS_IOCMD_REFRESH_DEV_NUMAID = 0x200c;
%constant int VS_IOCMD_GET_DVMIRROR_AGENT_STATS = 0x200d;
%constant int VS_IOCMD_SET_L3_ISO_TEST_MODE = 0x200e;
%constant int VS_IOCMD_SET_BRIDGE_FASTPATH_DISABLE = 0x200f;

/* Multicast filter modes, MAC table types, port client types */
%constant int VS_MCAST_FILTER_MODE_LEGACY = VS_MCAST_FILTER_MODE_LEGACY;
%constant int VS_MCAST_FILTER_MODE_SNOOPING = VS_MCAST_FILTER_MODE_SNOOPING;
%constant int VS_MCAST_FILTER_MODE_IGMP = VS_MCAST_FILTER_MODE_IGMP;
%constant int VS_MCAST_FILTER_MODE_MLD = VS_MCAST_FILTER_MODE_MLD;
%constant int VS_ALL_MAC_TABLE = VS_ALL_MAC_TABLE;
%constant int VS_DYNAMIC_MAC_TABLE = VS_DYNAMIC_MAC_TABLE;
%constant int VS_STATIC_MAC_TABLE = VS_STATIC_MAC_TABLE;
%constant int VS_PORT_CLIENT_UNKNOWN = VS_PORT_CLIENT_UNKNOWN;
%constant int VS_PORT_CLIENT_TCPIP = VS_PORT_CLIENT_TCPIP;
%constant int VS_PORT_CLIENT_VNIC = VS_PORT_CLIENT_VNIC;
%constant int VS_PORT_CLIENT_UPLINK = VS_PORT_CLIENT_UPLINK;
%constant int VS_PORT_CLIENT_LAG = VS_PORT_CLIENT_LAG;

/* VLAN trunk-policy flags and bitmap size */
%constant int VS_VLAN_TP_FLAG_TAGGED_INPUT = VS_VLAN_TP_FLAG_TAGGED_INPUT;
%constant int VS_VLAN_TP_FLAG_TAGGED_OUTPUT = VS_VLAN_TP_FLAG_TAGGED_OUTPUT;
%constant int VS_VLAN_TP_FLAG_OVERWRITE_VID = VS_VLAN_TP_FLAG_OVERWRITE_VID;
%constant int VS_VLAN_TP_FLAG_OVERWRITE_PRIORITY = VS_VLAN_TP_FLAG_OVERWRITE_PRIORITY;
%constant int VS_VLAN_TP_FLAG_FILTER_ON_VIDS = VS_VLAN_TP_FLAG_FILTER_ON_VIDS;
%constant int VS_VLAN_TP_FLAG_QOS_OUTPUT_QUEUE = VS_VLAN_TP_FLAG_QOS_OUTPUT_QUEUE;
%constant int VS_VLAN_TP_FLAG_ALLOW_NESTEDTAG = VS_VLAN_TP_FLAG_ALLOW_NESTEDTAG;
%constant int VS_VLAN_TP_FLAG_TRUNK_VLAN_OVERLAY = VS_VLAN_TP_FLAG_TRUNK_VLAN_OVERLAY;
%constant int VS_VLAN_BITMAP_ARRAY_SIZE = VS_VLAN_BITMAP_ARRAY_SIZE;

/* Mirror agents, source-IP filter modes, LAG limits, RCF instruction types, list types */
%constant int MIRROR_AGENT_WORLD_NUM = MIRROR_AGENT_WORLD_NUM;
%constant int VS_MCAST_SRC_IP_FILTER_MODE_NONE = VS_MCAST_SRC_IP_FILTER_MODE_NONE;
%constant int VS_MCAST_SRC_IP_FILTER_MODE_INCLUDE = VS_MCAST_SRC_IP_FILTER_MODE_INCLUDE;
%constant int VS_MCAST_SRC_IP_FILTER_MODE_EXCLUDE = VS_MCAST_SRC_IP_FILTER_MODE_EXCLUDE;
%constant int VS_LACP_LAG_NAME_LENGTH = 68;
%constant int VS_MAX_LAGS = 32;
%constant int VS_MAX_UPLINKS_IN_LAG = 32;
%constant int ZEB_RCF_INSN_TYPE_CBPF = ZEB_RCF_INSN_TYPE_CBPF;
%constant int ZEB_RCF_INSN_TYPE_EBPF = ZEB_RCF_INSN_TYPE_EBPF;
%constant int ZEB_RCF_INSN_TYPE_MAX = ZEB_RCF_INSN_TYPE_MAX;
%constant int VS_LIST_PS = VS_LIST_PS;
%constant int VS_LIST_DVS_ALIAS = VS_LIST_DVS_ALIAS;

/* Runtime options */
%constant int VS_RT_OPT_IGMP_QUERY_INTERVAL = VS_RT_OPT_IGMP_QUERY_INTERVAL;
%constant int VS_RT_OPT_IGMP_V3_MAX_SRC_IP_NUM = VS_RT_OPT_IGMP_V3_MAX_SRC_IP_NUM;
%constant int VS_RT_OPT_IGMP_QUERIES = VS_RT_OPT_IGMP_QUERIES;
%constant int VS_RT_OPT_IGMP_VERSION = VS_RT_OPT_IGMP_VERSION;
%constant int VS_RT_OPT_MLD_VERSION = VS_RT_OPT_MLD_VERSION;
%constant int VS_RT_OPT_MLD_V2_MAX_SRC_IP_NUM = VS_RT_OPT_MLD_V2_MAX_SRC_IP_NUM;
%constant int VS_RT_OPT_MAX_RARPS_PER_INTERVAL = VS_RT_OPT_MAX_RARPS_PER_INTERVAL;
%constant int VS_RT_OPT_RARP_ADVERTISEMENT_DURATION = VS_RT_OPT_RARP_ADVERTISEMENT_DURATION;
%constant int VS_RT_OPT_REVERSE_PATH_FWD_CHECK = VS_RT_OPT_REVERSE_PATH_FWD_CHECK;
%constant int VS_RT_OPT_REVERSE_PATH_FWD_CHECK_PROMISC = VS_RT_OPT_REVERSE_PATH_FWD_CHECK_PROMISC;
%constant int VS_RT_OPT_ALLOW_FAST_PATH = VS_RT_OPT_ALLOW_FAST_PATH;
%constant int VS_RT_OPT_TEAM_POLICY_UP_DELAY = VS_RT_OPT_TEAM_POLICY_UP_DELAY;
%constant int VS_RT_OPT_ALLOW_MIRROR_STATS = VS_RT_OPT_ALLOW_MIRROR_STATS;
%constant int VS_RT_OPT_TEAMING_NUMA_AWARE = VS_RT_OPT_TEAMING_NUMA_AWARE;
%constant int VS_RT_OPT_SEND_IGMP_REPORT_TO_UPLINK = VS_RT_OPT_SEND_IGMP_REPORT_TO_UPLINK;
%constant int VS_RT_OPT_TEAMING_IGNORE_SHOTGUN = VS_RT_OPT_TEAMING_IGNORE_SHOTGUN;
%constant int VS_RT_OPT_IGMP_ROUTER_IP = VS_RT_OPT_IGMP_ROUTER_IP;
%constant int VS_RT_OPT_MLD_ROUTER_IP = VS_RT_OPT_MLD_ROUTER_IP;
%constant int VS_NUM_RT_OPT = VS_NUM_RT_OPT;
%constant int VS_CHARDEV_MAX_RUNTIME_OPTIONS_LENGTH = VS_CHARDEV_MAX_RUNTIME_OPTIONS_LENGTH;
%constant int VS_CHARDEV_MAX_RUNTIME_STRING_OPTION_LENGTH = VS_CHARDEV_MAX_RUNTIME_STRING_OPTION_LENGTH;

/* RTM device and commands */
%constant const char *RTMDEV_FILE = "rtm";
%constant const char *RTMDEV_PATH = "/strata/devices/char/hyxdriver/rtm";
%constant int RTM_IOCCMD_REG_SAVE = RTM_IOCCMD_REG_SAVE;
%constant int RTM_IOCCMD_REG_RESTORE = RTM_IOCCMD_REG_RESTORE;
%constant int RTM_IOCCMD_REG_SAVE_DUALLOAD = RTM_IOCCMD_REG_SAVE_DUALLOAD;
%constant int RTM_IOCCMD_REG_RESTORE_DUALLOAD = RTM_IOCCMD_REG_RESTORE_DUALLOAD;
%constant int RTM_IOCCMD_SAVE = RTM_IOCCMD_SAVE;
%constant int RTM_IOCCMD_RESTORE = RTM_IOCCMD_RESTORE;
%constant int RTM_IOCCMD_BLOCKPORTS = RTM_IOCCMD_BLOCKPORTS;
%constant int RTM_IOCCMD_PREDUALLOAD = RTM_IOCCMD_PREDUALLOAD;
%constant int RTM_IOCCMD_GLOBALCONFIG_SAVERESTORE = RTM_IOCCMD_GLOBALCONFIG_SAVERESTORE;
%constant int RTM_IOCCMD_PS_UPGRADE = RTM_IOCCMD_PS_UPGRADE;
%constant int RTM_IOCCMD_PORT_UPGRADE = RTM_IOCCMD_PORT_UPGRADE;
%constant int RTM_IOCCMD_COMPLETE = RTM_IOCCMD_COMPLETE;
%constant int RTM_IOCCMD_RESTORE_COMPLETE = RTM_IOCCMD_RESTORE_COMPLETE;
%constant int RTM_IOCCMD_ENS_OP = RTM_IOCCMD_ENS_OP;
%constant int RTM_IOCCMD_CSWITCH_OP = RTM_IOCCMD_CSWITCH_OP;
%constant int RTM_IOCCMD_ENS_DEACTIVATE = RTM_IOCCMD_ENS_DEACTIVATE;
%constant int RTM_IOCCMD_ENS_ACTIVATE = RTM_IOCCMD_ENS_ACTIVATE;

