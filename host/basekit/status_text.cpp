/* Texts of the host status codes. */
#include "hostapi/kernel.h"
#include "hostapi/status.h"
#include "sim_internal.h"

namespace {

struct StatusText {
   HYX_ReturnStatus status;
   char const *text;
};

/* From the one status table, which is in ascending order (checked below
   for the binary search). */
constexpr StatusText kStatusTexts[] = {
#define HYX_STATUS(name, value, text) {name, text},
#include "hostapi/status_codes.def"
#undef HYX_STATUS
};

constexpr size_t kStatusCount = sizeof kStatusTexts / sizeof kStatusTexts[0];

constexpr bool strictlyAscending() {
   for (size_t i = 1; i < kStatusCount; ++i) {
      if (!(kStatusTexts[i - 1].status < kStatusTexts[i].status))
         return false;
   }
   return true;
}
static_assert(strictlyAscending(), "status texts must be sorted by status, without duplicates");

char const kUnknownStatus[] = "Unknown status";

char const *statusText(HYX_ReturnStatus status) {
   size_t low = 0;
   size_t high = kStatusCount;
   while (low < high) {
      size_t mid = low + (high - low) / 2;
      if (kStatusTexts[mid].status < status)
         low = mid + 1;
      else
         high = mid;
   }
   if (low < kStatusCount && kStatusTexts[low].status == status)
      return kStatusTexts[low].text;
   return kUnknownStatus;
}

} // namespace

TESSEL_HOST_API(char const *, HYX_ReturnStatusToString, (HYX_ReturnStatus status),
                statusText(status))
