/* The mirror subsystem's state: the mirror sessions each distributed switch
 * keeps, as the records of the session table (each session with its own
 * entities, filter rules and prefixes), and the version of the table they
 * were last given in. */
#ifndef TESSEL_HOST_MIRROR_MODEL_H
#define TESSEL_HOST_MIRROR_MODEL_H

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "hostapi/mirror.h"
#include "hostapi/status.h"
#include "model.h"

namespace tessel {

struct MirrorSession {
   /* startIdx and startRuleIdx are renumbered whenever a table is made. */
   DVMirrorSession record{};
   /* Destinations, then ingress sources, then egress sources. */
   std::vector<DVMirrorEntity> entities;
   std::vector<DVMirrorFilterRule> rules;
   /* The prefixes of the rules, each rule's startIPIdx relative to these. */
   std::vector<DVMirrorIpPrefix> prefixes;

   std::string sid() const;
   bool enabled() const { return (record.flags & VS_DVMIRROR_FLAG_DISABLED) == 0; }
   bool legacy() const { return (record.flags & VS_DVMIRROR_FLAG_LEGACY) != 0; }
};

struct MirrorState {
   std::vector<MirrorSession> sessions;
   uint32_t version = VS_DVMIRROR_VERSION_V4;
   /* The session table as the Get call hands it out, made again on the
    * first Get after a change of the sessions (which sets tableStale). */
   std::vector<unsigned char> table;
   bool tableStale = true;
};

/* The state's session table, made again when it is stale. */
std::vector<unsigned char> const &sessionTable(MirrorState &state);

class MirrorComponent : public ComponentOf<MirrorState> {
 public:
   void addSwitch(Host &host, Switch const &sw, SwitchSettings &settings) override;
   void dumpSwitch(Host const &host, Switch const &sw, nlohmann::json &onSwitch,
                   std::vector<nlohmann::json> &onPorts) const override;
};

/* A session as the topology's "sessions" list describes it; throws
 * TopologyError. */
MirrorSession topologySession(Switch const &sw, Settings &in);

/* Reads the sessions of a dump (the "table" setting, the session table's
 * bytes in hexadecimal) into state. */
void readMirrorTableSetting(Switch const &sw, Settings &in, MirrorState &state);

/* Reads the session table at block: HYX_OK with its sessions and version,
 * or HYX_BAD_PARAM for a table that is malformed (see hostapi/mirror.h).
 * Reads no byte past the extent the header gives, nor past the header when
 * the header itself is refused. */
HYX_ReturnStatus readMirrorTable(void const *block, std::vector<MirrorSession> &sessions,
                                 uint32_t &version);
/* The bytes of the table that carries sessions. */
size_t mirrorTableSize(std::vector<MirrorSession> const &sessions);
/* Writes the table of sessions into block (mirrorTableSize bytes). */
void writeMirrorTable(std::vector<MirrorSession> const &sessions, uint32_t version, void *block);

} // namespace tessel

#endif
