/* Argument conversions whose error classes differ from SWIG's defaults. */
#include "module/conv.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

static int is_negative(PyObject *obj) {
   PyObject *zero = PyLong_FromLong(0);
   int neg;
   if (!zero) {
      PyErr_Clear();
      return 0;
   }
   neg = PyObject_RichCompareBool(obj, zero, Py_LT);
   Py_DECREF(zero);
   if (neg < 0) {
      PyErr_Clear();
      neg = 0;
   }
   return neg;
}

int tessel_as_unsigned_long(PyObject *obj, unsigned long *val) {
   unsigned long v;
   if (!PyLong_Check(obj))
      return TESSEL_TYPE_ERROR;
   v = PyLong_AsUnsignedLong(obj);
   if (PyErr_Occurred()) {
      PyErr_Clear();
      return is_negative(obj) ? TESSEL_OVERFLOW_ERROR : TESSEL_TYPE_ERROR;
   }
   if (val)
      *val = v;
   return TESSEL_OK;
}

int tessel_as_unsigned_long_long(PyObject *obj, unsigned long long *val) {
   unsigned long long v;
   if (!PyLong_Check(obj))
      return TESSEL_TYPE_ERROR;
   v = PyLong_AsUnsignedLongLong(obj);
   if (PyErr_Occurred()) {
      PyErr_Clear();
      return TESSEL_TYPE_ERROR;
   }
   if (val)
      *val = v;
   return TESSEL_OK;
}

int tessel_as_char(PyObject *obj, char *val) {
   if (PyUnicode_Check(obj)) {
      Py_ssize_t len = 0;
      const char *utf8 = PyUnicode_AsUTF8AndSize(obj, &len);
      if (!utf8) {
         /* Lone surrogates have no UTF-8 form. */
         PyErr_Clear();
         return TESSEL_TYPE_ERROR;
      }
      if (len > 1)
         return TESSEL_TYPE_ERROR;
      if (val)
         *val = len ? utf8[0] : 0;
      return TESSEL_OK;
   }
   if (PyLong_Check(obj)) {
      int overflow = 0;
      long v = PyLong_AsLongAndOverflow(obj, &overflow);
      if (v == -1 && PyErr_Occurred()) {
         PyErr_Clear();
         return TESSEL_TYPE_ERROR;
      }
      if (overflow || v < 0 || v > 255)
         return TESSEL_OVERFLOW_ERROR;
      if (val)
         *val = (char)(unsigned char)v;
      return TESSEL_OK;
   }
   return TESSEL_TYPE_ERROR;
}

size_t SWIG_strnlen(const char *s, size_t maxlen) {
   const void *nul;
   if (maxlen == 0)
      return 0;
   nul = memchr(s, 0, maxlen);
   return nul ? (size_t)((const char *)nul - s) : maxlen;
}

void tessel_print_diagnostic(const char *text) {
   fputs(text, stdout);
   fflush(stdout);
}

void tessel_print_diagnosticf(const char *format, ...) {
   char text[256];
   va_list args;
   va_start(args, format);
   vsnprintf(text, sizeof text, format, args);
   va_end(args);
   tessel_print_diagnostic(text);
}
