/* Owning copies out of host tables and records.
 *
 * %tessel_element_copy(TYPE): TYPE___getitem__(elem, index) treats elem as
 * element 0 of a packed TYPE array (a table's element view) and returns a
 * Python-owned copy of element index, which outlives the table.  Where the
 * module knows elem's block, an index past its end raises ValueError.
 *
 * %tessel_nested_copy(TYPE, METHOD, FIELD_TYPE, FIELD): TYPE_METHOD(rec)
 * returns a Python-owned copy of the nested record FIELD. */

%{
#include "module/copies.h"
%}

%define %tessel_element_copy(TYPE)
%newobject TYPE::__getitem__;
%extend TYPE {
  TYPE *__getitem__(int element_index) {
    return (TYPE *)tessel_element_copy($self, sizeof(TYPE), element_index, #TYPE);
  }
}
%enddef

/* The index of an element copy: an element that does not lie wholly inside
   the receiver's block is refused (the receiver is element 0). */
%typemap(check, noblock=1) int element_index {
  if ($1 >= 0 && !tessel_missing_record && tessel_receiver_extent != SIZE_MAX &&
      ((size_t)$1 + 1) * tessel_receiver_size > tessel_receiver_extent) {
    PyErr_Format(PyExc_ValueError, "in method '%s', argument %d of type 'int': element %d lies past the end of its block, which holds %zu from argument 1 on",
                 "$symname", $argnum, $1, tessel_receiver_extent / tessel_receiver_size);
    SWIG_fail;
  }
}

%define %tessel_nested_copy(TYPE, METHOD, FIELD_TYPE, FIELD)
%newobject TYPE::METHOD;
%extend TYPE {
  FIELD_TYPE *METHOD() {
    return (FIELD_TYPE *)tessel_block_copy(&$self->FIELD, sizeof(FIELD_TYPE), #FIELD_TYPE);
  }
}
%enddef
