/* Hand-written conversion helpers shared by the generated wrappers. */
#ifndef TESSEL_MODULE_CONV_H
#define TESSEL_MODULE_CONV_H

#include <Python.h>
#include <stddef.h>

#define TESSEL_EXPORT __attribute__((visibility("default")))

/* Result codes, the same as SWIG's own error codes. */
#define TESSEL_OK 0
#define TESSEL_TYPE_ERROR (-5)
#define TESSEL_OVERFLOW_ERROR (-7)

/* An int in 0..2**64-1.  Negative: OverflowError; 2**64 or more, or not an
 * int: TypeError. */
int tessel_as_unsigned_long(PyObject *obj, unsigned long *val);

/* An int in 0..2**64-1; anything else is a TypeError. */
int tessel_as_unsigned_long_long(PyObject *obj, unsigned long long *val);

/* A str whose UTF-8 form is at most one byte (the empty str gives 0), or an
 * int in 0..255 (OverflowError outside); anything else is a TypeError. */
int tessel_as_char(PyObject *obj, char *val);

/* The number of bytes of s before its first NUL, at most maxlen; s is not
 * read when maxlen is 0. */
TESSEL_EXPORT size_t SWIG_strnlen(const char *s, size_t maxlen);

/* The helpers' diagnostics, each written on a line of its own.  An index
 * outside a table: the switch list and the VLAN use counts write it without
 * a full stop, every other indexer with one. */
#define TESSEL_INVALID_INDEX_TEXT "Invalid array index\n"
#define TESSEL_INVALID_ELEMENT_INDEX_TEXT "Invalid array index.\n"

/* Writes a helper's diagnostic text to standard output and flushes it at
 * once, so it keeps its place among what Python itself prints. */
void tessel_print_diagnostic(const char *text);

/* The same, formatted as by printf (at most 255 bytes). */
void tessel_print_diagnosticf(const char *format, ...) __attribute__((format(printf, 1, 2)));

#endif
