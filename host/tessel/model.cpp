#include "model.h"

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include <nlohmann/json.hpp>

#include "hostapi/kernel.h"
#include "hostapi/ports.h"

namespace tessel {

namespace {

std::vector<ComponentEntry> &registry() {
   static std::vector<ComponentEntry> *entries = new std::vector<ComponentEntry>;
   return *entries;
}

/* Port IDs are looked up from decimal text, so a client name must never read
 * as one. */
bool allDigits(std::string const &text) {
   return text.find_first_not_of("0123456789") == std::string::npos;
}

void requireFits(Settings &settings, char const *key, std::string const &text, size_t width) {
   if (text.size() >= width)
      settings.fail("longer than " + std::to_string(width - 1) + " bytes", key);
   if (text.find('\0') != std::string::npos)
      settings.fail("contains a NUL character", key);
}

MacAddress portMac(uint32_t ordinal, uint32_t index, bool team) {
   return {0x02,
           static_cast<uint8_t>(team ? 0x1b : 0x50),
           static_cast<uint8_t>(ordinal),
           static_cast<uint8_t>(index >> 16),
           static_cast<uint8_t>(index >> 8),
           static_cast<uint8_t>(index)};
}

/* Components in an order where each comes after the ones it names; throws
 * std::logic_error for a key registered twice, an unknown name or a cycle. */
std::vector<size_t> fillOrder(std::vector<ComponentEntry> const &entries) {
   std::vector<size_t> order;
   std::vector<int> state(entries.size(), 0); /* 0 new, 1 visiting, 2 placed */
   auto indexOf = [&](std::string const &key) {
      size_t found = entries.size();
      for (size_t i = 0; i < entries.size(); ++i) {
         if (key != entries[i].key)
            continue;
         if (found != entries.size())
            throw std::logic_error("component " + key + " is registered twice");
         found = i;
      }
      if (found == entries.size())
         throw std::logic_error("component " + key + " is not registered");
      return found;
   };
   auto visit = [&](auto &self, size_t i) -> void {
      if (state[i] == 2)
         return;
      if (state[i] == 1)
         throw std::logic_error(std::string("components fill after each other: ") + entries[i].key);
      state[i] = 1;
      for (auto const &key : entries[i].after)
         self(self, indexOf(key));
      state[i] = 2;
      order.push_back(i);
   };
   for (size_t i = 0; i < entries.size(); ++i) {
      indexOf(entries[i].key);
      visit(visit, i);
   }
   return order;
}

/* The live host, built at first use.  A topology that cannot be built is
 * reported and leaves a host without switches, so that no call works on a
 * host other than the one asked for. */
Host *buildLive() {
   auto host = std::make_unique<Host>();
   bool built = false;
   try {
      /* A state file, when there is one, holds the host as the last process
       * left it. */
      std::optional<nlohmann::json> const state = stateDocument();
      Settings document(state ? &*state : &topologyDocument(), "");
      host->load(document);
      built = true;
   } catch (std::exception const &e) {
      fprintf(stderr, "libtessel: topology not loaded, the host has no switches: %s\n", e.what());
      host = std::make_unique<Host>();
   }
   watchStateFile(built);
   return host.release();
}

Host *&live() {
   static Host *host = buildLive();
   return host;
}

} // namespace

size_t registerComponent(ComponentEntry entry) {
   registry().push_back(std::move(entry));
   return registry().size() - 1;
}

char const *componentKey(size_t index) { return registry()[index].key; }

bool Port::team() const {
   return clientType == VS_PORT_CLIENT_UPLINK || clientType == VS_PORT_CLIENT_LAG;
}

/* ---- Switch ---- */

Port const *Switch::findPort(char const *name) const {
   auto byName = portsByName_.find(name);
   if (byName != portsByName_.end())
      return &ports[byName->second];
   size_t len = strlen(name);
   if (len == 0 || len > 10)
      return nullptr;
   uint64_t id = 0;
   for (size_t i = 0; i < len; ++i) {
      if (name[i] < '0' || name[i] > '9')
         return nullptr;
      id = id * 10 + static_cast<uint64_t>(name[i] - '0');
   }
   if (id > UINT32_MAX)
      return nullptr;
   auto byId = portsById_.find(static_cast<uint32_t>(id));
   return byId == portsById_.end() ? nullptr : &ports[byId->second];
}

Port *Switch::findPort(char const *name) {
   return const_cast<Port *>(static_cast<Switch const *>(this)->findPort(name));
}

/* ---- Host ---- */

Host::Host() : fillOrder_(fillOrder(registry())) {
   components_.reserve(registry().size());
   for (auto const &entry : registry())
      components_.push_back(entry.make());
}

Host &Host::instance() { return *live(); }

void Host::reset() {
   auto fresh = std::make_unique<Host>();
   Settings document(&topologyDocument(), "");
   fresh->load(document);
   delete std::exchange(live(), fresh.release());
}

void Host::install(nlohmann::json const &document, std::string const &source) {
   auto fresh = std::make_unique<Host>();
   Settings settings(&document, "");
   try {
      fresh->load(settings);
   } catch (TopologyError const &e) {
      throw TopologyError(source + ": " + e.what());
   }
   delete std::exchange(live(), fresh.release());
}

void Host::load(Settings &document) {
   clock_ = document.number<uint32_t>("clock", clock_);
   for (size_t i : fillOrder_)
      components_[i]->fillHost(document.object(registry()[i].key));
   for (Settings *entry : document.list("switches"))
      add(*entry);
   markContributedKeys(document);
   document.finish();
}

Switch Host::identity(Settings &entry, std::vector<Settings *> const &ports) const {
   Switch sw;
   sw.ordinal = static_cast<uint32_t>(switches_.size());
   sw.name = entry.text("name", "");
   sw.distributed = entry.flag("distributed", false);
   sw.alias = entry.text("alias", "");
   if (sw.name.empty())
      entry.fail("a switch needs a name", "name");
   requireFits(entry, "name", sw.name, VS_LIST_PS_ENTRY_LEN);
   requireFits(entry, "alias", sw.alias, VS_LIST_ALIAS_ENTRY_LEN);
   if (!sw.distributed && !sw.alias.empty())
      entry.fail("only distributed switches have aliases", "alias");
   for (auto const &other : switches_) {
      if (other.name == sw.name)
         entry.fail("switch " + sw.name + " already exists", "name");
      if (!sw.alias.empty() && other.alias == sw.alias)
         entry.fail("alias " + sw.alias + " is already taken", "alias");
   }
   if (switches_.size() >= kMaxSwitches)
      entry.fail("the host has " + std::to_string(kMaxSwitches) + " switches already");
   std::vector<bool> taken(kMaxSwitches, false);
   for (auto const &other : switches_)
      taken[other.slot] = true;
   while (taken[sw.slot])
      ++sw.slot;

   if (ports.size() > kMaxPorts)
      entry.fail("more than " + std::to_string(kMaxPorts) + " ports", "ports");
   uint32_t const idBase = (sw.slot + 2) << 24;
   sw.ports.reserve(ports.size());
   sw.portsByName_.reserve(ports.size());
   sw.portsById_.reserve(ports.size());
   for (Settings *settings : ports) {
      Port p;
      p.index = static_cast<uint32_t>(sw.ports.size());
      p.id = idBase + p.index + 1;
      if (sw.distributed && settings->has("dvPort")) {
         /* A distributed port with no client, as the switch lifecycle calls
          * add one. */
         p.dvPortId = settings->text("dvPort", "");
         if (p.dvPortId.empty() || p.dvPortId.size() >= VS_DVPORT_ID_LEN)
            settings->fail("a distributed port ID of 1 to " + std::to_string(VS_DVPORT_ID_LEN - 1) +
                               " bytes",
                           "dvPort");
         uint32_t const number = settings->number<uint32_t>("number", p.index + 1, 0xFFFFFFu);
         if (number == 0)
            settings->fail("port numbers start at 1", "number");
         p.id = idBase + number;
         p.runtime = true;
         p.mac = portMac(sw.slot, number, false);
         if (!sw.portsById_.emplace(p.id, p.index).second)
            settings->fail("port number " + std::to_string(number) + " is taken", "number");
         sw.nextNumber = std::max(sw.nextNumber, number + 1);
         sw.ports.push_back(std::move(p));
         continue;
      }
      p.clientName = settings->text("name", "");
      if (p.clientName.empty() || allDigits(p.clientName))
         settings->fail("a port needs a name that is not a number", "name");
      requireFits(*settings, "name", p.clientName, HYX_PORT_CLIENT_NAME_MAX);
      p.clientType = settings->choice<int32_t>("type",
                                               {{"unknown", VS_PORT_CLIENT_UNKNOWN},
                                                {"tcpip", VS_PORT_CLIENT_TCPIP},
                                                {"vnic", VS_PORT_CLIENT_VNIC},
                                                {"uplink", VS_PORT_CLIENT_UPLINK},
                                                {"lag", VS_PORT_CLIENT_LAG}},
                                               VS_PORT_CLIENT_UNKNOWN);
      p.sink = settings->flag("sink", false);
      p.mac = portMac(sw.slot, p.index, p.team());
      if (sw.distributed)
         p.dvPortId = std::to_string(100 + p.index);
      if (!sw.portsByName_.emplace(p.clientName, p.index).second)
         settings->fail("port " + p.clientName + " already exists", "name");
      if (!sw.portsById_.emplace(p.id, p.index).second)
         settings->fail("its port number is taken by a distributed port", "name");
      sw.ports.push_back(std::move(p));
   }
   sw.nextNumber = std::max(sw.nextNumber, static_cast<uint32_t>(sw.ports.size()) + 1);
   return sw;
}

void Host::add(Settings &entry) {
   std::vector<Settings *> const ports = entry.list("ports");
   Switch sw = identity(entry, ports);
   try {
      for (size_t i : fillOrder_) {
         char const *key = registry()[i].key;
         /* On a switch, "ports" is its list of ports. */
         Settings absent(nullptr, entry.path() + "." + key);
         SwitchSettings settings{strcmp(key, "ports") == 0 ? absent : entry.object(key), {}};
         settings.onPorts.reserve(ports.size());
         for (Settings *port : ports)
            settings.onPorts.push_back(&port->object(key));
         components_[i]->addSwitch(*this, sw, settings);
      }
      entry.finish();
      switches_.push_back(std::move(sw));
   } catch (...) {
      for (auto &component : components_)
         component->truncate(switches_.size());
      throw;
   }
}

void Host::remove(Switch const &sw) {
   size_t const ordinal = sw.ordinal;
   for (auto &component : components_)
      component->removeSwitch(ordinal);
   switches_.erase(switches_.begin() + static_cast<ptrdiff_t>(ordinal));
   for (size_t i = ordinal; i < switches_.size(); ++i)
      switches_[i].ordinal = static_cast<uint32_t>(i);
}

Port const &Host::addPort(Switch &sw, std::string const &dvPortId) {
   if (sw.ports.size() >= kMaxPorts || sw.nextNumber > 0xFFFFFFu)
      throw std::length_error("the switch has no port number left");
   Port p;
   p.index = static_cast<uint32_t>(sw.ports.size());
   p.id = ((sw.slot + 2) << 24) + sw.nextNumber;
   p.mac = portMac(sw.slot, p.id & 0xFFFFFFu, false);
   p.dvPortId = dvPortId;
   p.runtime = true;
   sw.ports.reserve(sw.ports.size() + 1);
   sw.portsById_.emplace(p.id, p.index);
   sw.ports.push_back(std::move(p));
   ++sw.nextNumber;
   size_t added = 0;
   try {
      for (size_t i : fillOrder_) {
         components_[i]->addPort(*this, sw, sw.ports.back());
         ++added;
      }
   } catch (...) {
      /* Undo in reverse: the components that took the port drop it again. */
      for (size_t k = added; k-- > 0;)
         components_[fillOrder_[k]]->removePort(*this, sw, sw.ports.back().index);
      sw.portsById_.erase(sw.ports.back().id);
      sw.ports.pop_back();
      throw;
   }
   return sw.ports.back();
}

void Host::removePort(Switch &sw, uint32_t index) {
   for (size_t i : fillOrder_)
      components_[i]->removePort(*this, sw, index);
   sw.portsById_.erase(sw.ports[index].id);
   if (!sw.ports[index].clientName.empty())
      sw.portsByName_.erase(sw.ports[index].clientName);
   sw.ports.erase(sw.ports.begin() + static_cast<ptrdiff_t>(index));
   for (size_t i = index; i < sw.ports.size(); ++i) {
      Port &p = sw.ports[i];
      p.index = static_cast<uint32_t>(i);
      sw.portsById_[p.id] = p.index;
      if (!p.clientName.empty())
         sw.portsByName_[p.clientName] = p.index;
   }
}

Switch const *Host::findByPortId(uint32_t id, Port const **port) const {
   uint32_t const slot = (id >> 24) - 2;
   for (auto const &sw : switches_) {
      if (id >> 24 < 2 || sw.slot != slot)
         continue;
      Port const *found = sw.findPort(std::to_string(id).c_str());
      if (found == nullptr)
         return nullptr;
      if (port != nullptr)
         *port = found;
      return &sw;
   }
   return nullptr;
}

Switch *Host::find(char const *name) {
   for (auto &sw : switches_) {
      if (sw.name == name)
         return &sw;
   }
   return nullptr;
}

Switch const *Host::findByAlias(char const *alias) const {
   for (auto const &sw : switches_) {
      if (sw.distributed && !sw.alias.empty() && sw.alias == alias)
         return &sw;
   }
   return nullptr;
}

} // namespace tessel
