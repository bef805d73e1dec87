/* Owning copies out of host tables and records.
 *
 * %tessel_element_copy(TYPE): TYPE___getitem__(elem, index) treats elem as
 * element 0 of a packed TYPE array (a table's element view) and returns a
 * Python-owned copy of element index, which outlives the table.
 *
 * %tessel_nested_copy(TYPE, METHOD, FIELD_TYPE, FIELD): TYPE_METHOD(rec)
 * returns a Python-owned copy of the nested record FIELD. */

%{
#include "module/copies.h"
%}

%define %tessel_element_copy(TYPE)
%newobject TYPE::__getitem__;
%extend TYPE {
  TYPE *__getitem__(int index) {
    return (TYPE *)tessel_element_copy($self, sizeof(TYPE), index, #TYPE);
  }
}
%enddef

%define %tessel_nested_copy(TYPE, METHOD, FIELD_TYPE, FIELD)
%newobject TYPE::METHOD;
%extend TYPE {
  FIELD_TYPE *METHOD() {
    return (FIELD_TYPE *)tessel_block_copy(&$self->FIELD, sizeof(FIELD_TYPE), #FIELD_TYPE);
  }
}
%enddef
