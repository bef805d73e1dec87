/* The overlay subsystem's state of a switch as its topology settings. */
#include "dump_support.h"
#include "overlay_model.h"

namespace tessel {

void OverlayComponent::dumpSwitch(Host const &, Switch const &sw, json &out,
                                  std::vector<json> &) const {
   OverlayState const &state = of(sw);
   if (!state.endpoints.empty()) {
      json list = json::array();
      for (auto const &tep : state.endpoints) {
         json e = {{"address", ipText(tep.address.data(), tep.ipv6)},
                   {"mac", macText(tep.mac)},
                   {"refCount", tep.refCount}};
         putUnlessDefault(e, "entryType", tep.entryType, 0u);
         list.push_back(std::move(e));
      }
      out["endpoints"] = std::move(list);
   }
   if (!state.rdma.empty()) {
      json list = json::array();
      for (auto const &set : state.rdma) {
         json ids = json::array();
         for (auto const &id : set.ids)
            ids.push_back(ipText(reinterpret_cast<uint8_t const *>(id.rdmaId),
                                 id.idType == VS_RDMA_ID_TYPE_IPV6));
         /* One VLAN for the set's identifiers, and the ones that differ. */
         json e = {{"port", sw.ports[set.port].clientName},
                   {"tenant", set.tenant},
                   {"ids", ids},
                   {"created", set.created}};
         uint16_t const vlan = set.ids.empty() ? 0 : set.ids[0].vlanID;
         putUnlessDefault(e, "vlan", vlan, 0);
         json own = json::object();
         for (size_t i = 0; i < set.ids.size(); ++i)
            if (set.ids[i].vlanID != vlan)
               own[std::to_string(i)] = set.ids[i].vlanID;
         if (!own.empty())
            e["idVlans"] = std::move(own);
         putUnlessDefault(e, "vtepLabel", set.vtepLabel, 0u);
         putUnlessDefault(e, "remote", set.remote, false);
         putUnlessDefault(e, "postponeTime", set.postponeTime, 0);
         list.push_back(std::move(e));
      }
      out["rdmaIds"] = std::move(list);
   }
   out["rdmaEnabled"] = state.rdmaEnabled;
   putUnlessDefault(out, "snicEnabled", state.snicEnabled, false);
   putUnlessDefault(out, "snicOwnVtep", state.snicOwnVtep, false);
}

} // namespace tessel
