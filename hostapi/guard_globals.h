/* The exception guard shared by the module and the host libraries.
 *
 * The module arms exception_buffer with setjmp immediately before each host
 * call.  A host function that cannot return normally stores a Python
 * exception class in exceptionType and a NUL-terminated text in exceptionMsg,
 * then longjmps to exception_buffer with a non-zero value; the module raises
 * that exception.  The module defines these globals; the host libraries only
 * refer to them by name. */
#ifndef TESSEL_HOSTAPI_GUARD_GLOBALS_H
#define TESSEL_HOSTAPI_GUARD_GLOBALS_H

#include <setjmp.h>

#include "hostapi/common.h"

/* The module sees exceptionType as a PyObject *; the host libraries do not
 * depend on Python and see an opaque pointer of the same size. */
#ifndef HYX_GUARD_PYOBJECT
#define HYX_GUARD_PYOBJECT void
#endif

HYX_EXTERN_C_BEGIN
extern jmp_buf exception_buffer;
extern int exception_status;
extern char *exceptionMsg;
extern HYX_GUARD_PYOBJECT *exceptionType;
HYX_EXTERN_C_END

#endif
