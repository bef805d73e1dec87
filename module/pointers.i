/* Pointer arguments and results: what the module knows of the memory a
 * pointer object addresses (module/blocks.h), and the rules every wrapper
 * applies with it.
 *
 * - A pointer object made for a block the module allocated or a host
 *   function handed out carries that block; so does every view derived from
 *   it (nested records, array and tail views, element views).  A view keeps
 *   its block alive.
 * - A record argument must have the record's size left in its block, an
 *   array value the array's size; otherwise the call raises ValueError
 *   naming the argument and nothing is read or written.
 * - A pointer object of a released block is refused with ValueError.
 * - Releases (destructors, the free_ helpers, the host release calls) mark
 *   the block released, so a second release is a no-op; a view, or a block
 *   of the other owner (host or module), is refused without freeing.
 * - Pointer objects whose memory the module cannot know (a pointer read from
 *   a field that matches no known block, or one made by another module)
 *   carry no block and behave as before: no extent checks.
 *
 * A record argument named `self` (accessors and extension methods) given
 * None runs against a zero-filled stand-in record instead of address 0.
 * What the wrapper does then is its own declaration's rule:
 * - field setters (SWIG's member setters) change nothing and return None;
 * - destructors (whose record SWIG converts with the disown flag) release
 *   nothing;
 * - every other wrapper raises ValueError "invalid null reference in method
 *   '<name>', argument 1 of type '<type>'": extension methods before their
 *   body runs (%exception), getters after reading the stand-in (argout);
 * - an extension method declared with %tessel_accepts_missing_record runs
 *   and decides itself (tessel_take_missing_record()). */

%header %{
#include <stdint.h>
#include <string.h>
#include "module/blocks.h"

/* Failure codes of pointer arguments besides SWIG's own. */
#define TESSEL_RELEASED (-201)
#define TESSEL_SHORT (-202)
#define TESSEL_INSIDE (-203)
#define TESSEL_HOST_OWNED (-204)
#define TESSEL_MODULE_OWNED (-205)
#define TESSEL_EMBEDDED_NUL (-206)
#define TESSEL_UNTERMINATED (-207)

/* The largest record a stand-in can take (checked per record). */
#define TESSEL_STAND_IN_SIZE 16384

/* What a pointer conversion learned of its argument. */
typedef struct {
  /* The pointer object, held until the wrapper returns. */
  PyObject *keep;
  /* Bytes the address may reach; SIZE_MAX when the module cannot know. */
  size_t extent;
} tessel_arg;

/* The record a wrapper given None for `self` runs against, zeroed before each
   use: never read for anything but the raise that follows. */
static char tessel_stand_in[TESSEL_STAND_IN_SIZE];
/* tessel_missing_record and the receiver of the call in progress
   (tessel_receiver and its extent and size) are declared with the pointer
   objects in module/pyrun.swg, which keeps them across a destructor that
   runs Python code in the middle of a call. */

SWIGINTERN void tessel_raise_missing_record(void) {
  PyErr_SetString(PyExc_ValueError, tessel_missing_record ? tessel_missing_record : "invalid null reference");
  tessel_missing_record = NULL;
}

/* For an extension method declared with %tessel_accepts_missing_record:
   whether it was given None for its record (it then runs against the
   stand-in and must not use it). */
SWIGINTERN int tessel_take_missing_record(void) {
  int missing = tessel_missing_record != NULL;
  tessel_missing_record = NULL;
  return missing;
}

/* The pointer object obj stands for (itself, or the `this` of an instance)
   that converts to ty (any type when ty is NULL), and the address it gives;
   NULL when there is none. */
SWIGINTERN SwigPyObject *tessel_resolve(PyObject *obj, swig_type_info *ty, void **ptr) {
  SwigPyObject *sobj = SWIG_Python_GetSwigThis(obj);
  for (; sobj; sobj = (SwigPyObject *)sobj->next) {
    swig_cast_info *tc;
    if (!ty || sobj->ty == ty) {
      *ptr = sobj->ptr;
      return sobj;
    }
    tc = SWIG_TypeCheck(sobj->ty->name, ty);
    if (tc) {
      int newmemory = 0;
      *ptr = SWIG_TypeCast(tc, sobj->ptr, &newmemory);
      return sobj;
    }
  }
  return NULL;
}

/* Converts obj to a pointer of type ty (None gives NULL), refusing a
   released block, and notes the extent; flags may hold
   SWIG_POINTER_DISOWN. */
SWIGINTERN int tessel_convert_ptr(PyObject *obj, void **ptr, swig_type_info *ty, int flags, tessel_arg *arg) {
  SwigPyObject *sobj;
  TesselBlock *block;
  arg->keep = NULL;
  arg->extent = SIZE_MAX;
  *ptr = NULL;
  if (obj == Py_None)
    return SWIG_OK;
  sobj = tessel_resolve(obj, ty, ptr);
  if (!sobj)
    return SWIG_ERROR;
  block = (TesselBlock *)sobj->block;
  if (block) {
    if (block->released)
      return TESSEL_RELEASED;
    arg->extent = tessel_block_extent(block, *ptr);
  } else if (sobj->lazy_size) {
    /* A block not made yet: never released (a release makes it). */
    const char *base = (const char *)sobj->ptr, *p = (const char *)*ptr;
    arg->extent = p < base || p > base + sobj->lazy_size ? 0 : (size_t)(base + sobj->lazy_size - p);
  }
  if (flags & SWIG_POINTER_DISOWN)
    tessel_set_own((PyObject *)sobj, 0);
  Py_INCREF(sobj);
  arg->keep = (PyObject *)sobj;
  return SWIG_OK;
}

/* Raises the error of a failed pointer argument; msg names the method, the
   argument and its type. */
SWIGINTERN void tessel_pointer_fail(int res, const char *msg, size_t have, size_t need) {
  switch (res) {
  case TESSEL_RELEASED:
    PyErr_Format(PyExc_ValueError, "%s: the memory it addresses was released", msg);
    break;
  case TESSEL_SHORT:
    PyErr_Format(PyExc_ValueError, "%s: %zu bytes are left in its block, %zu are needed", msg, have, need);
    break;
  case TESSEL_INSIDE:
    PyErr_Format(PyExc_ValueError, "%s: it addresses the inside of another record, which is released with that record", msg);
    break;
  case TESSEL_HOST_OWNED:
    PyErr_Format(PyExc_ValueError, "%s: the host library owns it; release it with the host's release call", msg);
    break;
  case TESSEL_MODULE_OWNED:
    PyErr_Format(PyExc_ValueError, "%s: the module allocated it; release it with its delete_ or free_ function", msg);
    break;
  case TESSEL_EMBEDDED_NUL:
    PyErr_Format(PyExc_TypeError, "%s", msg);
    break;
  case TESSEL_UNTERMINATED:
    PyErr_Format(PyExc_ValueError, "%s: no text ends inside the %zu bytes left in its block (at least %zu needed)", msg, have, need);
    break;
  default:
    SWIG_Error(SWIG_ArgError(res), msg);
  }
}

/* Prepares the release of what obj addresses: by the module (kind
   TESSEL_BLOCK_MODULE, with free) or by a host release call
   (TESSEL_BLOCK_HOST).  On success *ptr is the address to release, or NULL
   when there is nothing to do (None, or a block released before); the
   block is then marked released and obj disowned.  A view inside another
   record, or a block of the other owner, is refused. */
SWIGINTERN int tessel_prepare_release(PyObject *obj, swig_type_info *ty, int kind, void **ptr, tessel_arg *arg) {
  SwigPyObject *sobj;
  TesselBlock *block;
  void *addr = NULL;
  arg->keep = NULL;
  arg->extent = SIZE_MAX;
  *ptr = NULL;
  if (obj == Py_None)
    return SWIG_OK;
  sobj = tessel_resolve(obj, ty, &addr);
  if (!sobj)
    return SWIG_ERROR;
  block = tessel_block_of(sobj);
  if (!block && PyErr_Occurred())
    return SWIG_MemoryError;
  if (!block && addr) {
    /* A pointer read back from a field may head a block the module knows. */
    block = tessel_block_find(addr);
    if (block && (char *)addr == block->base && (kind == TESSEL_BLOCK_HOST || block->type == (const void *)sobj->ty)) {
      Py_INCREF(block);
      sobj->block = (PyObject *)block;
    } else {
      block = NULL;
    }
  }
  if (block) {
    int heads = (char *)addr == block->base && (kind == TESSEL_BLOCK_HOST || block->type == (const void *)sobj->ty);
    if (block->released)
      return heads ? SWIG_OK : TESSEL_RELEASED;
    if (!heads)
      return TESSEL_INSIDE;
    if (block->kind != kind)
      return kind == TESSEL_BLOCK_MODULE ? TESSEL_HOST_OWNED : TESSEL_MODULE_OWNED;
    tessel_block_release(block);
  } else if (addr) {
    /* Memory the module cannot know: released as before, and this object
       does not release it a second time. */
    /* Listed (owned 0), so any block still listed at this address, made
       as another type, is released with the memory. */
    PyObject *marker = tessel_block_new(addr, 0, sobj->ty, kind, 0);
    if (!marker)
      return SWIG_MemoryError;
    tessel_block_release((TesselBlock *)marker);
    sobj->block = marker;
  }
  sobj->own = 0;
  Py_INCREF(sobj);
  arg->keep = (PyObject *)sobj;
  *ptr = addr;
  return SWIG_OK;
}

/* A pointer object for ptr (None for NULL) carrying block (may be NULL),
   presented as the registered class unless flags hold
   SWIG_POINTER_NOSHADOW. */
SWIGINTERN PyObject *tessel_new_pointer(void *ptr, swig_type_info *ty, int flags, PyObject *block) {
  SwigPyClientData *clientdata;
  PyObject *robj;
  if (!ptr)
    return SWIG_Py_Void();
  robj = SwigPyObject_New(ptr, ty, (flags & SWIG_POINTER_OWN) ? SWIG_POINTER_OWN : 0);
  if (!robj)
    return NULL;
  if (block) {
    Py_INCREF(block);
    ((SwigPyObject *)robj)->block = block;
  }
  clientdata = ty ? (SwigPyClientData *)ty->clientdata : 0;
  if (clientdata && !(flags & SWIG_POINTER_NOSHADOW)) {
    PyObject *inst = SWIG_Python_NewShadowInstance(clientdata, robj);
    Py_DECREF(robj);
    robj = inst;
  }
  return robj;
}

/* A pointer object for a block of size bytes the module just allocated:
   owned by Python (flags SWIG_POINTER_OWN) or by nobody.  An owned block's
   block object is made when something needs it (tessel_block_of). */
SWIGINTERN PyObject *tessel_new_block(void *ptr, swig_type_info *ty, int flags, size_t size) {
  PyObject *block, *obj;
  if (!ptr)
    return SWIG_Py_Void();
  if ((flags & SWIG_POINTER_OWN) && size) {
    SwigPyObject *sobj = (SwigPyObject *)SwigPyObject_New(ptr, ty, SWIG_POINTER_OWN);
    SwigPyClientData *clientdata = ty ? (SwigPyClientData *)ty->clientdata : 0;
    if (!sobj) {
      free(ptr);
      return NULL;
    }
    sobj->lazy_size = size;
    obj = (PyObject *)sobj;
    if (clientdata && !(flags & SWIG_POINTER_NOSHADOW)) {
      PyObject *inst = SWIG_Python_NewShadowInstance(clientdata, obj);
      Py_DECREF(obj);
      obj = inst;
    }
    return obj;
  }
  block = tessel_block_new(ptr, size, ty, TESSEL_BLOCK_MODULE, (flags & SWIG_POINTER_OWN) != 0);
  if (!block) {
    if (flags & SWIG_POINTER_OWN)
      free(ptr);
    return NULL;
  }
  obj = tessel_new_pointer(ptr, ty, flags, block);
  Py_DECREF(block);
  return obj;
}

/* Extents of the host tables: a header with a count of entries. */
typedef struct {
  swig_type_info *type;
  size_t count_offset;
  size_t header;
  size_t entry;
} tessel_table_rule;

static tessel_table_rule tessel_table_rules[64];
static size_t tessel_table_rule_count;

/* The table rule of each type looked up before, by its address: the type
   and its rule (NULL: none), so a record handed out again finds it at once. */
#define TESSEL_RULE_MEMO 64
static struct {
  swig_type_info *type;
  tessel_table_rule *rule;
} tessel_rule_memo[TESSEL_RULE_MEMO];

SWIGINTERN void tessel_add_table_rule(swig_type_info *type, size_t count_offset, size_t header, size_t entry) {
  if (tessel_table_rule_count < sizeof(tessel_table_rules) / sizeof(tessel_table_rules[0])) {
    tessel_table_rule rule = {type, count_offset, header, entry};
    tessel_table_rules[tessel_table_rule_count++] = rule;
    /* A type found without a rule before may have one now. */
    memset(tessel_rule_memo, 0, sizeof(tessel_rule_memo));
  } else {
    Py_FatalError("tessel: more host tables than the table rules can hold");
  }
}

SWIGINTERN tessel_table_rule *tessel_table_rule_of(swig_type_info *ty) {
  size_t slot = ((uintptr_t)ty >> 4) & (TESSEL_RULE_MEMO - 1), i;
  tessel_table_rule *rule = NULL;
  if (ty && tessel_rule_memo[slot].type == ty)
    return tessel_rule_memo[slot].rule;
  for (i = 0; i < tessel_table_rule_count; i++) {
    if (tessel_table_rules[i].type == ty) {
      rule = &tessel_table_rules[i];
      break;
    }
  }
  tessel_rule_memo[slot].type = ty;
  tessel_rule_memo[slot].rule = rule;
  return rule;
}

/* The bytes of a record or table of type ty at ptr that a host function
   handed out: a table's header and its entries, else size. */
SWIGINTERN size_t tessel_host_extent(const void *ptr, swig_type_info *ty, size_t size) {
  tessel_table_rule *rule = tessel_table_rule_of(ty);
  if (rule) {
    uint32_t count;
    memcpy(&count, (const char *)ptr + rule->count_offset, sizeof(count));
    return rule->header + (size_t)count * rule->entry;
  }
  return size;
}

/* A non-owning pointer object for a record a host function handed out. */
SWIGINTERN PyObject *tessel_host_pointer(void *ptr, swig_type_info *ty, size_t size) {
  PyObject *block, *obj;
  if (!ptr)
    return SWIG_Py_Void();
  block = tessel_block_new(ptr, tessel_host_extent(ptr, ty, size), ty, TESSEL_BLOCK_HOST, 0);
  if (!block)
    return NULL;
  obj = tessel_new_pointer(ptr, ty, 0, block);
  Py_DECREF(block);
  return obj;
}

/* A non-owning pointer object for an address an accessor computed or read:
   it carries the receiver's block when it lies inside it, or the block it
   heads when the module knows one, else none. */
SWIGINTERN PyObject *tessel_view_pointer(void *ptr, swig_type_info *ty) {
  PyObject *block = NULL;
  if (!ptr)
    return SWIG_Py_Void();
  if (tessel_receiver && (tessel_receiver->block || tessel_receiver->lazy_size)) {
    /* A view keeps its receiver's block: it is made now if need be. */
    TesselBlock *b = tessel_block_of(tessel_receiver);
    if (!b)
      return NULL;
    if ((char *)ptr >= b->base && (char *)ptr <= b->base + b->size)
      block = (PyObject *)b;
  }
  if (!block)
    block = (PyObject *)tessel_block_find(ptr);
  return tessel_new_pointer(ptr, ty, 0, block);
}
%}

/* ---- Record and typed pointer arguments ---- */

%typemap(in, noblock=1) SWIGTYPE * (void *argp = 0, int res = 0, tessel_arg targ = {0, 0}) {
  res = tessel_convert_ptr($input, &argp, $descriptor, $disown, &targ);
  if (SWIG_IsOK(res) && targ.extent < sizeof($*1_ltype)) res = TESSEL_SHORT;
  if (!SWIG_IsOK(res)) {
    tessel_pointer_fail(res, "in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'", targ.extent, sizeof($*1_ltype));
    SWIG_fail;
  }
  $1 = ($ltype)argp;
}
%typemap(freearg, noblock=1, match="in") SWIGTYPE * {
  Py_XDECREF(targ$argnum.keep);
}

/* An array value copied into a field: the whole array must lie in the
   value's block. */
%define %tessel_array_value(PATTERN)
%typemap(in, noblock=1) PATTERN (void *argp = 0, int res = 0, tessel_arg targ = {0, 0}) {
  res = tessel_convert_ptr($input, &argp, $descriptor, $disown, &targ);
  if (SWIG_IsOK(res) && targ.extent < sizeof($1_type)) res = TESSEL_SHORT;
  if (!SWIG_IsOK(res)) {
    tessel_pointer_fail(res, "in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'", targ.extent, sizeof($1_type));
    SWIG_fail;
  }
  $1 = ($ltype)argp;
}
%typemap(freearg, noblock=1, match="in") PATTERN {
  Py_XDECREF(targ$argnum.keep);
}
%enddef
%tessel_array_value(SWIGTYPE [ANY])
%tessel_array_value(SWIGTYPE [ANY][ANY])

/* `void *` and opaque handles: any pointer object; released memory is
   refused. */
%typemap(in, noblock=1) void * (void *argp = 0, int res = 0, tessel_arg targ = {0, 0}) {
  res = tessel_convert_ptr($input, &argp, 0, $disown, &targ);
  if (!SWIG_IsOK(res)) {
    tessel_pointer_fail(res, "in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'", 0, 0);
    SWIG_fail;
  }
  $1 = ($ltype)argp;
}
%typemap(freearg, noblock=1, match="in") void * {
  Py_XDECREF(targ$argnum.keep);
}

/* ---- The record an accessor or extension method works on ---- */

%typemap(in, noblock=1) SWIGTYPE *self (void *argp = 0, int res = 0, tessel_arg targ = {0, 0}, const char *missing = 0) {
  if ($disown) {
    res = tessel_prepare_release($input, $descriptor, TESSEL_BLOCK_MODULE, &argp, &targ);
  } else if ($input == Py_None) {
    /* Zeroed for every use: a setter given None earlier may have written
       into it, and a getter must not follow what it wrote (a pointer field
       reads as NULL). */
    memset(tessel_stand_in, 0, sizeof($*1_ltype));
    argp = tessel_stand_in;
    targ.extent = sizeof($*1_ltype);
    missing = "invalid null reference in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'";
    res = SWIG_OK;
  } else {
    res = tessel_convert_ptr($input, &argp, $descriptor, 0, &targ);
    if (SWIG_IsOK(res) && targ.extent < sizeof($*1_ltype)) res = TESSEL_SHORT;
  }
  if (!SWIG_IsOK(res)) {
    tessel_pointer_fail(res, "in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'", targ.extent, sizeof($*1_ltype));
    SWIG_fail;
  }
  $1 = ($ltype)argp;
}
/* Every argument is converted (which may have run Python code, and other
   wrappers): the receiver is what the action sees. */
%typemap(check, noblock=1) SWIGTYPE *self {
  tessel_missing_record = missing$argnum;
  tessel_receiver = (SwigPyObject *)targ$argnum.keep;
  tessel_receiver_extent = targ$argnum.extent;
  tessel_receiver_size = sizeof($*1_ltype);
}
/* A getter given None read the stand-in: it raises now. */
%typemap(argout, noblock=1) SWIGTYPE *self {
  if (tessel_missing_record) {
    Py_XDECREF($result);
    $result = 0;
    tessel_raise_missing_record();
    SWIG_fail;
  }
}
%typemap(freearg, noblock=1, match="in") SWIGTYPE *self {
  Py_XDECREF(targ$argnum.keep);
  tessel_receiver = 0;
  tessel_missing_record = 0;
}

/* A setter given None wrote into the stand-in: it returns None.  (Every
   wrapper that returns nothing passes here; the others given None raised
   before their action.) */
%typemap(out, noblock=1) void {
  $result = SWIG_Py_Void();
  tessel_missing_record = 0;
}

/* An extension method that handles a missing record itself. */
%define %tessel_accepts_missing_record(DECL)
%exception DECL {
  exception_status = setjmp(exception_buffer);
  if (exception_status != 0) {
    tessel_raise_abandoned();
    SWIG_fail;
  }
  $action
}
%enddef

/* ---- Releases ---- */

/* The record a module release (free_ helper) takes: see
   tessel_prepare_release.  Applied per declaration. */
%typemap(in, noblock=1) SWIGTYPE *RELEASE (void *argp = 0, int res = 0, tessel_arg targ = {0, 0}) {
  res = tessel_prepare_release($input, $descriptor, TESSEL_BLOCK_MODULE, &argp, &targ);
  if (!SWIG_IsOK(res)) {
    tessel_pointer_fail(res, "in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'", 0, 0);
    SWIG_fail;
  }
  $1 = ($ltype)argp;
}
%typemap(freearg, noblock=1, match="in") SWIGTYPE *RELEASE {
  Py_XDECREF(targ$argnum.keep);
}

/* The address a host release call takes: a block a host function handed
   out, or memory the module cannot know.  Applied per declaration. */
%typemap(in, noblock=1) void *HOST_RELEASE (void *argp = 0, int res = 0, tessel_arg targ = {0, 0}) {
  res = tessel_prepare_release($input, 0, TESSEL_BLOCK_HOST, &argp, &targ);
  if (!SWIG_IsOK(res)) {
    tessel_pointer_fail(res, "in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'", 0, 0);
    SWIG_fail;
  }
  $1 = ($ltype)argp;
}
%typemap(freearg, noblock=1, match="in") void *HOST_RELEASE {
  Py_XDECREF(targ$argnum.keep);
}

/* ---- Results ---- */

/* Addresses an accessor computes (nested records, arrays, tails) or reads
   (pointer fields); copies made by the module (%newobject) own a new
   block of the record's size. */
%typemap(out, noblock=1) SWIGTYPE * {
  if ($owner) {
    %set_output(tessel_new_block(%as_voidptr($1), $descriptor, $owner, sizeof(*$1)));
  } else {
    %set_output(tessel_view_pointer(%as_voidptr($1), $descriptor));
  }
  if (!$result) SWIG_fail;
}
%typemap(out, noblock=1) SWIGTYPE [ANY], SWIGTYPE [] {
  %set_output(tessel_view_pointer(%as_voidptr($1), $descriptor));
  if (!$result) SWIG_fail;
}

/* A block the module allocates and nobody owns until its free_ helper
   releases it.  Applied per declaration. */
%typemap(out, noblock=1) SWIGTYPE *UNOWNED_BLOCK {
  %set_output(tessel_new_block(%as_voidptr($1), $descriptor, 0, sizeof(*$1)));
  if (!$result) SWIG_fail;
}

/* A host table: its extent comes from the count in its header.  Declare it
   beside the table's wrapper. */
%define %tessel_table(TABLE, COUNT, ENTRY)
%init %{
  tessel_add_table_rule(SWIGTYPE_p_ ## TABLE, offsetof(TABLE, COUNT), sizeof(TABLE), sizeof(ENTRY));
%}
%enddef

/* ---- Text arguments ---- */

%fragment("tessel_text", "header", fragment="SWIG_pchar_descriptor") {
/* A text argument: a str (its UTF-8 form, which must hold no NUL: the
   callee would see a shorter text than the caller wrote), a char * pointer
   object (its text must end inside its block, and the block hold at least
   mincap bytes), or None (NULL).  A str is copied into a new zero-filled
   buffer of at least mincap bytes when copy is set (the caller frees it:
   *alloc is 1); otherwise the callee reads the str's own UTF-8 form, which
   lives as long as the str. */
SWIGINTERN int tessel_as_text(PyObject *obj, char **text, int copy, size_t mincap, int *alloc, tessel_arg *arg) {
  *text = NULL;
  *alloc = 0;
  arg->keep = NULL;
  arg->extent = SIZE_MAX;
  if (obj == Py_None)
    return SWIG_OK;
  if (PyUnicode_Check(obj)) {
    Py_ssize_t len = 0;
    const char *utf8 = PyUnicode_AsUTF8AndSize(obj, &len);
    if (!utf8) {
      PyErr_Clear();
      return SWIG_TypeError;
    }
    if (memchr(utf8, 0, (size_t)len))
      return TESSEL_EMBEDDED_NUL;
    if (!copy) {
      *text = (char *)utf8;
      return SWIG_OK;
    }
    *text = (char *)calloc(1, (size_t)len + 1 > mincap ? (size_t)len + 1 : mincap);
    if (!*text)
      return SWIG_MemoryError;
    memcpy(*text, utf8, (size_t)len);
    *alloc = 1;
    return SWIG_OK;
  } else {
    void *ptr = NULL;
    int res = tessel_convert_ptr(obj, &ptr, SWIG_pchar_descriptor(), 0, arg);
    if (!SWIG_IsOK(res))
      return res == SWIG_ERROR ? SWIG_TypeError : res;
    if (ptr && arg->extent != SIZE_MAX && (arg->extent < mincap || !memchr(ptr, 0, arg->extent)))
      return TESSEL_UNTERMINATED;
    *text = (char *)ptr;
    return SWIG_OK;
  }
}
}

%typemap(in, noblock=1, fragment="tessel_text") char const * (char *buf = 0, int alloc = 0, int res = 0, tessel_arg targ = {0, 0}) {
  res = tessel_as_text($input, &buf, 0, 0, &alloc, &targ);
  if (!SWIG_IsOK(res)) {
    tessel_pointer_fail(res, "in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'", targ.extent, 0);
    SWIG_fail;
  }
  $1 = ($ltype)buf;
}
%typemap(in, noblock=1, fragment="tessel_text") char * (char *buf = 0, int alloc = 0, int res = 0, tessel_arg targ = {0, 0}) {
  res = tessel_as_text($input, &buf, 1, 0, &alloc, &targ);
  if (!SWIG_IsOK(res)) {
    tessel_pointer_fail(res, "in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'", targ.extent, 0);
    SWIG_fail;
  }
  $1 = ($ltype)buf;
}
%typemap(freearg, noblock=1, match="in") char const *, char * {
  if (alloc$argnum) free(buf$argnum);
  Py_XDECREF(targ$argnum.keep);
}

/* ---- Counts of records behind a pointer ---- */

/* The local `targ` of the pointer argument ARG (argN), whose in typemap
   declared it as targN. */
%{
#define TESSEL_TARG_OF(ARG) t##ARG
%}

/* COUNT_DECL is the number of records the host reads or writes at PTR_DECL
   (the next argument): a count beyond what is left in the pointer's block
   is refused, naming the count, before anything is called.  Declare it per
   function, by the two parameters' types and names. */
%define %tessel_counted(COUNT_DECL, PTR_DECL)
%typemap(in, noblock=1) PTR_DECL (void *argp = 0, int res = 0, tessel_arg targ = {0, 0}) {
  res = tessel_convert_ptr($input, &argp, $descriptor, 0, &targ);
  if (!SWIG_IsOK(res)) {
    tessel_pointer_fail(res, "in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'", 0, 0);
    SWIG_fail;
  }
  $1 = ($ltype)argp;
}
%typemap(freearg, noblock=1, match="in") PTR_DECL {
  Py_XDECREF(targ$argnum.keep);
}
%typemap(check, noblock=1) (COUNT_DECL, PTR_DECL) {
  if (TESSEL_TARG_OF($2).extent != SIZE_MAX && (size_t)$1 > TESSEL_TARG_OF($2).extent / sizeof(*$2)) {
    PyErr_Format(PyExc_ValueError, "in method '%s', argument %d of type '%s': %llu records are more than the %zu left in the block of the next argument",
                 "$symname", $argnum, "$1_type", (unsigned long long)$1, TESSEL_TARG_OF($2).extent / sizeof(*$2));
    SWIG_fail;
  }
}
%enddef
