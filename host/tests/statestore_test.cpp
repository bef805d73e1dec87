/* The distributed-switch store beyond what Python reaches: traversal with C
 * callbacks (once per item, stopping at a result of 0), the whole store
 * serialised and read back exactly, truncated or altered buffers refused
 * without a change (each copy is exactly its length, so the sanitizer run
 * catches a read past it), and containers on the caller's allocator left as
 * they were when it fails. */
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "check.h"
#include "hostapi/statestore.h"
#include "hostapi/status.h"
#include "sim_internal.h"

namespace {

constexpr char const *kSwitch = "dswitch7";
constexpr char const *kAlias = "dvs-test";

struct Walk {
   std::vector<std::string> seen;
   size_t stopAfter = SIZE_MAX;
};

char recordSwitch(void *item, void *context) {
   auto *walk = static_cast<Walk *>(context);
   walk->seen.push_back(DVS_SwitchName(item));
   return walk->seen.size() < walk->stopAfter;
}
char recordPort(void *item, void *context) {
   auto *walk = static_cast<Walk *>(context);
   walk->seen.push_back(DVS_PortId(item));
   return walk->seen.size() < walk->stopAfter;
}
char recordProp(void *item, void *context) {
   auto *walk = static_cast<Walk *>(context);
   walk->seen.push_back(DVSData_Name(item));
   return walk->seen.size() < walk->stopAfter;
}

void buildSwitch() {
   CHECK_EQ(VSDVS_CreateVSwitch(kSwitch, kAlias, "cswitch", 8, 0, 1500, 7, 0), HYX_OK);
   for (char const *port : {"20", "21", "22"})
      CHECK_EQ(VSDVS_AddDVPort(kSwitch, port, 0), HYX_OK);
   char value[] = "abc";
   CHECK_EQ(DVSHYX_HostPropSet(kSwitch, "h1", value, 3, 16), HYX_OK);
   CHECK_EQ(DVSHYX_HostPropSet(kSwitch, "h2", value, 0, 4), HYX_OK);
   CHECK_EQ(DVSHYX_GlobalPropSet(kSwitch, "g1", value, 2, 16), HYX_OK);
   CHECK_EQ(DVSHYX_PortDataSet(kSwitch, "21", "p1", value, 1, 16), HYX_OK);
}

void testTraversal() {
   tessel_sim_reset();
   buildSwitch();
   DVSwitchHandle sw = DVSState_SwitchFindByAlias(kAlias);
   CHECK(sw != nullptr);
   /* The host's two distributed switches, then the new one. */
   Walk all;
   DVSState_SwitchForEach(recordSwitch, &all);
   CHECK(all.seen == (std::vector<std::string>{"dswitch0", "dswitch1", kSwitch}));
   Walk first;
   first.stopAfter = 1;
   DVSState_SwitchForEach(recordSwitch, &first);
   CHECK_EQ(first.seen.size(), 1);

   Walk ports;
   ports.stopAfter = 2;
   DVSState_PortForEach(sw, recordPort, &ports);
   CHECK(ports.seen == (std::vector<std::string>{"20", "21"}));

   Walk host, global, data;
   DVSState_HostPropForEach(sw, recordProp, &host);
   DVSState_GlobalPropForEach(sw, recordProp, &global);
   DVSState_PortDataForEach(DVSState_PortFind(kSwitch, "21"), recordProp, &data);
   CHECK(host.seen == (std::vector<std::string>{"h1", "h2"}));
   CHECK(global.seen == (std::vector<std::string>{"g1"}));
   CHECK(data.seen == (std::vector<std::string>{"p1"}));

   /* A removed switch's handle is stale: nothing is walked or read. */
   CHECK_EQ(DVSHYX_SwitchRemove(kSwitch), HYX_OK);
   Walk stale;
   DVSState_PortForEach(sw, recordPort, &stale);
   CHECK(stale.seen.empty());
   CHECK(DVS_SwitchName(sw) == nullptr);
   CHECK_EQ(DVS_GetMaxPorts(sw), 0);
}

std::vector<unsigned char> stateBytes() {
   void *data = nullptr;
   int len = 0;
   CHECK_EQ(DVSHYX_StateGet(&data, &len), HYX_OK);
   std::vector<unsigned char> out(static_cast<unsigned char *>(data),
                                  static_cast<unsigned char *>(data) + len);
   DVSHYX_DataFree(data);
   return out;
}

int deserialiseCopy(std::vector<unsigned char> const &bytes, size_t len) {
   void *copy = malloc(len ? len : 1);
   memcpy(copy, bytes.data(), len);
   int status = DVSState_ConfigDeserialize(copy, static_cast<int>(len));
   free(copy);
   return status;
}

void testRoundTrip() {
   tessel_sim_reset();
   buildSwitch();
   CHECK_EQ(VSDVS_AddOpaqueDVPort(kSwitch, "23", "ext-23"), HYX_OK);
   std::vector<unsigned char> before = stateBytes();

   CHECK_EQ(DVSState_ConfigReset(), HYX_OK);
   CHECK(DVSState_SwitchFindByAlias(kAlias) == nullptr);
   CHECK_EQ(deserialiseCopy(before, before.size()), HYX_OK);
   CHECK(stateBytes() == before);
   void *value = nullptr;
   int len = 0;
   CHECK_EQ(DVSHYX_PortDataGet(kSwitch, "21", "p1", &value, &len), HYX_OK);
   CHECK(len == 1 && memcmp(value, "a", 1) == 0);
   DVSHYX_DataFree(value);
   OpaqueDVPortData *opaque = nullptr;
   CHECK_EQ(DVSHYX_PortGetByExternalId(kSwitch, "ext-23", &opaque), HYX_OK);
   CHECK_STR(opaque->dvPortId, "23");
   DVSHYX_DataFree(opaque);

   /* Every truncation and every single-bit change is refused, the store
      unchanged. */
   for (size_t n = 0; n < before.size(); n++)
      CHECK_EQ(deserialiseCopy(before, n), HYX_BAD_PARAM);
   for (size_t i = 0; i < before.size(); i++) {
      std::vector<unsigned char> flipped = before;
      flipped[i] ^= static_cast<unsigned char>(1u << (i % 8));
      CHECK_EQ(deserialiseCopy(flipped, flipped.size()), HYX_BAD_PARAM);
   }
   CHECK(stateBytes() == before);

   /* DVSLoadConfig reloads what was read last, after a reset emptied it. */
   CHECK_EQ(DVSState_ConfigReset(), HYX_OK);
   CHECK_EQ(DVSLoadConfig(), HYX_OK);
   CHECK(stateBytes() == before);
}

int allocations = 0, frees = 0, failAfter = -1;
void *countingAlloc(size_t n) {
   if (failAfter >= 0 && allocations >= failAfter)
      return nullptr;
   allocations++;
   return malloc(n);
}
void countingFree(void *p) {
   frees++;
   free(p);
}

std::vector<unsigned char> containerBytes(DVSDataHandle data) {
   void *buf = nullptr;
   hyx_uint32 len = 0;
   CHECK_EQ(DVSData_Serialize(data, &buf, &len, 7), HYX_OK);
   std::vector<unsigned char> out(static_cast<unsigned char *>(buf),
                                  static_cast<unsigned char *>(buf) + len);
   DVSHYX_DataFree(buf);
   return out;
}

void testContainers() {
   DVSDataHandle data = nullptr;
   CHECK_EQ(DVSData_Alloc(&data, countingAlloc, countingFree), HYX_OK);
   char one[] = "one", two[] = "two!";
   CHECK_EQ(DVSData_Update(data, "a", one, 3, 16), HYX_OK);
   CHECK_EQ(DVSData_Update(data, "b", two, 4, 4), HYX_OK);
   CHECK_EQ(DVSData_Update(data, "a", two, 4, 16), HYX_OK); /* replaced in place */
   std::vector<unsigned char> before = containerBytes(data);

   failAfter = allocations;
   CHECK_EQ(DVSData_Update(data, "a", one, 3, 16), HYX_NO_MEMORY);
   CHECK_EQ(DVSData_Update(data, "c", one, 3, 16), HYX_NO_MEMORY);
   failAfter = -1;
   CHECK(containerBytes(data) == before);

   DVSData_Free(data);
   CHECK_EQ(allocations, frees);
   /* A freed container is no longer one. */
   CHECK_EQ(DVSData_Update(data, "a", one, 3, 16), HYX_BAD_PARAM);
}

int g_firstSeeds = 0;
int g_secondSeeds = 0;
void firstSeeder() { ++g_firstSeeds; }
void secondSeeder() { ++g_secondSeeds; }

/* Replacing or clearing the seeder of a store not used since its reset
   seeds nothing: only the store's next use does, with the seeder then set
   (libtessel clears its seeder at exit, which must not build its host). */
void testSeederReplacedUnused() {
   tessel_sim_dvs_set_seeder(firstSeeder);
   tessel_sim_reset();
   tessel_sim_dvs_set_seeder(secondSeeder);
   tessel_sim_dvs_set_seeder(nullptr);
   tessel_sim_dvs_set_seeder(secondSeeder);
   CHECK_EQ(g_firstSeeds + g_secondSeeds, 0);
   CHECK(DVSState_SwitchFindByAlias(kAlias) == nullptr);
   CHECK_EQ(g_firstSeeds, 0);
   CHECK_EQ(g_secondSeeds, 1);
   tessel_sim_dvs_set_seeder(nullptr);
}

} // namespace

int main() {
   testTraversal();
   testRoundTrip();
   testContainers();
   /* Last: libtessel's own seeder is not set again. */
   testSeederReplacedUnused();
   tessel_sim_reset();
   CHECK_EQ(tessel_sim_outstanding_blocks(), 0);
   return check::finish("statestore_test");
}
