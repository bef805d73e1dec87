/* Uplinks, teaming and LAGs of the simulated libtessel.so where the module
 * cannot reach: NULL arguments and out slots give HYX_BAD_PARAM without a
 * crash, failures leave the caller's buffers alone, and every table handed
 * out is a tracked block. */
#include <string.h>

#include <initializer_list>

#include "check.h"
#include "hostapi/kernel.h"
#include "hostapi/status.h"
#include "hostapi/teaming.h"

namespace {

void testNullArguments() {
   VSTeamPolicy policy;
   memset(&policy, 0, sizeof policy);
   VSServicePortTeamingStats stats;
   hyx_LinkState state = HYX_LINK_STATE_UP;
   char text[200];
   HYX_ReturnStatus const statuses[] = {
       VSHYX_GetUplinks("switch0", nullptr),
       VSHYX_GetUplinkLinkState("switch0", "uplink0", nullptr),
       VSHYX_GetUplinkLinkState("switch0", nullptr, &state),
       VSHYX_GetUplinkLACPLinkState(nullptr, "uplink4", &state),
       VSHYX_GetUplinkDVPortID("uplink4", nullptr),
       VSHYX_GetUplinkDVPortID(nullptr, text),
       VSDVS_GetSwitchUplinkPorts("dswitch0", nullptr, nullptr),
       VSDVS_SetSwitchUplinkPorts("dswitch0", nullptr, nullptr),
       VSDVS_AddSwitchUplinkPort("dswitch0", nullptr),
       VSDVS_GetTeamingPolicy("switch0", nullptr),
       VSDVS_GetTeamingPolicyFromDVSID(nullptr, &policy),
       VSDVS_SetTeamingPolicy("switch0", nullptr),
       VSDVS_GetPortTeamingPolicy("switch0", "uplink0", nullptr),
       VSDVS_SetPortTeamingPolicy("switch0", "uplink0", nullptr),
       VSDVS_GetPortTeamingOverride("switch0", "uplink0", nullptr),
       VSDVS_SetPortTeamingOverride("switch0", "web-01.eth0", nullptr),
       VSDVS_GetTxUplinkAlways("switch0", "uplink0", nullptr),
       VSHYX_GetServicePortTeamingStats("switch0", nullptr),
       VSHYX_GetServicePortTeamingStats(nullptr, &stats),
       VSHYX_PortGetTeamUplinkHint(33554436, nullptr),
       VSHYX_GetLSTeamingPolicyTable(nullptr, nullptr),
       VSDVS_SetLSTeamingPolicy("dswitch0", nullptr),
       VSDVS_SetPortLSTeamingPolicy("dswitch0", "uplink4", nullptr),
       VSHYX_GetPortLSTeamingPolicyName(33554436, nullptr),
       VSDVS_GetPortLSTeamingPolicyName("switch0", "uplink0", nullptr),
       VSHYX_GetLAGTable("dswitch0", nullptr),
   };
   for (HYX_ReturnStatus status : statuses)
      CHECK_EQ(status, HYX_BAD_PARAM);
}

void testFailuresLeaveOutValuesAlone() {
   /* A state slot holding a value no state has: it is compared as bytes. */
   hyx_LinkState state;
   memset(&state, 7, sizeof state);
   CHECK_EQ(VSHYX_GetUplinkLinkState("switch0", "nosuch", &state), HYX_NOT_FOUND);
   CHECK(check::allBytes(&state, sizeof state, 7));
   char id[49];
   memset(id, 'q', sizeof id);
   /* An uplink of a standard switch has no distributed port. */
   CHECK_EQ(VSHYX_GetUplinkDVPortID("uplink0", id), HYX_NOT_FOUND);
   CHECK(check::allBytes(id, sizeof id, 'q'));
   VSUplinks *uplinks = reinterpret_cast<VSUplinks *>(id);
   CHECK_EQ(VSHYX_GetUplinks("nosuch", &uplinks), HYX_NOT_FOUND);
   CHECK(uplinks == reinterpret_cast<VSUplinks *>(id));
   hyx_Name name;
   memset(&name, 'q', sizeof name);
   CHECK_EQ(VSHYX_PortGetTeamUplinkHint(0xFFFFFFFFu, &name), HYX_NOT_FOUND);
   CHECK(check::allBytes(&name, sizeof name, 'q'));
}

void testTablesAreTrackedBlocks() {
   long const blocks = tessel_sim_outstanding_blocks();
   VSUplinks *uplinks = nullptr;
   VSUplinkPorts *ports = nullptr;
   VSUplinkPortIds *ids = nullptr;
   LSTeamTable *ls = nullptr;
   VSLAGTable *lags = nullptr;
   CHECK_EQ(VSHYX_GetUplinks("dswitch0", &uplinks), HYX_OK);
   CHECK_EQ(VSDVS_GetSwitchUplinkPorts("dswitch0", &ports, &ids), HYX_OK);
   CHECK_EQ(VSDVS_GetLSTeamingPolicyTable("dswitch0", &ls), HYX_OK);
   CHECK_EQ(VSHYX_GetLAGTable("dswitch0", &lags), HYX_OK);
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks + 5);
   for (void *block :
        {static_cast<void *>(uplinks), static_cast<void *>(ports), static_cast<void *>(ids),
         static_cast<void *>(ls), static_cast<void *>(lags)})
      VSHYX_FreeMemory(block);
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
}

} // namespace

int main() {
   testNullArguments();
   testFailuresLeaveOutValuesAlone();
   testTablesAreTrackedBlocks();
   return check::finish("teaming");
}
