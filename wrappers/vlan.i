/* VLAN and port filtering policy: port VLAN policy, private-VLAN map,
 * nested tagging, extra Ethernet filter, sink ports, MTU and RCF type; the
 * VLAN bitmap and counter records; the vidrangeArray and pvlanmapentryArray
 * element arrays. */

%{
#include "hostapi/vlan.h"
#include "extensions/vlan_helpers.h"
%}

%tessel_record(VSPortVlanPolicy)
%tessel_record(VSPvlanMapEntry)
%tessel_record(VSExtraEthFilter)
%tessel_record(VSVLANBitmap)
%tessel_record(VSVLAN)

%types(zeb_RCFInsnType *);

/* %tessel_array_functions(TYPE, NAME): an array of TYPE built from Python.
   new_NAME(n) gives a zero-filled block of n elements (one when n is not
   given; more than TESSEL_ARRAY_MAX_ELEMENTS raise ValueError; a block that
   cannot be allocated gives a "malloc failed" line and None) that its
   pointer object does not own: delete_NAME releases it, as a module
   release does (a view, a host block or a released block is refused, a
   second release does nothing).  NAME_getitem and NAME_setitem address only
   elements inside the array's block (one element for a Python-owned
   record): an index past it raises ValueError naming the index; a pointer
   the module cannot know is taken as before, unchecked. */
%define %tessel_array_functions(TYPE, NAME)
%typemap(check, noblock=1) size_t NAME ## _count {
  if ($1 > TESSEL_ARRAY_MAX_ELEMENTS) {
    PyErr_Format(PyExc_ValueError, "in method '$symname', argument $argnum: at most %u elements", TESSEL_ARRAY_MAX_ELEMENTS);
    SWIG_fail;
  }
}
%typemap(out, noblock=1) TYPE *new_ ## NAME {
  %set_output(tessel_new_block(%as_voidptr($1), $descriptor, 0, (arg1 ? arg1 : 1) * sizeof(TYPE)));
  if (!$result) SWIG_fail;
}
/* The element must lie wholly inside the array's block. */
%typemap(check, noblock=1) size_t NAME ## _index {
  if (!arg1) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '$symname', argument 1 of type '" #TYPE " *'");
  }
  if (targ1.extent != SIZE_MAX && ($1 >= targ1.extent / sizeof(TYPE))) {
    PyErr_Format(PyExc_ValueError, "in method '%s', argument %d of type 'size_t': element %zu lies past the end of its block, which holds %zu from argument 1 on",
                 "$symname", $argnum, (size_t)$1, targ1.extent / sizeof(TYPE));
    SWIG_fail;
  }
}
%newobject NAME ## _getitem;
%{
TYPE *new_ ## NAME(size_t count) {
  return (TYPE *)tessel_array_new(count, sizeof(TYPE), #TYPE);
}
void delete_ ## NAME(TYPE *block) { free(block); }
TYPE *NAME ## _getitem(TYPE *array, size_t index) {
  return (TYPE *)tessel_block_copy(array + index, sizeof(TYPE), #TYPE);
}
void NAME ## _setitem(TYPE *array, size_t index, TYPE value) { array[index] = value; }
%}
TYPE *new_ ## NAME(size_t NAME ## _count = 1);
void delete_ ## NAME(TYPE *RELEASE);
TYPE *NAME ## _getitem(TYPE *array, size_t NAME ## _index);
void NAME ## _setitem(TYPE *array, size_t NAME ## _index, TYPE value);
%enddef

%tessel_array_functions(hyx_ZARPortVIDRange, vidrangeArray)
%tessel_array_functions(VSPvlanMapEntry, pvlanmapentryArray)

/* The count Set passes after an array: at most the elements left in the
   array's block (one for a Python-owned record), checked before the host is
   called, since the host would read past it. */
%define %tessel_counted_before(PTR_DECL, PTR_ARG, COUNT_ARG)
%typemap(check, noblock=1) PTR_DECL {
  if ($1 && COUNT_ARG > 0 && TESSEL_TARG_OF(PTR_ARG).extent != SIZE_MAX &&
      (size_t)COUNT_ARG > TESSEL_TARG_OF(PTR_ARG).extent / sizeof(*$1)) {
    PyErr_Format(PyExc_ValueError, "in method '$symname': count %lld is more than the %zu records left in the block of argument $argnum",
                 (long long)COUNT_ARG, TESSEL_TARG_OF(PTR_ARG).extent / sizeof(*$1));
    SWIG_fail;
  }
}
%enddef
%tessel_counted_before(hyx_ZARPortVIDRange *ranges, arg7, arg8)
%tessel_counted_before(VSPvlanMapEntry const *entries, arg2, arg3)

/* The policy and the map the host hands out: a policy holds numRanges
   ranges after its header, the map count entries. */
%typemap(in, numinputs=0, noblock=1) VSPortVlanPolicy **policy (VSPortVlanPolicy *temp = 0), VSPvlanMapEntry **entries (VSPvlanMapEntry *temp = 0) {
  $1 = &temp;
}
%typemap(argout, noblock=1) VSPortVlanPolicy **policy {
  {
    size_t size = sizeof(VSPortVlanPolicy) + (temp$argnum ? (size_t)temp$argnum->numRanges * sizeof(hyx_ZARPortVIDRange) : 0);
    PyObject *out = tessel_host_pointer(%as_voidptr(temp$argnum), $*descriptor, size);
    if (!out) SWIG_fail;
    %append_output(out);
  }
}
%typemap(argout, noblock=1) VSPvlanMapEntry **entries {
  {
    size_t count = temp3 > 0 ? (size_t)temp3 : 1;
    PyObject *out = tessel_host_pointer(%as_voidptr(temp$argnum), $*descriptor, count * sizeof(VSPvlanMapEntry));
    if (!out) SWIG_fail;
    %append_output(out);
  }
}
%apply int *OUTPUT { int *numRanges, int *count, int *type };
%apply char *OUTPUT { hyx_Bool *enabled };

/* Map entries from VSDVS_GetPrivateVLANMap or an array. */
%tessel_element_copy(VSPvlanMapEntry)

/* A copy of range index of a policy: ranges inside the policy's block (none
   of a Python-owned policy, which is a header only; numRanges of one the
   host handed out); an index past them raises ValueError, a negative one
   gives an "Invalid array index." line and None. */
%newobject VSPortVlanPolicy::get_vid_range;
%extend VSPortVlanPolicy {
  hyx_ZARPortVIDRange *get_vid_range(int range_index) {
    return (hyx_ZARPortVIDRange *)tessel_element_copy($self->vidRanges, sizeof(hyx_ZARPortVIDRange), range_index, "hyx_ZARPortVIDRange");
  }
}
%typemap(check, noblock=1) int range_index {
  if ($1 >= 0 && !tessel_missing_record) {
    size_t ranges = tessel_receiver_extent != SIZE_MAX
        ? (tessel_receiver_extent - sizeof(VSPortVlanPolicy)) / sizeof(hyx_ZARPortVIDRange)
        : arg1->numRanges;
    if ((size_t)$1 >= ranges) {
      PyErr_Format(PyExc_ValueError, "in method '%s', argument %d of type 'int': range %d lies past the end of its block, which holds %zu",
                   "$symname", $argnum, $1, ranges);
      SWIG_fail;
    }
  }
}

%include "hostapi/vlan.h"

%clear int *numRanges, int *count, int *type, hyx_Bool *enabled;
