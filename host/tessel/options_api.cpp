/* The exported runtime-option functions of libtessel.so: the Get call hands
 * out a block of the options asked for, the Set call validates a block
 * whole, without reading past its totalLength, and applies all of it or
 * nothing. */
#include <string.h>

#include <string>
#include <vector>

#include "api_support.h"
#include "options_model.h"

namespace tessel {
namespace {

constexpr size_t kHeader = sizeof(VSRuntimeOptionHeader);

size_t optionLength(RuntimeOptions const &o, unsigned type) {
   if (type < VS_RT_OPT_FIRST_TEXT)
      return VS_RT_OPT_INT_LENGTH;
   return kHeader + o.texts[type - VS_RT_OPT_FIRST_TEXT].size() + 1;
}

void putOption(RuntimeOptions const &o, unsigned type, unsigned char *dst) {
   size_t length = optionLength(o, type);
   putAt<hyx_uint16>(dst, offsetof(VSRuntimeOptionHeader, type), static_cast<hyx_uint16>(type));
   putAt<hyx_uint16>(dst, offsetof(VSRuntimeOptionHeader, length), static_cast<hyx_uint16>(length));
   if (type < VS_RT_OPT_FIRST_TEXT) {
      putAt<hyx_uint32>(dst, kHeader, o.integers[type]);
   } else {
      std::string const &text = o.texts[type - VS_RT_OPT_FIRST_TEXT];
      memcpy(dst + kHeader, text.data(), text.size());
      dst[kHeader + text.size()] = 0;
   }
}

HYX_ReturnStatus getRuntimeOptions(hyx_uint16 const *types, hyx_uint16 count,
                                   VSRuntimeOptions **options) noexcept {
   return guarded([&]() -> HYX_ReturnStatus {
      if (options == nullptr || (types == nullptr && count != 0))
         return HYX_BAD_PARAM;
      std::vector<unsigned> wanted;
      if (types == nullptr) {
         for (unsigned t = 0; t < VS_NUM_RT_OPT; ++t)
            wanted.push_back(t);
      } else {
         for (hyx_uint16 i = 0; i < count; ++i) {
            hyx_uint16 t = getAt<hyx_uint16>(types, i * sizeof(hyx_uint16));
            if (t >= VS_NUM_RT_OPT)
               return HYX_BAD_PARAM;
            wanted.push_back(t);
         }
      }
      RuntimeOptions const &o = Host::instance().component<OptionsComponent>().options;
      size_t total = sizeof(VSRuntimeOptions);
      for (unsigned t : wanted)
         total += optionLength(o, t);
      if (total > VS_CHARDEV_MAX_RUNTIME_OPTIONS_LENGTH)
         return HYX_BAD_PARAM;
      auto *block = static_cast<unsigned char *>(tessel_sim_block_alloc(total));
      if (block == nullptr)
         return HYX_NO_MEMORY;
      putAt<hyx_uint32>(block, offsetof(VSRuntimeOptions, totalLength),
                        static_cast<hyx_uint32>(total));
      size_t at = sizeof(VSRuntimeOptions);
      for (unsigned t : wanted) {
         putOption(o, t, block + at);
         at += optionLength(o, t);
      }
      *options = reinterpret_cast<VSRuntimeOptions *>(block);
      return HYX_OK;
   });
}

/* Reads every option of the block into next; false for a malformed block
 * or a value the option may not take. */
bool parseOptions(unsigned char const *block, RuntimeOptions &next) {
   hyx_uint32 total = getAt<hyx_uint32>(block, offsetof(VSRuntimeOptions, totalLength));
   if (total < sizeof(VSRuntimeOptions) || total > VS_CHARDEV_MAX_RUNTIME_OPTIONS_LENGTH)
      return false;
   size_t at = sizeof(VSRuntimeOptions);
   while (at < total) {
      if (total - at < kHeader)
         return false;
      unsigned type = getAt<hyx_uint16>(block, at + offsetof(VSRuntimeOptionHeader, type));
      size_t length = getAt<hyx_uint16>(block, at + offsetof(VSRuntimeOptionHeader, length));
      if (length < kHeader || length > total - at || type >= VS_NUM_RT_OPT)
         return false;
      unsigned char const *value = block + at + kHeader;
      size_t room = length - kHeader;
      if (type < VS_RT_OPT_FIRST_TEXT) {
         if (length != VS_RT_OPT_INT_LENGTH)
            return false;
         uint32_t v = getAt<hyx_uint32>(value, 0);
         if (!RuntimeOptions::validInteger(type, v))
            return false;
         next.integers[type] = v;
      } else {
         if (room > VS_CHARDEV_MAX_RUNTIME_STRING_OPTION_LENGTH)
            return false;
         void const *zero = memchr(value, 0, room);
         if (zero == nullptr)
            return false;
         std::string text(reinterpret_cast<char const *>(value),
                          static_cast<unsigned char const *>(zero) - value);
         if (!RuntimeOptions::validText(type, text))
            return false;
         next.texts[type - VS_RT_OPT_FIRST_TEXT] = text;
      }
      at += length;
   }
   return true;
}

HYX_ReturnStatus setRuntimeOptions(VSRuntimeOptions *options) noexcept {
   return guarded([&]() -> HYX_ReturnStatus {
      if (options == nullptr)
         return HYX_BAD_PARAM;
      RuntimeOptions &current = Host::instance().component<OptionsComponent>().options;
      RuntimeOptions next = current;
      if (!parseOptions(reinterpret_cast<unsigned char const *>(options), next))
         return HYX_BAD_PARAM;
      current = next;
      Host::instance().tick();
      return HYX_OK;
   });
}

OptionsComponent &state() { return Host::instance().component<OptionsComponent>(); }

/* The next phase of the RTM sequence for mode, or HYX_INVALID_STATE; modes
 * outside the sequence keep the phase. */
HYX_ReturnStatus rtmStep(uint32_t mode, RtmPhase &phase) {
   switch (mode) {
   case RTM_IOCCMD_REG_SAVE:
   case RTM_IOCCMD_REG_SAVE_DUALLOAD:
   case RTM_IOCCMD_SAVE:
      if (phase != RtmPhase::Idle)
         return HYX_INVALID_STATE;
      phase = RtmPhase::Saved;
      return HYX_OK;
   case RTM_IOCCMD_BLOCKPORTS:
      if (phase != RtmPhase::Saved)
         return HYX_INVALID_STATE;
      phase = RtmPhase::Blocked;
      return HYX_OK;
   case RTM_IOCCMD_REG_RESTORE:
   case RTM_IOCCMD_REG_RESTORE_DUALLOAD:
   case RTM_IOCCMD_RESTORE:
      if (phase != RtmPhase::Saved && phase != RtmPhase::Blocked)
         return HYX_INVALID_STATE;
      phase = RtmPhase::Restored;
      return HYX_OK;
   case RTM_IOCCMD_COMPLETE:
   case RTM_IOCCMD_RESTORE_COMPLETE:
      if (phase != RtmPhase::Restored)
         return HYX_INVALID_STATE;
      phase = RtmPhase::Idle;
      return HYX_OK;
   default:
      return mode <= RTM_IOCCMD_CSWITCH_OP ? HYX_OK : HYX_BAD_PARAM;
   }
}

/* A portset name field: NUL-terminated within its width and a switch of the
 * host. */
HYX_ReturnStatus checkPortset(char const *field) {
   if (memchr(field, 0, VS_LIST_PS_ENTRY_LEN) == nullptr)
      return HYX_BAD_PARAM;
   return Host::instance().find(field) == nullptr ? HYX_NOT_FOUND : HYX_OK;
}

HYX_ReturnStatus rtmOp(RTMIOCtlQuery *query, uint32_t mode) noexcept {
   return guarded([&]() -> HYX_ReturnStatus {
      if (query == nullptr)
         return HYX_BAD_PARAM;
      auto const *base = reinterpret_cast<unsigned char const *>(query);
      hyx_uint32 count = getAt<hyx_uint32>(base, offsetof(RTMIOCtlQuery, numPortsets));
      for (hyx_uint32 i = 0; i < count; ++i) {
         HYX_ReturnStatus status = checkPortset(reinterpret_cast<char const *>(
             base + sizeof(RTMIOCtlQuery) + static_cast<size_t>(i) * sizeof(RTM_Portset)));
         if (status != HYX_OK)
            return status;
      }
      return rtmStep(mode, state().rtm);
   });
}

HYX_ReturnStatus rtmModOp(RTMModIOCtlQuery *query, uint32_t mode) noexcept {
   return guarded([&]() -> HYX_ReturnStatus {
      if (query == nullptr)
         return HYX_BAD_PARAM;
      HYX_ReturnStatus status = checkPortset(query->psName);
      return status != HYX_OK ? status : rtmStep(mode, state().rtm);
   });
}

HYX_ReturnStatus rtmPortOp(hyx_SwitchPortID port, hyx_Bool associated) noexcept {
   return guarded([&]() -> HYX_ReturnStatus {
      bool flag;
      if (!readBool(associated, flag))
         return HYX_BAD_PARAM;
      std::string id = std::to_string(port);
      for (Switch const &sw : Host::instance().switches()) {
         if (sw.findPort(id.c_str()) != nullptr)
            return HYX_OK;
      }
      return HYX_NOT_FOUND;
   });
}

HYX_ReturnStatus refreshDevNumaInfo(char const *device) noexcept {
   return guarded([&]() -> HYX_ReturnStatus {
      if (device == nullptr)
         return HYX_BAD_PARAM;
      if (strnlen(device, HYX_PORT_CLIENT_NAME_MAX) >= HYX_PORT_CLIENT_NAME_MAX)
         return HYX_NAME_TOO_LONG;
      for (Switch const &sw : Host::instance().switches()) {
         Port const *p = sw.findPort(device);
         if (p != nullptr && p->clientType == VS_PORT_CLIENT_UPLINK && p->clientName == device)
            return HYX_OK;
      }
      return HYX_NOT_FOUND;
   });
}

HYX_ReturnStatus getL3IsoTestMode(int *mode) noexcept {
   if (mode == nullptr)
      return HYX_BAD_PARAM;
   *mode = state().l3IsoTestMode;
   return HYX_OK;
}

HYX_ReturnStatus setL3IsoTestMode(int mode) noexcept {
   if (mode < 0 || mode > 2)
      return HYX_BAD_PARAM;
   state().l3IsoTestMode = mode;
   return HYX_OK;
}

HYX_ReturnStatus getBridgeFastpath(hyx_Bool *disable) noexcept {
   if (disable == nullptr)
      return HYX_BAD_PARAM;
   *disable = state().bridgeFastpathDisabled ? 1 : 0;
   return HYX_OK;
}

HYX_ReturnStatus setBridgeFastpath(hyx_Bool disable) noexcept {
   bool flag;
   if (!readBool(disable, flag))
      return HYX_BAD_PARAM;
   state().bridgeFastpathDisabled = flag;
   return HYX_OK;
}

} // namespace
} // namespace tessel

TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetRuntimeOptions,
                (hyx_uint16 const *types, hyx_uint16 count, VSRuntimeOptions **options),
                tessel::getRuntimeOptions(types, count, options))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_SetRuntimeOptions, (VSRuntimeOptions * options),
                tessel::setRuntimeOptions(options))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_RTMOp, (RTMIOCtlQuery * query, RTMIOCtlMode mode),
                tessel::rtmOp(query, tessel::rawValue<uint32_t>(mode)))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_RTMModOp, (RTMModIOCtlQuery * query, RTMIOCtlMode mode),
                tessel::rtmModOp(query, tessel::rawValue<uint32_t>(mode)))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_RTMPortOp,
                (hyx_WorldID world, hyx_SwitchPortID port, hyx_Bool isAssociated),
                ((void)world, tessel::rtmPortOp(port, isAssociated)))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_RefreshDevNUMAInfo, (char const *deviceName),
                tessel::refreshDevNumaInfo(deviceName))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetL3IsoTestMode, (int *mode),
                tessel::getL3IsoTestMode(mode))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_SetL3IsoTestMode, (int mode),
                tessel::setL3IsoTestMode(mode))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetBridgeFastpathConfig, (hyx_Bool * disable),
                tessel::getBridgeFastpath(disable))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_SetBridgeFastpathConfig, (hyx_Bool disable),
                tessel::setBridgeFastpath(disable))
