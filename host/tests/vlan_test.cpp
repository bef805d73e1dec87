/* VLAN policy functions of the simulated libtessel.so given what the module
 * never passes: NULL out slots and records.  Each gives HYX_BAD_PARAM, writes
 * nothing and hands out no block. */
#include "check.h"
#include "hostapi/mac.h"
#include "hostapi/status.h"
#include "hostapi/vlan.h"

namespace {

void testNullArguments() {
   long const blocks = tessel_sim_outstanding_blocks();
   VSPortVlanPolicy *policy = nullptr;
   VSPvlanMapEntry *entries = nullptr;
   VSStaticLeCtxEntries *contexts = nullptr;
   int n = -7;
   CHECK_EQ(VSDVS_GetPortVLANPolicy("switch0", "uplink0", nullptr, &n), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_GetPortVLANPolicy("switch0", "uplink0", &policy, nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_GetPrivateVLANMap("dswitch0", nullptr, &n), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_GetPrivateVLANMap("dswitch0", &entries, nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_SetPrivateVLANMap("dswitch0", nullptr, 1), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_SetPrivateVLANMap("dswitch0", nullptr, -1), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_SetPortVLANPolicy("switch0", "uplink0", 0, 0, 1, 0, nullptr, 1), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_GetPortNestedVLANTagging("switch0", "uplink0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_IsSinkPortEnabled("switch0", "uplink0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_GetExtraEthFilter("switch0", "uplink0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_SetExtraEthFilter("switch0", "uplink0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSDVS_GetRCFType("switch0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetStaticLectx("switch0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetPortStaticLectx("switch0", "uplink0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetStaticLectx(nullptr, &contexts), HYX_BAD_PARAM);
   CHECK(policy == nullptr && entries == nullptr && contexts == nullptr && n == -7);
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
}

} // namespace

int main() {
   testNullArguments();
   return check::finish("vlan_test");
}
