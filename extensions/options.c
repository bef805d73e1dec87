/* Helpers of the runtime-option block methods. */
#include "extensions/options_helpers.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "module/vars.h"

#define HEADER sizeof(VSRuntimeOptionHeader)
#define BLOCK_HEADER sizeof(VSRuntimeOptions)

static hyx_uint32 total_length(const VSRuntimeOptions *block) {
   hyx_uint32 total;
   memcpy(&total, block, sizeof total);
   return total;
}

static hyx_uint16 header_field(const VSRuntimeOptionHeader *opt, size_t offset) {
   hyx_uint16 v;
   memcpy(&v, (const char *)opt + offset, sizeof v);
   return v;
}

/* The block's end: totalLength, never past what the module knows. */
static size_t block_end(const VSRuntimeOptions *block, size_t extent) {
   size_t total = total_length(block);
   return total < extent ? total : extent;
}

/* The offset of pos in the block when it lies between the first option and
   end; SIZE_MAX otherwise. */
static size_t position(const VSRuntimeOptions *block, const VSRuntimeOptionHeader *pos,
                       size_t end) {
   uintptr_t b = (uintptr_t)block, p = (uintptr_t)pos;
   if (p < b + BLOCK_HEADER || p - b > end)
      return SIZE_MAX;
   return (size_t)(p - b);
}

VSRuntimeOptions *tessel_options_new(int size) {
   VSRuntimeOptions *block;
   hyx_uint32 total;
   if (size < 0)
      return NULL;
   block = calloc(1, (size_t)size < BLOCK_HEADER ? BLOCK_HEADER : (size_t)size);
   if (!block)
      return NULL;
   total = (hyx_uint32)size;
   memcpy(block, &total, sizeof total);
   return block;
}

size_t tessel_options_buffer_size(const VSRuntimeOptions *block) {
   size_t total = total_length(block);
   return total < BLOCK_HEADER ? BLOCK_HEADER : total;
}

VSRuntimeOptionHeader *tessel_options_first(VSRuntimeOptions *block, size_t extent) {
   if (block_end(block, extent) < BLOCK_HEADER + HEADER)
      return NULL;
   return (VSRuntimeOptionHeader *)((char *)block + BLOCK_HEADER);
}

VSRuntimeOptionHeader *tessel_options_next(VSRuntimeOptions *block, size_t extent,
                                           VSRuntimeOptionHeader *opt) {
   size_t end = block_end(block, extent);
   size_t at = position(block, opt, end);
   size_t length;
   if (at == SIZE_MAX || end - at < HEADER)
      return NULL;
   length = header_field(opt, offsetof(VSRuntimeOptionHeader, length));
   if (length < HEADER || end - at < length + HEADER)
      return NULL;
   return (VSRuntimeOptionHeader *)((char *)opt + length);
}

/* Writes an option of length bytes at pos: type, length and the value. */
static VSRuntimeOptionHeader *add(VSRuntimeOptions *block, size_t extent,
                                  VSRuntimeOptionHeader *pos, int type, const void *value,
                                  size_t length) {
   size_t end = block_end(block, extent);
   size_t at = position(block, pos, end);
   hyx_uint16 t = (hyx_uint16)type, l = (hyx_uint16)length;
   /* The option must end strictly before the block's end. */
   if (at == SIZE_MAX || end - at <= length)
      return NULL;
   memcpy((char *)pos + offsetof(VSRuntimeOptionHeader, type), &t, sizeof t);
   memcpy((char *)pos + offsetof(VSRuntimeOptionHeader, length), &l, sizeof l);
   memcpy((char *)pos + HEADER, value, length - HEADER);
   return (VSRuntimeOptionHeader *)((char *)pos + length);
}

VSRuntimeOptionHeader *tessel_options_add_int(VSRuntimeOptions *block, size_t extent,
                                              VSRuntimeOptionHeader *pos, int type, int value) {
   hyx_uint32 v = (hyx_uint32)value;
   return add(block, extent, pos, type, &v, VS_RT_OPT_INT_LENGTH);
}

VSRuntimeOptionHeader *tessel_options_add_str(VSRuntimeOptions *block, size_t extent,
                                              VSRuntimeOptionHeader *pos, int type,
                                              const char *value) {
   size_t n = strnlen(value, VS_CHARDEV_MAX_RUNTIME_STRING_OPTION_LENGTH);
   if (n >= VS_CHARDEV_MAX_RUNTIME_STRING_OPTION_LENGTH)
      return NULL;
   /* The text and its terminating zero. */
   return add(block, extent, pos, type, value, HEADER + n + 1);
}

PyObject *tessel_option_name(const VSRuntimeOptionHeader *opt) {
   hyx_uint16 type = header_field(opt, offsetof(VSRuntimeOptionHeader, type));
   if (type >= TESSEL_NUM_RUNTIME_OPTIONS)
      return PyErr_Format(PyExc_ValueError, "runtime option type %u names no option",
                          (unsigned)type);
   return PyUnicode_FromString(runtimeOptionNames[type]);
}

PyObject *tessel_option_value(const VSRuntimeOptionHeader *opt, size_t extent) {
   hyx_uint16 type = header_field(opt, offsetof(VSRuntimeOptionHeader, type));
   size_t length = header_field(opt, offsetof(VSRuntimeOptionHeader, length));
   /* The value's bytes: to the option's length when it has one, never past
      what the module knows of its block. */
   size_t room = extent > HEADER ? extent - HEADER : 0;
   if (length >= HEADER && length - HEADER < room)
      room = length - HEADER;
   if (type >= VS_RT_OPT_FIRST_TEXT) {
      const char *text = (const char *)opt + HEADER;
      return PyBytes_FromStringAndSize(text, (Py_ssize_t)SWIG_strnlen(text, room));
   } else {
      hyx_uint32 v;
      if (room < sizeof v)
         return PyErr_Format(PyExc_ValueError,
                             "the integer of runtime option type %u lies past its option",
                             (unsigned)type);
      memcpy(&v, (const char *)opt + HEADER, sizeof v);
      return PyLong_FromUnsignedLong(v);
   }
}

TESSEL_EXPORT int get_runtime_option_type_from_name(char const *name) {
   int i;
   if (!name)
      return -1;
   for (i = 0; i < TESSEL_NUM_RUNTIME_OPTIONS; i++) {
      if (strcmp(name, runtimeOptionNames[i]) == 0)
         return i;
   }
   return -1;
}
