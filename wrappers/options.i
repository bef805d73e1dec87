/* Runtime options: the packed option block, building and walking it, the
 * option names, and the library calls that read and write the options.
 * Restart-time (RTM) operations and switch-control queries: the query
 * records, their allocators and item methods, property values, and the
 * library calls that act on the host's switch state as a whole. */

%{
#include "hostapi/options.h"
#include "extensions/options_helpers.h"
%}

%tessel_record(VSRuntimeOptions)
%tessel_record(VSRuntimeOptionHeader)
%tessel_record(RTM_Portset)
%tessel_record(RTMIOCtlQuery)
%tessel_record(RTM_ModInfo)
%tessel_record(RTMModIOCtlQuery)
%tessel_record(RTMPortIOCtlQuery)
%tessel_record(RTMIOCtlData)
%tessel_record(VSIOCtlData)
%tessel_record(VSIOCtlQuery)
%tessel_record(ZARQuery)
%tessel_record(EnsPRPTunablesData)

/* The library's own records in a query are opaque views: no constructor,
   destructor or accessor of their own. */
%nodefaultctor _mcastFilter;
%nodefaultdtor _mcastFilter;
%nodefaultctor _uplink;
%nodefaultdtor _uplink;
%immutable VSIOCtlQuery::mcastFilter;
%immutable VSIOCtlQuery::uplink;
%apply unsigned char MAC_TEXT[6] { hyx_uint8 supMcastAddr[6] };

/* A property value is the module's copy: see the helpers. */
%typemap(memberin, noblock=1) char *propValue {
  ZARQuery_propValue_set(arg1, $input);
  /* A copy that cannot be made leaves the old value and raises MemoryError. */
  if (PyErr_Occurred()) SWIG_fail;
}

/* Out-values of the switch-state calls. */
%apply int *OUTPUT { int *mode };
%apply char *OUTPUT { hyx_Bool *disable };

/* The library reads the portsets or modules a query's count names: a count
   beyond what the module knows the block holds is refused before the call. */
%define %tessel_counted_query(TYPE, COUNT_FIELD, HEADER, ENTRY)
%typemap(in, noblock=1) TYPE *query (void *argp = 0, int res = 0, tessel_arg targ = {0, 0}) {
  res = tessel_convert_ptr($input, &argp, $descriptor, 0, &targ);
  if (SWIG_IsOK(res) && argp && targ.extent < sizeof(TYPE)) res = TESSEL_SHORT;
  if (!SWIG_IsOK(res)) {
    tessel_pointer_fail(res, "in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'", targ.extent, sizeof(TYPE));
    SWIG_fail;
  }
  $1 = ($ltype)argp;
  if ($1 && tessel_query_entries($1->COUNT_FIELD, targ.extent, HEADER, ENTRY) < $1->COUNT_FIELD) {
    PyErr_Format(PyExc_ValueError, "in method '$symname': the " #TYPE " holds fewer than the %u entries its count claims", (unsigned)$1->COUNT_FIELD);
    SWIG_fail;
  }
}
%typemap(freearg, noblock=1, match="in") TYPE *query {
  Py_XDECREF(targ$argnum.keep);
}
%enddef
%tessel_counted_query(RTMIOCtlQuery, numPortsets, 9, sizeof(RTM_Portset))
%tessel_counted_query(RTMModIOCtlQuery, numMod, 132, sizeof(RTM_ModInfo))

/* A block from new_VSRuntimeOptions is owned by Python: its buffer, which
   holds at least the block's own header.  (Declared before the record,
   whose constructor is made where it is declared.) */
%typemap(out, noblock=1) SWIGTYPE *VSRuntimeOptions {
  %set_output($1 ? tessel_new_block(%as_voidptr($1), $descriptor, SWIG_POINTER_NEW, tessel_options_buffer_size($1)) : SWIG_Py_Void());
  if (!$result) SWIG_fail;
}

/* A block the library hands out is totalLength bytes long. */
%typemap(in, numinputs=0, noblock=1) VSRuntimeOptions **options (VSRuntimeOptions *temp = 0) {
  $1 = &temp;
}
%typemap(argout, noblock=1) VSRuntimeOptions **options {
  {
    PyObject *out = tessel_host_pointer(%as_voidptr(temp$argnum), $*descriptor, temp$argnum ? tessel_options_buffer_size(temp$argnum) : 0);
    if (!out) SWIG_fail;
    %append_output(out);
  }
}

/* The library reads totalLength bytes of a block it is given: a block that
   claims more than the module knows it holds is refused before the call. */
%typemap(in, noblock=1) VSRuntimeOptions *options (void *argp = 0, int res = 0, tessel_arg targ = {0, 0}) {
  res = tessel_convert_ptr($input, &argp, $descriptor, 0, &targ);
  if (SWIG_IsOK(res) && argp && targ.extent < sizeof(VSRuntimeOptions)) res = TESSEL_SHORT;
  if (!SWIG_IsOK(res)) {
    tessel_pointer_fail(res, "in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'", targ.extent, sizeof(VSRuntimeOptions));
    SWIG_fail;
  }
  $1 = ($ltype)argp;
  if ($1 && targ.extent != SIZE_MAX && $1->totalLength > targ.extent) {
    PyErr_Format(PyExc_ValueError, "in method '$symname': the VSRuntimeOptions claims %u bytes, its block holds %zu", (unsigned)$1->totalLength, targ.extent);
    SWIG_fail;
  }
}
%typemap(freearg, noblock=1, match="in") VSRuntimeOptions *options {
  Py_XDECREF(targ$argnum.keep);
}

/* The types asked for: count values must lie in the pointer's block. */
%typemap(check, noblock=1) (hyx_uint16 const *types, hyx_uint16 count) {
  if ($1 && TESSEL_TARG_OF($1).extent != SIZE_MAX && (size_t)$2 > TESSEL_TARG_OF($1).extent / sizeof(hyx_uint16)) {
    PyErr_Format(PyExc_ValueError, "in method '$symname', argument 2 of type 'hyx_uint16': %u types are more than the %zu left in the block of argument 1",
                 (unsigned)$2, TESSEL_TARG_OF($1).extent / sizeof(hyx_uint16));
    SWIG_fail;
  }
}

/* An option's name and text value are read: None is refused. */
%typemap(check, noblock=1) char *name, char *value {
  if (!$1) {
    SWIG_exception_fail(SWIG_TypeError, "in method '$symname', argument $argnum of type '$1_type'");
  }
}

/* Entries are copied in from a record: None is refused. */
%typemap(check, noblock=1) RTM_Portset const *entry, RTM_ModInfo const *entry {
  if (!$1) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '$symname', argument $argnum of type '$1_type'");
  }
}

%include "hostapi/options.h"

%clear VSRuntimeOptions **options, VSRuntimeOptions *options, (hyx_uint16 const *types, hyx_uint16 count),
       RTMIOCtlQuery *query, RTMModIOCtlQuery *query, int *mode, hyx_Bool *disable;

/* The allocators' queries are owned by nobody until their release function
   frees them: blocks of their header and entries (a property value block is
   the module's too, see the helpers). */
%typemap(out, noblock=1) RTMIOCtlQuery *alloc_rtm_query {
  %set_output($1 ? tessel_new_block(%as_voidptr($1), $descriptor, 0, 9 + (size_t)$1->numPortsets * sizeof(RTM_Portset)) : SWIG_Py_Void());
  if (!$result) SWIG_fail;
}
%typemap(out, noblock=1) RTMModIOCtlQuery *alloc_rtm_mod_query {
  %set_output($1 ? tessel_new_block(%as_voidptr($1), $descriptor, 0, 132 + (size_t)$1->numMod * sizeof(RTM_ModInfo)) : SWIG_Py_Void());
  if (!$result) SWIG_fail;
}
%typemap(out, noblock=1) ZARQuery *alloc_zar_query {
  %set_output($1 ? tessel_new_block(%as_voidptr($1), $descriptor, 0, sizeof(ZARQuery)) : SWIG_Py_Void());
  if (!$result) SWIG_fail;
}
RTMIOCtlQuery *alloc_rtm_query(int n);
void free_rtm_query(RTMIOCtlQuery *RELEASE);
RTMModIOCtlQuery *alloc_rtm_mod_query(int n);
void free_rtm_mod_query(RTMModIOCtlQuery *RELEASE);
ZARQuery *alloc_zar_query(int s);
void free_zar_query(ZARQuery *RELEASE);


/* Entry i of a query: the bound is the count, and for a query the module
   knows, also the entries its block holds; an index outside gives the line
   "Invalid array index." and None. */
%define %tessel_query_items(TYPE, COUNT_FIELD, HEADER, ENTRY)
%extend TYPE {
  ENTRY *__getitem__(int index) {
    uint32_t count = tessel_query_entries($self->COUNT_FIELD, tessel_receiver_extent, HEADER, sizeof(ENTRY));
    return (ENTRY *)tessel_query_entry($self, index, count, HEADER, sizeof(ENTRY));
  }
  void __setitem__(int index, ENTRY const *entry) {
    uint32_t count = tessel_query_entries($self->COUNT_FIELD, tessel_receiver_extent, HEADER, sizeof(ENTRY));
    char *slot = tessel_query_entry($self, index, count, HEADER, sizeof(ENTRY));
    if (slot) memmove(slot, entry, sizeof(ENTRY));
  }
}
%enddef
%tessel_query_items(RTMIOCtlQuery, numPortsets, 9, RTM_Portset)
%tessel_query_items(RTMModIOCtlQuery, numMod, 132, RTM_ModInfo)

%extend ZARQuery {
  /* The value goes with the query when the module made it (a copy the
     propValue setter stored): nobody else can hold it. */
  ~ZARQuery() {
    free_zar_query($self);
  }
  PyObject *get_val_in_bytes() {
    return tessel_zar_value_bytes($self);
  }
}
%clear RTM_Portset const *entry, RTM_ModInfo const *entry;

/* A block is built from its first position: each adding call writes one
   option and gives the position of the next, None when the option does not
   fit (nothing is written then).  The end of a block is its totalLength,
   never past the bytes the module knows it has. */
%feature("compactdefaultargs") VSRuntimeOptions::VSRuntimeOptions;
%extend VSRuntimeOptions {
  VSRuntimeOptions(int size = 0) {
    return tessel_options_new(size);
  }
  VSRuntimeOptionHeader *get_first_option() {
    return tessel_options_first($self, tessel_receiver_extent);
  }
  VSRuntimeOptionHeader *get_next_option(VSRuntimeOptionHeader *option) {
    return tessel_options_next($self, tessel_receiver_extent, option);
  }
  VSRuntimeOptionHeader *add_int_option(VSRuntimeOptionHeader *position, char *name, int type, int value) {
    (void)name;
    return tessel_options_add_int($self, tessel_receiver_extent, position, type, value);
  }
  VSRuntimeOptionHeader *add_str_option(VSRuntimeOptionHeader *position, char *name, int type, char *value) {
    (void)name;
    return tessel_options_add_str($self, tessel_receiver_extent, position, type, value);
  }
  void set_options_length(int length) {
    $self->totalLength = (hyx_uint32)length + (hyx_uint32)sizeof(VSRuntimeOptions);
  }
}

%extend VSRuntimeOptionHeader {
  PyObject *get_option_name() {
    return tessel_option_name($self);
  }
  PyObject *get_option_value() {
    return tessel_option_value($self, tessel_receiver_extent);
  }
}

int get_runtime_option_type_from_name(char *name);

%clear char *name, char *value, char *propValue;
