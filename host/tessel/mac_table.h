/* The MAC address table of one simulated switch: its entries in a vector,
 * indexed by (address, VLAN, network) in a hash map, with per-port counts so
 * that limits are checked without scanning the table. */
#ifndef TESSEL_HOST_MAC_TABLE_H
#define TESSEL_HOST_MAC_TABLE_H

#include <stddef.h>
#include <stdint.h>

#include <unordered_map>
#include <vector>

#include "model.h"

namespace tessel {

/* An entry is unique by address, VLAN and overlay network. */
struct MacKey {
   MacAddress mac{};
   uint16_t vid = 0;
   uint32_t vni = 0;
   bool operator==(MacKey const &other) const {
      return mac == other.mac && vid == other.vid && vni == other.vni;
   }
};

struct MacKeyHash {
   size_t operator()(MacKey const &key) const noexcept;
};

/* Kinds of entry, with the values of VSMACAddrType. */
enum MacKind : uint8_t { kMacStatic = 0, kMacUser = 1, kMacLearned = 2 };

struct MacRecord {
   MacKey key;
   /* Index of the port in its switch. */
   uint32_t port = 0;
   MacKind kind = kMacLearned;
   /* A user entry that took the place of a learned one. */
   bool overrides = false;
   uint32_t elapsed = 0;
   uint32_t macMove = 0;
   uint32_t refCount = 1;
   uint32_t timestamp = 0;
   uint32_t rarpTxTimestamp = 0;
   uint64_t pktsRx = 0;
   uint64_t bytesRx = 0;
   uint64_t pktsTx = 0;
   uint64_t bytesTx = 0;
};

class MacTable {
 public:
   /* Entries of one port by kind: static (STATIC and USER) and learned. */
   struct PortCounts {
      uint32_t fixed = 0;
      uint32_t learned = 0;
   };

   void reserve(size_t entries);
   MacRecord const *find(MacKey const &key) const;
   /* Inserts record, or replaces the entry with the same key. */
   void put(MacRecord const &record);
   /* Removes the entry with this key; false when there is none.  The last
    * entry takes the removed one's place. */
   bool erase(MacKey const &key);
   /* Removes every entry of the port at index port; the entries of the ports
    * after it move down by one, as those ports do. */
   void dropPort(uint32_t port);

   std::vector<MacRecord> const &records() const { return records_; }
   PortCounts counts(uint32_t port) const;
   /* USER entries whose address is unicast. */
   size_t userUnicast() const { return userUnicast_; }

 private:
   void count(MacRecord const &record, int delta);

   std::vector<MacRecord> records_;
   std::unordered_map<MacKey, size_t, MacKeyHash> index_;
   std::vector<PortCounts> portCounts_;
   size_t userUnicast_ = 0;
};

} // namespace tessel

#endif
