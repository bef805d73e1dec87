#include "overlay_model.h"

#include <arpa/inet.h>
#include <string.h>

#include <algorithm>
#include <set>

#include "hostapi/vlan.h"
#include "kernel_model.h"

namespace tessel {

TESSEL_COMPONENT(OverlayComponent, "overlay", "kernel");

namespace {

/* An IPv4 or IPv6 address in text; sets ipv6 to the form it had. */
IpBytes ipSetting(Settings &in, char const *key, bool &ipv6) {
   std::string const text = in.text(key, "");
   IpBytes bytes{};
   ipv6 = text.find(':') != std::string::npos;
   if (inet_pton(ipv6 ? AF_INET6 : AF_INET, text.c_str(), bytes.data()) != 1 || bytes == IpBytes{})
      in.fail("\"" + text + "\" is not an IPv4 or IPv6 address other than 0", key);
   return bytes;
}

TunnelEndpoint endpointSetting(Settings &in) {
   TunnelEndpoint tep;
   tep.address = ipSetting(in, "address", tep.ipv6);
   auto const mac = in.address("mac");
   if (!mac || (*mac)[0] & 1 || *mac == MacAddress{})
      in.fail("an endpoint needs a unicast MAC address", "mac");
   tep.mac = *mac;
   tep.refCount = in.number<uint32_t>("refCount", 1);
   if (tep.refCount == 0)
      in.fail("an endpoint has at least one user", "refCount");
   tep.entryType = in.number<uint32_t>("entryType", 0);
   return tep;
}

RdmaSet rdmaSetting(Switch const &sw, Settings &in, uint32_t clock) {
   RdmaSet set;
   std::string const portName = in.text("port", "");
   Port const *port = sw.findPort(portName.c_str());
   if (port == nullptr)
      in.fail("no port " + portName + " on the switch", "port");
   set.port = port->index;
   set.tenant = in.text("tenant", "");
   if (set.tenant.empty() || set.tenant.size() > VS_RDMA_TENANT_ID_LEN ||
       set.tenant.find('\0') != std::string::npos)
      in.fail("a tenant id is 1 to " + std::to_string(VS_RDMA_TENANT_ID_LEN) + " bytes", "tenant");
   uint16_t const vlan = in.number<uint16_t>("vlan", 0, VS_VLAN_ID_MAX);
   set.vtepLabel = in.number<uint32_t>("vtepLabel", 0);
   set.created = in.number<uint32_t>("created", clock);
   set.remote = in.flag("remote", false);
   set.postponeTime = in.number<uint16_t>("postponeTime", 0);
   for (auto const &text : in.texts("ids").value_or(std::vector<std::string>{})) {
      VSRdmaID id;
      memset(&id, 0, sizeof id);
      bool const ipv6 = text.find(':') != std::string::npos;
      if (inet_pton(ipv6 ? AF_INET6 : AF_INET, text.c_str(), id.rdmaId) != 1)
         in.fail("\"" + text + "\" is not an IPv4 or IPv6 address", "ids");
      id.idType = ipv6 ? VS_RDMA_ID_TYPE_IPV6 : VS_RDMA_ID_TYPE_IPV4;
      id.idLen = ipv6 ? 16 : 4;
      id.vlanID = vlan;
      set.ids.push_back(id);
   }
   if (set.ids.empty() || set.ids.size() > VS_RDMA_MAX_IDS)
      in.fail("a port has 1 to " + std::to_string(VS_RDMA_MAX_IDS) + " ids for a tenant", "ids");
   /* An identifier's own VLAN, by its position, where it differs. */
   for (auto const &own : in.numberMap("idVlans", VS_RDMA_MAX_IDS - 1, VS_VLAN_ID_MAX)) {
      if (own.first >= set.ids.size())
         in.fail("no identifier " + std::to_string(own.first), "idVlans");
      set.ids[own.first].vlanID = static_cast<hyx_uint16>(own.second);
   }
   return set;
}

} // namespace

void OverlayComponent::removePort(Host &host, Switch const &sw, uint32_t index) {
   auto &rdma = of(sw).rdma;
   rdma.erase(std::remove_if(rdma.begin(), rdma.end(),
                             [&](RdmaSet const &set) { return set.port == index; }),
              rdma.end());
   for (auto &set : rdma)
      if (set.port > index)
         --set.port;
   updateRdmaCounts(host, sw);
}

void OverlayComponent::addSwitch(Host &host, Switch const &sw, SwitchSettings &settings) {
   Settings &in = settings.onSwitch;
   OverlayState state;
   for (Settings *entry : in.list("endpoints"))
      state.endpoints.push_back(endpointSetting(*entry));
   for (Settings *entry : in.list("rdmaIds"))
      state.rdma.push_back(rdmaSetting(sw, *entry, host.now()));
   state.rdmaEnabled = in.flag("rdmaEnabled", !state.rdma.empty());
   state.snicEnabled = in.flag("snicEnabled", false);
   state.snicOwnVtep = in.flag("snicOwnVtep", false);
   switches_.push_back(std::move(state));
   /* A switch whose topology lists identifiers reports them; otherwise the
    * kernel's figures stand until the table changes. */
   if (!of(sw).rdma.empty())
      updateRdmaCounts(host, sw);
}

void updateRdmaCounts(Host &host, Switch const &sw) {
   OverlayState const &state = host.component<OverlayComponent>().of(sw);
   KernelState &k = host.component<KernelComponent>().of(sw);
   std::set<std::string> tenants;
   uint32_t ids = 0;
   for (auto const &set : state.rdma) {
      ids += static_cast<uint32_t>(set.ids.size());
      tenants.insert(set.tenant);
   }
   k.rdmaEntries = ids;
   k.rdmaTenantEntries = static_cast<uint32_t>(tenants.size());
}

} // namespace tessel
