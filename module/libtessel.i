/* The _libtessel module: the call frame and conversions, the exception
 * guard, the type table and cvar, then one interface file per subsystem. */
%module _libtessel

%include "module/conversions.i"
%include "module/records.i"
%include "module/guard.i"
%include "module/typetable.i"

%include "hostapi/common.h"

%include "wrappers/kernel.i"

%include "module/cvar.i"

%init %{
  /* -fastproxy brings SWIG_PyInstanceMethod_New (METH_O, first in the
     method table) but also SWIG_PyStaticMethod_New, which the module does
     not offer. */
  if (PyDict_DelItemString(md, "SWIG_PyStaticMethod_New") < 0) PyErr_Clear();
%}
