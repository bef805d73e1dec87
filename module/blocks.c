/* The memory blocks the module knows, and the registry that finds a block by
 * its first address. */
#include "module/blocks.h"

#include <stdint.h>
#include <stdlib.h>

/* ---- Registry: open addressing with linear probing, keyed by base ---- */

static TesselBlock **slots;
static size_t capacity; /* a power of two, or 0 */
static size_t used;

static size_t slot_of(const void *base, size_t cap) {
   uintptr_t h = (uintptr_t)base;
   h ^= h >> 17;
   h *= (uintptr_t)0xed5ad4bbU;
   h ^= h >> 11;
   return (size_t)h & (cap - 1);
}

static int grow(void) {
   size_t cap = capacity ? capacity * 2 : 256, i;
   TesselBlock **fresh = calloc(cap, sizeof(*fresh));
   if (!fresh) {
      PyErr_NoMemory();
      return -1;
   }
   for (i = 0; i < capacity; i++) {
      TesselBlock *b = slots[i];
      size_t s;
      if (!b)
         continue;
      for (s = slot_of(b->base, cap); fresh[s]; s = (s + 1) & (cap - 1))
         ;
      fresh[s] = b;
   }
   free(slots);
   slots = fresh;
   capacity = cap;
   return 0;
}

static size_t find_slot(const void *base) {
   size_t s;
   if (!capacity)
      return SIZE_MAX;
   for (s = slot_of(base, capacity); slots[s]; s = (s + 1) & (capacity - 1))
      if (slots[s]->base == (const char *)base)
         return s;
   return SIZE_MAX;
}

/* Removal keeps every probe sequence unbroken by moving later entries of the
 * run back into the hole. */
static void registry_remove(TesselBlock *block) {
   size_t hole = find_slot(block->base), s;
   if (hole == SIZE_MAX || slots[hole] != block)
      return;
   slots[hole] = NULL;
   used--;
   block->registered = 0;
   for (s = (hole + 1) & (capacity - 1); slots[s]; s = (s + 1) & (capacity - 1)) {
      size_t home = slot_of(slots[s]->base, capacity);
      /* Move the entry if its home lies cyclically outside (hole, s]. */
      if ((s > hole && (home <= hole || home > s)) || (s < hole && home <= hole && home > s)) {
         slots[hole] = slots[s];
         slots[s] = NULL;
         hole = s;
      }
   }
}

/* ---- Block objects ---- */

static void unpin(TesselBlock *block) {
   if (block->pinned) {
      block->pinned = 0;
      Py_DECREF(block);
   }
}

/* Blocks come and go with every record a call returns: the memory of a few
   of them is kept for the next ones. */
#define SPARE_BLOCKS 256
static TesselBlock *spare[SPARE_BLOCKS];
static int spares;

static void block_dealloc(PyObject *self) {
   TesselBlock *block = (TesselBlock *)self;
   if (block->registered)
      registry_remove(block);
   if (block->autofree && !block->released && block->kind == TESSEL_BLOCK_MODULE)
      free(block->base);
   if (spares < SPARE_BLOCKS)
      spare[spares++] = block;
   else
      PyObject_Free(self);
}

static PyObject *block_repr(PyObject *self) {
   TesselBlock *block = (TesselBlock *)self;
   return PyUnicode_FromFormat("<tessel block of %zu bytes at %p%s>", block->size,
                               (void *)block->base, block->released ? ", released" : "");
}

static PyTypeObject block_type = {
    PyVarObject_HEAD_INIT(NULL, 0).tp_name = "tessel_block",
    .tp_basicsize = sizeof(TesselBlock),
    .tp_dealloc = block_dealloc,
    .tp_repr = block_repr,
    .tp_flags = Py_TPFLAGS_DEFAULT,
    .tp_doc = "A memory block the module knows.",
};

TesselBlock *tessel_block_find(const void *base) {
   size_t s = find_slot(base);
   return s == SIZE_MAX ? NULL : slots[s];
}

void tessel_block_release(TesselBlock *block) {
   block->released = 1;
   block->autofree = 0;
   if (block->registered)
      registry_remove(block);
   unpin(block);
}

/* Lists block under its base (the caller checked that it is not listed):
   a block listed there before is stale and is released, a host block of the
   same base is returned instead (new reference) when block is a host block;
   NULL otherwise. */
static int registry_insert(TesselBlock *block, TesselBlock **same) {
   size_t s;
   *same = NULL;
   if ((used + 1) * 2 > capacity && grow() < 0)
      return -1;
   for (s = slot_of(block->base, capacity); slots[s]; s = (s + 1) & (capacity - 1)) {
      TesselBlock *listed = slots[s];
      if (listed->base != block->base)
         continue;
      if (block->kind == TESSEL_BLOCK_HOST && listed->kind == TESSEL_BLOCK_HOST) {
         /* A host record handed out again without a release in between is
            the same record (the host keeps it). */
         if (block->size > listed->size)
            listed->size = block->size;
         Py_INCREF(listed);
         *same = listed;
         return 0;
      }
      /* New memory cannot share its first address with live memory: the
         block listed there was released behind the module's back. */
      Py_INCREF(listed);
      tessel_block_release(listed);
      Py_DECREF(listed);
      return registry_insert(block, same);
   }
   slots[s] = block;
   used++;
   block->registered = 1;
   return 0;
}

static void pin(TesselBlock *block) {
   if (!block->pinned) {
      block->pinned = 1;
      Py_INCREF(block);
   }
}

void tessel_block_set_owned(TesselBlock *block, int owned) {
   TesselBlock *same;
   if (block->released || block->kind != TESSEL_BLOCK_MODULE)
      return;
   if (owned) {
      unpin(block);
      return;
   }
   /* Memory nobody owns is listed, so a pointer to it read back from a
      field finds its block. */
   if (!block->registered && registry_insert(block, &same) < 0) {
      PyErr_Clear();
      return;
   }
   pin(block);
}

PyObject *tessel_block_new(void *base, size_t size, const void *type, int kind, int owned) {
   TesselBlock *block, *same = NULL;
   if (!(block_type.tp_flags & Py_TPFLAGS_READY) && PyType_Ready(&block_type) < 0)
      return NULL;
   if (spares) {
      block = spare[--spares];
      PyObject_Init((PyObject *)block, &block_type);
   } else {
      block = PyObject_New(TesselBlock, &block_type);
      if (!block)
         return NULL;
   }
   block->base = base;
   block->size = size;
   block->type = type;
   block->kind = (unsigned char)kind;
   block->released = 0;
   block->autofree = 0;
   block->pinned = 0;
   block->registered = 0;
   /* A block Python owns needs no listing: its owner and views carry it,
      and it is listed once it is given up (tessel_block_set_owned). */
   if (kind == TESSEL_BLOCK_MODULE && owned)
      return (PyObject *)block;
   if (registry_insert(block, &same) < 0) {
      Py_DECREF(block);
      return NULL;
   }
   if (same) {
      Py_DECREF(block);
      return (PyObject *)same;
   }
   pin(block);
   return (PyObject *)block;
}
