/* Tracking of the blocks the host libraries hand out through out-parameters.
 * A block is released only through a release function, and only once; any
 * other address given to a release function is ignored. */
#include <stdlib.h>

#include <mutex>
#include <unordered_set>

#include "sim_internal.h"
#include "tessel_sim.h"

namespace {

struct BlockRegistry {
   std::mutex lock;
   std::unordered_set<void *> live;
};

/* Never destroyed, so a release during process exit still finds it. */
BlockRegistry &registry() {
   static BlockRegistry *blocks = new BlockRegistry;
   return *blocks;
}

} // namespace

extern "C" {

TESSEL_HOST_EXPORT void *tessel_sim_block_alloc(size_t size) {
   void *block = calloc(1, size > 0 ? size : 1);
   if (block == NULL)
      return NULL;
   try {
      BlockRegistry &blocks = registry();
      std::lock_guard<std::mutex> hold(blocks.lock);
      blocks.live.insert(block);
   } catch (...) {
      free(block);
      return NULL;
   }
   return block;
}

TESSEL_HOST_EXPORT int tessel_sim_block_release(void *block) {
   if (block == NULL)
      return 0;
   BlockRegistry &blocks = registry();
   {
      std::lock_guard<std::mutex> hold(blocks.lock);
      if (blocks.live.erase(block) == 0)
         return 0;
   }
   free(block);
   return 1;
}

TESSEL_HOST_EXPORT long tessel_sim_outstanding_blocks(void) {
   BlockRegistry &blocks = registry();
   std::lock_guard<std::mutex> hold(blocks.lock);
   return static_cast<long>(blocks.live.size());
}

} // extern "C"
