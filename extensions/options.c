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

/* ---- RTM and property queries ---- */

uint32_t tessel_query_entries(uint32_t count, size_t extent, size_t header, size_t entry) {
   size_t room;
   if (extent == SIZE_MAX)
      return count;
   room = extent > header ? (extent - header) / entry : 0;
   return room < count ? (uint32_t)room : count;
}

char *tessel_query_entry(void *query, int index, uint32_t count, size_t header, size_t entry) {
   if ((uint32_t)index >= count) {
      tessel_print_diagnostic("Invalid array index.");
      return NULL;
   }
   return (char *)query + header + (size_t)(uint32_t)index * entry;
}

/* A zero-filled query of header + n * entry bytes with n stored at its
   start; NULL after the diagnostic when it cannot be made. */
static void *alloc_query(int n, size_t header, size_t entry, const char *failure) {
   long long bytes = (long long)header + (long long)n * (long long)entry;
   hyx_uint32 count = (hyx_uint32)n;
   void *query = NULL;
   if (n >= 0 && bytes <= INT32_MAX)
      query = calloc(1, (size_t)bytes);
   if (!query) {
      tessel_print_diagnostic(failure);
      return NULL;
   }
   memcpy(query, &count, sizeof count);
   return query;
}

TESSEL_EXPORT RTMIOCtlQuery *alloc_rtm_query(int n) {
   return alloc_query(n, sizeof(RTMIOCtlQuery), sizeof(RTM_Portset),
                      "Calloc failed for RTMIOCtlQuery");
}

TESSEL_EXPORT void free_rtm_query(RTMIOCtlQuery *query) { free(query); }

TESSEL_EXPORT RTMModIOCtlQuery *alloc_rtm_mod_query(int n) {
   return alloc_query(n, sizeof(RTMModIOCtlQuery), sizeof(RTM_ModInfo),
                      "Calloc failed for RTMModIOCtlQuery");
}

TESSEL_EXPORT void free_rtm_mod_query(RTMModIOCtlQuery *query) { free(query); }

/* The value blocks the module made, with their sizes (without the zero
   byte after them). */
typedef struct {
   char *value;
   size_t size;
} value_block;
static value_block *value_blocks;
static size_t value_block_count, value_block_room;

static value_block *find_value(const char *value) {
   size_t i;
   if (!value)
      return NULL;
   for (i = 0; i < value_block_count; i++) {
      if (value_blocks[i].value == value)
         return &value_blocks[i];
   }
   return NULL;
}

/* A zero-filled value of size bytes and a zero after them, listed; NULL
   when it cannot be made. */
static char *new_value(size_t size) {
   char *value;
   if (value_block_count == value_block_room) {
      size_t room = value_block_room ? value_block_room * 2 : 16;
      value_block *grown = realloc(value_blocks, room * sizeof *grown);
      if (!grown)
         return NULL;
      value_blocks = grown;
      value_block_room = room;
   }
   value = calloc(1, size + 1);
   if (!value)
      return NULL;
   value_blocks[value_block_count].value = value;
   value_blocks[value_block_count].size = size;
   value_block_count++;
   return value;
}

/* Frees a value the module made; another address is left alone. */
static void free_value(char *value) {
   value_block *found = find_value(value);
   if (!found)
      return;
   *found = value_blocks[--value_block_count];
   free(value);
}

static char *get_value(const ZARQuery *query) {
   char *value;
   memcpy(&value, (const char *)query + offsetof(ZARQuery, propValue), sizeof value);
   return value;
}

static void put_value(ZARQuery *query, char *value) {
   memcpy((char *)query + offsetof(ZARQuery, propValue), &value, sizeof value);
}

TESSEL_EXPORT ZARQuery *alloc_zar_query(int s) {
   ZARQuery *query = calloc(1, sizeof *query);
   char *value = NULL;
   if (!query) {
      tessel_print_diagnostic("Calloc failed for ZARQuery");
      return NULL;
   }
   query->propLen = s;
   if (s > 0) {
      value = new_value((size_t)s);
      if (!value) {
         tessel_print_diagnostic("Calloc failed for property value");
         free(query);
         return NULL;
      }
   }
   put_value(query, value);
   return query;
}

TESSEL_EXPORT void free_zar_query(ZARQuery *query) {
   if (!query)
      return;
   free_value(get_value(query));
   free(query);
}

char *ZARQuery_propValue_get(ZARQuery *query) { return get_value(query); }

void ZARQuery_propValue_set(ZARQuery *query, char *text) {
   char *copy = NULL;
   if (text) {
      size_t len = strlen(text);
      copy = new_value(len);
      if (!copy) {
         PyErr_NoMemory();
         return;
      }
      memcpy(copy, text, len);
   }
   free_value(get_value(query));
   put_value(query, copy);
}

PyObject *tessel_zar_value_bytes(const ZARQuery *query) {
   char *value = get_value(query);
   int len = query->propLen;
   size_t n;
   value_block *found;
   if (len <= 0 || !value)
      return PyBytes_FromStringAndSize("", 0);
   n = (size_t)len;
   found = find_value(value);
   if (found && found->size < n)
      n = found->size;
   return PyBytes_FromStringAndSize(value, (Py_ssize_t)n);
}
