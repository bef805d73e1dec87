/* The exported tunnel-endpoint and RDMA functions of libtessel.so. */
#include <string.h>

#include <set>
#include <string>

#include "api_support.h"
#include "hostapi/overlay.h"
#include "hostapi/vlan.h"
#include "overlay_model.h"

namespace tessel {
namespace {

OverlayComponent &overlay() { return Host::instance().component<OverlayComponent>(); }

/* The endpoint a caller's entry names: its address in the form isIPv6 says;
 * false for a bad isIPv6 or an address of zero. */
bool endpointKey(VSRemoteTepEntry const &e, bool &ipv6, IpBytes &address) {
   if (!readBool(e.isIPv6, ipv6))
      return false;
   address = IpBytes{};
   memcpy(address.data(), &e, ipv6 ? 16 : 4);
   return address != IpBytes{};
}

TunnelEndpoint *findEndpoint(OverlayState &state, bool ipv6, IpBytes const &address) {
   for (auto &tep : state.endpoints) {
      if (tep.ipv6 == ipv6 && tep.address == address)
         return &tep;
   }
   return nullptr;
}

HYX_ReturnStatus getRemoteTepTable(char const *switchName, VSRemoteTepEntries **table) noexcept {
   if (table == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      auto const &teps = overlay().of(sw).endpoints;
      unsigned char *block =
          allocTable(static_cast<uint32_t>(teps.size()), sizeof(VSRemoteTepEntry));
      if (block == nullptr)
         return HYX_NO_MEMORY;
      for (size_t i = 0; i < teps.size(); ++i) {
         VSRemoteTepEntry e;
         memset(&e, 0, sizeof e);
         memcpy(&e, teps[i].address.data(), 16);
         memcpy(e.dstMAC, teps[i].mac.data(), 6);
         e.isIPv6 = teps[i].ipv6 ? 1 : 0;
         e.refCnt = teps[i].refCount;
         e.entryType = teps[i].entryType;
         memcpy(block + 8 + i * sizeof e, &e, sizeof e);
      }
      *table = reinterpret_cast<VSRemoteTepEntries *>(block);
      return HYX_OK;
   });
}

HYX_ReturnStatus setRemoteTep(char const *switchName, VSRemoteTepEntry const *entry) noexcept {
   if (entry == nullptr)
      return HYX_BAD_PARAM;
   VSRemoteTepEntry e;
   memcpy(&e, entry, sizeof e);
   bool ipv6 = false;
   IpBytes address;
   MacAddress mac;
   memcpy(mac.data(), e.dstMAC, 6);
   if (!endpointKey(e, ipv6, address) || (mac[0] & 1) != 0 || mac == MacAddress{})
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      OverlayState &state = overlay().of(sw);
      if (TunnelEndpoint *tep = findEndpoint(state, ipv6, address)) {
         if (tep->mac != mac)
            return HYX_EXISTS;
         if (tep->refCount == UINT32_MAX)
            return HYX_LIMIT_EXCEEDED;
         ++tep->refCount;
         return HYX_OK;
      }
      if (state.endpoints.size() >= VS_REMOTE_TEP_MAX)
         return HYX_LIMIT_EXCEEDED;
      TunnelEndpoint tep;
      tep.ipv6 = ipv6;
      tep.address = address;
      tep.mac = mac;
      tep.entryType = e.entryType;
      state.endpoints.push_back(tep);
      return HYX_OK;
   });
}

HYX_ReturnStatus clearRemoteTep(char const *switchName, VSRemoteTepEntry const *entry) noexcept {
   if (entry == nullptr)
      return HYX_BAD_PARAM;
   VSRemoteTepEntry e;
   memcpy(&e, entry, sizeof e);
   bool ipv6 = false;
   IpBytes address;
   if (!endpointKey(e, ipv6, address))
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      OverlayState &state = overlay().of(sw);
      TunnelEndpoint *tep = findEndpoint(state, ipv6, address);
      if (tep == nullptr)
         return HYX_NOT_FOUND;
      if (--tep->refCount == 0)
         state.endpoints.erase(state.endpoints.begin() + (tep - state.endpoints.data()));
      return HYX_OK;
   });
}

std::string tenantOf(char const (&field)[VS_RDMA_TENANT_ID_LEN]) {
   return std::string(field, strnlen(field, sizeof field));
}

/* The port the request's portID names and its tenant; HYX_NOT_FOUND for a
 * port ID not of the switch, HYX_BAD_PARAM for an empty tenant. */
HYX_ReturnStatus requestKey(Switch &sw, VSSetRdmaEntry const &e, uint32_t &port,
                            std::string &tenant) {
   tenant = tenantOf(e.tenantID);
   if (tenant.empty())
      return HYX_BAD_PARAM;
   Port const *p = sw.findPort(std::to_string(e.portID).c_str());
   if (p == nullptr)
      return HYX_NOT_FOUND;
   port = p->index;
   return HYX_OK;
}

HYX_ReturnStatus checkRdmaId(VSRdmaID &id) {
   size_t const len = id.idType == VS_RDMA_ID_TYPE_IPV4   ? 4
                      : id.idType == VS_RDMA_ID_TYPE_IPV6 ? 16
                                                          : 0;
   if (len == 0 || (id.idLen != 0 && id.idLen != len))
      return HYX_BAD_PARAM;
   if (id.vlanID > VS_VLAN_ID_MAX)
      return HYX_LIMIT_EXCEEDED;
   IpBytes address{};
   memcpy(address.data(), id.rdmaId, len);
   if (address == IpBytes{})
      return HYX_BAD_PARAM;
   id.idLen = static_cast<hyx_uint16>(len);
   id.pad = 0;
   if (len == 4)
      memset(reinterpret_cast<char *>(id.rdmaId) + 4, 0, 12);
   return HYX_OK;
}

HYX_ReturnStatus setRdmaTable(char const *switchName, VSSetRdmaEntry const *entry) noexcept {
   if (entry == nullptr)
      return HYX_BAD_PARAM;
   auto e = std::make_unique<VSSetRdmaEntry>();
   memcpy(e.get(), entry, sizeof *e);
   bool remote = false;
   if (e->numIDs == 0 || !readBool(e->remoteEntry, remote))
      return HYX_BAD_PARAM;
   if (e->numIDs > VS_RDMA_MAX_IDS)
      return HYX_LIMIT_EXCEEDED;
   RdmaSet set;
   set.remote = remote;
   set.vtepLabel = e->vtepLabel;
   set.postponeTime = e->postponeTime;
   for (uint32_t i = 0; i < e->numIDs; ++i) {
      VSRdmaID id;
      memcpy(&id, &e->ids[i], sizeof id);
      HYX_ReturnStatus status = checkRdmaId(id);
      if (status != HYX_OK)
         return status;
      set.ids.push_back(id);
   }
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      HYX_ReturnStatus status = requestKey(sw, *e, set.port, set.tenant);
      if (status != HYX_OK)
         return status;
      OverlayState &state = overlay().of(sw);
      size_t others = 0;
      RdmaSet *existing = nullptr;
      for (auto &s : state.rdma) {
         if (s.port == set.port && s.tenant == set.tenant)
            existing = &s;
         else
            others += s.ids.size();
      }
      if (others + set.ids.size() > VS_RDMA_ENTRIES_MAX)
         return HYX_LIMIT_EXCEEDED;
      set.created = Host::instance().tick();
      if (existing != nullptr)
         *existing = std::move(set);
      else
         state.rdma.push_back(std::move(set));
      updateRdmaCounts(Host::instance(), sw);
      return HYX_OK;
   });
}

HYX_ReturnStatus clearPortRdmaTable(char const *switchName, VSSetRdmaEntry const *entry) noexcept {
   if (entry == nullptr)
      return HYX_BAD_PARAM;
   VSSetRdmaEntry head;
   /* Only the header is read: port and tenant. */
   memcpy(&head, entry, offsetof(VSSetRdmaEntry, ids));
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      uint32_t port = 0;
      std::string tenant;
      HYX_ReturnStatus status = requestKey(sw, head, port, tenant);
      if (status != HYX_OK)
         return status;
      auto &rdma = overlay().of(sw).rdma;
      for (size_t i = 0; i < rdma.size(); ++i) {
         if (rdma[i].port == port && rdma[i].tenant == tenant) {
            rdma.erase(rdma.begin() + static_cast<ptrdiff_t>(i));
            updateRdmaCounts(Host::instance(), sw);
            return HYX_OK;
         }
      }
      return HYX_NOT_FOUND;
   });
}

HYX_ReturnStatus getRdmaTable(char const *switchName, VSRdmaEntries **table) noexcept {
   if (table == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      auto const &rdma = overlay().of(sw).rdma;
      uint32_t count = 0;
      for (auto const &s : rdma)
         count += static_cast<uint32_t>(s.ids.size());
      unsigned char *block = allocTable(count, sizeof(VSGetRdmaEntry));
      if (block == nullptr)
         return HYX_NO_MEMORY;
      unsigned char *slot = block + 8;
      uint32_t const now = Host::instance().now();
      for (auto const &s : rdma) {
         for (auto const &id : s.ids) {
            VSGetRdmaEntry e;
            memset(&e, 0, sizeof e);
            e.portID = sw.ports[s.port].id;
            e.numIDs = static_cast<hyx_uint32>(s.ids.size());
            memcpy(e.tenantID, s.tenant.data(), s.tenant.size());
            e.vtepLabel = s.vtepLabel;
            e.elapsed = now - s.created;
            e.remoteEntry = s.remote ? 1 : 0;
            e.postponeTime = s.postponeTime;
            e.entryType = s.remote ? 1 : 0;
            memcpy(&e.id, &id, sizeof id);
            memcpy(slot, &e, sizeof e);
            slot += sizeof e;
         }
      }
      *table = reinterpret_cast<VSRdmaEntries *>(block);
      return HYX_OK;
   });
}

HYX_ReturnStatus getTenantTable(char const *switchName, VSTenantEntries **table) noexcept {
   if (table == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      auto const &rdma = overlay().of(sw).rdma;
      unsigned char *block = allocTable(static_cast<uint32_t>(rdma.size()), sizeof(VSTenantEntry));
      if (block == nullptr)
         return HYX_NO_MEMORY;
      for (size_t i = 0; i < rdma.size(); ++i) {
         VSTenantEntry e;
         memset(&e, 0, sizeof e);
         e.portID = sw.ports[rdma[i].port].id;
         for (auto const &s : rdma)
            e.numPorts += s.tenant == rdma[i].tenant ? 1 : 0;
         memcpy(e.tenantID, rdma[i].tenant.data(), rdma[i].tenant.size());
         memcpy(block + 8 + i * sizeof e, &e, sizeof e);
      }
      *table = reinterpret_cast<VSTenantEntries *>(block);
      return HYX_OK;
   });
}

HYX_ReturnStatus setRdma(char const *switchName, hyx_Bool enabled) noexcept {
   bool on = false;
   if (!readBool(enabled, on))
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) {
      overlay().of(sw).rdmaEnabled = on;
      return HYX_OK;
   });
}

HYX_ReturnStatus setRdmaSnic(char const *switchName, hyx_Bool enabled, hyx_Bool ownVtep) noexcept {
   bool on = false, own = false;
   if (!readBool(enabled, on) || !readBool(ownVtep, own))
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) {
      OverlayState &state = overlay().of(sw);
      state.snicEnabled = on;
      state.snicOwnVtep = own;
      return HYX_OK;
   });
}

} // namespace
} // namespace tessel

TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetRemoteTepTable,
                (char const *switchName, VSRemoteTepEntries **table),
                tessel::getRemoteTepTable(switchName, table))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_SetRemoteTepTable,
                (char const *switchName, VSRemoteTepEntry const *entry),
                tessel::setRemoteTep(switchName, entry))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_ClearRemoteTepTable,
                (char const *switchName, VSRemoteTepEntry const *entry),
                tessel::clearRemoteTep(switchName, entry))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_SetRdmaTable,
                (char const *switchName, VSSetRdmaEntry const *entry),
                tessel::setRdmaTable(switchName, entry))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_ClearPortRdmaTable,
                (char const *switchName, VSSetRdmaEntry const *entry),
                tessel::clearPortRdmaTable(switchName, entry))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetRdmaTable,
                (char const *switchName, VSRdmaEntries **table),
                tessel::getRdmaTable(switchName, table))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetTenantTable,
                (char const *switchName, VSTenantEntries **table),
                tessel::getTenantTable(switchName, table))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_SetRdma, (char const *switchName, hyx_Bool enabled),
                tessel::setRdma(switchName, enabled))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_SetRdmaSNIC,
                (char const *switchName, hyx_Bool enabled, hyx_Bool ownVtep),
                tessel::setRdmaSnic(switchName, enabled, ownVtep))
