/* libdvs.so: the distributed-switch state store.  It holds no switches yet;
 * the store's switches, ports and property blobs are added here as the
 * library's functions are. */
#include "sim_internal.h"

namespace dvs {
namespace {

class StateStore {
 public:
   static StateStore &instance() {
      /* Never destroyed, like the switch model of libtessel. */
      static StateStore *store = new StateStore;
      return *store;
   }
   void reset() { initialised_ = true; }
   bool ready() const { return initialised_; }

 private:
   bool initialised_ = true;
};

void resetHook() { StateStore::instance().reset(); }

struct LoadTimeSetup {
   LoadTimeSetup() {
      StateStore::instance();
      tessel_sim_add_reset_hook(resetHook);
   }
   ~LoadTimeSetup() { tessel_sim_remove_reset_hook(resetHook); }
} g_loadTimeSetup;

} // namespace
} // namespace dvs

/* 1 once the state store is set up; host-private, for the libraries' tests. */
extern "C" TESSEL_HOST_EXPORT int tessel_sim_dvs_ready(void) {
   return dvs::StateStore::instance().ready() ? 1 : 0;
}
