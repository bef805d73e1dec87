/* Registration of a wrapped record type.
 *
 * %tessel_record(NAME) gives the record
 * - NAME_swigregister(cls): records cls as the Python class of the record's
 *   descriptor (argument format "O:swigregister"); a second call replaces
 *   the registration.  cls must be a class whose instances can be made, and
 *   its __swig_destroy__, if it has one, a callable (it is called with a
 *   non-owning pointer object when an owning one dies).  Until a class is
 *   registered, the first record of the type the module hands out asks the
 *   module's `__record_class__` (set by the Python layer) for one: it is
 *   called with the record's name and registers the class it makes, so the
 *   layer makes its classes on first need rather than all at import;
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
  %set_output(tessel_new_block(%as_voidptr($1), $descriptor, SWIG_POINTER_NEW, sizeof(NAME)));
  if (!$result) SWIG_fail;
}
%tessel_nested_memberin(NAME)
%native(NAME ## _swigregister) PyObject *NAME ## _swigregister(PyObject *self, PyObject *args);
%init %{
  tessel_defer_class(SWIGTYPE_p_ ## NAME);
%}
%{
HYX_STATIC_ASSERT(hyx_layout_checked_ ## CHECKED, "NAME has no layout checks");
HYX_STATIC_ASSERT(_Alignof(NAME) == 1, "NAME must be declared HYX_PACKED (alignment 1)");
HYX_STATIC_ASSERT(sizeof(NAME) <= TESSEL_STAND_IN_SIZE, "NAME is larger than the stand-in record");
SWIGINTERN PyObject *_wrap_delete_ ## NAME(PyObject *self, PyObject *args);
static PyObject *NAME ## _swigregister(PyObject *SWIGUNUSEDPARM(self), PyObject *args) {
  return tessel_swigregister(args, SWIGTYPE_p_ ## NAME, _wrap_delete_ ## NAME);
}
%}
%enddef

%{
/* The module's dict, where the layer leaves `__record_class__`. */
static PyObject *tessel_module_dict;

static int tessel_ask_class(swig_type_info *ty);

/* The client data of every record type no class was registered for yet. */
static TesselPendingClass tessel_pending_class = {{0, 0, 0, 0, TESSEL_CLASS_PENDING, 0, 0}, tessel_ask_class};

/* Asks the layer for the class of a record type still pending; the layer
   registers it (NAME_swigregister).  Without the layer, or when it makes no
   class, records of the type keep coming back raw. */
static int tessel_ask_class(swig_type_info *ty) {
  PyObject *ask, *cls;
  if (ty->clientdata != &tessel_pending_class || !tessel_module_dict)
    return 0;
  ask = PyDict_GetItemString(tessel_module_dict, "__record_class__");
  if (!ask)
    return 0;
  Py_INCREF(ask);
  /* The descriptor of record NAME is "_p_NAME". */
  cls = PyObject_CallFunction(ask, "s", ty->name + 3);
  Py_DECREF(ask);
  if (!cls)
    return -1;
  Py_DECREF(cls);
  return 0;
}

/* Marks a record type as asking for its class on first need, unless a
   class is registered already (through another module sharing the
   runtime). */
static void tessel_defer_class(swig_type_info *ty) {
  if (!ty->clientdata)
    ty->clientdata = &tessel_pending_class;
}

SWIGINTERN PyObject *tessel_swigregister(PyObject *args, swig_type_info *type, PyCFunction own_delete) {
  PyObject *cls;
  SwigPyClientData *old;
  if (!PyArg_ParseTuple(args, "O:swigregister", &cls)) return NULL;
  if (!PyType_Check(cls)) {
    PyErr_SetString(PyExc_TypeError, "swigregister expects a class");
    return NULL;
  }
  if (!((PyTypeObject *)cls)->tp_new) {
    PyErr_SetString(PyExc_TypeError, "swigregister expects a class whose instances can be made");
    return NULL;
  }
  {
    PyObject *destroy = PyObject_GetAttrString(cls, "__swig_destroy__");
    int callable = destroy == NULL || destroy == Py_None || PyCallable_Check(destroy);
    if (!destroy) {
      if (!PyErr_ExceptionMatches(PyExc_AttributeError)) return NULL;
      PyErr_Clear();
    }
    Py_XDECREF(destroy);
    if (!callable) {
      PyErr_SetString(PyExc_TypeError, "swigregister expects __swig_destroy__ to be callable");
      return NULL;
    }
  }
  {
    SwigPyClientData *data = SwigPyClientData_New(cls);
    if (!data) return NULL;
    /* An owning pointer object of this type that dies is freed in place
       when the class's destructor is the module's own delete_ function of
       the type, which would do just that. */
    if (data->destroy && PyCFunction_Check(data->destroy) && PyCFunction_GET_FUNCTION(data->destroy) == own_delete)
      data->delargs = TESSEL_DESTROY_IS_FREE;
    old = type->owndata ? (SwigPyClientData *)type->clientdata : NULL;
    SWIG_TypeNewClientData(type, data);
    if (old) SwigPyClientData_Del(old);
  }
  return SWIG_Py_Void();
}
%}

%init %{
  tessel_module_dict = d;
  Py_INCREF(d);
%}
