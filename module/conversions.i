/* Typemaps shared by every wrapper: pointer and text arguments
 * (module/pointers.i), field setters, out-values and host-writable text
 * buffers.  The scalar argument conversions themselves are the fragments of
 * pyfragments.swg. */

%{
#include <string.h>
#include "module/conv.h"
%}

%include "module/pointers.i"

/* Field setters write through $self: the record, or the stand-in when the
   setter was given None (module/pointers.i), which receives nothing. */
%define %tessel_writes_field(CODE)
if ((void *)$self != (void *)tessel_stand_in) { CODE }
%enddef

/* Array fields: copy the whole array from the given pointer (which may be
   unaligned, like the field in a packed record); None is refused. */
%typemap(memberin, noblock=1) SWIGTYPE [ANY], SWIGTYPE [ANY][ANY] {
  if (!$input) {
    %variable_nullref("$type", "$name");
  } else %tessel_writes_field(memcpy($1, $input, sizeof($1));)
}

/* Text fields: the converted text already fills an N-byte buffer. */
%typemap(memberin, noblock=1) char [ANY] {
  %tessel_writes_field(if ($input) memcpy($1, $input, $1_dim0); else memset($1, 0, $1_dim0);)
}

/* Nested record fields: copy the whole nested record; None is refused.
   Applied per record type by %tessel_record. */
%define %tessel_nested_memberin(TYPE)
%typemap(memberin, noblock=1) TYPE {
  if (!$input) {
    %variable_nullref("$type", "$name");
  } else %tessel_writes_field(memcpy(&$1, $input, sizeof($1));)
}
%enddef

/* Scalar out-values: the wrapper's own slot starts at 0, so a host that
   leaves it unwritten on failure still yields a defined value. */
%define %tessel_scalar_output(TYPE, FROM)
%typemap(in, numinputs=0, noblock=1) TYPE *OUTPUT ($*1_ltype temp = 0) {
  $1 = &temp;
}
%typemap(argout, noblock=1) TYPE *OUTPUT {
  %append_output(FROM);
}
%enddef

%tessel_scalar_output(int, SWIG_From_int((int)temp$argnum))
%tessel_scalar_output(unsigned char, SWIG_From_unsigned_SS_char((unsigned char)temp$argnum))
%tessel_scalar_output(unsigned short, SWIG_From_unsigned_SS_short((unsigned short)temp$argnum))
%tessel_scalar_output(unsigned int, SWIG_From_unsigned_SS_int((unsigned int)temp$argnum))
%tessel_scalar_output(unsigned long long, SWIG_From_unsigned_SS_long_SS_long((unsigned long long)temp$argnum))
/* A one-byte truth value comes back as an int, not a str. */
%tessel_scalar_output(char, SWIG_From_int((int)(unsigned char)temp$argnum))

/* Record out-values (T **): the slot starts NULL; a NULL slot gives None,
   otherwise a non-owning proxy of the library's record. */
%typemap(in, numinputs=0, noblock=1) SWIGTYPE **OUTPUT ($*1_ltype temp = 0) {
  $1 = &temp;
}
%typemap(argout, noblock=1) SWIGTYPE **OUTPUT {
  {
    PyObject *out = tessel_host_pointer(%as_voidptr(temp$argnum), $*descriptor, sizeof(*temp$argnum));
    if (!out) SWIG_fail;
    %append_output(out);
  }
}

/* A bounded output text of N characters: an N+1-byte zero-filled slot whose
   last byte is forced to NUL after the call. */
%define %tessel_bounded_output(PARAM, N)
%typemap(in, numinputs=0, noblock=1) char *PARAM (char temp[(N) + 1]) {
  memset(temp, 0, sizeof(temp));
  $1 = temp;
}
%typemap(argout, noblock=1) char *PARAM {
  temp$argnum[N] = '\0';
  %append_output(SWIG_FromCharPtrAndSize(temp$argnum, strlen(temp$argnum)));
}
%enddef

/* A text the host may overwrite in place: a str is copied into a
   zero-filled buffer of at least MINSIZE bytes, so the host can write a
   value longer than the text it was given; a char * pointer object must
   have MINSIZE bytes in its block (when the module knows it) and is passed
   as is; None gives NULL. */
%define %tessel_host_writable_text(PARAM, MINSIZE)
%typemap(in, noblock=1, fragment="tessel_text") char *PARAM (char *buf = 0, int alloc = 0, int res = 0, tessel_arg targ = {0, 0}) {
  res = tessel_as_text($input, &buf, 1, (MINSIZE), &alloc, &targ);
  if (!SWIG_IsOK(res)) {
    tessel_pointer_fail(res, "in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'", targ.extent, (MINSIZE));
    SWIG_fail;
  }
  $1 = buf;
}
%typemap(freearg, noblock=1, match="in") char *PARAM {
  if (alloc$argnum) free(buf$argnum);
  Py_XDECREF(targ$argnum.keep);
}
%enddef
