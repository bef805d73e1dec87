/* The overlay subsystem's state: each switch's remote tunnel endpoints, the
 * RDMA identifiers of its ports by tenant and its RDMA settings.  The switch
 * summary's RDMA counts follow the RDMA table. */
#ifndef TESSEL_HOST_OVERLAY_MODEL_H
#define TESSEL_HOST_OVERLAY_MODEL_H

#include <stdint.h>

#include <array>
#include <string>
#include <vector>

#include "hostapi/overlay.h"
#include "model.h"

namespace tessel {

using IpBytes = std::array<uint8_t, 16>;

struct TunnelEndpoint {
   bool ipv6 = false;
   /* IPv4 addresses use the first four bytes; the others are zero. */
   IpBytes address{};
   MacAddress mac{};
   uint32_t refCount = 1;
   uint32_t entryType = 0;
};

/* The identifiers one port has for one tenant. */
struct RdmaSet {
   uint32_t port = 0;
   /* The tenant id's bytes, without trailing NULs. */
   std::string tenant;
   uint32_t vtepLabel = 0;
   bool remote = false;
   uint16_t postponeTime = 0;
   uint32_t created = 0;
   std::vector<VSRdmaID> ids;
};

struct OverlayState {
   std::vector<TunnelEndpoint> endpoints;
   std::vector<RdmaSet> rdma;
   bool rdmaEnabled = false;
   bool snicEnabled = false;
   bool snicOwnVtep = false;
};

class OverlayComponent : public ComponentOf<OverlayState> {
 public:
   void addSwitch(Host &host, Switch const &sw, SwitchSettings &settings) override;
   /* The RDMA identifiers of a port that leaves go with it. */
   void removePort(Host &host, Switch const &sw, uint32_t index) override;
   void dumpSwitch(Host const &host, Switch const &sw, nlohmann::json &onSwitch,
                   std::vector<nlohmann::json> &onPorts) const override;
};

/* Writes the RDMA counts of the switch summary from the switch's table. */
void updateRdmaCounts(Host &host, Switch const &sw);

} // namespace tessel

#endif
