/* Hand-written METH_VARARGS functions doing the same conversions as six of
 * the module's wrappers, as the yardstick of bench/bench_overhead.py, and a
 * memcpy of a given number of bytes, the yardstick of the host tables
 * (bench/bench_tables.py).
 *
 * Each unpacks its argument tuple, resolves a pointer argument as the
 * module does (a pointer object, or an object whose `this` is one), checks
 * its type descriptor, makes the one access or host call, and builds the
 * same result (records as instances of the registered class holding a
 * pointer object).  It keeps none of the module's safety checks: extents,
 * released blocks, texts with a NUL are the module's additions being
 * measured.  Like the module's, the host calls, the copy and the
 * constructor run under a setjmp guard (of their own here: the bench
 * injects no faults).
 *
 * Pointer objects are SWIG's: this file knows the first fields of their
 * layout (ptr, ty, own), reads the type and descriptors from objects the
 * module made (set_type), and makes new ones zero-filled at the type's own
 * size. */
#include <Python.h>
#include <setjmp.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "hostapi/mac.h"
#include "hostapi/mirror.h"
#include "hostapi/options.h"
#include "hostapi/ports.h"
#include "hostapi/status.h"
#include "hostapi/teaming.h"
#include "hostapi/vlan.h"

typedef struct {
   PyObject_HEAD void *ptr;
   void *ty;
   int own;
} PointerHead;

/* The record types the functions here make or take. */
enum { T_INFO, T_PORT, T_ENTRY, T_POLICY, T_UPLINK_PORTS, T_COUNT };

static PyTypeObject *pointer_type;
static jmp_buf guard;
static volatile int guard_status;
static PyObject *this_name;
static void *types[T_COUNT];
static PyObject *classes[T_COUNT];
static PyObject *no_args, *capsule;

/* The pointer object obj stands for, of type ty (any type when ty is
   NULL), and its address; NULL when there is none. */
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
   if (Py_TYPE(obj) == pointer_type && (!ty || ((PointerHead *)obj)->ty == ty))
      ptr = ((PointerHead *)obj)->ptr;
   Py_XDECREF(inner);
   return ptr;
}

static PyObject *new_raw(void *ptr, void *ty, int own) {
   PyObject *raw = (PyObject *)PyObject_Malloc((size_t)pointer_type->tp_basicsize);
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
   return raw;
}

static PyObject *new_instance(int t, void *ptr, int own) {
   PyObject *raw = new_raw(ptr, types[t], own), *inst;
   if (!raw)
      return NULL;
   inst = ((PyTypeObject *)classes[t])->tp_new((PyTypeObject *)classes[t], no_args, NULL);
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
   info = pointer_of(obj, types[T_INFO]);
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
   info = pointer_of(obj, types[T_INFO]);
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
   port = pointer_of(obj, types[T_PORT]);
   if (!port)
      return type_error("in method 'clientName_get', argument 1 of type 'struct VSPortInfo *'");
   nul = memchr(port->clientName, 0, sizeof(port->clientName));
   return PyUnicode_DecodeUTF8(port->clientName,
                               nul ? nul - port->clientName : (Py_ssize_t)sizeof(port->clientName),
                               "surrogateescape");
}

/* VSDVS_GetPortVLANPolicy(switch, port): [status, policy, numRanges]. */
static PyObject *get_port_vlan_policy(PyObject *self, PyObject *args) {
   const char *sw, *port;
   VSPortVlanPolicy *policy = NULL;
   int ranges = 0;
   HYX_ReturnStatus status;
   PyObject *list, *rec;
   (void)self;
   if (!PyArg_ParseTuple(args, "ss:GetPortVLANPolicy", &sw, &port))
      return NULL;
   guard_status = setjmp(guard);
   if (guard_status)
      return NULL;
   status = VSDVS_GetPortVLANPolicy(sw, port, &policy, &ranges);
   if (policy) {
      rec = new_instance(T_POLICY, policy, 0);
      if (!rec)
         return NULL;
   } else {
      rec = Py_NewRef(Py_None);
   }
   list = PyList_New(3);
   if (!list) {
      Py_DECREF(rec);
      return NULL;
   }
   PyList_SET_ITEM(list, 0, PyLong_FromLong(status));
   PyList_SET_ITEM(list, 1, rec);
   PyList_SET_ITEM(list, 2, PyLong_FromLong(ranges));
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
   ptr = pointer_of(obj, NULL);
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
   first = pointer_of(obj, types[T_ENTRY]);
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
   return new_instance(T_ENTRY, copy, 1);
}

/* new_VSUplinkPorts(n): a cleared table of n name slots with its count
   set, as an owning pointer object. */
static PyObject *sized_table(PyObject *self, PyObject *args) {
   int n;
   char *table;
   hyx_uint32 count;
   (void)self;
   if (!PyArg_ParseTuple(args, "i:new_VSUplinkPorts", &n))
      return NULL;
   if (n < 0)
      Py_RETURN_NONE;
   guard_status = setjmp(guard);
   if (guard_status)
      return NULL;
   table = calloc(1, 4 + (size_t)n * VS_UPLINK_PORT_NAME_LEN);
   if (!table)
      Py_RETURN_NONE;
   count = (hyx_uint32)n;
   memcpy(table + offsetof(VSUplinkPorts, nUplinkPorts), &count, sizeof count);
   return new_raw(table, types[T_UPLINK_PORTS], 1);
}

/* copy_bytes(n): a memcpy of n bytes (into a buffer kept between calls),
   the yardstick of a host call handing out a table of n bytes. */
static char *copy_source, *copy_target;
static size_t copy_room;

static PyObject *copy_bytes(PyObject *self, PyObject *args) {
   Py_ssize_t n;
   (void)self;
   if (!PyArg_ParseTuple(args, "n:copy_bytes", &n))
      return NULL;
   if (n < 0)
      return type_error("copy_bytes: a negative count");
   if ((size_t)n > copy_room) {
      char *source = realloc(copy_source, (size_t)n), *target;
      if (!source)
         return PyErr_NoMemory();
      copy_source = source;
      target = realloc(copy_target, (size_t)n);
      if (!target)
         return PyErr_NoMemory();
      copy_target = target;
      memset(copy_source + copy_room, 0x5a, (size_t)n - copy_room);
      memset(copy_target + copy_room, 0, (size_t)n - copy_room);
      copy_room = (size_t)n;
   }
   if (n)
      memcpy(copy_target, copy_source, (size_t)n);
   Py_RETURN_NONE;
}

static double now(void) {
   struct timespec t;
   clock_gettime(CLOCK_MONOTONIC, &t);
   return (double)t.tv_sec + (double)t.tv_nsec * 1e-9;
}

/* One host call handing out a table, and its release, straight from C:
   kind "mac", "port", "mirror" or "options" (name and alias name the
   switch); the table's bytes, or -1 on failure. */
static long host_table_once(const char *kind, const char *name, const char *alias) {
   long bytes = -1;
   if (!strcmp(kind, "mac")) {
      VSMACTable *t = NULL;
      if (VSHYX_GetMACTable(name, VS_MAC_ADDR_TYPE_ALL, VS_ALL_MAC_TABLE, &t) == HYX_OK && t)
         bytes = (long)(sizeof(*t) + t->numEntries * sizeof(VSMACEntry));
      VSHYX_FreeMemory(t);
   } else if (!strcmp(kind, "port")) {
      VSSwitchPortInfo *t = NULL;
      if (VSHYX_GetSwitchPortInfo(name, &t) == HYX_OK && t)
         bytes = (long)(sizeof(*t) + t->numEntries * sizeof(VSPortInfo));
      VSHYX_FreeMemory(t);
   } else if (!strcmp(kind, "mirror")) {
      DVMirrorSessionTable *t = NULL;
      if (VSDVS_GetDVMirrorSessions(name, alias, &t) == HYX_OK && t)
         bytes = (long)(sizeof(*t) + t->numSessions * sizeof(DVMirrorSession) +
                        t->numEntities * sizeof(DVMirrorEntity) +
                        t->numFilterRules * sizeof(DVMirrorFilterRule) +
                        t->numFilterIPs * sizeof(DVMirrorIpPrefix));
      VSDVS_FreeMemory(t);
   } else if (!strcmp(kind, "options")) {
      VSRuntimeOptions *t = NULL;
      if (VSHYX_GetRuntimeOptions(NULL, 0, &t) == HYX_OK && t)
         bytes = (long)t->totalLength;
      VSHYX_FreeMemory(t);
   }
   return bytes;
}

/* time_host_table(kind, name, alias, calls): (seconds per host call and
   release, seconds per memcpy of the table's bytes, bytes), each timed in
   a C loop of calls calls, so no call from Python is counted. */
static PyObject *time_host_table(PyObject *self, PyObject *args) {
   const char *kind, *name, *alias;
   int calls, i;
   long bytes;
   double start, host, copy;
   char *source, *target;
   (void)self;
   if (!PyArg_ParseTuple(args, "sszi:time_host_table", &kind, &name, &alias, &calls))
      return NULL;
   if (calls < 1)
      return type_error("time_host_table: at least one call");
   bytes = host_table_once(kind, name, alias);
   if (bytes < 0) {
      PyErr_Format(PyExc_ValueError, "time_host_table: no %s table of %s", kind, name);
      return NULL;
   }
   source = malloc((size_t)bytes + 1);
   target = malloc((size_t)bytes + 1);
   if (!source || !target) {
      free(source);
      free(target);
      return PyErr_NoMemory();
   }
   memset(source, 0x5a, (size_t)bytes + 1);
   memset(target, 0, (size_t)bytes + 1);
   start = now();
   for (i = 0; i < calls; i++)
      host_table_once(kind, name, alias);
   host = (now() - start) / calls;
   start = now();
   for (i = 0; i < calls; i++) {
      memcpy(target, source, (size_t)bytes);
      /* Keeps the copy from being elided. */
      __asm__ volatile("" : : "r"(target) : "memory");
   }
   copy = (now() - start) / calls;
   free(source);
   free(target);
   return Py_BuildValue("ddl", host, copy, bytes);
}

/* sizes(): the sizes of the records whose tables the benchmarks copy. */
static PyObject *sizes(PyObject *self, PyObject *args) {
   (void)self;
   (void)args;
   return Py_BuildValue(
       "{s:n,s:n,s:n,s:n,s:n,s:n,s:n,s:n,s:n}", "VSMACTable", (Py_ssize_t)sizeof(VSMACTable),
       "VSMACEntry", (Py_ssize_t)sizeof(VSMACEntry), "VSSwitchPortInfo",
       (Py_ssize_t)sizeof(VSSwitchPortInfo), "VSPortInfo", (Py_ssize_t)sizeof(VSPortInfo),
       "DVMirrorSessionTable", (Py_ssize_t)sizeof(DVMirrorSessionTable), "DVMirrorSession",
       (Py_ssize_t)sizeof(DVMirrorSession), "DVMirrorEntity", (Py_ssize_t)sizeof(DVMirrorEntity),
       "DVMirrorFilterRule", (Py_ssize_t)sizeof(DVMirrorFilterRule), "DVMirrorIpPrefix",
       (Py_ssize_t)sizeof(DVMirrorIpPrefix));
}

/* set_type(slot, pointer, cls): the type descriptor of a pointer object the
 * module made, and the registered class (None for none) of record slot;
 * the first call also takes the pointer objects' type and the runtime's
 * capsule from the module (set_runtime). */
static PyObject *set_type(PyObject *self, PyObject *args) {
   PyObject *obj, *cls;
   int slot;
   (void)self;
   if (!PyArg_ParseTuple(args, "iOO", &slot, &obj, &cls))
      return NULL;
   if (slot < 0 || slot >= T_COUNT || !pointer_type || Py_TYPE(obj) != pointer_type)
      return type_error("set_type: a slot and a raw pointer object of the module");
   types[slot] = ((PointerHead *)obj)->ty;
   Py_INCREF(cls);
   Py_XSETREF(classes[slot], cls);
   Py_RETURN_NONE;
}

static PyObject *set_runtime(PyObject *self, PyObject *args) {
   PyObject *obj, *caps;
   (void)self;
   if (!PyArg_ParseTuple(args, "OO", &obj, &caps))
      return NULL;
   pointer_type = Py_TYPE(obj);
   Py_INCREF(caps);
   Py_XSETREF(capsule, caps);
   Py_RETURN_NONE;
}

static PyMethodDef methods[] = {
    {"set_runtime", set_runtime, METH_VARARGS, NULL},
    {"set_type", set_type, METH_VARARGS, NULL},
    {"noop", noop, METH_VARARGS, NULL},
    {"mtu_get", mtu_get, METH_VARARGS, NULL},
    {"mtu_set", mtu_set, METH_VARARGS, NULL},
    {"client_name_get", client_name_get, METH_VARARGS, NULL},
    {"get_port_vlan_policy", get_port_vlan_policy, METH_VARARGS, NULL},
    {"free_memory", free_memory, METH_VARARGS, NULL},
    {"entry_copy", entry_copy, METH_VARARGS, NULL},
    {"sized_table", sized_table, METH_VARARGS, NULL},
    {"copy_bytes", copy_bytes, METH_VARARGS, NULL},
    {"sizes", sizes, METH_NOARGS, NULL},
    {"time_host_table", time_host_table, METH_VARARGS, NULL},
    {NULL, NULL, 0, NULL},
};

static struct PyModuleDef module = {
    PyModuleDef_HEAD_INIT, "_tessel_baseline", NULL, -1, methods, NULL, NULL, NULL, NULL};

PyMODINIT_FUNC PyInit__tessel_baseline(void) {
   PyObject *mod = PyModule_Create(&module);
   if (!mod)
      return NULL;
   this_name = PyUnicode_InternFromString("this");
   no_args = PyTuple_New(0);
   if (!this_name || !no_args) {
      Py_DECREF(mod);
      return NULL;
   }
   if (PyModule_AddIntConstant(mod, "T_INFO", T_INFO) < 0 ||
       PyModule_AddIntConstant(mod, "T_PORT", T_PORT) < 0 ||
       PyModule_AddIntConstant(mod, "T_ENTRY", T_ENTRY) < 0 ||
       PyModule_AddIntConstant(mod, "T_POLICY", T_POLICY) < 0 ||
       PyModule_AddIntConstant(mod, "T_UPLINK_PORTS", T_UPLINK_PORTS) < 0) {
      Py_DECREF(mod);
      return NULL;
   }
   return mod;
}
