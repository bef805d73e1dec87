/* The exported static LE context functions of libtessel.so.  The contexts
 * are read off the MAC table, so they always agree with it: one context per
 * static or user address, port, kind and network, with a bit for each VLAN
 * the address is static on. */
#include <string.h>

#include <map>
#include <tuple>
#include <vector>

#include "api_support.h"
#include "hostapi/mac.h"
#include "kernel_model.h"
#include "mac_model.h"
#include "ports_model.h"

namespace tessel {
namespace {

struct Context {
   MacAddress mac{};
   uint32_t port = 0;
   MacKind kind = kMacStatic;
   uint32_t vni = 0;
   VSVLANBitmap vlans{};
};

/* The contexts of the switch's static and user entries on the ports
 * onPort(port index) accepts, in the order of their first entry. */
template <typename Pred> std::vector<Context> contextsOf(Switch const &sw, Pred onPort) {
   using Key = std::tuple<MacAddress, uint32_t, uint8_t, uint32_t>;
   std::vector<Context> contexts;
   std::map<Key, size_t> byKey;
   for (auto const &r : Host::instance().component<MacComponent>().of(sw).macs.records()) {
      if (r.kind == kMacLearned || !onPort(r.port))
         continue;
      Key key{r.key.mac, r.port, r.kind, r.key.vni};
      auto found = byKey.find(key);
      if (found == byKey.end()) {
         found = byKey.emplace(key, contexts.size()).first;
         Context c;
         c.mac = r.key.mac;
         c.port = r.port;
         c.kind = r.kind;
         c.vni = r.key.vni;
         contexts.push_back(c);
      }
      uint16_t const vid = r.key.vid;
      contexts[found->second].vlans.bits[vid / 64] |= 1ull << (vid % 64);
   }
   return contexts;
}

void fillContext(Host &host, Switch const &sw, Context const &c, unsigned char *dst) {
   Port const &port = sw.ports[c.port];
   PortState const &p = host.component<PortsComponent>().of(sw, port);
   VSStaticLEEntry e;
   memset(&e, 0, sizeof e);
   memcpy(&e.vlanBitmap, &c.vlans, sizeof c.vlans);
   e.isTrunkVNI = c.vni != 0 && p.vlan == kTrunkVlan;
   uint32_t const vdr = host.component<KernelComponent>().of(sw).vdrPortId;
   e.isVdrMac = vdr != 0 && vdr == port.id;
   e.vni = c.vni;
   memcpy(e.macAddress, c.mac.data(), 6);
   e.macAddrType = static_cast<VSMACAddrType>(c.kind);
   e.portID = port.id;
   memcpy(dst, &e, sizeof e);
}

template <typename Pred>
HYX_ReturnStatus handOut(Switch const &sw, Pred onPort, VSStaticLeCtxEntries **entries) {
   Host &host = Host::instance();
   std::vector<Context> const contexts = contextsOf(sw, onPort);
   unsigned char *block =
       allocTable(static_cast<uint32_t>(contexts.size()), sizeof(VSStaticLEEntry));
   if (block == nullptr)
      return HYX_NO_MEMORY;
   for (size_t i = 0; i < contexts.size(); ++i)
      fillContext(host, sw, contexts[i], block + 8 + i * sizeof(VSStaticLEEntry));
   *entries = reinterpret_cast<VSStaticLeCtxEntries *>(block);
   return HYX_OK;
}

HYX_ReturnStatus getStaticLectx(char const *switchName, VSStaticLeCtxEntries **entries) noexcept {
   if (entries == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(
       switchName, [&](Switch &sw) { return handOut(sw, [](uint32_t) { return true; }, entries); });
}

HYX_ReturnStatus getPortStaticLectx(char const *switchName, char const *portName,
                                    VSStaticLeCtxEntries **entries) noexcept {
   if (entries == nullptr)
      return HYX_BAD_PARAM;
   return withPort(switchName, portName, [&](Switch &sw, Port &port) {
      uint32_t const index = port.index;
      return handOut(sw, [index](uint32_t p) { return p == index; }, entries);
   });
}

} // namespace
} // namespace tessel

TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetStaticLectx,
                (char const *switchName, VSStaticLeCtxEntries **entries),
                tessel::getStaticLectx(switchName, entries))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetPortStaticLectx,
                (char const *switchName, char const *portName, VSStaticLeCtxEntries **entries),
                tessel::getPortStaticLectx(switchName, portName, entries))
