/* The exported switch enumeration and summary functions of libtessel.so and
 * the release of the blocks it hands out.
 *
 * Each exported function is a TESSEL_HOST_API shell: the entry check, which
 * may abandon the call with a jump, then the noexcept implementation. */
#include <stdlib.h>
#include <string.h>

#include "api_support.h"
#include "kernel_model.h"

namespace tessel {
namespace {

HYX_ReturnStatus getSwitches(int listType, VSList **list) noexcept {
   if (list == nullptr)
      return HYX_BAD_PARAM;
   size_t width;
   bool aliases;
   if (listType == VS_LIST_PS) {
      width = VS_LIST_PS_ENTRY_LEN;
      aliases = false;
   } else if (listType == VS_LIST_DVS_ALIAS) {
      width = VS_LIST_ALIAS_ENTRY_LEN;
      aliases = true;
   } else {
      return HYX_BAD_PARAM;
   }
   return guarded([&]() -> HYX_ReturnStatus {
      auto const &switches = Host::instance().switches();
      size_t count = 0;
      for (auto const &sw : switches) {
         if (!aliases || sw.distributed)
            ++count;
      }
      /* The caller releases the list with free(), so it comes from the C heap
       * and is not tracked. */
      char *block = static_cast<char *>(calloc(1, sizeof(VSList) + count * width));
      if (block == nullptr)
         return HYX_NO_MEMORY;
      VSList header;
      header.count = static_cast<hyx_int32>(count);
      header.listType = static_cast<VSListType>(listType);
      memcpy(block, &header, sizeof header);
      char *slot = block + sizeof(VSList);
      for (auto const &sw : switches) {
         if (aliases && !sw.distributed)
            continue;
         std::string const &text = aliases ? sw.alias : sw.name;
         /* Every text is shorter than its slot; calloc terminates it. */
         memcpy(slot, text.data(), text.size() < width ? text.size() : width - 1);
         slot += width;
      }
      *list = reinterpret_cast<VSList *>(block);
      return HYX_OK;
   });
}

HYX_ReturnStatus getVSInfo(char const *switchName, VSInfo *info) noexcept {
   if (info == nullptr)
      return HYX_BAD_PARAM;
   return withSwitch(switchName, [&](Switch &sw) {
      fillSwitchInfo(Host::instance(), sw, info);
      return HYX_OK;
   });
}

HYX_ReturnStatus aliasToSwitchId(char const *alias, char *switchId) noexcept {
   if (alias == nullptr || switchId == nullptr)
      return HYX_BAD_PARAM;
   if (strnlen(alias, VS_LIST_ALIAS_ENTRY_LEN) >= VS_LIST_ALIAS_ENTRY_LEN)
      return HYX_NAME_TOO_LONG;
   return guarded([&]() -> HYX_ReturnStatus {
      Switch const *sw = Host::instance().findByAlias(alias);
      if (sw == nullptr)
         return HYX_NOT_FOUND;
      size_t n = sw->name.size();
      if (n > VS_DVS_SWITCH_ID_LEN - 1)
         n = VS_DVS_SWITCH_ID_LEN - 1;
      memcpy(switchId, sw->name.data(), n);
      switchId[n] = '\0';
      return HYX_OK;
   });
}

} // namespace
} // namespace tessel

TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetSwitches, (VSListType listType, VSList **list),
                tessel::getSwitches(tessel::rawValue<int>(listType), list))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_GetVSInfo, (char const *switchName, VSInfo *info),
                tessel::getVSInfo(switchName, info))
TESSEL_HOST_API(HYX_ReturnStatus, VSHYX_DVSAliasToSwitchId, (char const *alias, char *switchId),
                tessel::aliasToSwitchId(alias, switchId))
TESSEL_HOST_API(void, VSHYX_FreeMemory, (void *mem), tessel_sim_block_release(mem))
