/* Shared steps of the exported switch-control functions: exception
 * containment, switch and port lookup, truth-value checks, packed-record
 * access and the tracked blocks that tables are handed out in.  The exported
 * shells themselves are made with TESSEL_HOST_API (sim_internal.h). */
#ifndef TESSEL_HOST_API_SUPPORT_H
#define TESSEL_HOST_API_SUPPORT_H

#include <string.h>

#include <new>

#include "hostapi/kernel.h"
#include "hostapi/ports.h"
#include "hostapi/status.h"
#include "model.h"
#include "sim_internal.h"

namespace tessel {

/* Runs body and turns any exception into a status, so none reaches the C
 * caller. */
template <typename F> HYX_ReturnStatus guarded(F &&body) noexcept {
   try {
      return body();
   } catch (std::bad_alloc const &) {
      return HYX_NO_MEMORY;
   } catch (...) {
      return HYX_FAILURE;
   }
}

/* Finds a switch by portset name: HYX_BAD_PARAM for NULL, HYX_NAME_TOO_LONG
 * for a name that cannot be one (not read past that bound), HYX_NOT_FOUND. */
inline HYX_ReturnStatus lookupSwitch(char const *name, Switch *&sw) {
   if (name == nullptr)
      return HYX_BAD_PARAM;
   if (strnlen(name, VS_LIST_PS_ENTRY_LEN) >= VS_LIST_PS_ENTRY_LEN)
      return HYX_NAME_TOO_LONG;
   sw = Host::instance().find(name);
   return sw == nullptr ? HYX_NOT_FOUND : HYX_OK;
}

/* Finds a port of sw by client name or decimal port ID, with the statuses of
 * lookupSwitch. */
inline HYX_ReturnStatus lookupPort(Switch &sw, char const *name, Port *&port) {
   if (name == nullptr)
      return HYX_BAD_PARAM;
   if (strnlen(name, HYX_PORT_CLIENT_NAME_MAX) >= HYX_PORT_CLIENT_NAME_MAX)
      return HYX_NAME_TOO_LONG;
   port = sw.findPort(name);
   return port == nullptr ? HYX_NOT_FOUND : HYX_OK;
}

/* A truth value passed in must be 0 or 1. */
inline bool readBool(hyx_Bool value, bool &out) {
   unsigned char byte = static_cast<unsigned char>(value);
   if (byte > 1)
      return false;
   out = byte == 1;
   return true;
}

/* Stores value at a byte offset of a packed record, whatever the alignment. */
template <typename T> void putAt(void *record, size_t offset, T const &value) {
   memcpy(static_cast<char *>(record) + offset, &value, sizeof value);
}

/* Reads a field of a packed record by copy.  Enumeration fields the caller
 * filled are read as plain integers, since they may hold any value. */
template <typename T> T getAt(void const *record, size_t offset) {
   T value;
   memcpy(&value, static_cast<char const *>(record) + offset, sizeof value);
   return value;
}

/* The value of an enumeration argument as the integer the caller passed,
 * without loading it as the enumeration type. */
template <typename T, typename E> T rawValue(E const &value) {
   static_assert(sizeof(T) == sizeof(E), "same width");
   T raw;
   memcpy(&raw, &value, sizeof raw);
   return raw;
}

/* A tracked, zero-filled block of an 8-byte table header (totalEntries and
 * numEntries both set to count) followed by count entries of entrySize
 * bytes; NULL when out of memory. */
inline unsigned char *allocTable(uint32_t count, size_t entrySize) {
   size_t bytes = 8 + static_cast<size_t>(count) * entrySize;
   auto *block = static_cast<unsigned char *>(tessel_sim_block_alloc(bytes));
   if (block != nullptr) {
      putAt<uint32_t>(block, 0, count);
      putAt<uint32_t>(block, 4, count);
   }
   return block;
}

/* Looks up a switch and runs body on it, with the statuses of lookupSwitch;
 * no exception escapes. */
template <typename Body> HYX_ReturnStatus withSwitch(char const *switchName, Body body) noexcept {
   return guarded([&]() -> HYX_ReturnStatus {
      Switch *sw = nullptr;
      HYX_ReturnStatus status = lookupSwitch(switchName, sw);
      if (status != HYX_OK)
         return status;
      return body(*sw);
   });
}

/* Looks up a switch and one of its ports and runs body(switch, port). */
template <typename Body>
HYX_ReturnStatus withPort(char const *switchName, char const *portName, Body body) noexcept {
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      Port *port = nullptr;
      HYX_ReturnStatus status = lookupPort(sw, portName, port);
      if (status != HYX_OK)
         return status;
      return body(sw, *port);
   });
}

/* Hands out a table of one element of elementSize bytes per port of the
 * named switch, each written by fill(switch, port, dst). */
template <typename Table, typename Fill>
HYX_ReturnStatus handOutPortTable(char const *switchName, size_t elementSize, Fill fill,
                                  Table **table) noexcept {
   if (table == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) -> HYX_ReturnStatus {
      uint32_t count = static_cast<uint32_t>(sw.ports.size());
      unsigned char *block = allocTable(count, elementSize);
      if (block == nullptr)
         return HYX_NO_MEMORY;
      for (uint32_t i = 0; i < count; ++i)
         fill(sw, sw.ports[i], block + 8 + i * elementSize);
      *table = reinterpret_cast<Table *>(block);
      return HYX_OK;
   });
}

} // namespace tessel

#endif
