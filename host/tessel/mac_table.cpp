#include "mac_table.h"

namespace tessel {

namespace {

bool unicast(MacAddress const &mac) { return (mac[0] & 0x01) == 0; }

} // namespace

size_t MacKeyHash::operator()(MacKey const &key) const noexcept {
   uint64_t packed = 0;
   for (uint8_t byte : key.mac)
      packed = (packed << 8) | byte;
   packed = (packed << 16) | key.vid;
   return static_cast<size_t>(mix(packed ^ mix(key.vni)));
}

void MacTable::reserve(size_t entries) {
   records_.reserve(entries);
   index_.reserve(entries);
}

MacRecord const *MacTable::find(MacKey const &key) const {
   auto it = index_.find(key);
   return it == index_.end() ? nullptr : &records_[it->second];
}

MacTable::PortCounts MacTable::counts(uint32_t port) const {
   return port < portCounts_.size() ? portCounts_[port] : PortCounts{};
}

/* put() has made room for record.port. */
void MacTable::count(MacRecord const &record, int delta) {
   PortCounts &counts = portCounts_[record.port];
   uint32_t &slot = record.kind == kMacLearned ? counts.learned : counts.fixed;
   slot += delta;
   if (record.kind == kMacUser && unicast(record.key.mac))
      userUnicast_ += delta;
}

void MacTable::put(MacRecord const &record) {
   /* Growing the per-port counts is the only step that can throw after the
    * index is touched, so it comes first. */
   if (record.port >= portCounts_.size())
      portCounts_.resize(record.port + 1);
   auto it = index_.find(record.key);
   if (it != index_.end()) {
      MacRecord &old = records_[it->second];
      count(old, -1);
      old = record;
      count(old, +1);
      return;
   }
   records_.push_back(record);
   try {
      index_.emplace(record.key, records_.size() - 1);
   } catch (...) {
      records_.pop_back();
      throw;
   }
   count(record, +1);
}

bool MacTable::erase(MacKey const &key) {
   auto it = index_.find(key);
   if (it == index_.end())
      return false;
   size_t slot = it->second;
   count(records_[slot], -1);
   index_.erase(it);
   if (slot != records_.size() - 1) {
      records_[slot] = records_.back();
      index_.find(records_[slot].key)->second = slot;
   }
   records_.pop_back();
   return true;
}

void MacTable::dropPort(uint32_t port) {
   std::vector<MacKey> gone;
   for (auto const &record : records_)
      if (record.port == port)
         gone.push_back(record.key);
   for (auto const &key : gone)
      erase(key);
   for (auto &record : records_)
      if (record.port > port)
         --record.port;
   if (port < portCounts_.size())
      portCounts_.erase(portCounts_.begin() + static_cast<ptrdiff_t>(port));
}

} // namespace tessel
