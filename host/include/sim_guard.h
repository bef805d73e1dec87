/* The exception guard globals as the base library sees them.  The Python
 * module defines them; the host libraries refer to them weakly so that they
 * also load in a process without the module, where every address below is
 * NULL and no call can be abandoned. */
#ifndef TESSEL_HOST_SIM_GUARD_H
#define TESSEL_HOST_SIM_GUARD_H

#include <setjmp.h>

#define TESSEL_WEAK_IMPORT __attribute__((weak, visibility("default")))

#ifdef __cplusplus
extern "C" {
#endif

extern jmp_buf exception_buffer TESSEL_WEAK_IMPORT;
extern int exception_status TESSEL_WEAK_IMPORT;
extern char *exceptionMsg TESSEL_WEAK_IMPORT;
extern void *exceptionType TESSEL_WEAK_IMPORT;

#ifdef __cplusplus
}
#endif

#endif
