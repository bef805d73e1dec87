/* VLAN and port filtering policy: port VLAN policy, private-VLAN map,
 * nested tagging, extra Ethernet filter, sink ports, MTU and RCF type; the
 * VLAN bitmap and counter records; the vidrangeArray and pvlanmapentryArray
 * element arrays.  Also the bounded element copies the overlay and MAC
 * interface files use. */

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

/* A receiver whose extent the module can know: ELEM names the parameter,
   and argp/own (locals of the parameter's typemap) say which block it is and
   whether Python owns it.  None is refused like any method's record. */
%define %tessel_receiver(TYPE, ELEM)
%typemap(in, noblock=1) TYPE *ELEM (void *argp = 0, int res = 0, int own = 0) {
  res = SWIG_ConvertPtrAndOwn($input, &argp, $descriptor, 0, &own);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  if (!argp) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '$symname', argument $argnum of type '$type'");
  }
  $1 = ($ltype)argp;
}
%enddef

/* The extent (in elements) of argument 1, known for Python-owned records
   (OWNED elements) and for arrays made by new_<x>Array; hidden from Python. */
%define %tessel_extent_of_first(OWNED)
%typemap(in, numinputs=0, noblock=1) size_t tessel_extent {
  $1 = 0;
}
%typemap(check, noblock=1) size_t tessel_extent {
  $1 = tessel_extent(argp1, own1 & SWIG_POINTER_OWN, OWNED);
}
%enddef

/* TYPE___getitem__(elem, index): a Python-owned copy of element index of the
   array elem starts.  A Python-owned elem is one record and an array from
   new_<x>Array has its count: an index beyond them (or a negative one) reads
   nothing, writes "Invalid array index." and gives None.  For a view into a
   host table the caller keeps the index below the table's count. */
%define %tessel_bounded_element_copy(TYPE)
%tessel_receiver(TYPE, tessel_elem)
%tessel_extent_of_first(1)
%newobject TYPE ## ___getitem__;
%inline %{
TYPE *TYPE ## ___getitem__(TYPE *tessel_elem, int index, size_t tessel_extent) {
  return (TYPE *)tessel_bounded_copy(tessel_elem, sizeof(TYPE), index, tessel_extent, #TYPE);
}
%}
%enddef

/* %tessel_array_functions(TYPE, NAME): an array of TYPE built from Python.
   new_NAME(n) gives a zero-filled block of n elements (one when n is not
   given) that its pointer object does not own: delete_NAME frees it, and
   only blocks from new_NAME, never a record.  More than
   TESSEL_ARRAY_MAX_ELEMENTS elements raise ValueError; a block that cannot
   be allocated gives a "malloc failed" line and None.  NAME_getitem and
   NAME_setitem check the index against the block's count (against one
   record for a Python-owned record); out of range they write "Invalid array
   index." and give None. */
%define %tessel_array_functions(TYPE, NAME)
%tessel_receiver(TYPE, tessel_array)
%typemap(in, noblock=1) TYPE *tessel_array_or_none (void *argp = 0, int res = 0) {
  res = SWIG_ConvertPtr($input, &argp, $descriptor, 0);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  $1 = ($ltype)argp;
}
%typemap(check, noblock=1) TYPE *tessel_array_or_none {
  if ($1 && !tessel_array_known($1)) {
    SWIG_exception_fail(SWIG_ValueError, "in method '$symname', argument $argnum: not a block made by new_" #NAME " (or freed already)");
  }
}
%typemap(check, noblock=1) size_t tessel_count {
  if ($1 > TESSEL_ARRAY_MAX_ELEMENTS) {
    PyErr_Format(PyExc_ValueError, "in method '$symname', argument $argnum: at most %u elements", TESSEL_ARRAY_MAX_ELEMENTS);
    SWIG_fail;
  }
}
%tessel_extent_of_first(1)
%newobject NAME ## _getitem;
%{
TYPE *new_ ## NAME(size_t tessel_count) {
  return (TYPE *)tessel_array_new(tessel_count, sizeof(TYPE), #TYPE);
}
%}
TYPE *new_ ## NAME(size_t tessel_count = 1);
%inline %{
void delete_ ## NAME(TYPE *tessel_array_or_none) {
  tessel_array_delete(tessel_array_or_none);
}
TYPE *NAME ## _getitem(TYPE *tessel_array, size_t index, size_t tessel_extent) {
  if (index > (size_t)INT64_MAX) index = (size_t)INT64_MAX;
  return (TYPE *)tessel_bounded_copy(tessel_array, sizeof(TYPE), (long long)index, tessel_extent, #TYPE);
}
void NAME ## _setitem(TYPE *tessel_array, size_t index, TYPE value, size_t tessel_extent) {
  tessel_bounded_store(tessel_array, sizeof(TYPE), index, tessel_extent, &value);
}
%}
%enddef

%tessel_array_functions(hyx_ZARPortVIDRange, vidrangeArray)
%tessel_array_functions(VSPvlanMapEntry, pvlanmapentryArray)

/* The counts Set passes with an array: checked against the block's count
   when the module knows it (an array from new_<x>Array, or one Python-owned
   record), before the host is called, since the host would read past it. */
%define %tessel_counted_block(TYPE, PARAM, COUNT_ARG)
%typemap(in, noblock=1) TYPE *PARAM (void *argp = 0, int res = 0, int own = 0) {
  res = SWIG_ConvertPtrAndOwn($input, &argp, $descriptor, 0, &own);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  $1 = ($ltype)argp;
}
%typemap(check, noblock=1) TYPE *PARAM {
  if ($1 && COUNT_ARG > 0) {
    size_t extent = tessel_extent($1, own$argnum & SWIG_POINTER_OWN, 1);
    if (extent != TESSEL_EXTENT_UNKNOWN && (size_t)COUNT_ARG > extent) {
      PyErr_Format(PyExc_ValueError, "in method '$symname': count %lld is more than the %zu elements argument $argnum holds", (long long)COUNT_ARG, extent);
      SWIG_fail;
    }
  }
}
%enddef
%tessel_counted_block(hyx_ZARPortVIDRange, ranges, arg8)
%tessel_counted_block(VSPvlanMapEntry const, entries, arg3)

%apply SWIGTYPE **OUTPUT { VSPortVlanPolicy **policy, VSPvlanMapEntry **entries };
%apply int *OUTPUT { int *numRanges, int *count, int *type };
%apply char *OUTPUT { hyx_Bool *enabled };

/* A map entry from VSDVS_GetPrivateVLANMap or an array: the caller keeps the
   index below the count; a Python-owned entry has only index 0. */
%tessel_bounded_element_copy(VSPvlanMapEntry)

/* A copy of range index of a policy: only ranges below its numRanges; a
   Python-owned policy is a header without ranges.  Out of range: an
   "Invalid array index." line and None. */
%tessel_receiver(VSPortVlanPolicy, tessel_elem)
%tessel_extent_of_first(0)
%newobject VSPortVlanPolicy_get_vid_range;
%inline %{
hyx_ZARPortVIDRange *VSPortVlanPolicy_get_vid_range(VSPortVlanPolicy *tessel_elem, int index, size_t tessel_extent) {
  size_t ranges = tessel_elem->numRanges;
  if (tessel_extent == TESSEL_EXTENT_UNKNOWN || tessel_extent > ranges) tessel_extent = ranges;
  return (hyx_ZARPortVIDRange *)tessel_bounded_copy((const char *)tessel_elem + offsetof(VSPortVlanPolicy, vidRanges),
                                                    sizeof(hyx_ZARPortVIDRange), index, tessel_extent, "hyx_ZARPortVIDRange");
}
%}

%include "hostapi/vlan.h"

%clear VSPortVlanPolicy **policy, VSPvlanMapEntry **entries, int *numRanges, int *count, int *type,
       hyx_Bool *enabled;
