/* libdvs.so: the distributed-switch state store.  It keeps distributed
 * switches (id, portset name, alias, class, version, maximum ports,
 * association), their ports (id, alias, external id, connect id, type, state
 * and per-port property blobs), and property blobs at host and global scope,
 * each with its property-type bits.
 *
 * A switch is named by its portset name, its alias or its id.  Handles are
 * the addresses of live switches and ports; a handle of a removed switch or
 * port is recognised as stale and gives NULL, 0 or nothing.
 *
 * Traversal calls the callback once per item, in name order, with the
 * item's handle and the caller's context, and stops at the first callback
 * result of 0.
 *
 * Serialised store (DVSHYX_StateGet, read back by DVSState_ConfigDeserialize):
 *   u32 magic DVS_STORE_MAGIC, u32 format DVS_STORE_FORMAT, u32 switch count;
 *   per switch: text id, text name, text alias, text class, u32 version,
 *   u32 maximum ports, u8 associated, u32 next port number, host props,
 *   global props, uplink data props (from format 2 on), u32 port count; per port: text id, text
 * alias, text external id, u32 connect id, u32 type, u32 port number, blob state, props; then u32
 * FNV-1a checksum of everything before it. A text or blob is a u32 length and its bytes; props are
 * a u32 count and per prop: text name, u32 type, blob value.  All integers little-endian. A
 * container (DVSData_Serialize) is: u32 magic DVS_DATA_MAGIC, u32 format, u32 version asked for,
 * props, u32 checksum. */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <list>
#include <map>
#include <memory>
#include <new>
#include <set>
#include <stdexcept>
#include <string>
#include <unordered_set>
#include <vector>

#include <nlohmann/json.hpp>

#include "hostapi/statestore.h"
#include "hostapi/status.h"
#include "sim_internal.h"

namespace dvs {
namespace {

constexpr uint32_t kDataMagic = 0x44535644u; /* a DVSData container */
constexpr uint32_t kVolatileProp = 4;
constexpr uint32_t kRuntimeProp = 32;
constexpr uint32_t kFirstVersion = 4, kLastVersion = 7;
constexpr size_t kSerialLimit = 64u << 20;

struct Prop {
   std::string name;
   std::vector<uint8_t> value;
   uint32_t type = 0;
};
using Props = std::map<std::string, Prop>;

struct DvPort {
   std::string id, alias, externalId;
   uint32_t connectId = 0;
   uint32_t type = DVSPORT_TYPE_ACTIVE;
   uint32_t number = 0;
   std::vector<uint8_t> state;
   Props data;
};

struct DvSwitch {
   std::string id, name, alias, className = "cswitch";
   uint32_t version = kLastVersion, maxPorts = 0;
   bool associated = false;
   uint32_t nextNumber = 0;
   Props hostProps, globalProps;
   std::map<std::string, Prop> uplinkData; /* keyed "uplink#index" */
   std::list<DvPort> ports;
};

bool fits(char const *text, size_t limit) { return strnlen(text, limit) < limit; }

class StateStore {
 public:
   /* The store, seeded with the live host's distributed switches on first
      use after load or reset. */
   static StateStore &instance() {
      StateStore &store = unseeded();
      if (!store.seeded && store.seeder != nullptr) {
         store.seeded = true;
         store.seeder();
      }
      return store;
   }
   /* The store as it is, for what replaces its contents or its seeder:
      seeding it first would build the live host for nothing (at exit,
      when libtessel's statics may be gone already). */
   static StateStore &unseeded() {
      /* Never destroyed, like the switch model of libtessel. */
      static StateStore *store = new StateStore;
      return *store;
   }
   void reset() {
      switches.clear();
      loaded.clear();
      nextId = 0;
      seeded = false;
   }
   void (*seeder)(void) = nullptr;
   bool seeded = false;
   std::list<DvSwitch> switches;
   std::vector<uint8_t> loaded; /* the configuration DVSLoadConfig reloads */
   uint32_t nextId = 0;

   DvSwitch *find(char const *name) {
      if (name == nullptr)
         return nullptr;
      for (auto &sw : switches)
         if (sw.name == name || sw.alias == name || sw.id == name)
            return &sw;
      return nullptr;
   }
   DvSwitch *live(void *handle) {
      for (auto &sw : switches)
         if (&sw == handle)
            return &sw;
      return nullptr;
   }
   DvPort *livePort(void *handle) {
      for (auto &sw : switches)
         for (auto &p : sw.ports)
            if (&p == handle)
               return &p;
      return nullptr;
   }
   Prop *liveProp(void *handle) {
      for (auto &sw : switches) {
         for (auto *props : {&sw.hostProps, &sw.globalProps})
            for (auto &kv : *props)
               if (&kv.second == handle)
                  return &kv.second;
         for (auto &p : sw.ports)
            for (auto &kv : p.data)
               if (&kv.second == handle)
                  return &kv.second;
      }
      return nullptr;
   }
};

DvPort *findPort(DvSwitch &sw, char const *id) {
   if (id == nullptr)
      return nullptr;
   for (auto &p : sw.ports)
      if (p.id == id)
         return &p;
   return nullptr;
}

/* ---- Property-data containers: memory from the caller's allocator ---- */

struct Node {
   Node *next;
   uint32_t type, nameLen, valueLen;
   /* name bytes, NUL, value bytes */
   char *name() { return reinterpret_cast<char *>(this + 1); }
   uint8_t *value() { return reinterpret_cast<uint8_t *>(name() + nameLen + 1); }
};

struct Container {
   uint32_t magic;
   DVSData_MemAlloc memAlloc;
   DVSData_MemFree memFree;
   Node *head;
};

std::unordered_set<Container *> &containers() {
   static auto *set = new std::unordered_set<Container *>;
   return *set;
}

Container *liveContainer(void *handle) {
   auto *c = static_cast<Container *>(handle);
   return containers().count(c) ? c : nullptr;
}

Node *liveNode(void *handle) {
   for (Container *c : containers())
      for (Node *n = c->head; n; n = n->next)
         if (n == handle)
            return n;
   return nullptr;
}

void *defaultAlloc(size_t n) { return malloc(n); }
void defaultFree(void *p) { free(p); }

/* ---- Serialisation ---- */

uint32_t fnv(uint8_t const *p, size_t n) {
   uint32_t h = 2166136261u;
   for (size_t i = 0; i < n; i++)
      h = (h ^ p[i]) * 16777619u;
   return h;
}

struct Writer {
   std::vector<uint8_t> out;
   void u32(uint32_t v) {
      for (int i = 0; i < 4; i++)
         out.push_back(static_cast<uint8_t>(v >> (8 * i)));
   }
   void bytes(void const *p, size_t n) {
      u32(static_cast<uint32_t>(n));
      auto const *b = static_cast<uint8_t const *>(p);
      out.insert(out.end(), b, b + n);
   }
   void text(std::string const &s) { bytes(s.data(), s.size()); }
   void props(Props const &ps, bool persistentOnly) {
      uint32_t n = 0;
      for (auto const &kv : ps)
         n += !(persistentOnly && (kv.second.type & kVolatileProp));
      u32(n);
      for (auto const &kv : ps) {
         if (persistentOnly && (kv.second.type & kVolatileProp))
            continue;
         text(kv.first);
         u32(kv.second.type);
         bytes(kv.second.value.data(), kv.second.value.size());
      }
   }
   void seal() { u32(fnv(out.data(), out.size())); }
};

struct Reader {
   uint8_t const *p;
   size_t n, at = 0;
   bool ok = true;
   uint32_t u32() {
      if (!ok || n - at < 4) {
         ok = false;
         return 0;
      }
      uint32_t v = 0;
      for (int i = 0; i < 4; i++)
         v |= static_cast<uint32_t>(p[at + i]) << (8 * i);
      at += 4;
      return v;
   }
   uint8_t u8() {
      if (!ok || n - at < 1) {
         ok = false;
         return 0;
      }
      return p[at++];
   }
   std::vector<uint8_t> blob() {
      uint32_t len = u32();
      if (!ok || n - at < len) {
         ok = false;
         return {};
      }
      std::vector<uint8_t> v(p + at, p + at + len);
      at += len;
      return v;
   }
   std::string text(size_t limit) {
      auto v = blob();
      if (v.size() >= limit || (!v.empty() && memchr(v.data(), 0, v.size())))
         ok = false;
      return ok ? std::string(v.begin(), v.end()) : std::string();
   }
   Props props() {
      Props ps;
      uint32_t count = u32();
      for (uint32_t i = 0; ok && i < count; i++) {
         Prop pr;
         pr.name = text(DVS_STORE_PROP_NAME_LEN);
         pr.type = u32();
         pr.value = blob();
         if (ok)
            ps[pr.name] = std::move(pr);
      }
      return ps;
   }
};

/* Checks the frame: magic, a format this store reads (1, without uplink
   data, or DVS_STORE_FORMAT), and the checksum over what precedes it; the
   format read goes to format. */
bool openFrame(Reader &r, uint32_t magic, uint32_t &format) {
   if (r.p == nullptr || r.n < 12)
      return false;
   uint32_t sum = 0;
   for (int i = 0; i < 4; i++)
      sum |= static_cast<uint32_t>(r.p[r.n - 4 + i]) << (8 * i);
   if (sum != fnv(r.p, r.n - 4))
      return false;
   r.n -= 4;
   if (r.u32() != magic)
      return false;
   format = r.u32();
   return format >= 1 && format <= DVS_STORE_FORMAT;
}

std::vector<uint8_t> serialiseStore(bool persistentOnly) {
   Writer w;
   auto &store = StateStore::instance();
   w.u32(DVS_STORE_MAGIC);
   w.u32(DVS_STORE_FORMAT);
   w.u32(static_cast<uint32_t>(store.switches.size()));
   for (auto const &sw : store.switches) {
      w.text(sw.id);
      w.text(sw.name);
      w.text(sw.alias);
      w.text(sw.className);
      w.u32(sw.version);
      w.u32(sw.maxPorts);
      w.out.push_back(sw.associated ? 1 : 0);
      w.u32(sw.nextNumber);
      w.props(sw.hostProps, persistentOnly);
      w.props(sw.globalProps, persistentOnly);
      w.props(sw.uplinkData, persistentOnly);
      w.u32(static_cast<uint32_t>(sw.ports.size()));
      for (auto const &p : sw.ports) {
         w.text(p.id);
         w.text(p.alias);
         w.text(p.externalId);
         w.u32(p.connectId);
         w.u32(p.type);
         w.u32(p.number);
         w.bytes(p.state.data(), p.state.size());
         w.props(p.data, persistentOnly);
      }
   }
   w.seal();
   return w.out;
}

/* Reads a whole serialised store; nothing changes unless all of it is sound. */
HYX_ReturnStatus deserialiseStore(void const *buf, size_t len) {
   Reader r{static_cast<uint8_t const *>(buf), len};
   uint32_t format = 0;
   if (!openFrame(r, DVS_STORE_MAGIC, format))
      return HYX_BAD_PARAM;
   std::list<DvSwitch> switches;
   uint32_t count = r.u32();
   for (uint32_t i = 0; r.ok && i < count; i++) {
      DvSwitch sw;
      sw.id = r.text(DVS_STORE_SWITCH_ID_LEN);
      sw.name = r.text(DVS_STORE_NAME_LEN);
      sw.alias = r.text(DVS_STORE_NAME_LEN);
      sw.className = r.text(DVS_STORE_NAME_LEN);
      sw.version = r.u32();
      sw.maxPorts = r.u32();
      sw.associated = r.u8() != 0;
      sw.nextNumber = r.u32();
      sw.hostProps = r.props();
      sw.globalProps = r.props();
      if (format >= 2)
         sw.uplinkData = r.props();
      uint32_t nports = r.u32();
      for (uint32_t k = 0; r.ok && k < nports; k++) {
         DvPort p;
         p.id = r.text(DVS_STORE_PORT_ID_LEN);
         p.alias = r.text(DVS_STORE_NAME_LEN);
         p.externalId = r.text(DVS_STORE_EXTERNAL_ID_LEN);
         p.connectId = r.u32();
         p.type = r.u32();
         p.number = r.u32();
         p.state = r.blob();
         p.data = r.props();
         sw.ports.push_back(std::move(p));
      }
      switches.push_back(std::move(sw));
   }
   if (!r.ok || r.at != r.n)
      return HYX_BAD_PARAM;
   auto &store = StateStore::instance();
   store.switches = std::move(switches);
   store.loaded.assign(static_cast<uint8_t const *>(buf), static_cast<uint8_t const *>(buf) + len);
   return HYX_OK;
}

/* ---- Blocks handed out ---- */

HYX_ReturnStatus handOut(std::vector<uint8_t> const &bytes, void **data, int *len) {
   if (data == nullptr || len == nullptr)
      return HYX_BAD_PARAM;
   if (bytes.size() > static_cast<size_t>(INT32_MAX))
      return HYX_LIMIT_EXCEEDED;
   void *block = tessel_sim_block_alloc(bytes.empty() ? 1 : bytes.size());
   if (block == nullptr)
      return HYX_NO_MEMORY;
   if (!bytes.empty())
      memcpy(block, bytes.data(), bytes.size());
   *data = block;
   *len = static_cast<int>(bytes.size());
   return HYX_OK;
}

template <typename F> HYX_ReturnStatus guarded(F &&body) noexcept {
   try {
      return body();
   } catch (std::bad_alloc const &) {
      return HYX_NO_MEMORY;
   } catch (...) {
      return HYX_FAILURE;
   }
}

HYX_ReturnStatus lookup(char const *switchId, DvSwitch *&sw) {
   if (switchId == nullptr)
      return HYX_BAD_PARAM;
   if (!fits(switchId, DVS_STORE_NAME_LEN))
      return HYX_NAME_TOO_LONG;
   sw = StateStore::instance().find(switchId);
   return sw ? HYX_OK : HYX_NOT_FOUND;
}

HYX_ReturnStatus lookupPort(char const *switchId, char const *portId, DvSwitch *&sw,
                            DvPort *&port) {
   HYX_ReturnStatus status = lookup(switchId, sw);
   if (status != HYX_OK)
      return status;
   if (portId == nullptr)
      return HYX_BAD_PARAM;
   if (!fits(portId, DVS_STORE_PORT_ID_LEN))
      return HYX_NAME_TOO_LONG;
   port = findPort(*sw, portId);
   return port ? HYX_OK : HYX_NOT_FOUND;
}

HYX_ReturnStatus propGet(Props &ps, char const *name, void **data, int *len) {
   if (name == nullptr || data == nullptr || len == nullptr)
      return HYX_BAD_PARAM;
   if (!fits(name, DVS_STORE_PROP_NAME_LEN))
      return HYX_NAME_TOO_LONG;
   auto it = ps.find(name);
   if (it == ps.end())
      return HYX_NOT_FOUND;
   return handOut(it->second.value, data, len);
}

HYX_ReturnStatus propSet(Props &ps, char const *name, void const *data, int len, uint32_t type) {
   if (name == nullptr || len < 0 || (data == nullptr && len > 0))
      return HYX_BAD_PARAM;
   if (!fits(name, DVS_STORE_PROP_NAME_LEN))
      return HYX_NAME_TOO_LONG;
   Prop pr;
   pr.name = name;
   pr.type = type;
   auto const *b = static_cast<uint8_t const *>(data);
   pr.value.assign(b, b + len);
   ps[pr.name] = std::move(pr);
   return HYX_OK;
}

HYX_ReturnStatus propClear(Props &ps, char const *name) {
   if (name == nullptr)
      return HYX_BAD_PARAM;
   if (!fits(name, DVS_STORE_PROP_NAME_LEN))
      return HYX_NAME_TOO_LONG;
   return ps.erase(name) ? HYX_OK : HYX_NOT_FOUND;
}

/* ---- Keys of libtessel's own settings ---- */

/* libtessel keeps some of a switch's settings itself (its MTU, teaming
   policy, ...) and shows them under published keys; it answers those keys
   through the bridge, for the switches and ports it has.  A bridge function
   gives -1 for a key it does not answer, which the store then keeps like any
   other. */
struct Bridge {
   tessel_sim_dvs_bridge_get get = nullptr;
   tessel_sim_dvs_bridge_set set = nullptr;
   tessel_sim_dvs_bridge_clear clear = nullptr;
} g_bridge;

char const *portIdOf(DvPort const *port) { return port ? port->id.c_str() : nullptr; }

bool bridgeable(char const *name) { return name != nullptr && fits(name, DVS_STORE_PROP_NAME_LEN); }

template <typename Own>
HYX_ReturnStatus keyedGet(DvSwitch const &sw, DvPort const *port, char const *name, void **data,
                          int *len, Own own) {
   if (g_bridge.get != nullptr && bridgeable(name) && data != nullptr && len != nullptr) {
      int status = g_bridge.get(sw.name.c_str(), portIdOf(port), name, data, len);
      if (status >= 0)
         return status;
   }
   return own();
}

template <typename Own>
HYX_ReturnStatus keyedSet(DvSwitch const &sw, DvPort const *port, char const *name,
                          void const *data, int len, Own own) {
   if (g_bridge.set != nullptr && bridgeable(name) && len >= 0 && (data != nullptr || len == 0)) {
      int status = g_bridge.set(sw.name.c_str(), portIdOf(port), name, data, len);
      if (status >= 0)
         return status;
   }
   return own();
}

template <typename Own>
HYX_ReturnStatus keyedClear(DvSwitch const &sw, DvPort const *port, char const *name, Own own) {
   if (g_bridge.clear != nullptr && bridgeable(name)) {
      int status = g_bridge.clear(sw.name.c_str(), portIdOf(port), name);
      if (status >= 0)
         return status;
   }
   return own();
}

/* A new container of the props whose type shares a bit with propType. */
HYX_ReturnStatus propList(Props const &ps, DVSDataHandle *list, uint32_t propType);

HYX_ReturnStatus containerPut(Container *c, char const *name, void const *value, uint32_t len,
                              uint32_t type) {
   size_t nameLen = strlen(name);
   Node *n = static_cast<Node *>(c->memAlloc(sizeof(Node) + nameLen + 1 + len));
   if (n == nullptr)
      return HYX_NO_MEMORY; /* the container is left as it was */
   n->type = type;
   n->nameLen = static_cast<uint32_t>(nameLen);
   n->valueLen = len;
   memcpy(n->name(), name, nameLen + 1);
   if (len)
      memcpy(n->value(), value, len);
   /* Replace an item of the same name in place, keeping the order. */
   for (Node **at = &c->head; *at; at = &(*at)->next) {
      if ((*at)->nameLen == nameLen && memcmp((*at)->name(), name, nameLen) == 0) {
         n->next = (*at)->next;
         Node *old = *at;
         *at = n;
         c->memFree(old);
         return HYX_OK;
      }
   }
   Node **tail = &c->head;
   while (*tail)
      tail = &(*tail)->next;
   n->next = nullptr;
   *tail = n;
   return HYX_OK;
}

HYX_ReturnStatus containerNew(DVSDataHandle *out, DVSData_MemAlloc a, DVSData_MemFree f) {
   if (out == nullptr || (a == nullptr) != (f == nullptr))
      return HYX_BAD_PARAM;
   if (a == nullptr) {
      a = defaultAlloc;
      f = defaultFree;
   }
   auto *c = static_cast<Container *>(a(sizeof(Container)));
   if (c == nullptr)
      return HYX_NO_MEMORY;
   try {
      containers().insert(c);
   } catch (...) {
      f(c);
      return HYX_NO_MEMORY;
   }
   *c = Container{kDataMagic, a, f, nullptr};
   *out = c;
   return HYX_OK;
}

void containerFree(Container *c) {
   containers().erase(c);
   for (Node *n = c->head; n;) {
      Node *next = n->next;
      c->memFree(n);
      n = next;
   }
   c->memFree(c);
}

HYX_ReturnStatus propList(Props const &ps, DVSDataHandle *list, uint32_t propType) {
   if (list == nullptr)
      return HYX_BAD_PARAM;
   DVSDataHandle h = nullptr;
   HYX_ReturnStatus status = containerNew(&h, nullptr, nullptr);
   if (status != HYX_OK)
      return status;
   for (auto const &kv : ps) {
      if (!(kv.second.type & propType))
         continue;
      status = containerPut(static_cast<Container *>(h), kv.first.c_str(), kv.second.value.data(),
                            static_cast<uint32_t>(kv.second.value.size()), kv.second.type);
      if (status != HYX_OK) {
         containerFree(static_cast<Container *>(h));
         return status;
      }
   }
   *list = h;
   return HYX_OK;
}

void resetHook() { StateStore::unseeded().reset(); }

struct LoadTimeSetup {
   LoadTimeSetup() {
      StateStore::unseeded();
      containers();
      tessel_sim_add_reset_hook(resetHook);
   }
   ~LoadTimeSetup() { tessel_sim_remove_reset_hook(resetHook); }
} g_loadTimeSetup;

/* ---- The store operations ---- */

/* A switch gets id when one is given, else the next "dvsid-N". */
HYX_ReturnStatus switchAdd(char const *name, char const *alias, char const *className,
                           uint32_t maxPorts, uint32_t version, char const *id = nullptr) {
   if (name == nullptr || alias == nullptr || className == nullptr)
      return HYX_BAD_PARAM;
   if (!fits(name, DVS_STORE_NAME_LEN) || !fits(alias, DVS_STORE_NAME_LEN) ||
       !fits(className, DVS_STORE_NAME_LEN))
      return HYX_NAME_TOO_LONG;
   if (id != nullptr && !fits(id, DVS_STORE_SWITCH_ID_LEN))
      return HYX_NAME_TOO_LONG;
   if (!*name || !*alias || version < kFirstVersion || version > kLastVersion ||
       (id != nullptr && !*id))
      return HYX_BAD_PARAM;
   auto &store = StateStore::instance();
   if (store.find(name) || store.find(alias) || (id != nullptr && store.find(id)))
      return HYX_EXISTS;
   DvSwitch sw;
   sw.name = name;
   sw.alias = alias;
   sw.className = className;
   sw.maxPorts = maxPorts;
   sw.version = version;
   if (id != nullptr)
      sw.id = id;
   else
      do
         sw.id = "dvsid-" + std::to_string(store.nextId++);
      while (store.find(sw.id.c_str()) != nullptr);
   store.switches.push_back(std::move(sw));
   return HYX_OK;
}

HYX_ReturnStatus portAdd(char const *switchId, char const *portId, void const *data, int len,
                         uint32_t connectId, char const *externalId) {
   if (len < 0 || (data == nullptr && len > 0))
      return HYX_BAD_PARAM;
   DvSwitch *sw = nullptr;
   DvPort *port = nullptr;
   HYX_ReturnStatus status = lookupPort(switchId, portId, sw, port);
   if (status == HYX_OK)
      return HYX_EXISTS;
   if (status != HYX_NOT_FOUND || sw == nullptr)
      return status;
   if (!*portId)
      return HYX_BAD_PARAM;
   if (externalId && !fits(externalId, DVS_STORE_EXTERNAL_ID_LEN))
      return HYX_NAME_TOO_LONG;
   if (sw->ports.size() >= sw->maxPorts)
      return HYX_LIMIT_EXCEEDED;
   DvPort p;
   p.id = portId;
   p.connectId = connectId;
   p.externalId = externalId ? externalId : "";
   p.number = 0x4000000u + sw->nextNumber++;
   auto const *b = static_cast<uint8_t const *>(data);
   p.state.assign(b, b + len);
   sw->ports.push_back(std::move(p));
   return HYX_OK;
}

HYX_ReturnStatus portList(char const *switchId, DVPortList **list, int type) {
   DvSwitch *sw = nullptr;
   HYX_ReturnStatus status = lookup(switchId, sw);
   if (status != HYX_OK)
      return status;
   if (list == nullptr)
      return HYX_BAD_PARAM;
   std::vector<DvPort const *> chosen;
   for (auto const &p : sw->ports)
      if (type == DVSPORT_TYPE_INVALID || p.type == static_cast<uint32_t>(type))
         chosen.push_back(&p);
   size_t slots = chosen.empty() ? 1 : chosen.size();
   auto *out = static_cast<DVPortList *>(
       tessel_sim_block_alloc(offsetof(DVPortList, dvPort) + slots * sizeof(DVPortData)));
   if (out == nullptr)
      return HYX_NO_MEMORY;
   out->nports = static_cast<int>(chosen.size());
   out->type = static_cast<DVSPortType>(type);
   for (size_t i = 0; i < chosen.size(); i++) {
      memcpy(out->dvPort[i].dvPortId, chosen[i]->id.c_str(), chosen[i]->id.size() + 1);
      out->dvPort[i].connectId = chosen[i]->connectId;
   }
   *list = out;
   return HYX_OK;
}

template <typename T> bool walkStopped(DVSwitchCallback cb, T *item, void *context) {
   return cb(item, context) == 0;
}

/* Walks over a snapshot of the handles: a callback that removes items does
   not pull the list from under the walk. */
template <typename Container, typename Get>
void walk(Container &items, Get get, DVSwitchCallback cb, void *context) {
   if (cb == nullptr)
      return;
   std::vector<void *> handles;
   for (auto &item : items)
      handles.push_back(get(item));
   for (void *h : handles)
      if (cb(h, context) == 0)
         return;
}

HYX_ReturnStatus aliasToId(char const *alias, char *out, size_t cap, bool allTypes) {
   if (alias == nullptr || out == nullptr)
      return HYX_BAD_PARAM;
   if (!fits(alias, DVS_STORE_NAME_LEN))
      return HYX_NAME_TOO_LONG;
   for (auto &sw : StateStore::instance().switches) {
      if (sw.alias == alias && (allTypes || sw.className == "cswitch")) {
         if (sw.id.size() >= cap)
            return HYX_NAME_TOO_LONG;
         memcpy(out, sw.id.c_str(), sw.id.size() + 1);
         return HYX_OK;
      }
   }
   return HYX_NOT_FOUND;
}

HYX_ReturnStatus nameTranslate(char const *from, char *out, bool toAlias) {
   if (from == nullptr || out == nullptr)
      return HYX_BAD_PARAM;
   if (!fits(from, DVS_STORE_NAME_LEN))
      return HYX_NAME_TOO_LONG;
   for (auto &sw : StateStore::instance().switches) {
      if ((toAlias ? sw.name : sw.alias) == from) {
         std::string const &to = toAlias ? sw.alias : sw.name;
         memcpy(out, to.c_str(), to.size() + 1); /* both fit DVS_STORE_NAME_LEN */
         return HYX_OK;
      }
   }
   return HYX_NOT_FOUND;
}

} // namespace
} // namespace dvs

using namespace dvs;

/* 1 once the state store is set up; host-private, for the libraries' tests. */
extern "C" TESSEL_HOST_EXPORT int tessel_sim_dvs_ready(void) { return 1; }

/* Host-private: libtessel names the function that seeds the store with its
   distributed switches (NULL to stop). */
extern "C" TESSEL_HOST_EXPORT void tessel_sim_dvs_set_seeder(void (*seeder)(void)) {
   StateStore &store = StateStore::unseeded();
   store.seeder = seeder;
   store.seeded = false;
}

/* Host-private, for libtessel's switch lifecycle: a switch with its portset
   name, alias, class and id (NULL: the store gives one). */
extern "C" TESSEL_HOST_EXPORT int tessel_sim_dvs_switch_create(char const *name, char const *alias,
                                                               char const *className,
                                                               hyx_uint32 maxPorts,
                                                               hyx_uint32 version, char const *id) {
   return guarded([&] { return switchAdd(name, alias, className, maxPorts, version, id); });
}

/* Host-private: the port number of a distributed port. */
extern "C" TESSEL_HOST_EXPORT int
tessel_sim_dvs_port_number(char const *switchId, char const *portId, hyx_uint32 *number) {
   return guarded([&]() -> HYX_ReturnStatus {
      DvSwitch *sw = nullptr;
      DvPort *port = nullptr;
      HYX_ReturnStatus status = lookupPort(switchId, portId, sw, port);
      if (status == HYX_OK && number == nullptr)
         return HYX_BAD_PARAM;
      if (status == HYX_OK)
         *number = port->number;
      return status;
   });
}

/* Host-private: adds a port with a connect id and an external id. */
extern "C" TESSEL_HOST_EXPORT int tessel_sim_dvs_port_add(char const *switchId, char const *portId,
                                                          hyx_uint32 connectId,
                                                          char const *externalId) {
   return guarded([&] { return portAdd(switchId, portId, nullptr, 0, connectId, externalId); });
}

/* Host-private: the store id of a switch, into out (cap bytes). */
extern "C" TESSEL_HOST_EXPORT int tessel_sim_dvs_switch_id(char const *name, char *out,
                                                           unsigned cap) {
   return guarded([&]() -> HYX_ReturnStatus {
      DvSwitch *sw = nullptr;
      HYX_ReturnStatus status = lookup(name, sw);
      if (status != HYX_OK)
         return status;
      if (out == nullptr || sw->id.size() >= cap)
         return HYX_BAD_PARAM;
      memcpy(out, sw->id.c_str(), sw->id.size() + 1);
      return HYX_OK;
   });
}

/* Host-private, for libtessel's switch lifecycle: removes a switch (with
   idleOnly, a switch with a port in use, connected with a non-zero connect
   id, gives HYX_BUSY and changes nothing), or one of its ports. */
extern "C" TESSEL_HOST_EXPORT int tessel_sim_dvs_switch_remove(char const *name, int idleOnly) {
   return guarded([&]() -> HYX_ReturnStatus {
      DvSwitch *sw = nullptr;
      HYX_ReturnStatus status = lookup(name, sw);
      if (status != HYX_OK)
         return status;
      for (auto const &p : sw->ports)
         if (idleOnly && p.connectId != 0)
            return HYX_BUSY;
      StateStore::instance().switches.remove_if([&](DvSwitch const &s) { return &s == sw; });
      return HYX_OK;
   });
}

extern "C" TESSEL_HOST_EXPORT int tessel_sim_dvs_port_remove(char const *switchId,
                                                             char const *portId) {
   return guarded([&]() -> HYX_ReturnStatus {
      DvSwitch *sw = nullptr;
      DvPort *port = nullptr;
      HYX_ReturnStatus status = lookupPort(switchId, portId, sw, port);
      if (status != HYX_OK)
         return status;
      sw->ports.remove_if([&](DvPort const &p) { return &p == port; });
      return HYX_OK;
   });
}

/* Host-private: libtessel's functions that answer the keys of its own
   settings (NULL to stop). */
extern "C" TESSEL_HOST_EXPORT void tessel_sim_dvs_set_bridge(tessel_sim_dvs_bridge_get get,
                                                             tessel_sim_dvs_bridge_set set,
                                                             tessel_sim_dvs_bridge_clear clear) {
   g_bridge.get = get;
   g_bridge.set = set;
   g_bridge.clear = clear;
}

/* Host-private, for libtessel's property calls: the store's property get,
   set and clear at port (0), host (1) or global (2) scope, with the store's
   own calls' statuses but without their entry check, since they run inside
   another host call. */
extern "C" TESSEL_HOST_EXPORT int tessel_sim_dvs_prop_get(int scope, char const *switchId,
                                                          char const *portId, char const *name,
                                                          void **data, int *len) {
   return guarded([&]() -> HYX_ReturnStatus {
      DvSwitch *sw = nullptr;
      DvPort *port = nullptr;
      HYX_ReturnStatus status =
          scope == 0 ? lookupPort(switchId, portId, sw, port) : lookup(switchId, sw);
      if (status != HYX_OK)
         return status;
      Props &props = scope == 0 ? port->data : scope == 1 ? sw->hostProps : sw->globalProps;
      return keyedGet(*sw, port, name, data, len, [&] { return propGet(props, name, data, len); });
   });
}

extern "C" TESSEL_HOST_EXPORT int tessel_sim_dvs_prop_set(int scope, char const *switchId,
                                                          char const *portId, char const *name,
                                                          void const *data, int len,
                                                          hyx_uint32 type) {
   return guarded([&]() -> HYX_ReturnStatus {
      DvSwitch *sw = nullptr;
      DvPort *port = nullptr;
      HYX_ReturnStatus status =
          scope == 0 ? lookupPort(switchId, portId, sw, port) : lookup(switchId, sw);
      if (status != HYX_OK)
         return status;
      Props &props = scope == 0 ? port->data : scope == 1 ? sw->hostProps : sw->globalProps;
      return keyedSet(*sw, port, name, data, len,
                      [&] { return propSet(props, name, data, len, type); });
   });
}

extern "C" TESSEL_HOST_EXPORT int tessel_sim_dvs_prop_clear(int scope, char const *switchId,
                                                            char const *portId, char const *name) {
   return guarded([&]() -> HYX_ReturnStatus {
      DvSwitch *sw = nullptr;
      DvPort *port = nullptr;
      HYX_ReturnStatus status =
          scope == 0 ? lookupPort(switchId, portId, sw, port) : lookup(switchId, sw);
      if (status != HYX_OK)
         return status;
      Props &props = scope == 0 ? port->data : scope == 1 ? sw->hostProps : sw->globalProps;
      return keyedClear(*sw, port, name, [&] { return propClear(props, name); });
   });
}

/* Host-private: the alias of a switch named by its portset name. */
extern "C" TESSEL_HOST_EXPORT int tessel_sim_dvs_alias(char const *name, char *alias) {
   return guarded([&] { return nameTranslate(name, alias, true); });
}

#define STORE_CALL(ret, name, params, body)                                                        \
   extern "C" TESSEL_HOST_EXPORT ret name params {                                                 \
      TESSEL_SIM_SHELL_ENTRY(ret, name)                                                            \
      TesselSimCallDone const tesselSimCallDone(#name);                                            \
      return guarded([&]() -> HYX_ReturnStatus body);                                              \
   }                                                                                               \
   TESSEL_SIM_REGISTER(ret, name);

STORE_CALL(HYX_ReturnStatus, DVSHYX_StateInit, (void *state, int len), {
   if (state == nullptr && len == 0) {
      StateStore::instance().reset();
      return HYX_OK;
   }
   if (state == nullptr || len < 0)
      return HYX_BAD_PARAM;
   return deserialiseStore(state, static_cast<size_t>(len));
})
STORE_CALL(HYX_ReturnStatus, DVSHYX_StateCleanup, (void), {
   StateStore::instance().switches.clear();
   return HYX_OK;
})
/* Drops zombie ports, which no longer belong to a running port. */
STORE_CALL(HYX_ReturnStatus, DVSHYX_StateSanitize, (void), {
   for (auto &sw : StateStore::instance().switches)
      sw.ports.remove_if([](DvPort const &p) { return p.type == DVSPORT_TYPE_ZOMBIE; });
   return HYX_OK;
})
STORE_CALL(HYX_ReturnStatus, DVSHYX_StateGet, (void **data, int *len),
           { return handOut(serialiseStore(false), data, len); })
STORE_CALL(HYX_ReturnStatus, DVSHYX_PersistentStateGet, (void **data, int *len),
           { return handOut(serialiseStore(true), data, len); })
STORE_CALL(HYX_ReturnStatus, DVSHYX_SwitchAdd,
           (char const *switchId, char const *className, hyx_uint32 maxPorts, ZARVersion version),
           { return switchAdd(switchId, switchId, className, maxPorts, version); })
STORE_CALL(HYX_ReturnStatus, DVSHYX_SwitchRemove, (char const *switchId), {
   DvSwitch *sw = nullptr;
   HYX_ReturnStatus status = lookup(switchId, sw);
   if (status != HYX_OK)
      return status;
   StateStore::instance().switches.remove_if([&](DvSwitch const &s) { return &s == sw; });
   return HYX_OK;
})
STORE_CALL(HYX_ReturnStatus, DVSHYX_SwitchAssociate, (char const *switchId), {
   DvSwitch *sw = nullptr;
   HYX_ReturnStatus status = lookup(switchId, sw);
   if (status == HYX_OK)
      sw->associated = true;
   return status;
})
STORE_CALL(HYX_ReturnStatus, DVSHYX_SwitchDissociate, (char const *switchId), {
   DvSwitch *sw = nullptr;
   HYX_ReturnStatus status = lookup(switchId, sw);
   if (status == HYX_OK)
      sw->associated = false;
   return status;
})
STORE_CALL(HYX_ReturnStatus, DVSHYX_SwitchSetVersion, (char const *switchId, ZARVersion version), {
   DvSwitch *sw = nullptr;
   HYX_ReturnStatus status = lookup(switchId, sw);
   if (status != HYX_OK)
      return status;
   if (version < kFirstVersion || version > kLastVersion)
      return HYX_BAD_PARAM;
   sw->version = version;
   return HYX_OK;
})
/* A maximum below the ports the switch has is refused. */
STORE_CALL(HYX_ReturnStatus, DVSHYX_SwitchSetMaxPorts, (char const *switchId, hyx_uint32 maxPorts),
           {
              DvSwitch *sw = nullptr;
              HYX_ReturnStatus status = lookup(switchId, sw);
              if (status != HYX_OK)
                 return status;
              if (maxPorts < sw->ports.size())
                 return HYX_LIMIT_EXCEEDED;
              sw->maxPorts = maxPorts;
              return HYX_OK;
           })
STORE_CALL(HYX_ReturnStatus, DVSHYX_SwitchPortList,
           (char const *switchId, DVPortList **list, DVSPortType type),
           { return portList(switchId, list, static_cast<int>(type)); })
/* The store runs no commands. */
STORE_CALL(HYX_ReturnStatus, DVSHYX_CmdExec,
           (char const *switchId, char const *cmd, void *in, int inLen, void **out, int *outLen), {
              (void)in;
              (void)out;
              (void)outLen;
              DvSwitch *sw = nullptr;
              HYX_ReturnStatus status = lookup(switchId, sw);
              if (status != HYX_OK)
                 return status;
              if (cmd == nullptr || inLen < 0)
                 return HYX_BAD_PARAM;
              return HYX_NOT_SUPPORTED;
           })

#define PROP_SCOPE(SCOPE, GET, SNGET, SET, CLEAR, LIST, FIELD)                                     \
   STORE_CALL(HYX_ReturnStatus, GET,                                                               \
              (char const *switchId, char const *name, void **data, int *len),                     \
              { return tessel_sim_dvs_prop_get(SCOPE, switchId, nullptr, name, data, len); })      \
   STORE_CALL(HYX_ReturnStatus, SNGET,                                                             \
              (char const *switchId, char const *name, void **data, int *len),                     \
              { return tessel_sim_dvs_prop_get(SCOPE, switchId, nullptr, name, data, len); })      \
   STORE_CALL(HYX_ReturnStatus, SET,                                                               \
              (char const *switchId, char const *name, void *data, int len, hyx_uint32 type), {    \
                 return tessel_sim_dvs_prop_set(SCOPE, switchId, nullptr, name, data, len, type);  \
              })                                                                                   \
   STORE_CALL(HYX_ReturnStatus, CLEAR, (char const *switchId, char const *name),                   \
              { return tessel_sim_dvs_prop_clear(SCOPE, switchId, nullptr, name); })               \
   STORE_CALL(HYX_ReturnStatus, LIST,                                                              \
              (char const *switchId, DVSDataHandle *list, hyx_uint32 type), {                      \
                 DvSwitch *sw = nullptr;                                                           \
                 HYX_ReturnStatus status = lookup(switchId, sw);                                   \
                 return status != HYX_OK ? status : propList(sw->FIELD, list, type);               \
              })

PROP_SCOPE(2, DVSHYX_GlobalPropGet, DVSHYX_SmartNICGlobalPropGet, DVSHYX_GlobalPropSet,
           DVSHYX_GlobalPropClear, DVSHYX_VendorGlobalPropList, globalProps)
PROP_SCOPE(1, DVSHYX_HostPropGet, DVSHYX_SmartNICHostPropGet, DVSHYX_HostPropSet,
           DVSHYX_HostPropClear, DVSHYX_VendorHostPropList, hostProps)

STORE_CALL(HYX_ReturnStatus, DVSHYX_ExtraConfigPropList,
           (char const *switchId, DVSDataHandle *list, hyx_uint32 type), {
              DvSwitch *sw = nullptr;
              HYX_ReturnStatus status = lookup(switchId, sw);
              return status != HYX_OK ? status : propList(sw->hostProps, list, type);
           })
STORE_CALL(HYX_ReturnStatus, DVSHYX_PortAdd,
           (char const *switchId, char const *portId, void *data, int len),
           { return portAdd(switchId, portId, data, len, 0, nullptr); })
STORE_CALL(HYX_ReturnStatus, DVSHYX_PortRemove, (char const *switchId, char const *portId), {
   DvSwitch *sw = nullptr;
   DvPort *port = nullptr;
   HYX_ReturnStatus status = lookupPort(switchId, portId, sw, port);
   if (status == HYX_OK)
      sw->ports.remove_if([&](DvPort const &p) { return &p == port; });
   return status;
})

#define PORT_CALL(NAME, PARAMS, BODY)                                                              \
   STORE_CALL(HYX_ReturnStatus, NAME, PARAMS, {                                                    \
      DvSwitch *sw = nullptr;                                                                      \
      DvPort *port = nullptr;                                                                      \
      HYX_ReturnStatus status = lookupPort(switchId, portId, sw, port);                            \
      if (status != HYX_OK)                                                                        \
         return status;                                                                            \
      BODY                                                                                         \
   })

STORE_CALL(HYX_ReturnStatus, DVSHYX_PortDataGet,
           (char const *switchId, char const *portId, char const *name, void **data, int *len),
           { return tessel_sim_dvs_prop_get(0, switchId, portId, name, data, len); })
STORE_CALL(HYX_ReturnStatus, DVSHYX_SmartNICPortDataGet,
           (char const *switchId, char const *portId, char const *name, void **data, int *len),
           { return tessel_sim_dvs_prop_get(0, switchId, portId, name, data, len); })
STORE_CALL(HYX_ReturnStatus, DVSHYX_PortDataSet,
           (char const *switchId, char const *portId, char const *name, void *data, int len,
            hyx_uint32 type),
           { return tessel_sim_dvs_prop_set(0, switchId, portId, name, data, len, type); })
STORE_CALL(HYX_ReturnStatus, DVSHYX_PortDataClear,
           (char const *switchId, char const *portId, char const *name),
           { return tessel_sim_dvs_prop_clear(0, switchId, portId, name); })
PORT_CALL(DVSHYX_PortStateGet, (char const *switchId, char const *portId, void **data, int *len),
          { return handOut(port->state, data, len); })
PORT_CALL(DVSHYX_PersistentPortStateGet,
          (char const *switchId, char const *portId, ZARVersion version, void **data, int *len), {
             if (version < kFirstVersion || version > sw->version)
                return HYX_BAD_PARAM;
             return handOut(port->state, data, len);
          })
PORT_CALL(DVSHYX_VendorPortPropList,
          (char const *switchId, char const *portId, DVSDataHandle *list, hyx_uint32 type),
          { return propList(port->data, list, type); })
PORT_CALL(DVSHYX_ExtraConfigPortPropList,
          (char const *switchId, char const *portId, DVSDataHandle *list, hyx_uint32 type),
          { return propList(port->data, list, type); })
PORT_CALL(DVSHYX_PortFind, (char const *switchId, char const *portId), {
   (void)port;
   return HYX_OK;
})

/* The switch and the key of one uplink's data slot. */
static HYX_ReturnStatus uplinkSlot(char const *switchId, char const *uplink, hyx_uint32 index,
                                   DvSwitch *&sw, std::string &key) {
   HYX_ReturnStatus status = lookup(switchId, sw);
   if (status != HYX_OK)
      return status;
   if (uplink == nullptr)
      return HYX_BAD_PARAM;
   if (!fits(uplink, DVS_STORE_NAME_LEN))
      return HYX_NAME_TOO_LONG;
   key = std::string(uplink) + "#" + std::to_string(index);
   return HYX_OK;
}

STORE_CALL(HYX_ReturnStatus, DVSHYX_UplinkDataSet,
           (char const *switchId, char const *uplink, hyx_uint32 index, void *data, int len,
            hyx_uint32 type),
           {
              DvSwitch *sw = nullptr;
              std::string key;
              HYX_ReturnStatus status = uplinkSlot(switchId, uplink, index, sw, key);
              if (status != HYX_OK)
                 return status;
              return propSet(sw->uplinkData, key.c_str(), data, len, type);
           })
STORE_CALL(HYX_ReturnStatus, DVSHYX_UplinkDataGet,
           (char const *switchId, char const *uplink, hyx_uint32 index, void **data, int *len), {
              DvSwitch *sw = nullptr;
              std::string key;
              HYX_ReturnStatus status = uplinkSlot(switchId, uplink, index, sw, key);
              if (status != HYX_OK)
                 return status;
              return propGet(sw->uplinkData, key.c_str(), data, len);
           })
STORE_CALL(HYX_ReturnStatus, DVSHYX_PortGetByExternalId,
           (char const *switchId, char const *externalId, OpaqueDVPortData **port), {
              DvSwitch *sw = nullptr;
              HYX_ReturnStatus status = lookup(switchId, sw);
              if (status != HYX_OK)
                 return status;
              if (externalId == nullptr || port == nullptr)
                 return HYX_BAD_PARAM;
              if (!fits(externalId, DVS_STORE_EXTERNAL_ID_LEN))
                 return HYX_NAME_TOO_LONG;
              for (auto const &p : sw->ports) {
                 if (!p.externalId.empty() && p.externalId == externalId) {
                    auto *out = static_cast<OpaqueDVPortData *>(
                        tessel_sim_block_alloc(sizeof(OpaqueDVPortData)));
                    if (out == nullptr)
                       return HYX_NO_MEMORY;
                    memcpy(out->dvPortId, p.id.c_str(), p.id.size() + 1);
                    memcpy(out->externalId, p.externalId.c_str(), p.externalId.size() + 1);
                    *port = out;
                    return HYX_OK;
                 }
              }
              return HYX_NOT_FOUND;
           })

/* Releases a block the store handed out; anything else is ignored. */
extern "C" TESSEL_HOST_EXPORT void DVSHYX_DataFree(void *data) {
   TESSEL_SIM_ENTRY("DVSHYX_DataFree");
   tessel_sim_block_release(data);
}

/* ---- Lookups and identity: a NULL or stale handle gives NULL or 0 ---- */

extern "C" TESSEL_HOST_EXPORT DVSwitchHandle DVSState_SwitchFindByAlias(char const *alias) {
   TESSEL_SIM_ENTRY("DVSState_SwitchFindByAlias");
   if (alias == nullptr || !fits(alias, DVS_STORE_NAME_LEN))
      return nullptr;
   for (auto &sw : StateStore::instance().switches)
      if (sw.alias == alias)
         return &sw;
   return nullptr;
}

extern "C" TESSEL_HOST_EXPORT DVSPortHandle DVSState_PortFind(char const *switchId,
                                                              char const *portId) {
   TESSEL_SIM_ENTRY("DVSState_PortFind");
   DvSwitch *sw = nullptr;
   DvPort *port = nullptr;
   return lookupPort(switchId, portId, sw, port) == HYX_OK ? port : nullptr;
}

#define SWITCH_TEXT(NAME, FIELD)                                                                   \
   extern "C" TESSEL_HOST_EXPORT char const *NAME(DVSwitchHandle h) {                              \
      TESSEL_SIM_ENTRY(#NAME);                                                                     \
      DvSwitch *sw = StateStore::instance().live(h);                                               \
      return sw ? sw->FIELD.c_str() : nullptr;                                                     \
   }
SWITCH_TEXT(DVS_SwitchId, id)
SWITCH_TEXT(DVS_SwitchName, name)
SWITCH_TEXT(DVS_ClassName, className)

extern "C" TESSEL_HOST_EXPORT char const *DVS_PortId(DVSPortHandle h) {
   TESSEL_SIM_ENTRY("DVS_PortId");
   DvPort *p = StateStore::instance().livePort(h);
   return p ? p->id.c_str() : nullptr;
}
extern "C" TESSEL_HOST_EXPORT char const *DVS_PortAlias(DVSPortHandle h) {
   TESSEL_SIM_ENTRY("DVS_PortAlias");
   DvPort *p = StateStore::instance().livePort(h);
   return p ? p->alias.c_str() : nullptr;
}
extern "C" TESSEL_HOST_EXPORT int DVS_GetMaxPorts(DVSwitchHandle h) {
   TESSEL_SIM_ENTRY("DVS_GetMaxPorts");
   DvSwitch *sw = StateStore::instance().live(h);
   return sw ? static_cast<int>(sw->maxPorts) : 0;
}
extern "C" TESSEL_HOST_EXPORT ZARVersion DVS_Version(DVSwitchHandle h) {
   TESSEL_SIM_ENTRY("DVS_Version");
   DvSwitch *sw = StateStore::instance().live(h);
   return sw ? sw->version : 0;
}
extern "C" TESSEL_HOST_EXPORT hyx_Bool DVPortExist(char const *switchId, char const *portId) {
   TESSEL_SIM_ENTRY("DVPortExist");
   DvSwitch *sw = nullptr;
   DvPort *port = nullptr;
   return lookupPort(switchId, portId, sw, port) == HYX_OK ? 1 : 0;
}

/* ---- Traversal ---- */

extern "C" TESSEL_HOST_EXPORT void DVSState_SwitchForEach(DVSwitchCallback cb, void *context) {
   TESSEL_SIM_ENTRY("DVSState_SwitchForEach");
   walk(StateStore::instance().switches, [](DvSwitch &s) -> void * { return &s; }, cb, context);
}
extern "C" TESSEL_HOST_EXPORT void DVSState_PortForEach(DVSwitchHandle h, DVSPortCallback cb,
                                                        void *context) {
   TESSEL_SIM_ENTRY("DVSState_PortForEach");
   if (DvSwitch *sw = StateStore::instance().live(h))
      walk(sw->ports, [](DvPort &p) -> void * { return &p; }, cb, context);
}
extern "C" TESSEL_HOST_EXPORT void DVSState_HostPropForEach(DVSwitchHandle h,
                                                            DVSPortDataCallback cb, void *context) {
   TESSEL_SIM_ENTRY("DVSState_HostPropForEach");
   if (DvSwitch *sw = StateStore::instance().live(h))
      walk(
          sw->hostProps,
          [](std::pair<std::string const, Prop> &kv) -> void * { return &kv.second; }, cb, context);
}
extern "C" TESSEL_HOST_EXPORT void
DVSState_GlobalPropForEach(DVSwitchHandle h, DVSPortDataCallback cb, void *context) {
   TESSEL_SIM_ENTRY("DVSState_GlobalPropForEach");
   if (DvSwitch *sw = StateStore::instance().live(h))
      walk(
          sw->globalProps,
          [](std::pair<std::string const, Prop> &kv) -> void * { return &kv.second; }, cb, context);
}
extern "C" TESSEL_HOST_EXPORT void DVSState_PortDataForEach(DVSPortHandle h, DVSPortDataCallback cb,
                                                            void *context) {
   TESSEL_SIM_ENTRY("DVSState_PortDataForEach");
   if (DvPort *p = StateStore::instance().livePort(h))
      walk(
          p->data, [](std::pair<std::string const, Prop> &kv) -> void * { return &kv.second; }, cb,
          context);
}

/* ---- Property items and containers ---- */

static int propLookup(char const *switchId, char const *name, DVSDataItem *item, bool host) {
   DvSwitch *sw = nullptr;
   HYX_ReturnStatus status = lookup(switchId, sw);
   if (status != HYX_OK)
      return status;
   if (name == nullptr || item == nullptr)
      return HYX_BAD_PARAM;
   if (!fits(name, DVS_STORE_PROP_NAME_LEN))
      return HYX_NAME_TOO_LONG;
   Props &ps = host ? sw->hostProps : sw->globalProps;
   auto it = ps.find(name);
   if (it == ps.end())
      return HYX_NOT_FOUND;
   *item = &it->second;
   return HYX_OK;
}

STORE_CALL(int, DVSState_HostPropLookup,
           (char const *switchId, char const *name, DVSDataItem *item),
           { return propLookup(switchId, name, item, true); })
STORE_CALL(int, DVSState_GlobalPropLookup,
           (char const *switchId, char const *name, DVSDataItem *item),
           { return propLookup(switchId, name, item, false); })
STORE_CALL(int, DVSData_Alloc, (DVSDataHandle * data, DVSData_MemAlloc a, DVSData_MemFree f),
           { return containerNew(data, a, f); })

extern "C" TESSEL_HOST_EXPORT void DVSData_Free(DVSDataHandle data) {
   TESSEL_SIM_ENTRY("DVSData_Free");
   if (Container *c = liveContainer(data))
      containerFree(c);
}

STORE_CALL(int, DVSData_Update,
           (DVSDataHandle data, char const *name, void *value, hyx_uint32 len, hyx_uint32 type), {
              Container *c = liveContainer(data);
              if (c == nullptr || name == nullptr || (value == nullptr && len > 0))
                 return HYX_BAD_PARAM;
              if (!fits(name, DVS_STORE_PROP_NAME_LEN))
                 return HYX_NAME_TOO_LONG;
              if (len > kSerialLimit)
                 return HYX_LIMIT_EXCEEDED;
              return containerPut(c, name, value, len, type);
           })

STORE_CALL(int, DVSData_Serialize,
           (DVSDataHandle data, void **buf, hyx_uint32 *len, ZARVersion version), {
              Container *c = liveContainer(data);
              if (c == nullptr || buf == nullptr || len == nullptr)
                 return HYX_BAD_PARAM;
              Writer w;
              w.u32(kDataMagic);
              w.u32(DVS_STORE_FORMAT);
              w.u32(version);
              uint32_t n = 0;
              for (Node *it = c->head; it; it = it->next)
                 n++;
              w.u32(n);
              for (Node *it = c->head; it; it = it->next) {
                 w.bytes(it->name(), it->nameLen);
                 w.u32(it->type);
                 w.bytes(it->value(), it->valueLen);
              }
              w.seal();
              int outLen = 0;
              HYX_ReturnStatus status = handOut(w.out, buf, &outLen);
              if (status == HYX_OK)
                 *len = static_cast<hyx_uint32>(outLen);
              return status;
           })

extern "C" TESSEL_HOST_EXPORT hyx_uint32 DVSData_Data(DVSDataItem item, void **data) {
   TESSEL_SIM_ENTRY("DVSData_Data");
   if (Node *n = liveNode(item)) {
      if (data)
         *data = n->value();
      return n->valueLen;
   }
   if (Prop *p = StateStore::instance().liveProp(item)) {
      if (data)
         *data = p->value.data();
      return static_cast<hyx_uint32>(p->value.size());
   }
   if (data)
      *data = nullptr;
   return 0;
}
extern "C" TESSEL_HOST_EXPORT char const *DVSData_Name(DVSDataItem item) {
   TESSEL_SIM_ENTRY("DVSData_Name");
   if (Node *n = liveNode(item))
      return n->name();
   if (Prop *p = StateStore::instance().liveProp(item))
      return p->name.c_str();
   return nullptr;
}
extern "C" TESSEL_HOST_EXPORT hyx_uint32 DVSData_PropType(DVSDataItem item) {
   TESSEL_SIM_ENTRY("DVSData_PropType");
   if (Node *n = liveNode(item))
      return n->type;
   if (Prop *p = StateStore::instance().liveProp(item))
      return p->type;
   return 0;
}
/* True when the item's type shares a bit with the given type. */
extern "C" TESSEL_HOST_EXPORT hyx_Bool DVSData_IsSamePropType(DVSDataItem item, hyx_uint32 type) {
   TESSEL_SIM_ENTRY("DVSData_IsSamePropType");
   uint32_t have = 0;
   if (Node *n = liveNode(item))
      have = n->type;
   else if (Prop *p = StateStore::instance().liveProp(item))
      have = p->type;
   else
      return 0;
   return (have & type) ? 1 : 0;
}

/* ---- Configuration ---- */

STORE_CALL(int, DVSState_ConfigDeserialize, (void *buf, int len), {
   if (buf == nullptr || len < 0)
      return HYX_BAD_PARAM;
   return deserialiseStore(buf, static_cast<size_t>(len));
})
/* Empties the store; the loaded configuration stays for DVSLoadConfig. */
STORE_CALL(int, DVSState_ConfigReset, (void), {
   StateStore::instance().switches.clear();
   return HYX_OK;
})
/* Reloads the configuration last read by DVSHYX_StateInit or
   DVSState_ConfigDeserialize; an empty store when none was. */
STORE_CALL(int, DVSLoadConfig, (void), {
   auto &store = StateStore::instance();
   if (store.loaded.empty()) {
      store.switches.clear();
      return HYX_OK;
   }
   std::vector<uint8_t> copy = store.loaded;
   return deserialiseStore(copy.data(), copy.size());
})

/* ---- Alias translations ---- */

STORE_CALL(int, DVSAliasToSwitchId, (char const *alias, char *switchId),
           { return aliasToId(alias, switchId, DVS_STORE_SWITCH_ID_LEN, false); })
STORE_CALL(int, DVSAliasToSwitchIdAllTypes, (char const *alias, char *switchId),
           { return aliasToId(alias, switchId, DVS_STORE_SWITCH_ID_LEN, true); })
STORE_CALL(int, DVSPortsetNameToAlias, (char const *name, char *alias),
           { return nameTranslate(name, alias, true); })
STORE_CALL(int, DVSAliasToPortsetName, (char const *alias, char *name),
           { return nameTranslate(alias, name, false); })

/* ---- The store in the host's topology document ---- */

/* The store is written under the document's "statestore" key:
 *   {"switches": [{"name", "id", "alias", "class", "version", "maxPorts",
 *     "associated", "nextNumber", "global", "host", "uplinks",
 *     "ports": [{"id", "alias", "externalId", "connectId", "type", "number",
 *                "state", "data"}]}]}
 * where "global", "host", "uplinks" and "data" are lists of properties
 * {"key", "type", "value"} and values and "state" are hexadecimal bytes.
 * Loading it replaces each switch it names (a switch of the host keeps its
 * place in the store) and adds the others; the host's switches it does not
 * name keep what the host seeded them with. */
namespace dvs {
namespace {

using nlohmann::json;

struct StoreKeyError : std::runtime_error {
   using std::runtime_error::runtime_error;
};

char const kHex[] = "0123456789abcdef";

std::string hexOf(std::vector<uint8_t> const &bytes) {
   std::string out;
   out.reserve(bytes.size() * 2);
   for (uint8_t b : bytes) {
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 15]);
   }
   return out;
}

json propsJson(Props const &props) {
   json out = json::array();
   for (auto const &kv : props)
      out.push_back(
          {{"key", kv.first}, {"type", kv.second.type}, {"value", hexOf(kv.second.value)}});
   return out;
}

json storeJson() {
   json switches = json::array();
   for (auto const &sw : StateStore::instance().switches) {
      json ports = json::array();
      for (auto const &p : sw.ports)
         ports.push_back({{"id", p.id},
                          {"alias", p.alias},
                          {"externalId", p.externalId},
                          {"connectId", p.connectId},
                          {"type", p.type},
                          {"number", p.number},
                          {"state", hexOf(p.state)},
                          {"data", propsJson(p.data)}});
      switches.push_back({{"name", sw.name},
                          {"id", sw.id},
                          {"alias", sw.alias},
                          {"class", sw.className},
                          {"version", sw.version},
                          {"maxPorts", sw.maxPorts},
                          {"associated", sw.associated},
                          {"nextNumber", sw.nextNumber},
                          {"global", propsJson(sw.globalProps)},
                          {"host", propsJson(sw.hostProps)},
                          {"uplinks", propsJson(sw.uplinkData)},
                          {"ports", std::move(ports)}});
   }
   return {{"switches", std::move(switches)}};
}

/* A checked reader of one object of the key's value: every member has its
 * type, texts their limit, and a member nobody reads is an error. */
class Member {
 public:
   Member(json const &node, std::string path) : node_(node), path_(std::move(path)) {
      if (!node_.is_object())
         fail("an object");
   }
   [[noreturn]] void fail(std::string const &what, char const *key = nullptr) const {
      throw StoreKeyError(path_ + (key ? std::string(".") + key : std::string()) + ": " + what);
   }
   json const &at(char const *key) {
      auto it = node_.find(key);
      if (it == node_.end())
         fail("missing", key);
      read_.insert(key);
      return *it;
   }
   std::string text(char const *key, size_t limit) {
      json const &v = at(key);
      if (!v.is_string())
         fail("a text", key);
      std::string s = v.get<std::string>();
      if (s.size() >= limit || s.find('\0') != std::string::npos)
         fail("a text shorter than " + std::to_string(limit) + " bytes without NUL", key);
      return s;
   }
   uint32_t number(char const *key) {
      json const &v = at(key);
      if (!v.is_number_unsigned() || v.get<uint64_t>() > UINT32_MAX)
         fail("a number of 0 to 4294967295", key);
      return v.get<uint32_t>();
   }
   bool flag(char const *key) {
      json const &v = at(key);
      if (!v.is_boolean())
         fail("true or false", key);
      return v.get<bool>();
   }
   std::vector<uint8_t> bytes(char const *key) {
      json const &v = at(key);
      std::string const s = v.is_string() ? v.get<std::string>() : std::string("?");
      if (!v.is_string() || s.size() % 2 != 0 || s.size() / 2 > kSerialLimit)
         fail("hexadecimal bytes", key);
      std::vector<uint8_t> out;
      out.reserve(s.size() / 2);
      for (size_t i = 0; i < s.size(); i += 2) {
         char const *hi = strchr(kHex, s[i]), *lo = strchr(kHex, s[i + 1]);
         if (s[i] == '\0' || s[i + 1] == '\0' || hi == nullptr || lo == nullptr)
            fail("hexadecimal bytes (0-9, a-f)", key);
         out.push_back(static_cast<uint8_t>((hi - kHex) << 4 | (lo - kHex)));
      }
      return out;
   }
   std::vector<json> const *list(char const *key) {
      json const &v = at(key);
      if (!v.is_array())
         fail("a list", key);
      return &v.get_ref<json::array_t const &>();
   }
   std::string place(char const *key, size_t i) const {
      return path_ + "." + key + "[" + std::to_string(i) + "]";
   }
   void finish() const {
      for (auto it = node_.begin(); it != node_.end(); ++it)
         if (!read_.count(it.key()))
            fail("unknown key", it.key().c_str());
   }

 private:
   json const &node_;
   std::string path_;
   std::set<std::string> read_;
};

Props propsFrom(Member &parent, char const *key) {
   Props props;
   auto const *list = parent.list(key);
   for (size_t i = 0; i < list->size(); ++i) {
      Member m((*list)[i], parent.place(key, i));
      Prop pr;
      pr.name = m.text("key", DVS_STORE_PROP_NAME_LEN);
      pr.type = m.number("type");
      pr.value = m.bytes("value");
      m.finish();
      if (!props.emplace(pr.name, pr).second)
         m.fail("a second property " + pr.name, "key");
   }
   return props;
}

std::list<DvSwitch> switchesFrom(json const &value) {
   Member top(value, "statestore");
   std::list<DvSwitch> out;
   auto const *list = top.list("switches");
   for (size_t i = 0; i < list->size(); ++i) {
      Member m((*list)[i], top.place("switches", i));
      DvSwitch sw;
      sw.name = m.text("name", DVS_STORE_NAME_LEN);
      sw.id = m.text("id", DVS_STORE_SWITCH_ID_LEN);
      sw.alias = m.text("alias", DVS_STORE_NAME_LEN);
      sw.className = m.text("class", DVS_STORE_NAME_LEN);
      sw.version = m.number("version");
      if (sw.name.empty() || sw.alias.empty() || sw.version < kFirstVersion ||
          sw.version > kLastVersion)
         m.fail("a switch needs a name, an alias and a version of 4 to 7");
      sw.maxPorts = m.number("maxPorts");
      sw.associated = m.flag("associated");
      sw.nextNumber = m.number("nextNumber");
      sw.globalProps = propsFrom(m, "global");
      sw.hostProps = propsFrom(m, "host");
      sw.uplinkData = propsFrom(m, "uplinks");
      auto const *ports = m.list("ports");
      for (size_t k = 0; k < ports->size(); ++k) {
         Member pm((*ports)[k], m.place("ports", k));
         DvPort p;
         p.id = pm.text("id", DVS_STORE_PORT_ID_LEN);
         p.alias = pm.text("alias", DVS_STORE_NAME_LEN);
         p.externalId = pm.text("externalId", DVS_STORE_EXTERNAL_ID_LEN);
         p.connectId = pm.number("connectId");
         p.type = pm.number("type");
         p.number = pm.number("number");
         p.state = pm.bytes("state");
         p.data = propsFrom(pm, "data");
         pm.finish();
         if (p.id.empty() || findPort(sw, p.id.c_str()) != nullptr)
            pm.fail("a port needs an id of its own", "id");
         sw.ports.push_back(std::move(p));
      }
      if (sw.ports.size() > sw.maxPorts)
         m.fail("fewer than the switch's " + std::to_string(sw.ports.size()) + " ports",
                "maxPorts");
      m.finish();
      for (auto const &other : out)
         if (other.name == sw.name || other.alias == sw.alias || other.id == sw.id)
            m.fail("the name, alias or id of another switch of the key");
      out.push_back(std::move(sw));
   }
   top.finish();
   return out;
}

} // namespace
} // namespace dvs

/* Host-private: the store as the value of the topology's "statestore" key,
   as JSON text in a block of malloc; NULL when out of memory. */
extern "C" TESSEL_HOST_EXPORT char *tessel_sim_dvs_store_dump(void) {
   try {
      std::string const text = dvs::storeJson().dump();
      char *out = static_cast<char *>(malloc(text.size() + 1));
      if (out != nullptr)
         memcpy(out, text.c_str(), text.size() + 1);
      return out;
   } catch (...) {
      return nullptr;
   }
}

/* Host-private: loads the "statestore" key's value (NULL: none, the store
   keeps its seeding); 0, or -1 with the place and the fault in error and the
   store as it was. */
extern "C" TESSEL_HOST_EXPORT int tessel_sim_dvs_store_load(char const *text, char *error,
                                                            size_t errorSize) {
   using namespace dvs;
   if (text == nullptr)
      return 0;
   try {
      std::list<DvSwitch> loaded = switchesFrom(nlohmann::json::parse(text));
      auto &store = StateStore::instance();
      for (auto &sw : loaded) {
         DvSwitch *same = store.find(sw.name.c_str());
         for (auto const &other : store.switches)
            if (&other != same && (other.alias == sw.alias || other.id == sw.id))
               throw StoreKeyError("statestore: switch " + sw.name +
                                   " takes the alias or id of switch " + other.name);
      }
      for (auto &sw : loaded) {
         if (DvSwitch *same = store.find(sw.name.c_str()))
            *same = std::move(sw);
         else
            store.switches.push_back(std::move(sw));
      }
      return 0;
   } catch (std::exception const &e) {
      if (error != nullptr && errorSize > 0)
         snprintf(error, errorSize, "%s", e.what());
      return -1;
   }
}
