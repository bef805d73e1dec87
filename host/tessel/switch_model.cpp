#include "switch_model.h"

#include <stdio.h>
#include <string.h>

#include <stdexcept>
#include <utility>

#include "sim_internal.h"

namespace tessel {

namespace {

/* Stores value at a byte offset of the packed record; the record's fields are
 * unaligned, so they are written by copy, never through a typed pointer. */
template <typename T> void put(VSInfo *info, size_t offset, T value) {
   memcpy(reinterpret_cast<char *>(info) + offset, &value, sizeof value);
}

#define PUT_FIELD(info, field, value)                                                              \
   put<decltype(VSInfo::field)>(info, offsetof(VSInfo, field), value)

/* add() keeps every text shorter than its field, so the record's zero fill
 * terminates it. */
void putText(VSInfo *info, size_t offset, std::string const &text) {
   memcpy(reinterpret_cast<char *>(info) + offset, text.data(), text.size());
}

void requireFits(std::string const &text, size_t width, char const *what) {
   if (text.size() >= width || text.find('\0') != std::string::npos)
      throw std::invalid_argument(std::string(what) + " does not fit its host field");
}

void resetHook() {
   try {
      SwitchModel::reset();
   } catch (std::exception const &e) {
      fprintf(stderr, "libtessel: switch model not restored: %s\n", e.what());
   }
}

/* Builds the model when the library is loaded and lets tessel_sim_reset
 * restore it. */
struct LoadTimeSetup {
   LoadTimeSetup() {
      SwitchModel::instance();
      tessel_sim_add_reset_hook(resetHook);
   }
   ~LoadTimeSetup() { tessel_sim_remove_reset_hook(resetHook); }
} g_loadTimeSetup;

} // namespace

SwitchModel &SwitchModel::instance() {
   /* Never destroyed: a late call during process exit still finds it. */
   static SwitchModel *model = new SwitchModel(builtIn());
   return *model;
}

void SwitchModel::reset() {
   SwitchModel fresh = builtIn();
   std::swap(instance(), fresh);
}

SwitchModel SwitchModel::builtIn() {
   SwitchModel model;

   VirtualSwitch vs0;
   vs0.portsetName = "vSwitch0";
   vs0.mtu = 1500;
   vs0.minValidVlan = 0;
   vs0.maxValidVlan = 4094;
   vs0.maxPorts = 128;
   vs0.activePorts = 6;
   vs0.flags = 0x1;
   vs0.vlanUseCounts = {{0, 4}, {10, 2}};
   model.add(std::move(vs0));

   VirtualSwitch vs1;
   vs1.portsetName = "vSwitch1";
   vs1.mtu = 9000;
   vs1.minValidVlan = 1;
   vs1.maxValidVlan = 4094;
   vs1.maxPorts = 64;
   vs1.activePorts = 3;
   vs1.flags = 0x1;
   vs1.vlanUseCounts = {{20, 1}, {30, 2}};
   model.add(std::move(vs1));

   VirtualSwitch dvs;
   dvs.portsetName = "DvsPortset-0";
   dvs.distributed = true;
   dvs.alias = "dvs-prod";
   dvs.dvsName = "50 1f 2a 3b 4c 5d 6e 7f-80 91 a2 b3 c4 d5 e6 f7";
   dvs.zarId = "zar-7c1e-0042";
   dvs.mtu = 9000;
   dvs.minValidVlan = 0;
   dvs.maxValidVlan = 4094;
   dvs.maxPorts = 1024;
   dvs.activePorts = 17;
   dvs.numSinkPorts = 1;
   dvs.assocMacFilterEnabled = true;
   dvs.flags = 0x3;
   dvs.vlanUseCounts = {{0, 9}, {100, 3}, {200, 2}, {4095, 1}};
   dvs.numServiceVmPorts = 1;
   dvs.vdrPortId = 0x4000002;
   dvs.numRdmaEntries = 2;
   dvs.numRdmaTenantEntries = 1;
   model.add(std::move(dvs));

   VirtualSwitch lab;
   lab.portsetName = "DvsPortset-1";
   lab.distributed = true;
   lab.alias = "dvs-lab";
   lab.dvsName = "50 2a 91 c4 07 e3 5b 6d-19 8f 40 aa 23 71 ce 02";
   lab.zarId = "zar-7c1e-0043";
   lab.mtu = 1600;
   lab.minValidVlan = 0;
   lab.maxValidVlan = 4094;
   lab.maxPorts = 256;
   lab.activePorts = 4;
   lab.flags = 0x2;
   lab.vlanUseCounts = {{0, 2}, {300, 2}};
   model.add(std::move(lab));

   return model;
}

void SwitchModel::add(VirtualSwitch sw) {
   requireFits(sw.portsetName, VS_LIST_PS_ENTRY_LEN, "portset name");
   requireFits(sw.alias, VS_LIST_ALIAS_ENTRY_LEN, "alias");
   requireFits(sw.dvsName, sizeof(VSInfo::dvsName), "DVS name");
   requireFits(sw.zarId, sizeof(VSInfo::zarID), "zar id");
   if (sw.portsetName.empty())
      throw std::invalid_argument("switch without a portset name");
   if (!sw.distributed && !sw.alias.empty())
      throw std::invalid_argument("only distributed switches have aliases");
   for (auto const &use : sw.vlanUseCounts) {
      if (use.first >= VS_VLAN_ID_COUNT)
         throw std::invalid_argument("VLAN id out of range");
   }
   if (findByPortset(sw.portsetName.c_str()) != nullptr)
      throw std::invalid_argument("portset name already in use");
   if (!sw.alias.empty() && findByAlias(sw.alias.c_str()) != nullptr)
      throw std::invalid_argument("alias already in use");
   switches_.push_back(std::move(sw));
}

VirtualSwitch const *SwitchModel::findByPortset(char const *name) const {
   for (auto const &sw : switches_) {
      if (sw.portsetName == name)
         return &sw;
   }
   return nullptr;
}

VirtualSwitch const *SwitchModel::findByAlias(char const *alias) const {
   for (auto const &sw : switches_) {
      if (sw.distributed && !sw.alias.empty() && sw.alias == alias)
         return &sw;
   }
   return nullptr;
}

void fillSwitchInfo(VirtualSwitch const &sw, VSInfo *info) {
   memset(info, 0, sizeof *info);
   PUT_FIELD(info, mtu, sw.mtu);
   PUT_FIELD(info, maxValidVlan, sw.maxValidVlan);
   PUT_FIELD(info, minValidVlan, sw.minValidVlan);
   PUT_FIELD(info, activePorts, sw.activePorts);
   PUT_FIELD(info, maxPorts, sw.maxPorts);
   putText(info, offsetof(VSInfo, dvsName), sw.dvsName);
   putText(info, offsetof(VSInfo, zarID), sw.zarId);
   PUT_FIELD(info, numSinkPorts, sw.numSinkPorts);
   PUT_FIELD(info, isAssocMACFilterEnabled, sw.assocMacFilterEnabled ? 1 : 0);
   PUT_FIELD(info, flags, sw.flags);
   PUT_FIELD(info, isForwardingDisabled, sw.forwardingDisabled ? 1 : 0);
   for (auto const &use : sw.vlanUseCounts) {
      put<hyx_VlanID>(info, offsetof(VSInfo, overlayVlanUseCount) + use.first * sizeof(hyx_VlanID),
                      use.second);
   }
   PUT_FIELD(info, numServiceVmPorts, sw.numServiceVmPorts);
   PUT_FIELD(info, vdrPortID, sw.vdrPortId);
   PUT_FIELD(info, numRdmaEntries, sw.numRdmaEntries);
   PUT_FIELD(info, numRdmaTenantEntries, sw.numRdmaTenantEntries);
}

} // namespace tessel
