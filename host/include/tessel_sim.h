/* Control interface of the simulated host, exported by libbasekit.so (and,
 * where marked, by libtessel.so) for tests (usually reached through
 * ctypes).
 *
 * The guard globals are resolved when libbasekit.so is loaded: load it as a
 * dependency of the Python module (import the module first), otherwise the
 * libraries never see the guard and injected faults cannot abandon a call. */
#ifndef TESSEL_HOST_TESSEL_SIM_H
#define TESSEL_HOST_TESSEL_SIM_H

#ifdef __cplusplus
extern "C" {
#endif

/* Arms a one-shot fault: the next call of the named host function (for
 * example "VSHYX_GetVSInfo") abandons the call through the exception guard
 * with exceptionType = exc_type and exceptionMsg = a copy of message.  Names
 * and texts are copied (long texts are truncated); arming a function again
 * replaces its fault.  A NULL or empty name is ignored; a NULL message gives
 * an empty text.  Without the guard the armed call runs normally. */
void tessel_sim_inject_fault(char const *function, void *exc_type, char const *message);

/* Arms a one-shot status: the next call of the named host function returns
 * status without running (after a fault armed for it, which fires first).
 * Arming a function again replaces its status.  Returns 0; -1 when no host
 * function has that name (or it is NULL); -2 when the function returns no
 * status (only functions declared to return HYX_ReturnStatus take one); -3
 * when 16 statuses are armed already. */
int tessel_sim_inject_status(char const *function, int status);

/* 1 for a host function that returns a status, 0 for one that does not, -1
 * for a name no loaded host library exports (or NULL). */
int tessel_sim_known_function(char const *function);

/* Disarms every fault and every injected status. */
void tessel_sim_clear_faults(void);

/* Number of tracked blocks handed out and not yet released. */
long tessel_sim_outstanding_blocks(void);

/* Builds every library's host model again from its topology (libtessel.so:
 * the last one tessel_sim_load_topology loaded, else the default one or the
 * file TESSEL_SIM_TOPOLOGY named when the host was first used) and disarms
 * every fault and injected status.  Blocks already handed out stay valid and
 * tracked. */
void tessel_sim_reset(void);

/* 1 when the exception guard globals were found at load, else 0. */
int tessel_sim_guard_available(void);

/* libtessel.so: adds a standard switch named name for scale tests, with
 * ports ports (1..65536; with more than one, the first is the uplink
 * "uplink0" and the others are VM ports "vm-<i>.eth0" on VLANs 1..100) and
 * learnedMacs learned MAC entries spread evenly over them, besides the
 * static entry of each VM port.  learnedMacs may be at most
 * VS_MAC_LEARNING_LIMIT_ENTRIES_SCALED (131072) and at most
 * VSPORT_MAC_LEARNING_LIMIT_ENTRIES_MAX (4096) per port.  Returns 0, or -1
 * when name is NULL, empty, 128 bytes or longer or already taken, a count is
 * out of range, the host has 64 switches or memory runs out.  The switch
 * stays until tessel_sim_reset. */
int tessel_sim_add_switch(char const *name, unsigned ports, unsigned learnedMacs);

/* libtessel.so: builds the host from the topology document text (JSON; source
 * names it in messages) and makes it the topology tessel_sim_reset restores;
 * the other libraries are reset too (as by tessel_sim_reset).  Returns 0; on
 * failure returns -1, keeps the host as it was and writes a message naming
 * the place in the document ("switches[2].ports[1].mac.macLimit: ...") into
 * error (at most errorSize bytes with its NUL; error may be NULL).  A NULL
 * text loads the topology the process started with (the default, or the
 * file TESSEL_SIM_TOPOLOGY names). */
int tessel_sim_load_topology(char const *text, char const *source, char *error,
                             unsigned long errorSize);

/* libtessel.so: the current host as a topology document (JSON text, NUL
 * terminated) in a tracked block the caller releases with VSHYX_FreeMemory
 * (or tessel_sim_block_release); loading it gives a host whose dump is the
 * same text.  NULL when memory runs out. */
char *tessel_sim_dump_topology(void);

#ifdef __cplusplus
}
#endif

#endif
