/* The host's topology: a file named by TESSEL_SIM_TOPOLOGY replaces the
 * default and is what tessel_sim_reset restores; a document the host cannot
 * build is reported with the path of the offending value and leaves a host
 * without switches; the control call adds a switch whole or not at all.
 * The document is read once per process, so each file is tried in a child
 * process. */
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "check.h"
#include "hostapi/kernel.h"
#include "hostapi/mac.h"
#include "hostapi/ports.h"
#include "hostapi/status.h"
#include "sim_internal.h"

namespace {

using check::at;

struct Outcome {
   int failures;
   std::string errors;
};

/* Runs body in a child whose TESSEL_SIM_TOPOLOGY names a file holding text
 * (or path itself when text is NULL): its failed checks and standard error. */
Outcome inChild(char const *text, void (*body)(), char const *path = nullptr) {
   char file[] = "/tmp/tessel-topology-XXXXXX";
   if (text != nullptr) {
      int fd = mkstemp(file);
      ssize_t const len = static_cast<ssize_t>(strlen(text));
      CHECK(fd >= 0 && write(fd, text, len) == len);
      close(fd);
      path = file;
   }
   int pipeFds[2];
   CHECK_EQ(pipe(pipeFds), 0);
   pid_t child = fork();
   if (child == 0) {
      dup2(pipeFds[1], 2);
      close(pipeFds[0]);
      setenv("TESSEL_SIM_TOPOLOGY", path, 1);
      body();
      _exit(check::failures);
   }
   close(pipeFds[1]);
   Outcome out{0, ""};
   char chunk[512];
   ssize_t n;
   while ((n = read(pipeFds[0], chunk, sizeof chunk)) > 0)
      out.errors.append(chunk, static_cast<size_t>(n));
   close(pipeFds[0]);
   int status = 0;
   waitpid(child, &status, 0);
   out.failures = WIFEXITED(status) ? WEXITSTATUS(status) : 1;
   if (text != nullptr)
      unlink(file);
   return out;
}

uint32_t switchCount() {
   VSList *list = nullptr;
   CHECK_EQ(VSHYX_GetSwitches(VS_LIST_PS, &list), HYX_OK);
   uint32_t n = list != nullptr ? static_cast<uint32_t>(list->count) : 0;
   free(list);
   return n;
}

uint32_t securityOf(char const *sw, char const *port) {
   VSPropSecurity sec = {0xEEEE};
   CHECK_EQ(VSDVS_GetPortSecurity(sw, port, &sec), HYX_OK);
   return sec.flags;
}

char const kLab[] = R"({
  "mac": {"agingTime": 300},
  "switches": [{
    "name": "lab0", "distributed": true, "alias": "lab",
    "kernel": {"dvsName": "lab-store-0", "mtu": 1400, "vdrPort": "r0"},
    "mac": {"teamLearning": false,
            "entries": [{"port": "vm0", "address": "02:00:00:00:00:09", "vid": 7}]},
    "ports": [
      {"name": "up0", "type": "uplink", "mac": {"learned": 3}},
      {"name": "r0", "sink": true},
      {"name": "vm0", "type": "vnic", "ports": {"vlan": 7},
       "mac": {"learned": 2, "macLimit": 5, "macLimitPolicy": "drop", "disallow": ["macChange"]}}
    ]
  }]
})";

/* The file's host, as every view reports it, before and after a reset. */
void checkLab() {
   CHECK_EQ(switchCount(), 1);
   VSInfo info;
   CHECK_EQ(VSHYX_GetVSInfo("lab0", &info), HYX_OK);
   CHECK_EQ(info.mtu, 1400);
   CHECK_EQ(info.vdrPortID, (2u << 24) + 2);
   CHECK_EQ(info.numSinkPorts, 1);
   VSPropMACLearning prop;
   CHECK_EQ(VSDVS_GetMACLearning("lab0", &prop), HYX_OK);
   CHECK_EQ(prop.agingTime, 300);
   CHECK_EQ(securityOf("lab0", "vm0"), VSPORT_SECURITY_DISALLOW_MAC_CHANGE);
   CHECK_EQ(securityOf("lab0", "up0"), 7);
   VSPMACLearning cfg;
   CHECK_EQ(VSDVS_GetPortMACLearning("lab0", "vm0", &cfg), HYX_OK);
   CHECK(cfg.macLimit == 5 && cfg.macLimitPolicy == VSPORT_MAC_LEARNING_LIMIT_POLICY_DROP);
   /* Two own addresses, the VM port's two learned ones and the user entry;
    * the team side does not learn. */
   VSMACTable *table = nullptr;
   CHECK_EQ(VSHYX_GetMACTable("lab0", VS_MAC_ADDR_TYPE_ALL, VS_ALL_MAC_TABLE, &table), HYX_OK);
   CHECK(table != nullptr && table->numEntries == 5);
   VSHYX_FreeMemory(table);
}

void replacedAndRestored() {
   checkLab();
   VSPropSecurity sec = {0};
   CHECK_EQ(VSDVS_SetPortSecurity("lab0", "vm0", &sec), HYX_OK);
   CHECK_EQ(tessel_sim_add_switch("extra", 4, 10), 0);
   tessel_sim_reset();
   checkLab();
   VSInfo info;
   CHECK_EQ(VSHYX_GetVSInfo("switch0", &info), HYX_NOT_FOUND);
}

/* A host without switches, and a reset that cannot restore one. */
void emptyHost() {
   CHECK_EQ(switchCount(), 0);
   tessel_sim_reset();
   CHECK_EQ(switchCount(), 0);
}

void testReplacedTopology() {
   Outcome out = inChild(kLab, replacedAndRestored);
   CHECK_EQ(out.failures, 0);
   CHECK_STR(out.errors.c_str(), "");
}

void testRefusedTopologies() {
   struct {
      char const *text;
      char const *error;
   } const cases[] = {
       {R"({"switches": [{"name": "a", "ports": [{"name": "p", "mac": {"lerned": 1}}]}]})",
        "switches[0].ports[0].mac.lerned: unknown setting"},
       {R"({"vlans": {}})", "vlans: unknown setting"},
       {R"({"switches": [{"name": "a", "kernel": {"mtu": -1}}]})",
        "switches[0].kernel.mtu: negative value -1"},
       {R"({"switches": [{"name": "a", "kernel": {"mtu": "big"}}]})",
        "switches[0].kernel.mtu: expected an integer, found string"},
       {R"({"switches": [{"name": "a", "ports": [{"name": "p", "ports": {"vlan": 4096}}]}]})",
        "switches[0].ports[0].ports.vlan: 4096 is more than 4095"},
       {R"({"switches": [{"name": "a"}, {"name": "a"}]})",
        "switches[1].name: switch a already exists"},
       {R"({"switches": [{"name": "a", "alias": "x"}]})", "only distributed switches have aliases"},
       {R"({"switches": [{"name": "a", "distributed": true}]})",
        "switches[0].kernel.dvsName: a distributed switch needs one"},
       {R"({"switches": [{"name": "a", "ports": [{"name": "17"}]}]})", "not a number"},
       {R"({"switches": [{"name": "a", "ports": [{"name": "p", "type": "nic"}]}]})",
        "switches[0].ports[0].type: \"nic\" is none of"},
       {R"({"switches": [{"name": "a", "mac": {"entries": [{"port": "q", "address": "02:00:00:00:00:01"}]},
            "ports": [{"name": "p"}]}]})",
        "switches[0].mac.entries[0].port: no port q"},
       {R"({"switches": [{"name": "a", "mac": {"entries": [{"port": "p", "address": "02:00:00:00:00"}]},
            "ports": [{"name": "p"}]}]})",
        "is not a MAC address"},
       {R"({"switches": [{"name": "a", "kernel": {"vlanUseCounts": {"4096": 1}}}]})",
        "switches[0].kernel.vlanUseCounts: key \"4096\" is not a number from 0 to 4095"},
       {R"({"switches": [{"name": "a", "ports": [{"name": "p", "mac": {"learned": 4097}}]}]})",
        "switches[0].ports[0].mac.learned: 4097 is more than 4096"},
       {R"({"switches": [{"name": "a", "kernel": {"maxPorts": 0}, "ports": [{"name": "p"}]}]})",
        "switches[0].kernel.maxPorts: fewer than"},
       {R"({"switches": [)", "parse error"},
   };
   for (auto const &c : cases) {
      Outcome out = inChild(c.text, emptyHost);
      CHECK_EQ(out.failures, 0);
      if (out.errors.find("topology not loaded") == std::string::npos ||
          out.errors.find(c.error) == std::string::npos) {
         fprintf(stderr, "expected \"%s\" in: %s\n", c.error, out.errors.c_str());
         ++check::failures;
      }
   }
   Outcome out = inChild(nullptr, emptyHost, "/nonexistent/topology.json");
   CHECK(out.errors.find("/nonexistent/topology.json: cannot be opened") != std::string::npos);
}

/* The control call adds a switch that every view sees, whole or not at all;
 * a reset removes it. */
void testAddedSwitch() {
   CHECK_EQ(tessel_sim_add_switch("bench-ports", 300, 1000), 0);
   CHECK_EQ(switchCount(), 5);
   char const *const refused[] = {"bench-ports", "switch0", nullptr, ""};
   for (char const *name : refused)
      CHECK_EQ(tessel_sim_add_switch(name, 10, 0), -1);
   CHECK_EQ(tessel_sim_add_switch(std::string(128, 'b').c_str(), 10, 0), -1);
   CHECK_EQ(tessel_sim_add_switch("no-ports", 0, 0), -1);
   CHECK_EQ(tessel_sim_add_switch("too-many", 4096, 131073), -1);
   /* Refused by the last subsystem to fill, after the others took their
    * share: what they kept must not reach the next switch. */
   CHECK_EQ(tessel_sim_add_switch("too-dense", 3, 3 * 4096 + 1), -1);
   CHECK_EQ(tessel_sim_add_switch("two-ports", 2, 10), 0);
   VSInfo info;
   CHECK_EQ(VSHYX_GetVSInfo("two-ports", &info), HYX_OK);
   CHECK(info.activePorts == 2 && info.maxPorts == 2);
   CHECK_EQ(VSHYX_GetVSInfo("too-dense", &info), HYX_NOT_FOUND);
   VSPortInfo *port = nullptr;
   CHECK_EQ(VSHYX_GetPortInfo("two-ports", "vm-1.eth0", &port), HYX_OK);
   CHECK(port != nullptr && port->vlan.defaultVID == 2);
   VSHYX_FreeMemory(port);
   tessel_sim_reset();
   CHECK_EQ(switchCount(), 4);
}

/* A top-level key another library contributes: what its load was given
 * ("-" for an absent key) and how often. */
std::string g_keyText;
int g_keyLoads = 0;

int keyLoad(char const *json, char *error, size_t errorSize) {
   ++g_keyLoads;
   g_keyText = json != nullptr ? json : "-";
   if (json != nullptr && strstr(json, "refuse") != nullptr) {
      snprintf(error, errorSize, "refused here");
      return -1;
   }
   return 0;
}

char *keyDump() { return strdup(R"({"kept":true})"); }

void testContributedKey() {
   tessel_sim_add_topology_key("extra", keyLoad, keyDump);
   char error[256] = "";
   CHECK_EQ(tessel_sim_load_topology(R"({"extra": {"a": 1}, "switches": []})", "doc", error,
                                     sizeof error),
            0);
   CHECK_STR(g_keyText.c_str(), R"({"a":1})");
   CHECK_EQ(switchCount(), 0);
   /* The dump carries the key as the library writes it. */
   char *dump = tessel_sim_dump_topology();
   CHECK(dump != nullptr && strstr(dump, "\"extra\": {\n    \"kept\": true") != nullptr);
   VSHYX_FreeMemory(dump);
   /* A reset hands the key over again. */
   g_keyText.clear();
   tessel_sim_reset();
   CHECK_STR(g_keyText.c_str(), R"({"a":1})");
   /* A key the library refuses fails the load with the library's message. */
   CHECK_EQ(tessel_sim_load_topology(R"({"extra": "refuse", "switches": []})", "doc", error,
                                     sizeof error),
            -1);
   CHECK_STR(error, "doc: extra: refused here");
   /* Back to the topology the process started with, which has no such key. */
   CHECK_EQ(tessel_sim_load_topology(nullptr, nullptr, error, sizeof error), 0);
   CHECK_STR(g_keyText.c_str(), "-");
   CHECK_EQ(switchCount(), 4);
   CHECK(g_keyLoads >= 4);
}

/* An injected status needs no exception guard: the shell returns it without
 * running the function, once. */
void testInjectedStatusWithoutTheModule() {
   VSInfo info;
   memset(&info, 0xAB, sizeof info);
   CHECK_EQ(tessel_sim_inject_status("VSHYX_GetVSInfo", HYX_BUSY), 0);
   CHECK_EQ(VSHYX_GetVSInfo("switch0", &info), HYX_BUSY);
   CHECK(check::allBytes(&info, sizeof info, 0xAB));
   CHECK_EQ(VSHYX_GetVSInfo("switch0", &info), HYX_OK);
}

} // namespace

int main() {
   testReplacedTopology();
   testRefusedTopologies();
   testAddedSwitch();
   testInjectedStatusWithoutTheModule();
   testContributedKey();
   CHECK_EQ(tessel_sim_outstanding_blocks(), 0);
   return check::finish("topology_test");
}
