/* The _libtessel module: the call frame and conversions, the exception
 * guard, the type table, one interface file per subsystem, then the
 * constants with cvar among them. */
%module _libtessel

%include "module/conversions.i"
%include "module/records.i"
%include "module/guard.i"
%include "module/typetable.i"
%include "module/copies.i"
%include "module/addresses.i"

/* Enumerations of the host headers give types, not constants: every constant
   the module installs comes from constants.i, in its fixed order. */
%rename("$ignore", %$isenumitem) "";

%include "hostapi/common.h"

/* The subsystems, one interface file each: a new subsystem adds its line
   here (its other files are found by the build). */
%include "wrappers/kernel.i"
%include "wrappers/ports.i"
%include "wrappers/vlan.i"
%include "wrappers/mac.i"
%include "wrappers/multicast.i"
%include "wrappers/teaming.i"
%include "wrappers/overlay.i"
%include "wrappers/mirror.i"
%include "wrappers/options.i"
%include "wrappers/statestore.i"

%include "module/constants.i"

%init %{
  /* Every interface file has registered its spellings by now. */
  if (tessel_fix_spellings() < 0) return NULL;
  /* -fastproxy brings SWIG_PyInstanceMethod_New (METH_O, first in the
     method table) but also SWIG_PyStaticMethod_New, which the module does
     not offer. */
  if (PyDict_DelItemString(md, "SWIG_PyStaticMethod_New") < 0) PyErr_Clear();
%}
