/* The exception guard around every host call, helper and allocation.
 *
 * exception_status = setjmp(exception_buffer) is armed immediately before
 * the call; a host function that cannot return jumps back with a non-zero
 * value and the wrapper raises what the host left in exceptionType and
 * exceptionMsg.  SWIG_fail runs the argument clean-up, so string copies are
 * released on that path too.  Field accessors are plain memory accesses and
 * are not guarded (SWIG applies %exception to them only after
 * %allowexception, which the module never uses).
 *
 * A wrapper given None for its record (module/pointers.i) raises here,
 * before anything is called. */

%{
#include "module/guard.h"
%}

%exception {
  if (tessel_missing_record) {
    tessel_raise_missing_record();
    SWIG_fail;
  }
  exception_status = setjmp(exception_buffer);
  if (exception_status != 0) {
    tessel_raise_abandoned();
    SWIG_fail;
  }
  $action
}
