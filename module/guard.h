/* The exception guard: the globals the host libraries use to abandon a call,
 * and the raise that follows an abandoned call. */
#ifndef TESSEL_MODULE_GUARD_H
#define TESSEL_MODULE_GUARD_H

#include <Python.h>

#define HYX_GUARD_PYOBJECT PyObject
#include "hostapi/guard_globals.h"

/* Raises exceptionType with exceptionMsg after a host function abandoned the
 * call.  A missing or non-exception class falls back to RuntimeError and a
 * missing text to a fixed one, so a faulty host cannot crash the caller. */
void tessel_raise_abandoned(void);

/* Returns a copy of text with every '%' doubled, so the host's printf-style
 * Panic prints it literally; NULL for NULL.  The caller frees the copy. */
char *tessel_escape_format(const char *text);

#endif
