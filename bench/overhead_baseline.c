/* Hand-written METH_VARARGS functions doing the same conversions as five of
 * the module's wrappers, as the yardstick of bench/bench_overhead.py.
 *
 * Each unpacks its argument tuple, resolves a pointer argument as the
 * module does (a pointer object, or an object whose `this` is one), checks
 * its type descriptor, makes the one access or host call, and builds the
 * same result (records as instances of the registered class holding a
 * pointer object).  It keeps none of the module's safety checks: extents,
 * released blocks, texts with a NUL are the module's additions being
 * measured.  Like the module's, the host calls and the copy run under a
 * setjmp guard (of their own here: the bench injects no faults).
 *
 * Pointer objects are SWIG's: this file knows the first fields of their
 * layout (ptr, ty, own), reads the type and descriptors from objects the
 * module made (init_types), and makes new ones zero-filled at the type's
 * own size. */
#include <Python.h>
#include <setjmp.h>
#include <string.h>

#include "hostapi/mac.h"
#include "hostapi/ports.h"

typedef struct {
   PyObject_HEAD void *ptr;
   void *ty;
   int own;
} PointerHead;

static PyTypeObject *pointer_type;
static jmp_buf guard;
static volatile int guard_status;
static PyObject *this_name;
static void *ty_info, *ty_port, *ty_entry;
static PyObject *cls_port, *cls_entry, *no_args, *capsule;

static void *pointer_of(PyObject *obj, void *ty) {
   PyObject *inner = NULL;
   void *ptr = NULL;
   if (Py_TYPE(obj) != pointer_type) {
      inner = PyObject_GetAttr(obj, this_name);
      if (!inner) {
         PyErr_Clear();
         return NULL;
      }
      obj = inner;
   }
   if (Py_TYPE(obj) == pointer_type && ((PointerHead *)obj)->ty == ty)
      ptr = ((PointerHead *)obj)->ptr;
   Py_XDECREF(inner);
   return ptr;
}

static PyObject *new_instance(PyObject *cls, void *ptr, void *ty, int own) {
   PyObject *raw, *inst;
   raw = (PyObject *)PyObject_Malloc((size_t)pointer_type->tp_basicsize);
   if (!raw)
      return PyErr_NoMemory();
   memset(raw, 0, (size_t)pointer_type->tp_basicsize);
   PyObject_Init(raw, pointer_type);
   ((PointerHead *)raw)->ptr = ptr;
   ((PointerHead *)raw)->ty = ty;
   ((PointerHead *)raw)->own = own;
   if (own) {
      /* An owning pointer object holds the runtime's capsule (in the
         module's layout, its last field). */
      Py_INCREF(capsule);
      if ((size_t)pointer_type->tp_basicsize > sizeof(PointerHead) + 2 * sizeof(void *))
         *(PyObject **)((char *)raw + pointer_type->tp_basicsize - sizeof(void *)) = capsule;
   }
   inst = ((PyTypeObject *)cls)->tp_new((PyTypeObject *)cls, no_args, NULL);
   if (inst && PyObject_SetAttr(inst, this_name, raw) < 0)
      Py_CLEAR(inst);
   Py_DECREF(raw);
   return inst;
}

static PyObject *type_error(const char *text) {
   PyErr_SetString(PyExc_TypeError, text);
   return NULL;
}

static PyObject *mtu_get(PyObject *self, PyObject *args) {
   PyObject *obj;
   VSInfo *info;
   (void)self;
   if (!PyArg_ParseTuple(args, "O:mtu_get", &obj))
      return NULL;
   info = pointer_of(obj, ty_info);
   if (!info)
      return type_error("in method 'mtu_get', argument 1 of type 'struct VSInfo *'");
   return PyLong_FromUnsignedLong(info->mtu);
}

static PyObject *mtu_set(PyObject *self, PyObject *args) {
   PyObject *obj, *value;
   VSInfo *info;
   unsigned long v;
   (void)self;
   if (!PyArg_ParseTuple(args, "OO:mtu_set", &obj, &value))
      return NULL;
   info = pointer_of(obj, ty_info);
   if (!info)
      return type_error("in method 'mtu_set', argument 1 of type 'struct VSInfo *'");
   if (!PyLong_Check(value))
      return type_error("in method 'mtu_set', argument 2 of type 'hyx_uint32'");
   v = PyLong_AsUnsignedLong(value);
   if (PyErr_Occurred() || v > 0xFFFFFFFFUL) {
      PyErr_Clear();
      PyErr_SetString(PyExc_OverflowError, "in method 'mtu_set', argument 2 of type 'hyx_uint32'");
      return NULL;
   }
   info->mtu = (hyx_uint32)v;
   Py_RETURN_NONE;
}

static PyObject *client_name_get(PyObject *self, PyObject *args) {
   PyObject *obj;
   VSPortInfo *port;
   const char *nul;
   (void)self;
   if (!PyArg_ParseTuple(args, "O:clientName_get", &obj))
      return NULL;
   port = pointer_of(obj, ty_port);
   if (!port)
      return type_error("in method 'clientName_get', argument 1 of type 'struct VSPortInfo *'");
   nul = memchr(port->clientName, 0, sizeof(port->clientName));
   return PyUnicode_DecodeUTF8(port->clientName,
                               nul ? nul - port->clientName : (Py_ssize_t)sizeof(port->clientName),
                               "surrogateescape");
}

static PyObject *get_port_info(PyObject *self, PyObject *args) {
   const char *sw, *port;
   VSPortInfo *info = NULL;
   HYX_ReturnStatus status;
   PyObject *list, *rec;
   (void)self;
   if (!PyArg_ParseTuple(args, "ss:GetPortInfo", &sw, &port))
      return NULL;
   guard_status = setjmp(guard);
   if (guard_status)
      return NULL;
   status = VSHYX_GetPortInfo(sw, port, &info);
   if (info) {
      rec = new_instance(cls_port, info, ty_port, 0);
      if (!rec)
         return NULL;
   } else {
      rec = Py_NewRef(Py_None);
   }
   list = PyList_New(2);
   if (!list) {
      Py_DECREF(rec);
      return NULL;
   }
   PyList_SET_ITEM(list, 0, PyLong_FromLong(status));
   PyList_SET_ITEM(list, 1, rec);
   return list;
}

static PyObject *noop(PyObject *self, PyObject *args) {
   PyObject *a = NULL, *b = NULL;
   (void)self;
   if (!PyArg_ParseTuple(args, "|OO:noop", &a, &b))
      return NULL;
   Py_RETURN_NONE;
}

static PyObject *free_memory(PyObject *self, PyObject *args) {
   PyObject *obj;
   void *ptr;
   (void)self;
   if (!PyArg_ParseTuple(args, "O:FreeMemory", &obj))
      return NULL;
   ptr = pointer_of(obj, ty_port);
   guard_status = setjmp(guard);
   if (guard_status)
      return NULL;
   VSHYX_FreeMemory(ptr);
   Py_RETURN_NONE;
}

static PyObject *entry_copy(PyObject *self, PyObject *args) {
   PyObject *obj;
   VSMACEntry *first, *copy;
   int index;
   (void)self;
   if (!PyArg_ParseTuple(args, "Oi:getitem", &obj, &index))
      return NULL;
   first = pointer_of(obj, ty_entry);
   if (!first)
      return type_error("in method 'getitem', argument 1 of type 'struct VSMACEntry *'");
   if (index < 0)
      Py_RETURN_NONE;
   guard_status = setjmp(guard);
   if (guard_status)
      return NULL;
   copy = malloc(sizeof(*copy));
   if (!copy)
      return PyErr_NoMemory();
   memcpy(copy, first + index, sizeof(*copy));
   return new_instance(cls_entry, copy, ty_entry, 1);
}

/* init_types(info, port, entry, port_class, entry_class, capsule): raw
 * pointer objects of the three record types, the registered classes and
 * the runtime's capsule. */
static PyObject *init_types(PyObject *self, PyObject *args) {
   PyObject *info, *port, *entry;
   (void)self;
   if (!PyArg_ParseTuple(args, "OOOOOO", &info, &port, &entry, &cls_port, &cls_entry, &capsule))
      return NULL;
   Py_INCREF(capsule);
   pointer_type = Py_TYPE(info);
   ty_info = ((PointerHead *)info)->ty;
   ty_port = ((PointerHead *)port)->ty;
   ty_entry = ((PointerHead *)entry)->ty;
   Py_INCREF(cls_port);
   Py_INCREF(cls_entry);
   Py_RETURN_NONE;
}

static PyMethodDef methods[] = {
    {"init_types", init_types, METH_VARARGS, NULL},
    {"noop", noop, METH_VARARGS, NULL},
    {"mtu_get", mtu_get, METH_VARARGS, NULL},
    {"mtu_set", mtu_set, METH_VARARGS, NULL},
    {"client_name_get", client_name_get, METH_VARARGS, NULL},
    {"get_port_info", get_port_info, METH_VARARGS, NULL},
    {"free_memory", free_memory, METH_VARARGS, NULL},
    {"entry_copy", entry_copy, METH_VARARGS, NULL},
    {NULL, NULL, 0, NULL},
};

static struct PyModuleDef module = {
    PyModuleDef_HEAD_INIT, "_tessel_baseline", NULL, -1, methods, NULL, NULL, NULL, NULL};

PyMODINIT_FUNC PyInit__tessel_baseline(void) {
   this_name = PyUnicode_InternFromString("this");
   no_args = PyTuple_New(0);
   return PyModule_Create(&module);
}
