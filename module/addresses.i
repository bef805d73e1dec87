/* The module's MAC address forms.
 *
 * Text out: a 6-byte address field reads as six lower-case two-digit hex
 * bytes joined by ':' (17 characters), bytes in storage order.  Apply
 * MAC_TEXT to a field by name:
 *   %apply unsigned char MAC_TEXT[6] { unsigned char fixedHwID[6] };
 *
 * Raw bytes in: the set_mac_address extension methods take any object with a
 * contiguous byte buffer (not a str) and copy its first six bytes.  A buffer
 * of fewer than six bytes is refused with ValueError: copying six bytes out
 * of it would read past its end. */

%{
#include "module/addresses.h"
%}

%typemap(out, noblock=1) unsigned char MAC_TEXT[6] {
  $result = tessel_mac_text($1);
}

%typemap(in, noblock=1) (unsigned char *mac_str, size_t mac_len) (Py_buffer view, int have_view = 0) {
  if (PyObject_GetBuffer($input, &view, PyBUF_SIMPLE) < 0) {
    PyErr_Clear();
    SWIG_exception_fail(SWIG_TypeError, "in method '$symname', argument $argnum of type '(unsigned char *mac_str, SIZE)'");
  }
  have_view = 1;
  if (view.len < TESSEL_MAC_LEN) {
    SWIG_exception_fail(SWIG_ValueError, "in method '$symname', argument $argnum: a MAC address needs 6 bytes");
  }
  $1 = (unsigned char *)view.buf;
  $2 = (size_t)view.len;
}
%typemap(freearg, noblock=1) (unsigned char *mac_str, size_t mac_len) {
  if (have_view$argnum) PyBuffer_Release(&view$argnum);
}
