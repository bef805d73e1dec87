/* Settings of the subsystems that the distributed-switch store shows under
 * their published property keys.
 *
 * A subsystem registers each such setting in its own file with
 * TESSEL_KEYED_SETTING: the key, whether it is a port's setting, and how to
 * read, write and clear it.  The store's property calls (VSDVS_*Prop*,
 * DVSHYX_*Prop*, DVSHYX_PortData*) on a switch of this host then read and
 * write the subsystem's own state under that key, so a value written under
 * the key is what the subsystem's Get call returns and the other way round.
 * The store keeps no second copy: its serialised form and its property lists
 * do not carry these keys.
 *
 * Values are the bytes of the record the subsystem's Get call fills (for
 * example a VSTeamPolicy for VSPROP_SWITCH_TEAMING), or a 32-bit
 * little-endian integer for a single number or flag (VSPROP_MTU).  A value
 * of another length, or one the subsystem refuses, gives the subsystem's
 * status and changes nothing.  Clearing returns the setting to the host's
 * default. */
#ifndef TESSEL_HOST_STATESTORE_KEYS_H
#define TESSEL_HOST_STATESTORE_KEYS_H

#include <stdint.h>
#include <string.h>

#include <limits>
#include <string>
#include <type_traits>
#include <vector>

#include "hostapi/status.h"
#include "sim_internal.h"

namespace tessel {

using PropBytes = std::vector<uint8_t>;

/* portName is the port's ID in decimal for a port's setting, NULL for a
 * switch's. */
struct KeyedSetting {
   char const *key;
   bool port;
   HYX_ReturnStatus (*get)(char const *switchName, char const *portName, PropBytes &value);
   HYX_ReturnStatus (*set)(char const *switchName, char const *portName, uint8_t const *value,
                           size_t len);
   HYX_ReturnStatus (*clear)(char const *switchName, char const *portName);
};

size_t registerKeyedSetting(KeyedSetting setting);
/* The setting registered under key, or NULL. */
KeyedSetting const *findKeyedSetting(char const *key);

#define TESSEL_KEYED_SETTING(id, ...)                                                              \
   static size_t const tesselKeyedSetting##id = ::tessel::registerKeyedSetting({__VA_ARGS__})

/* ---- Adapters for the common shapes of Get, Set and Clear calls ---- */

template <typename T> struct PointeeOf;
template <typename R, typename T> struct PointeeOf<R (*)(char const *, T *) noexcept> {
   using type = T;
};
template <typename R, typename T>
struct PointeeOf<R (*)(char const *, char const *, T *) noexcept> {
   using type = T;
};
template <typename R, typename T> struct PointeeOf<R (*)(char const *, T *)> {
   using type = T;
};
template <typename R, typename T> struct PointeeOf<R (*)(char const *, char const *, T *)> {
   using type = T;
};

template <typename T, bool = std::is_enum<T>::value> struct Underlying {
   using type = T;
};
template <typename T> struct Underlying<T, true> {
   using type = std::underlying_type_t<T>;
};

/* A 32-bit value that T (a flag, a mode, an MTU) cannot hold is refused. */
template <typename T> bool fitsIn(uint32_t raw) {
   using U = typename Underlying<T>::type;
   if constexpr (sizeof(U) >= sizeof(uint32_t)) {
      return true;
   } else if constexpr (std::is_signed<U>::value) {
      auto const v = static_cast<int32_t>(raw);
      return v >= std::numeric_limits<U>::min() && v <= std::numeric_limits<U>::max();
   } else {
      return raw <= std::numeric_limits<U>::max();
   }
}

inline void putValue(PropBytes &out, void const *bytes, size_t len) {
   auto const *b = static_cast<uint8_t const *>(bytes);
   out.assign(b, b + len);
}

/* A switch's record: Get(switch, Record *), Set(switch, Record const *),
 * Clear(switch). */
template <auto Get, auto Set, auto Clear> struct SwitchRecord {
   using Record = typename PointeeOf<decltype(Get)>::type;
   static HYX_ReturnStatus get(char const *sw, char const *, PropBytes &out) {
      Record r;
      memset(&r, 0, sizeof r);
      HYX_ReturnStatus status = Get(sw, &r);
      if (status == HYX_OK)
         putValue(out, &r, sizeof r);
      return status;
   }
   static HYX_ReturnStatus set(char const *sw, char const *, uint8_t const *value, size_t len) {
      if (len != sizeof(Record))
         return HYX_BAD_PARAM;
      Record r;
      memcpy(&r, value, sizeof r);
      return Set(sw, &r);
   }
   static HYX_ReturnStatus clear(char const *sw, char const *) { return Clear(sw); }
};

/* The same for a port's record. */
template <auto Get, auto Set, auto Clear> struct PortRecord {
   using Record = typename PointeeOf<decltype(Get)>::type;
   static HYX_ReturnStatus get(char const *sw, char const *port, PropBytes &out) {
      Record r;
      memset(&r, 0, sizeof r);
      HYX_ReturnStatus status = Get(sw, port, &r);
      if (status == HYX_OK)
         putValue(out, &r, sizeof r);
      return status;
   }
   static HYX_ReturnStatus set(char const *sw, char const *port, uint8_t const *value, size_t len) {
      if (len != sizeof(Record))
         return HYX_BAD_PARAM;
      Record r;
      memcpy(&r, value, sizeof r);
      return Set(sw, port, &r);
   }
   static HYX_ReturnStatus clear(char const *sw, char const *port) { return Clear(sw, port); }
};

inline uint32_t readLe32(uint8_t const *p) {
   return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
          static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline void putLe32(PropBytes &out, uint32_t v) {
   out = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 24)};
}

/* A switch's number or flag as 32 bits: Get(switch, T *), Set(switch, T),
 * cleared by setting Default. */
template <auto Get, auto Set, uint32_t Default> struct SwitchNumber {
   using T = typename PointeeOf<decltype(Get)>::type;
   static HYX_ReturnStatus get(char const *sw, char const *, PropBytes &out) {
      T v{};
      HYX_ReturnStatus status = Get(sw, &v);
      if (status == HYX_OK)
         putLe32(out, static_cast<uint32_t>(v));
      return status;
   }
   static HYX_ReturnStatus set(char const *sw, char const *, uint8_t const *value, size_t len) {
      if (len != 4 || !fitsIn<T>(readLe32(value)))
         return HYX_BAD_PARAM;
      return Set(sw, static_cast<T>(readLe32(value)));
   }
   static HYX_ReturnStatus clear(char const *sw, char const *) { return Set(sw, Default); }
};

/* A port's flag as 32 bits: Get(switch, port, T *), Set(switch, port, T). */
template <auto Get, auto Set, uint32_t Default> struct PortNumber {
   using T = typename PointeeOf<decltype(Get)>::type;
   static HYX_ReturnStatus get(char const *sw, char const *port, PropBytes &out) {
      T v{};
      HYX_ReturnStatus status = Get(sw, port, &v);
      if (status == HYX_OK)
         putLe32(out, static_cast<uint32_t>(v));
      return status;
   }
   static HYX_ReturnStatus set(char const *sw, char const *port, uint8_t const *value, size_t len) {
      if (len != 4 || !fitsIn<T>(readLe32(value)))
         return HYX_BAD_PARAM;
      return Set(sw, port, static_cast<T>(readLe32(value)));
   }
   static HYX_ReturnStatus clear(char const *sw, char const *port) {
      return Set(sw, port, Default);
   }
};

/* The registration fields of an adapter. */
#define TESSEL_KEYED_BY(Adapter) &Adapter::get, &Adapter::set, &Adapter::clear

} // namespace tessel

#endif
