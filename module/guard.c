/* Definitions of the exception-guard globals (exported: the host libraries
 * refer to them by name) and the raise after an abandoned host call. */
#include "module/guard.h"

#include <stdlib.h>
#include <string.h>

#include "module/conv.h"

TESSEL_EXPORT jmp_buf exception_buffer;
TESSEL_EXPORT int exception_status;
TESSEL_EXPORT char *exceptionMsg;
TESSEL_EXPORT PyObject *exceptionType;

void tessel_raise_abandoned(void) {
   PyObject *type = exceptionType;
   const char *msg = exceptionMsg;
   if (!type || !PyExceptionClass_Check(type))
      type = PyExc_RuntimeError;
   PyErr_SetString(type, msg ? msg : "host call abandoned");
}

char *tessel_escape_format(const char *text) {
   size_t len, extra = 0, i, j;
   char *copy;
   if (!text)
      return NULL;
   len = strlen(text);
   for (i = 0; i < len; i++)
      extra += text[i] == '%';
   copy = malloc(len + extra + 1);
   if (!copy)
      return NULL;
   for (i = 0, j = 0; i < len; i++) {
      copy[j++] = text[i];
      if (text[i] == '%')
         copy[j++] = '%';
   }
   copy[j] = '\0';
   return copy;
}
