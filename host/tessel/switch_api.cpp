/* The exported switch-control functions of libtessel.so.
 *
 * Each exported function is a thin shell: its first statement is the entry
 * check, which may abandon the call with a jump, and only after it does the
 * shell call the C++ implementation.  No object with a destructor is alive
 * when the jump can happen.  The implementations never let an exception
 * escape into the C caller. */
#include <stdlib.h>
#include <string.h>

#include "hostapi/kernel.h"
#include "hostapi/status.h"
#include "sim_internal.h"
#include "switch_model.h"

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

   auto const &switches = SwitchModel::instance().switches();
   size_t count = 0;
   for (auto const &sw : switches) {
      if (!aliases || sw.distributed)
         ++count;
   }
   /* The caller releases the list with free(), so it comes from the C heap and
    * is not tracked. */
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
      std::string const &text = aliases ? sw.alias : sw.portsetName;
      /* The model keeps every text shorter than its slot; calloc terminates. */
      memcpy(slot, text.data(), text.size() < width ? text.size() : width - 1);
      slot += width;
   }
   *list = reinterpret_cast<VSList *>(block);
   return HYX_OK;
}

HYX_ReturnStatus getVSInfo(char const *switchName, VSInfo *info) noexcept {
   if (switchName == nullptr || info == nullptr)
      return HYX_BAD_PARAM;
   if (strnlen(switchName, VS_LIST_PS_ENTRY_LEN) >= VS_LIST_PS_ENTRY_LEN)
      return HYX_NAME_TOO_LONG;
   VirtualSwitch const *sw = SwitchModel::instance().findByPortset(switchName);
   if (sw == nullptr)
      return HYX_NOT_FOUND;
   fillSwitchInfo(*sw, info);
   return HYX_OK;
}

HYX_ReturnStatus aliasToSwitchId(char const *alias, char *switchId) noexcept {
   if (alias == nullptr || switchId == nullptr)
      return HYX_BAD_PARAM;
   if (strnlen(alias, VS_LIST_ALIAS_ENTRY_LEN) >= VS_LIST_ALIAS_ENTRY_LEN)
      return HYX_NAME_TOO_LONG;
   VirtualSwitch const *sw = SwitchModel::instance().findByAlias(alias);
   if (sw == nullptr)
      return HYX_NOT_FOUND;
   size_t n = sw->portsetName.size();
   if (n > VS_DVS_SWITCH_ID_LEN - 1)
      n = VS_DVS_SWITCH_ID_LEN - 1;
   memcpy(switchId, sw->portsetName.data(), n);
   switchId[n] = '\0';
   return HYX_OK;
}

} // namespace
} // namespace tessel

extern "C" {

TESSEL_HOST_EXPORT HYX_ReturnStatus VSHYX_GetSwitches(VSListType listType, VSList **list) {
   TESSEL_SIM_ENTRY("VSHYX_GetSwitches");
   return tessel::getSwitches(static_cast<int>(listType), list);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSHYX_GetVSInfo(char const *switchName, VSInfo *info) {
   TESSEL_SIM_ENTRY("VSHYX_GetVSInfo");
   return tessel::getVSInfo(switchName, info);
}

TESSEL_HOST_EXPORT HYX_ReturnStatus VSHYX_DVSAliasToSwitchId(char const *alias, char *switchId) {
   TESSEL_SIM_ENTRY("VSHYX_DVSAliasToSwitchId");
   return tessel::aliasToSwitchId(alias, switchId);
}

TESSEL_HOST_EXPORT void VSHYX_FreeMemory(void *mem) {
   TESSEL_SIM_ENTRY("VSHYX_FreeMemory");
   tessel_sim_block_release(mem);
}

TESSEL_HOST_EXPORT void VSDVS_FreeMemory(void *mem) {
   TESSEL_SIM_ENTRY("VSDVS_FreeMemory");
   tessel_sim_block_release(mem);
}

} // extern "C"
