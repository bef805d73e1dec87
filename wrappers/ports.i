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

/* The host's port model brings VSHYX_GetRARPStats with the port functions. */
%ignore VSHYX_GetRARPStats;
%include "hostapi/ports.h"
