/* Host-private interface shared by the three simulated host libraries: the
 * export marker, the entry check every exported host function starts with,
 * block tracking and the reset hooks.  The base library implements all of it;
 * none of it is part of the interface the Python module declares. */
#ifndef TESSEL_HOST_SIM_INTERNAL_H
#define TESSEL_HOST_SIM_INTERNAL_H

#include <stddef.h>

/* The libraries build with hidden visibility; only functions marked with this
 * are exported. */
#define TESSEL_HOST_EXPORT __attribute__((visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

/* Fires a fault armed for the named function: abandons the call through the
 * exception guard (never returns then).  Returns normally when nothing is
 * armed or the guard is absent.  It is plain C code, so it may be called only
 * where no object with a destructor is alive in the calling frames. */
TESSEL_HOST_EXPORT void tessel_sim_entry_check(char const *function);

/* Records that the exported host function named function exists and whether
 * it returns a status (only those take an injected status).  Called once per
 * function while its library loads; returns 0. */
TESSEL_HOST_EXPORT int tessel_sim_register_function(char const *function, int returnsStatus);
/* Takes the status injected for the named function, if any: 1 with *status
 * set (the injection is used up), else 0.  Never jumps. */
TESSEL_HOST_EXPORT int tessel_sim_take_status(char const *function, int *status);

/* Run the hooks a library installed around every host call (the state
 * file's reader and writer) with the function's name: before it runs (after
 * the entry check) and once it returned; nothing when none is installed.
 * Never jump. */
TESSEL_HOST_EXPORT void tessel_sim_before_call(char const *function);
TESSEL_HOST_EXPORT void tessel_sim_after_call(char const *function);
typedef void (*tessel_sim_call_hook)(char const *function);
TESSEL_HOST_EXPORT void tessel_sim_set_call_hooks(tessel_sim_call_hook before,
                                                  tessel_sim_call_hook after);

/* Another library's top-level key of the topology document: load gets the
 * JSON text of the key's value (NULL when the document has none) and returns
 * 0, or -1 with a message of at most errorSize bytes in error, keeping its
 * state; dump returns the key's value as JSON text in a block of malloc (or
 * NULL for none).  libtessel.so calls load on every reset, after the host and
 * every library's own reset, so after the library's reset hook; a refusal
 * fails tessel_sim_load_topology with the library's message, though the
 * host itself was replaced by then. */
typedef int (*tessel_sim_key_load)(char const *json, char *error, size_t errorSize);
typedef char *(*tessel_sim_key_dump)(void);
TESSEL_HOST_EXPORT void tessel_sim_add_topology_key(char const *key, tessel_sim_key_load load,
                                                    tessel_sim_key_dump dump);
/* The registered keys, in registration order: 0 and the key's functions for
 * index below the count, else -1. */
TESSEL_HOST_EXPORT int tessel_sim_topology_key(size_t index, char const **key,
                                               tessel_sim_key_load *load,
                                               tessel_sim_key_dump *dump);

/* Hands a zero-filled, tracked block to the caller; NULL when out of memory. */
TESSEL_HOST_EXPORT void *tessel_sim_block_alloc(size_t size);
/* Frees a tracked block and returns 1; NULL or an address that is not a live
 * tracked block is ignored and gives 0. */
TESSEL_HOST_EXPORT int tessel_sim_block_release(void *block);

/* Libraries register a function that restores their built-in state; the
 * control call tessel_sim_reset runs every registered hook. */
typedef void (*tessel_sim_reset_hook)(void);
TESSEL_HOST_EXPORT void tessel_sim_add_reset_hook(tessel_sim_reset_hook hook);
TESSEL_HOST_EXPORT void tessel_sim_remove_reset_hook(tessel_sim_reset_hook hook);

/* libdvs.so: 1 once its state store is set up. */
TESSEL_HOST_EXPORT int tessel_sim_dvs_ready(void);
/* libdvs.so, for libtessel's switch lifecycle: creates a switch with its
 * portset name, alias, class and id (NULL: the store gives one); adds a port with its connect and
 * external ids; gives a port's number; gives the alias of a portset name (at most 128 bytes with
 * its NUL).  Each returns a status. */
TESSEL_HOST_EXPORT int tessel_sim_dvs_switch_create(char const *name, char const *alias,
                                                    char const *className, unsigned maxPorts,
                                                    unsigned version, char const *id);
TESSEL_HOST_EXPORT int tessel_sim_dvs_port_add(char const *switchId, char const *portId,
                                               unsigned connectId, char const *externalId);
TESSEL_HOST_EXPORT int tessel_sim_dvs_port_number(char const *switchId, char const *portId,
                                                  unsigned *number);
TESSEL_HOST_EXPORT int tessel_sim_dvs_alias(char const *name, char *alias);
/* libdvs.so: the store id of a switch (cap bytes with its NUL); removing a
 * switch (with idleOnly, refused with HYX_BUSY while one of its ports is in
 * use) or one of its ports. */
TESSEL_HOST_EXPORT int tessel_sim_dvs_switch_id(char const *name, char *out, unsigned cap);
TESSEL_HOST_EXPORT int tessel_sim_dvs_switch_remove(char const *name, int idleOnly);
TESSEL_HOST_EXPORT int tessel_sim_dvs_port_remove(char const *switchId, char const *portId);
/* libdvs.so: the functions by which libtessel answers the property keys of
 * the settings it keeps itself, for its own switches (portId NULL for a
 * switch-wide key at global or host scope).  Each gives -1 for a key it does
 * not answer, else a status; get hands out the value as a tracked block. */
typedef int (*tessel_sim_dvs_bridge_get)(char const *switchName, char const *portId,
                                         char const *key, void **value, int *len);
typedef int (*tessel_sim_dvs_bridge_set)(char const *switchName, char const *portId,
                                         char const *key, void const *value, int len);
typedef int (*tessel_sim_dvs_bridge_clear)(char const *switchName, char const *portId,
                                           char const *key);
TESSEL_HOST_EXPORT void tessel_sim_dvs_set_bridge(tessel_sim_dvs_bridge_get get,
                                                  tessel_sim_dvs_bridge_set set,
                                                  tessel_sim_dvs_bridge_clear clear);
/* libdvs.so: the store's property calls at port (0), host (1) or global (2)
 * scope, for libtessel's own property calls (no entry check: they run inside
 * another host call); get hands out the value as a tracked block. */
TESSEL_HOST_EXPORT int tessel_sim_dvs_prop_get(int scope, char const *switchId, char const *portId,
                                               char const *name, void **data, int *len);
TESSEL_HOST_EXPORT int tessel_sim_dvs_prop_set(int scope, char const *switchId, char const *portId,
                                               char const *name, void const *data, int len,
                                               unsigned type);
TESSEL_HOST_EXPORT int tessel_sim_dvs_prop_clear(int scope, char const *switchId,
                                                 char const *portId, char const *name);
/* libdvs.so: the store as the value of the topology's "statestore" key, and
 * loading that value (the signatures of tessel_sim_add_topology_key). */
TESSEL_HOST_EXPORT char *tessel_sim_dvs_store_dump(void);
TESSEL_HOST_EXPORT int tessel_sim_dvs_store_load(char const *json, char *error, size_t errorSize);
/* libdvs.so: the function that fills the store with libtessel's distributed
 * switches; called on the store's first use after load or reset. */
TESSEL_HOST_EXPORT void tessel_sim_dvs_set_seeder(void (*seeder)(void));

#ifdef __cplusplus
}
#endif

/* First statement of every exported host function, before any object with a
 * destructor exists in its frame: a jump from here skips no destructor. */
#define TESSEL_SIM_ENTRY(function) tessel_sim_entry_check(function)

#ifdef __cplusplus
#include <type_traits>

/* Whether a return type, as the shell spells it, is the host's status: only
 * such functions take an injected status (HYX_ReturnStatus is an int like
 * several counts, so the spelling tells them apart). */
constexpr bool tessel_sim_returns_status(char const *spelt) {
   char const *status = "HYX_ReturnStatus";
   while (*spelt != '\0' && *spelt == *status) {
      ++spelt;
      ++status;
   }
   return *spelt == '\0' && *status == '\0';
}

/* The injected status as the shell's return type (only status shells take
 * one; the others never get here). */
template <typename R> inline R tessel_sim_injected(int status) {
   if constexpr (std::is_arithmetic<R>::value || std::is_enum<R>::value)
      return static_cast<R>(status);
   else
      return (void)status, R();
}

/* Tells the call hooks that a host call starts, and that it completed when
 * it goes out of scope; made after the entry check, so a jump from there
 * skips nothing. */
struct TesselSimCallDone {
   explicit TesselSimCallDone(char const *function) : function_(function) {
      tessel_sim_before_call(function);
   }
   TesselSimCallDone(TesselSimCallDone const &) = delete;
   TesselSimCallDone &operator=(TesselSimCallDone const &) = delete;
   ~TesselSimCallDone() { tessel_sim_after_call(function_); }

 private:
   char const *function_;
};

/* The check at the entry of a shell: an armed fault abandons the call; an
 * injected status of a function returning one is returned without running
 * the function.  Statement context, before any object with a destructor. */
#define TESSEL_SIM_SHELL_ENTRY(ret, name)                                                          \
   TESSEL_SIM_ENTRY(#name);                                                                        \
   if constexpr (tessel_sim_returns_status(#ret)) {                                                \
      int injected_status_;                                                                        \
      if (tessel_sim_take_status(#name, &injected_status_))                                        \
         return tessel_sim_injected<ret>(injected_status_);                                        \
   }

/* Registers name with the base library while its library loads. */
#define TESSEL_SIM_REGISTER(ret, name)                                                             \
   static int const tesselSimRegistered_##name =                                                   \
       tessel_sim_register_function(#name, tessel_sim_returns_status(#ret) ? 1 : 0)

/* Defines the exported host function name with the parameter list params
 * (in parentheses) as a shell that runs the entry check under the function's
 * own name and then returns call, an expression over the parameters.  The
 * name is written once, so a fault or status injected by name always reaches
 * the function of that name.  call runs after the check and is where objects
 * with destructors may be made; it must not throw. */
#define TESSEL_HOST_API(ret, name, params, call)                                                   \
   extern "C" TESSEL_HOST_EXPORT ret name params {                                                 \
      TESSEL_SIM_SHELL_ENTRY(ret, name)                                                            \
      TesselSimCallDone const tesselSimCallDone(#name);                                            \
      return static_cast<ret>(call);                                                               \
   }                                                                                               \
   TESSEL_SIM_REGISTER(ret, name);
#endif

#endif
