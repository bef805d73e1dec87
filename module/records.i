/* Registration of a wrapped record type.
 *
 * %tessel_record(NAME) gives the record
 * - NAME_swigregister(cls): records cls as the Python class of the record's
 *   descriptor (argument format "O:swigregister"); a second call replaces
 *   the registration;
 * - a constructor new_NAME() that returns an owning raw pointer object even
 *   after a class is registered (the class attaches it as its `this`);
 * - whole-record copies for fields of type NAME nested in other records;
 * - compile-time checks that the record's layout is checked where it is
 *   declared (its HYX_CHECK_SIZE) and that its alignment is 1 (declared
 *   with HYX_PACKED), so it can be reached at any offset of another record
 *   or table. */

%define %tessel_record(NAME)
%tessel_record_checked_by(NAME, NAME)
%enddef

/* A record SWIG names for a union or struct nested in CHECKED, whose layout
 * checks cover it. */
%define %tessel_record_checked_by(NAME, CHECKED)
%typemap(out, noblock=1) SWIGTYPE *NAME {
  %set_output(SWIG_NewPointerObj(%as_voidptr($1), $descriptor, SWIG_POINTER_NEW));
}
%tessel_nested_memberin(NAME)
%native(NAME ## _swigregister) PyObject *NAME ## _swigregister(PyObject *self, PyObject *args);
%{
HYX_STATIC_ASSERT(hyx_layout_checked_ ## CHECKED, "NAME has no layout checks");
HYX_STATIC_ASSERT(_Alignof(NAME) == 1, "NAME must be declared HYX_PACKED (alignment 1)");
static PyObject *NAME ## _swigregister(PyObject *SWIGUNUSEDPARM(self), PyObject *args) {
  return tessel_swigregister(args, SWIGTYPE_p_ ## NAME);
}
%}
%enddef

%{
SWIGINTERN PyObject *tessel_swigregister(PyObject *args, swig_type_info *type) {
  PyObject *cls;
  SwigPyClientData *old;
  if (!PyArg_ParseTuple(args, "O:swigregister", &cls)) return NULL;
  if (!PyType_Check(cls)) {
    PyErr_SetString(PyExc_TypeError, "swigregister expects a class");
    return NULL;
  }
  old = type->owndata ? (SwigPyClientData *)type->clientdata : NULL;
  SWIG_TypeNewClientData(type, SwigPyClientData_New(cls));
  if (old) SwigPyClientData_Del(old);
  return SWIG_Py_Void();
}
%}
