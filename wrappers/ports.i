/* Ports and statistics: the counter records, the per-port information
 * records and tables, and the functions that fill them. */

%{
#include "hostapi/ports.h"
%}

%tessel_record(VSStats)
%tessel_record(VSPortFwdErrCtrs)
%tessel_record(VSPortFwdInfoCtrs)
%tessel_record(VSPortCounters)
%tessel_record(VSPCacheStatsInfo)
%tessel_record(VSRARPStats)
%tessel_record(VSPortInfo)
%tessel_record(VSPortInfo_vlan)
%tessel_record(VSPortInfo_ethFrpAccepted)
%tessel_record(VSSwitchPortInfo)
%tessel_record(VSPortList)

%tessel_spelling("_p_a_1040__char", "char (*)[1040]|hyx_PortClientName *")

%types(VS_PortClientType *, VSVlanTPFlags *);
/* Declared ahead of its definition by the switch summary; its out-slot
   descriptor answers to the tagged spelling too. */
%types(struct VSSwitchPortInfo **);

/* The VLAN settings and accepted multicast filter are read in place. */
%immutable VSPortInfo::vlan;
%immutable VSPortInfo::ethFrpAccepted;

%apply unsigned char MAC_TEXT[6] { unsigned char fixedHwID[6] };

/* The library's records and tables come back through out slots. */
%apply SWIGTYPE **OUTPUT { VSPortInfo **info, VSSwitchPortInfo **table, VSInfo **info };

%tessel_element_copy(VSPortInfo)

/* The tables' extents, from their headers. */
%tessel_table(VSSwitchPortInfo, numEntries, VSPortInfo)
%tessel_table(VSPortList, numPorts, hyx_SwitchPortID)

%include "hostapi/ports.h"

%clear VSPortInfo **info, VSSwitchPortInfo **table, VSInfo **info;
