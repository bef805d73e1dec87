/* Tunnel-endpoint and RDMA functions of the simulated libtessel.so given
 * what the module never passes: NULL out slots.  Each gives HYX_BAD_PARAM and
 * hands out no block. */
#include "check.h"
#include "hostapi/overlay.h"
#include "hostapi/status.h"

namespace {

void testNullArguments() {
   long const blocks = tessel_sim_outstanding_blocks();
   CHECK_EQ(VSHYX_GetRemoteTepTable("dswitch0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetRdmaTable("dswitch0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetTenantTable("dswitch0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_ClearPortRdmaTable("dswitch0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_ClearRemoteTepTable("dswitch0", nullptr), HYX_BAD_PARAM);
   VSRemoteTepEntries *table = nullptr;
   CHECK_EQ(VSHYX_GetRemoteTepTable(nullptr, &table), HYX_BAD_PARAM);
   CHECK(table == nullptr);
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
}

} // namespace

int main() {
   testNullArguments();
   return check::finish("overlay_test");
}
