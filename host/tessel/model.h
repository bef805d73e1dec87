/* The simulated host of libtessel.so: its switches with their identity and
 * ports, and the subsystem components that keep everything else.
 *
 * A switch knows only who it is and which ports it has.  Each subsystem
 * (kernel, ports, mac, ...) is a Component: it keeps its own host-wide state
 * and its own state of every switch and port, fills them from its key in the
 * topology and is rebuilt with the host on tessel_sim_reset.  A subsystem
 * registers itself with TESSEL_COMPONENT in its own file, so adding one adds
 * files and edits none. */
#ifndef TESSEL_HOST_MODEL_H
#define TESSEL_HOST_MODEL_H

#include <stddef.h>
#include <stdint.h>

#include <array>
#include <memory>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "topology.h"

namespace tessel {

using MacAddress = std::array<uint8_t, 6>;

/* Port IDs are (switch slot + 2) << 24 plus the port number, so a host has at
 * most 64 switches and a switch at most 65536 ports.  A switch takes the
 * lowest slot no other switch holds, so the IDs of a switch's ports stay the
 * same while switches come and go. */
constexpr size_t kMaxSwitches = 64;
constexpr size_t kMaxPorts = 65536;

/* The fixed mixing function the host derives its plausible figures from, so
 * every run reports the same values. */
inline uint64_t mix(uint64_t x) {
   x += 0x9E3779B97F4A7C15ull;
   x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
   x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
   return x ^ (x >> 31);
}

/* A port's identity.  Its ID, address and distributed port ID follow from the
 * switch's position in the host and the port's index. */
struct Port {
   uint32_t id = 0;
   uint32_t index = 0;
   std::string clientName;
   int32_t clientType = 0;
   MacAddress mac{};
   /* Distributed switches only. */
   std::string dvPortId;
   /* A distributed port added at run time, with no client connected: it has
    * no client name and may be removed again. */
   bool runtime = false;
   /* A port that takes every frame (such as a router port). */
   bool sink = false;

   /* Uplinks and LAGs form the switch's NIC team side. */
   bool team() const;
};

/* A switch's identity and its ports.  A standard switch has no alias. */
class Switch {
 public:
   std::string name;
   bool distributed = false;
   std::string alias;
   /* Position in the host's list; components keep their state by it. */
   uint32_t ordinal = 0;
   /* Its ports' IDs are (slot + 2) << 24 plus their number. */
   uint32_t slot = 0;
   /* The number the next port added takes. */
   uint32_t nextNumber = 1;
   /* In port index order: ports[i].index == i. */
   std::vector<Port> ports;

   /* Finds a port by client name, or by port ID written in decimal. */
   Port *findPort(char const *name);
   Port const *findPort(char const *name) const;

 private:
   friend class Host;
   std::unordered_map<std::string, uint32_t> portsByName_;
   std::unordered_map<uint32_t, uint32_t> portsById_;
};

class Host;

/* What a component is given for a new switch: its settings on the switch and
 * on each port (absent ones read as defaults).  On a switch, "ports" is the
 * list of ports, so the ports subsystem has no switch-level settings. */
struct SwitchSettings {
   Settings &onSwitch;
   std::vector<Settings *> onPorts;
};

class Component {
 public:
   virtual ~Component() = default;
   /* Host-wide settings under the component's key at the top of the
    * topology; called once on a fresh component, before any switch. */
   virtual void fillHost(Settings &settings) { (void)settings; }
   /* Adds the component's state of sw, the switch being added at position
    * sw.ordinal; throws TopologyError for settings it refuses. */
   virtual void addSwitch(Host &host, Switch const &sw, SwitchSettings &settings) = 0;
   /* Keeps the state of the first count switches only: undoes addSwitch for
    * a switch that could not be added. */
   virtual void truncate(size_t count) = 0;
   /* The switch at position ordinal leaves the host; the ones after it move
    * up by one.  A component with host-wide state only ignores these three. */
   virtual void removeSwitch(size_t ordinal) { (void)ordinal; }
   /* A port was added at the end of sw's ports, or the port at index left sw
    * (the ports after it move down by one); neither may throw but
    * std::bad_alloc. */
   virtual void addPort(Host &host, Switch const &sw, Port const &port) {
      (void)host, (void)sw, (void)port;
   }
   virtual void removePort(Host &host, Switch const &sw, uint32_t index) {
      (void)host, (void)sw, (void)index;
   }
   /* Writes the component's host-wide state as the settings fillHost reads
    * (into an empty object, left empty when there is nothing to say). */
   virtual void dumpHost(nlohmann::json &settings) const { (void)settings; }
   /* Writes the component's state of sw as the settings addSwitch reads: on
    * the switch and on each port (onPorts[port.index]), each an empty object
    * to fill.  Loading what the dump wrote gives the same state. */
   virtual void dumpSwitch(Host const &host, Switch const &sw, nlohmann::json &onSwitch,
                           std::vector<nlohmann::json> &onPorts) const {
      (void)host, (void)sw, (void)onSwitch, (void)onPorts;
   }
};

/* True for a state that keeps a vector `ports` by port index. */
template <typename T, typename = void> struct KeepsPorts : std::false_type {};
template <typename T>
struct KeepsPorts<
    T, std::void_t<decltype(std::declval<T &>().ports.erase(std::declval<T &>().ports.begin()))>>
    : std::true_type {};

/* A component whose state of a switch is a State, kept in switch order. */
template <typename State> class ComponentOf : public Component {
 public:
   State &of(Switch const &sw) { return switches_[sw.ordinal]; }
   State const &of(Switch const &sw) const { return switches_[sw.ordinal]; }
   void truncate(size_t count) override {
      if (switches_.size() > count)
         switches_.erase(switches_.begin() + static_cast<ptrdiff_t>(count), switches_.end());
   }
   void removeSwitch(size_t ordinal) override {
      switches_.erase(switches_.begin() + static_cast<ptrdiff_t>(ordinal));
   }
   /* A state kept by port index gets a default entry for a new port and
    * loses the entry of a port that leaves; components whose state names
    * ports otherwise override these. */
   void addPort(Host &, Switch const &sw, Port const &) override {
      if constexpr (KeepsPorts<State>::value)
         switches_[sw.ordinal].ports.emplace_back();
   }
   void removePort(Host &, Switch const &sw, uint32_t index) override {
      if constexpr (KeepsPorts<State>::value) {
         auto &ports = switches_[sw.ordinal].ports;
         ports.erase(ports.begin() + static_cast<ptrdiff_t>(index));
      }
   }

 protected:
   std::vector<State> switches_;
};

/* The component registry: filled by TESSEL_COMPONENT while the library
 * loads, read when a host is built. */
struct ComponentEntry {
   char const *key;
   std::vector<std::string> after;
   std::unique_ptr<Component> (*make)();
};
size_t registerComponent(ComponentEntry entry);
/* The topology key of the component registered at index. */
char const *componentKey(size_t index);
/* Takes the top-level keys other libraries contribute (see
 * tessel_sim_add_topology_key) as read, so the document checks out. */
void markContributedKeys(Settings &document);
/* The contributed keys' values in the live libraries, by key. */
nlohmann::json contributedKeys();

template <typename C> struct ComponentSlot {
   static inline size_t index = SIZE_MAX;
};

template <typename C> struct ComponentRegistration {
   ComponentRegistration(char const *key, std::vector<std::string> after) {
      ComponentSlot<C>::index =
          registerComponent({key, std::move(after),
                             []() -> std::unique_ptr<Component> { return std::make_unique<C>(); }});
   }
};

/* Registers component class Type under its topology key, filled after the
 * components whose keys follow (whose state its fill reads). */
#define TESSEL_COMPONENT(Type, key, ...)                                                           \
   static ::tessel::ComponentRegistration<Type> const tesselRegistration##Type {                   \
      key, { __VA_ARGS__ }                                                                         \
   }

/* All switches of the host, in the order the host lists them, and the
 * components.  The live host is built from the topology at first use;
 * tessel_sim_reset builds it again from the same document. */
class Host {
 public:
   Host();
   Host(Host const &) = delete;
   Host &operator=(Host const &) = delete;

   static Host &instance();
   /* Replaces the live host by one built from the loaded topology; on failure
    * the live host is kept and the exception propagates. */
   static void reset();

   /* Replaces the live host by one built from document (a topology document
    * named by source in messages); on failure the live host is kept and
    * TopologyError (or std::bad_alloc) propagates. */
   static void install(nlohmann::json const &document, std::string const &source);
   /* The host as a topology document: load gives a host with the same state
    * and the same dump. */
   nlohmann::json dump() const;

   /* Fills the components' host-wide settings and adds every switch of a
    * topology document; throws TopologyError. */
   void load(Settings &document);
   /* Adds the switch a topology entry describes; on failure nothing is added
    * and TopologyError (or std::bad_alloc) propagates. */
   void add(Settings &entry);

   /* Removes a switch and every component's state of it. */
   void remove(Switch const &sw);
   /* Adds a distributed port with no client to sw, with the distributed port
    * ID dvPortId; throws std::bad_alloc or std::length_error (the switch has
    * kMaxPorts ports). */
   Port const &addPort(Switch &sw, std::string const &dvPortId);
   /* Removes a port added by addPort. */
   void removePort(Switch &sw, uint32_t index);

   std::vector<Switch> const &switches() const { return switches_; }
   Switch *find(char const *name);
   /* The switch and port a port ID names, or NULL. */
   Switch const *findByPortId(uint32_t id, Port const **port) const;
   /* Only distributed switches have aliases. */
   Switch const *findByAlias(char const *alias) const;

   template <typename C> C &component() {
      return static_cast<C &>(*components_[ComponentSlot<C>::index]);
   }
   template <typename C> C const &component() const {
      return static_cast<C const &>(*components_[ComponentSlot<C>::index]);
   }

   /* The host's clock in seconds; it advances by one on every change. */
   uint32_t now() const { return clock_; }
   uint32_t tick() { return ++clock_; }

 private:
   Switch identity(Settings &entry, std::vector<Settings *> const &ports) const;

   std::vector<Switch> switches_;
   /* In registration order; fillOrder_ puts each after those it reads. */
   std::vector<std::unique_ptr<Component>> components_;
   std::vector<size_t> fillOrder_;
   uint32_t clock_ = 1700000000;
};

} // namespace tessel

#endif
