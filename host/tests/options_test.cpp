/* Runtime options and switch-state calls of the simulated libtessel.so where
 * the module cannot reach: NULL arguments and out slots give HYX_BAD_PARAM
 * without a crash, and a refused Get leaves the caller's slot alone. */
#include "check.h"
#include "hostapi/options.h"
#include "hostapi/status.h"

namespace {

void testNullArguments() {
   hyx_uint16 type = VS_RT_OPT_IGMP_QUERIES;
   HYX_ReturnStatus const statuses[] = {
       VSHYX_GetRuntimeOptions(nullptr, 0, nullptr),
       VSHYX_GetRuntimeOptions(&type, 1, nullptr),
       VSHYX_SetRuntimeOptions(nullptr),
       VSHYX_RTMOp(nullptr, RTM_IOCCMD_SAVE),
       VSHYX_RTMModOp(nullptr, RTM_IOCCMD_SAVE),
       VSHYX_RefreshDevNUMAInfo(nullptr),
       VSHYX_GetL3IsoTestMode(nullptr),
       VSHYX_GetBridgeFastpathConfig(nullptr),
   };
   for (HYX_ReturnStatus status : statuses)
      CHECK_EQ(status, HYX_BAD_PARAM);
}

void testGetAskedTypes() {
   hyx_uint16 const types[] = {VS_RT_OPT_MLD_ROUTER_IP, VS_RT_OPT_IGMP_QUERIES};
   VSRuntimeOptions *block = nullptr;
   long const blocks = tessel_sim_outstanding_blocks();
   CHECK_EQ(VSHYX_GetRuntimeOptions(types, 2, &block), HYX_OK);
   /* "::" with its zero, then an integer, in the order asked. */
   CHECK(block != nullptr && block->totalLength == 4 + 7 + 8);
   VSHYX_FreeMemory(block);
   hyx_uint16 const unknown[] = {VS_RT_OPT_IGMP_QUERIES, VS_NUM_RT_OPT};
   VSRuntimeOptions *untouched = reinterpret_cast<VSRuntimeOptions *>(1);
   CHECK_EQ(VSHYX_GetRuntimeOptions(unknown, 2, &untouched), HYX_BAD_PARAM);
   CHECK(untouched == reinterpret_cast<VSRuntimeOptions *>(1));
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
}

} // namespace

int main() {
   testNullArguments();
   testGetAskedTypes();
   return check::finish("options");
}
