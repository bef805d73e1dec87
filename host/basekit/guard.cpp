/* Abandoning host calls through the module's exception guard: the armed
 * faults of the control interface, the entry check every exported host
 * function starts with, and Panic.
 *
 * Everything here that can reach longjmp is plain C-style code: no object
 * with a destructor lives in these frames, and the exported host functions
 * call the entry check before they create any. */
#include <dlfcn.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "hostapi/kernel.h"
#include "sim_guard.h"
#include "sim_internal.h"
#include "tessel_sim.h"

namespace {

constexpr size_t kFaultSlots = 16;
constexpr size_t kFunctionNameLen = 128;
constexpr size_t kMessageLen = 1024;
constexpr size_t kResetHooks = 8;

struct FaultSlot {
   int armed;
   void *excType;
   char function[kFunctionNameLen];
   char message[kMessageLen];
};

/* A status to return from the next call of a function, instead of running
 * it. */
struct StatusSlot {
   int armed;
   int status;
   char function[kFunctionNameLen];
};

pthread_mutex_t g_lock = PTHREAD_MUTEX_INITIALIZER;
FaultSlot g_faults[kFaultSlots];
StatusSlot g_statuses[kFaultSlots];
/* How many statuses are armed, so a call checks without the lock when none
 * is (the usual case). */
std::atomic<int> g_armedStatuses{0};
std::atomic<tessel_sim_call_hook> g_beforeCall{nullptr};
std::atomic<tessel_sim_call_hook> g_afterCall{nullptr};

/* The exported host functions, by name: 1 for those returning a status.
 * Filled while the libraries load, never destroyed (libraries unload in any
 * order). */
std::map<std::string, int> &functions() {
   static auto *known = new std::map<std::string, int>;
   return *known;
}

struct TopologyKey {
   std::string key;
   tessel_sim_key_load load;
   tessel_sim_key_dump dump;
};

std::vector<TopologyKey> &topologyKeys() {
   static auto *keys = new std::vector<TopologyKey>;
   return *keys;
}
tessel_sim_reset_hook g_resetHooks[kResetHooks];

/* The text exceptionMsg points to; it must outlive the jump, so it is static.
 * Only the thread holding the interpreter lock abandons calls. */
char g_abandonMessage[kMessageLen];

/* Cuts a UTF-8 sequence that truncation left incomplete at the end of s, so
 * the module can decode the text. */
void trimPartialUtf8(char *s, size_t len) {
   size_t lead = len;
   while (lead > 0 && len - lead < 4) {
      --lead;
      unsigned char c = static_cast<unsigned char>(s[lead]);
      if ((c & 0xC0) == 0x80)
         continue;
      size_t need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
      if (len - lead < need)
         s[lead] = '\0';
      return;
   }
}

/* Copies at most size - 1 bytes of src (NULL counts as empty) and terminates. */
void copyText(char *dst, size_t size, char const *src) {
   size_t n = src != NULL ? strnlen(src, size - 1) : 0;
   if (n > 0)
      memcpy(dst, src, n);
   dst[n] = '\0';
   if (n == size - 1 && src[n] != '\0')
      trimPartialUtf8(dst, n);
}

bool guardPresent() {
   return &exception_buffer != NULL && &exceptionMsg != NULL && &exceptionType != NULL;
}

/* Jumps back to the module's guard with the text in g_abandonMessage; returns
 * only when the process has no guard. */
void abandonCall(void *excType) {
   if (!guardPresent())
      return;
   exceptionType = excType;
   exceptionMsg = g_abandonMessage;
   longjmp(exception_buffer, 1);
}

/* Python's RuntimeError class when the interpreter is in the process. */
void *runtimeErrorClass() {
   void *sym = dlsym(RTLD_DEFAULT, "PyExc_RuntimeError");
   return sym != NULL ? *static_cast<void **>(sym) : NULL;
}

FaultSlot *findArmed(char const *function) {
   for (size_t i = 0; i < kFaultSlots; ++i) {
      if (g_faults[i].armed && strcmp(g_faults[i].function, function) == 0)
         return &g_faults[i];
   }
   return NULL;
}

} // namespace

extern "C" {

/* Panic is no shell, but a fault may be armed for it. */
static int const g_panicRegistered = tessel_sim_register_function("Panic", 0);

TESSEL_HOST_EXPORT void tessel_sim_entry_check(char const *function) {
   if (function == NULL)
      return;
   int fire = 0;
   void *excType = NULL;
   pthread_mutex_lock(&g_lock);
   FaultSlot *slot = findArmed(function);
   if (slot != NULL) {
      fire = 1;
      excType = slot->excType;
      copyText(g_abandonMessage, sizeof g_abandonMessage, slot->message);
      slot->armed = 0;
   }
   pthread_mutex_unlock(&g_lock);
   if (fire)
      abandonCall(excType);
}

TESSEL_HOST_EXPORT void Panic(char const *fmt, ...) {
   TESSEL_SIM_ENTRY("Panic");
   if (fmt == NULL) {
      copyText(g_abandonMessage, sizeof g_abandonMessage, "Panic without a message");
   } else {
      va_list args;
      va_start(args, fmt);
      int n = vsnprintf(g_abandonMessage, sizeof g_abandonMessage, fmt, args);
      va_end(args);
      if (n < 0)
         copyText(g_abandonMessage, sizeof g_abandonMessage, "Panic message not formattable");
      else if (static_cast<size_t>(n) >= sizeof g_abandonMessage)
         trimPartialUtf8(g_abandonMessage, sizeof g_abandonMessage - 1);
   }
   void *excType = runtimeErrorClass();
   if (excType != NULL)
      abandonCall(excType);
   fprintf(stderr, "Panic: %s\n", g_abandonMessage);
}

TESSEL_HOST_EXPORT void tessel_sim_inject_fault(char const *function, void *exc_type,
                                                char const *message) {
   if (function == NULL || function[0] == '\0')
      return;
   pthread_mutex_lock(&g_lock);
   FaultSlot *slot = NULL;
   for (size_t i = 0; i < kFaultSlots && slot == NULL; ++i) {
      if (g_faults[i].armed && strncmp(g_faults[i].function, function, kFunctionNameLen - 1) == 0)
         slot = &g_faults[i];
   }
   for (size_t i = 0; i < kFaultSlots && slot == NULL; ++i) {
      if (!g_faults[i].armed)
         slot = &g_faults[i];
   }
   if (slot != NULL) {
      copyText(slot->function, sizeof slot->function, function);
      copyText(slot->message, sizeof slot->message, message);
      slot->excType = exc_type;
      slot->armed = 1;
   }
   pthread_mutex_unlock(&g_lock);
   if (slot == NULL)
      fprintf(stderr, "tessel_sim_inject_fault: no free fault slot for %.*s\n",
              static_cast<int>(kFunctionNameLen), function);
}

TESSEL_HOST_EXPORT void tessel_sim_clear_faults(void) {
   pthread_mutex_lock(&g_lock);
   for (size_t i = 0; i < kFaultSlots; ++i) {
      g_faults[i].armed = 0;
      g_statuses[i].armed = 0;
   }
   g_armedStatuses.store(0);
   pthread_mutex_unlock(&g_lock);
}

TESSEL_HOST_EXPORT int tessel_sim_register_function(char const *function, int returnsStatus) {
   pthread_mutex_lock(&g_lock);
   try {
      functions()[function] = returnsStatus != 0 ? 1 : 0;
   } catch (...) {
      /* Out of memory while a library loads: the function only loses its
       * injected statuses. */
   }
   pthread_mutex_unlock(&g_lock);
   return 0;
}

TESSEL_HOST_EXPORT int tessel_sim_known_function(char const *function) {
   if (function == NULL)
      return -1;
   int known = -1;
   pthread_mutex_lock(&g_lock);
   try {
      auto const found = functions().find(function);
      known = found == functions().end() ? -1 : found->second;
   } catch (...) {
   }
   pthread_mutex_unlock(&g_lock);
   return known;
}

TESSEL_HOST_EXPORT int tessel_sim_inject_status(char const *function, int status) {
   if (function == NULL || strlen(function) >= kFunctionNameLen)
      return -1;
   int known = tessel_sim_known_function(function);
   if (known != 1)
      return known == 0 ? -2 : -1;
   pthread_mutex_lock(&g_lock);
   StatusSlot *slot = NULL;
   for (size_t i = 0; i < kFaultSlots && slot == NULL; ++i) {
      if (g_statuses[i].armed && strcmp(g_statuses[i].function, function) == 0)
         slot = &g_statuses[i];
   }
   for (size_t i = 0; i < kFaultSlots && slot == NULL; ++i) {
      if (!g_statuses[i].armed)
         slot = &g_statuses[i];
   }
   if (slot != NULL) {
      if (!slot->armed)
         g_armedStatuses.fetch_add(1);
      copyText(slot->function, sizeof slot->function, function);
      slot->status = status;
      slot->armed = 1;
   }
   pthread_mutex_unlock(&g_lock);
   return slot != NULL ? 0 : -3;
}

TESSEL_HOST_EXPORT int tessel_sim_take_status(char const *function, int *status) {
   int taken = 0;
   if (g_armedStatuses.load() == 0)
      return 0;
   pthread_mutex_lock(&g_lock);
   for (size_t i = 0; i < kFaultSlots && !taken; ++i) {
      if (g_statuses[i].armed && strcmp(g_statuses[i].function, function) == 0) {
         *status = g_statuses[i].status;
         g_statuses[i].armed = 0;
         g_armedStatuses.fetch_sub(1);
         taken = 1;
      }
   }
   pthread_mutex_unlock(&g_lock);
   return taken;
}

TESSEL_HOST_EXPORT void tessel_sim_before_call(char const *function) {
   tessel_sim_call_hook hook = g_beforeCall.load(std::memory_order_acquire);
   if (hook != NULL)
      hook(function);
}

TESSEL_HOST_EXPORT void tessel_sim_after_call(char const *function) {
   tessel_sim_call_hook hook = g_afterCall.load(std::memory_order_acquire);
   if (hook != NULL)
      hook(function);
}

TESSEL_HOST_EXPORT void tessel_sim_set_call_hooks(tessel_sim_call_hook before,
                                                  tessel_sim_call_hook after) {
   /* A call in flight may see the after hook alone; the hooks allow it. */
   g_afterCall.store(after, std::memory_order_release);
   g_beforeCall.store(before, std::memory_order_release);
}

TESSEL_HOST_EXPORT void tessel_sim_add_topology_key(char const *key, tessel_sim_key_load load,
                                                    tessel_sim_key_dump dump) {
   if (key == NULL || key[0] == '\0' || load == NULL || dump == NULL)
      return;
   pthread_mutex_lock(&g_lock);
   try {
      bool replaced = false;
      for (auto &entry : topologyKeys()) {
         if (entry.key == key) {
            entry.load = load;
            entry.dump = dump;
            replaced = true;
         }
      }
      if (!replaced)
         topologyKeys().push_back({key, load, dump});
   } catch (...) {
      fprintf(stderr, "tessel_sim_add_topology_key: out of memory for %s\n", key);
   }
   pthread_mutex_unlock(&g_lock);
}

TESSEL_HOST_EXPORT int tessel_sim_topology_key(size_t index, char const **key,
                                               tessel_sim_key_load *load,
                                               tessel_sim_key_dump *dump) {
   pthread_mutex_lock(&g_lock);
   int found = index < topologyKeys().size() ? 0 : -1;
   if (found == 0) {
      *key = topologyKeys()[index].key.c_str();
      *load = topologyKeys()[index].load;
      *dump = topologyKeys()[index].dump;
   }
   pthread_mutex_unlock(&g_lock);
   return found;
}

TESSEL_HOST_EXPORT int tessel_sim_guard_available(void) { return guardPresent() ? 1 : 0; }

TESSEL_HOST_EXPORT void tessel_sim_add_reset_hook(tessel_sim_reset_hook hook) {
   if (hook == NULL)
      return;
   pthread_mutex_lock(&g_lock);
   int stored = 0;
   for (size_t i = 0; i < kResetHooks && !stored; ++i) {
      if (g_resetHooks[i] == NULL || g_resetHooks[i] == hook) {
         g_resetHooks[i] = hook;
         stored = 1;
      }
   }
   pthread_mutex_unlock(&g_lock);
   if (!stored)
      fputs("tessel_sim_add_reset_hook: no free hook slot\n", stderr);
}

TESSEL_HOST_EXPORT void tessel_sim_remove_reset_hook(tessel_sim_reset_hook hook) {
   pthread_mutex_lock(&g_lock);
   for (size_t i = 0; i < kResetHooks; ++i) {
      if (g_resetHooks[i] == hook)
         g_resetHooks[i] = NULL;
   }
   pthread_mutex_unlock(&g_lock);
}

TESSEL_HOST_EXPORT void tessel_sim_reset(void) {
   /* The hooks run without the lock: they rebuild models and may take time. */
   tessel_sim_reset_hook hooks[kResetHooks];
   pthread_mutex_lock(&g_lock);
   memcpy(hooks, g_resetHooks, sizeof hooks);
   pthread_mutex_unlock(&g_lock);
   for (size_t i = 0; i < kResetHooks; ++i) {
      if (hooks[i] != NULL)
         hooks[i]();
   }
   tessel_sim_clear_faults();
}

} // extern "C"
