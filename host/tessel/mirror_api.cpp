/* The exported mirror functions of libtessel.so: the session table of a
 * distributed switch, and what the running switch reports about it. */
#include <string.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "api_support.h"
#include "mirror_model.h"

namespace tessel {
namespace {

/* Both names must give the same distributed switch: its portset name and
 * its alias. */
HYX_ReturnStatus lookupMirrorSwitch(char const *switchName, char const *dvsName, Switch *&sw) {
   if (dvsName == nullptr)
      return HYX_BAD_PARAM;
   HYX_ReturnStatus status = lookupSwitch(switchName, sw);
   if (status != HYX_OK)
      return status;
   if (!sw->distributed || strnlen(dvsName, VS_LIST_ALIAS_ENTRY_LEN) >= VS_LIST_ALIAS_ENTRY_LEN ||
       sw->alias != dvsName)
      return HYX_BAD_PARAM;
   return HYX_OK;
}

template <typename Body>
HYX_ReturnStatus withMirror(char const *switchName, char const *dvsName, Body body) noexcept {
   return guarded([&]() -> HYX_ReturnStatus {
      Switch *sw = nullptr;
      HYX_ReturnStatus status = lookupMirrorSwitch(switchName, dvsName, sw);
      if (status != HYX_OK)
         return status;
      return body(Host::instance().component<MirrorComponent>().of(*sw));
   });
}

/* The rules and prefixes of all sessions must fit the 16-bit header counts. */
bool countsFit(std::vector<MirrorSession> const &sessions) {
   size_t rules = 0, prefixes = 0;
   for (auto const &s : sessions) {
      rules += s.rules.size();
      prefixes += s.prefixes.size();
   }
   return rules <= UINT16_MAX && prefixes <= UINT16_MAX;
}

HYX_ReturnStatus getSessions(char const *switchName, char const *dvsName,
                             DVMirrorSessionTable **table) noexcept {
   if (table == nullptr)
      return HYX_BAD_PARAM;
   return withMirror(switchName, dvsName, [&](MirrorState &state) -> HYX_ReturnStatus {
      std::vector<unsigned char> const &bytes = sessionTable(state);
      void *block = tessel_sim_block_alloc(bytes.size());
      if (block == nullptr)
         return HYX_NO_MEMORY;
      memcpy(block, bytes.data(), bytes.size());
      *table = static_cast<DVMirrorSessionTable *>(block);
      return HYX_OK;
   });
}

HYX_ReturnStatus setSessions(char const *switchName, char const *dvsName,
                             DVMirrorSessionTable *table, bool append) noexcept {
   return withMirror(switchName, dvsName, [&](MirrorState &state) -> HYX_ReturnStatus {
      std::vector<MirrorSession> given;
      uint32_t version = 0;
      HYX_ReturnStatus status = readMirrorTable(table, given, version);
      if (status != HYX_OK)
         return status;
      std::vector<MirrorSession> next;
      if (append) {
         std::set<std::string> have;
         for (auto const &s : state.sessions)
            have.insert(s.sid());
         for (auto const &s : given) {
            if (have.count(s.sid()) != 0)
               return HYX_EXISTS;
         }
         next = state.sessions;
      }
      next.insert(next.end(), given.begin(), given.end());
      if (next.size() > VS_DVMIRROR_SESSIONS_MAX || !countsFit(next))
         return HYX_LIMIT_EXCEEDED;
      size_t entities = 0;
      for (auto const &s : next)
         entities += s.entities.size();
      if (entities > VS_DVMIRROR_ENTITIES_MAX)
         return HYX_LIMIT_EXCEEDED;
      state.sessions = std::move(next);
      state.tableStale = true;
      state.version = version;
      Host::instance().tick();
      return HYX_OK;
   });
}

std::string sidText(char const *sid) { return std::string(sid, strnlen(sid, 32)); }

HYX_ReturnStatus removeSession(char const *switchName, char const *dvsName,
                               char const *sid) noexcept {
   if (sid == nullptr)
      return HYX_BAD_PARAM;
   return withMirror(switchName, dvsName, [&](MirrorState &state) -> HYX_ReturnStatus {
      std::string const wanted = sidText(sid);
      auto it = std::find_if(state.sessions.begin(), state.sessions.end(),
                             [&](MirrorSession const &s) { return s.sid() == wanted; });
      if (it == state.sessions.end())
         return HYX_NOT_FOUND;
      state.sessions.erase(it);
      state.tableStale = true;
      Host::instance().tick();
      return HYX_OK;
   });
}

HYX_ReturnStatus clearSessions(char const *switchName, char const *dvsName) noexcept {
   return withMirror(switchName, dvsName, [&](MirrorState &state) -> HYX_ReturnStatus {
      state.sessions.clear();
      state.tableStale = true;
      Host::instance().tick();
      return HYX_OK;
   });
}

/* The sessions of a switch as the running switch has them: a standard
 * switch has none. */
std::vector<MirrorSession> const &liveSessions(Switch const &sw) {
   return Host::instance().component<MirrorComponent>().of(sw).sessions;
}

HYX_ReturnStatus getSessionIds(char const *switchName, VSDVMirrorSessionIDs **list) noexcept {
   if (list == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      std::vector<std::string> ids;
      for (auto const &s : liveSessions(sw)) {
         if (s.enabled())
            ids.push_back(s.sid());
      }
      unsigned char *block = allocTable(static_cast<uint32_t>(ids.size()), 32);
      if (block == nullptr)
         return HYX_NO_MEMORY;
      for (size_t i = 0; i < ids.size(); ++i)
         memcpy(block + 8 + 32 * i, ids[i].data(), ids[i].size());
      *list = reinterpret_cast<VSDVMirrorSessionIDs *>(block);
      return HYX_OK;
   });
}

/* A stable number of a session identifier, for its figures. */
uint64_t sidSeed(std::string const &sid) {
   uint64_t seed = 0;
   for (unsigned char c : sid)
      seed = mix(seed ^ c);
   return seed;
}

HYX_ReturnStatus getSessionStats(char const *switchName, char const *sid,
                                 VSDVMirrorSessionStats *stats) noexcept {
   if (sid == nullptr || stats == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      std::string const wanted = sidText(sid);
      for (auto const &s : liveSessions(sw)) {
         if (s.sid() != wanted)
            continue;
         VSDVMirrorSessionStats out;
         memset(&out, 0, sizeof out);
         if (s.enabled()) {
            uint64_t seed = sidSeed(wanted) ^ sw.ordinal;
            /* Each source entity contributes its traffic. */
            uint64_t sources = s.record.numSrcInEntities + s.record.numSrcOutEntities;
            out.mirrorPktCnt = sources * (1000 + seed % 90000);
            out.mirrorPktFailCnt = (seed >> 20) % 7;
            out.discardedPkts = (seed >> 30) % 13;
            out.failedPkts = out.mirrorPktFailCnt;
            out.mirroredPkts = out.mirrorPktCnt - out.mirrorPktFailCnt - out.discardedPkts;
            if (out.mirrorPktCnt < out.mirrorPktFailCnt + out.discardedPkts)
               out = VSDVMirrorSessionStats{};
         }
         size_t const n = strnlen(s.record.dname, sizeof s.record.dname);
         memcpy(out.name, s.record.dname, std::min(n, sizeof out.name - 1));
         memcpy(stats, &out, sizeof out);
         return HYX_OK;
      }
      return HYX_NOT_FOUND;
   });
}

/* The port of sw a destination entity names, or nullptr. */
Port const *destinationPort(Switch const &sw, DVMirrorEntity const &e) {
   int32_t const type = rawValue<int32_t>(e.type);
   if (type == MIRROR_ENTTYPE_PORT) {
      std::string const id = std::to_string(e.portId);
      return sw.findPort(id.c_str());
   }
   if (type == MIRROR_ENTTYPE_DVPORT) {
      std::string const id(e.dvPortId, strnlen(e.dvPortId, sizeof e.dvPortId));
      for (auto const &p : sw.ports) {
         if (!p.dvPortId.empty() && p.dvPortId == id)
            return &p;
      }
   }
   return nullptr;
}

HYX_ReturnStatus getPromiscDsts(char const *switchName,
                                VSPromiscSessionActiveDsts **list) noexcept {
   if (list == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      std::vector<uint32_t> ids;
      for (auto const &s : liveSessions(sw)) {
         if (!s.enabled() || !s.legacy())
            continue;
         for (uint32_t i = 0; i < s.record.numDstEntities && i < s.entities.size(); ++i) {
            Port const *p = destinationPort(sw, s.entities[i]);
            if (p != nullptr && std::find(ids.begin(), ids.end(), p->id) == ids.end())
               ids.push_back(p->id);
         }
      }
      unsigned char *block = allocTable(static_cast<uint32_t>(ids.size()), 4);
      if (block == nullptr)
         return HYX_NO_MEMORY;
      for (size_t i = 0; i < ids.size(); ++i)
         putAt<uint32_t>(block, 8 + 4 * i, ids[i]);
      *list = reinterpret_cast<VSPromiscSessionActiveDsts *>(block);
      return HYX_OK;
   });
}

/* The agent's workers serve the enabled encapsulated (remote) sessions of
 * the host in turn, one worker per session up to MIRROR_AGENT_WORLD_NUM. */
HYX_ReturnStatus getAgentStats(VSDVMirrorAgentWorldStats *stats) noexcept {
   if (stats == nullptr)
      return HYX_BAD_PARAM;
   return guarded([&]() -> HYX_ReturnStatus {
      Host &host = Host::instance();
      VSDVMirrorAgentWorldStats out;
      memset(&out, 0, sizeof out);
      uint32_t served = 0;
      for (auto const &sw : host.switches()) {
         for (auto const &s : liveSessions(sw)) {
            if (!s.enabled() || (s.record.flags & VS_DVMIRROR_FLAG_DST_ENCAP) == 0)
               continue;
            VSDVMirrorAgentWorld &w = out.worlds[served % MIRROR_AGENT_WORLD_NUM];
            uint64_t const seed = sidSeed(s.sid()) ^ sw.ordinal;
            w.worldID = static_cast<hyx_WorldID>(2000 + served % MIRROR_AGENT_WORLD_NUM);
            w.portCnt = static_cast<hyx_uint16>(w.portCnt + s.record.numSrcInEntities +
                                                s.record.numSrcOutEntities);
            w.requestNum = static_cast<hyx_uint16>(w.requestNum + 1);
            w.socketTxPkts += 500 + seed % 50000;
            w.socketErrors += (seed >> 40) % 3;
            ++served;
         }
      }
      out.numWorlds = std::min<uint32_t>(served, MIRROR_AGENT_WORLD_NUM);
      memcpy(stats, &out, sizeof out);
      return HYX_OK;
   });
}

} // namespace
} // namespace tessel

TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_GetDVMirrorSessions,
                (char const *switchName, char const *dvsName, DVMirrorSessionTable **table),
                tessel::getSessions(switchName, dvsName, table))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_SetDVMirrorSessions,
                (char const *switchName, char const *dvsName, DVMirrorSessionTable *table),
                tessel::setSessions(switchName, dvsName, table, false))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_AppendDVMirrorSessions,
                (char const *switchName, char const *dvsName, DVMirrorSessionTable *table),
                tessel::setSessions(switchName, dvsName, table, true))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_RemoveDVMirrorSession,
                (char const *switchName, char const *dvsName, char const sid[32]),
                tessel::removeSession(switchName, dvsName, sid))
TESSEL_HOST_API(HYX_ReturnStatus, VSDVS_ClearDVMirrorSessions,
                (char const *switchName, char const *dvsName),
                tessel::clearSessions(switchName, dvsName))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetDVMirrorSessionIDs,
                (char const *switchName, VSDVMirrorSessionIDs **list),
                tessel::getSessionIds(switchName, list))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetDVMirrorSessionStats,
                (char const *switchName, char const sid[32], VSDVMirrorSessionStats *stats),
                tessel::getSessionStats(switchName, sid, stats))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetPromiscSessionActiveDsts,
                (char const *switchName, VSPromiscSessionActiveDsts **list),
                tessel::getPromiscDsts(switchName, list))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetDVMirrorAgentWorldStats,
                (VSDVMirrorAgentWorldStats * stats), tessel::getAgentStats(stats))
