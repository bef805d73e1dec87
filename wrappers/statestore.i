/* The distributed-switch state store: the store operations, lookups,
 * traversal with C callbacks, property-data containers, alias translations,
 * and the switch and port lifecycle and property calls; the three port
 * records those exchange. */

%{
#include "hostapi/statestore.h"
#include "extensions/options_helpers.h"
%}

%tessel_record(DVPortData)
%tessel_record(DVPortList)
%tessel_record(OpaqueDVPortData)

%tessel_spelling("_p_a_64__char", "char (*)[64]|DVSwitchId *")
%tessel_spelling("_p_f_p_void_p_void__char", "char (*)(void *,void *)|DVSwitchCallback|DVSPortCallback|DVSPortDataCallback")
%tessel_spelling("_p_f_size_t__p_void", "void *(*)(size_t)|DVSData_MemAlloc")
%tessel_spelling("_p_f_p_void__void", "void (*)(void *)|DVSData_MemFree")

/* Out-values: the port id of a translation and a switch's alias. */
%apply unsigned int *OUTPUT { hyx_SwitchPortID *portID };
%tessel_bounded_output(aliasOut, 128)

/* A property value: the bytes of a bytes object or the UTF-8 form of a str,
   read in place for the call; anything else is refused before the call.
   The byte count given with it must lie within those bytes. */
%typemap(in, noblock=1) void const *value (tessel_arg targ = {0, 0}) {
  if (PyBytes_Check($input)) {
    $1 = ($ltype)PyBytes_AS_STRING($input);
    targ.extent = (size_t)PyBytes_GET_SIZE($input);
  } else if (PyUnicode_Check($input)) {
    Py_ssize_t n = 0;
    $1 = ($ltype)PyUnicode_AsUTF8AndSize($input, &n);
    if (!$1) SWIG_fail;
    targ.extent = (size_t)n;
  } else {
    PyErr_Format(PyExc_TypeError, "in method '$symname', argument $argnum of type 'void const *': a property value must be bytes or str, not %s",
                 Py_TYPE($input)->tp_name);
    SWIG_fail;
  }
}
%typemap(check, noblock=1) (void const *value, int len) {
  if ($2 < 0 || (size_t)$2 > TESSEL_TARG_OF($1).extent) {
    PyErr_Format(PyExc_ValueError, "in method '$symname': a byte count of %d is not within the %zu bytes of the value", $2, TESSEL_TARG_OF($1).extent);
    SWIG_fail;
  }
}

/* A query the host fills: its propLen must not claim more bytes than the
   value block the module made for it. */
%typemap(check, noblock=1) ZARQuery *query {
  if ($1 && $1->propLen > 0) {
    PyObject *known = tessel_zar_value_bytes($1);
    Py_ssize_t have = known ? PyBytes_GET_SIZE(known) : -1;
    Py_XDECREF(known);
    if (have < 0) SWIG_fail;
    if (ZARQuery_propValue_get($1) && have < $1->propLen) {
      PyErr_Format(PyExc_ValueError, "in method '$symname': the query's propLen of %d is more than the %zd bytes of its value", $1->propLen, have);
      SWIG_fail;
    }
  }
}

/* Bytes the host reads from a pointer: the count must lie within the
   pointer's block when the module knows it. */
%define %tessel_read_extent(PTR_DECL, COUNT_DECL)
%typemap(check, noblock=1) (PTR_DECL, COUNT_DECL) {
  if ($1 && TESSEL_TARG_OF($1).extent != SIZE_MAX && ((long long)$2 < 0 || (unsigned long long)$2 > TESSEL_TARG_OF($1).extent)) {
    PyErr_Format(PyExc_ValueError, "in method '$symname': a byte count of %lld is not within the %zu bytes of the block of the pointer before it",
                 (long long)$2, TESSEL_TARG_OF($1).extent);
    SWIG_fail;
  }
}
%enddef
%tessel_read_extent(void *state, int len)
%tessel_read_extent(void *data, int len)
%tessel_read_extent(void *in, int inLen)
%tessel_read_extent(void *buf, int len)
%tessel_read_extent(void *value, hyx_uint32 len)

/* The store's release call takes only what the host handed out. */
%apply void *HOST_RELEASE { void *released };

%ignore DVSAliasToPortsetName(char const *, char *);
%include "hostapi/statestore.h"
%clear hyx_SwitchPortID *portID, void *released;

/* DVSAliasToPortsetName: an alias alone gives [status, name] (a 129-byte
   slot, its last byte forced to NUL); an alias and a text of at most 127
   bytes fills the library's 128-byte buffer and gives the status. */
%{
/* Arms the exception guard around one host call, as every wrapper does. */
#define TESSEL_GUARDED_CALL(CALL)                                                  \
  do {                                                                           \
    exception_status = setjmp(exception_buffer);                                 \
    if (exception_status != 0) {                                                 \
      tessel_raise_abandoned();                                                  \
      goto done;                                                                 \
    }                                                                            \
    CALL;                                                                        \
  } while (0)

static PyObject *tessel_alias_to_portset_name(PyObject *self, PyObject *args) {
  (void)self;
  Py_ssize_t argc = PyTuple_Check(args) ? PyTuple_GET_SIZE(args) : 0;
  char *alias = NULL, *given = NULL;
  int alias_alloc = 0, given_alloc = 0;
  tessel_arg alias_arg = {0, 0}, given_arg = {0, 0};
  PyObject *result = NULL;
  if ((argc == 1 || argc == 2) &&
      SWIG_IsOK(tessel_as_text(PyTuple_GET_ITEM(args, 0), &alias, 0, 0, &alias_alloc, &alias_arg))) {
    if (argc == 1) {
      char name[129];
      int status;
      memset(name, 0, sizeof name);
      TESSEL_GUARDED_CALL(status = DVSAliasToPortsetName(alias, name));
      name[128] = '\0';
      result = PyList_New(2);
      if (result) {
        PyObject *code = PyLong_FromLong(status);
        PyObject *text = SWIG_FromCharPtrAndSize(name, strlen(name));
        if (!code || !text) {
          Py_XDECREF(code);
          Py_XDECREF(text);
          Py_CLEAR(result);
        } else {
          PyList_SET_ITEM(result, 0, code);
          PyList_SET_ITEM(result, 1, text);
        }
      }
      goto done;
    }
    if (SWIG_IsOK(tessel_as_text(PyTuple_GET_ITEM(args, 1), &given, 1, 128, &given_alloc, &given_arg)) &&
        given && (given_arg.extent == SIZE_MAX || given_arg.extent >= 128) && strlen(given) < 128) {
      char buf[128];
      int status;
      memcpy(buf, given, 128);
      TESSEL_GUARDED_CALL(status = DVSAliasToPortsetName(alias, buf));
      result = PyLong_FromLong(status);
      goto done;
    }
  }
  PyErr_Clear();
  PyErr_SetString(PyExc_NotImplementedError,
                  "Wrong number or type of arguments for overloaded function 'DVSAliasToPortsetName'.\n"
                  "  Possible C/C++ prototypes are:\n"
                  "    DVSAliasToPortsetName(char const *,char *)\n"
                  "    DVSAliasToPortsetName(char const *,char [128])\n");
done:
  if (alias_alloc) free(alias);
  if (given_alloc) free(given);
  Py_XDECREF(alias_arg.keep);
  Py_XDECREF(given_arg.keep);
  return result;
}
%}
%native(DVSAliasToPortsetName) PyObject *tessel_alias_to_portset_name(PyObject *self, PyObject *args);
