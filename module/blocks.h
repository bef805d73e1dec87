/* The memory blocks the module knows: every block it allocates and every
 * block a host function hands it, with its size.
 *
 * A block is a small Python object.  Every pointer object that addresses
 * memory inside a known block (the owning one, nested-record, element and
 * array views) holds a reference to it, so the block outlives them all, and
 * the bytes a pointer object may address are those from its address to the
 * end of its block.  An explicit release (delete_, free_, a host release call
 * through the module) marks the block released: every pointer object of it
 * then refuses to convert instead of touching the memory.
 *
 * Known blocks are also found by their first address (a registry), so a
 * pointer read back out of a record field is matched to its block.  The
 * registry holds a reference to the blocks nobody in Python owns (host
 * blocks, and module blocks whose owner gave up ownership), whose memory
 * stays allocated until it is released explicitly. */
#ifndef TESSEL_MODULE_BLOCKS_H
#define TESSEL_MODULE_BLOCKS_H

#include <Python.h>
#include <stddef.h>

/* Who allocated a block and so how it is released. */
enum {
   /* The module (calloc/malloc); released with free. */
   TESSEL_BLOCK_MODULE = 1,
   /* A host library; released only by the host's release call. */
   TESSEL_BLOCK_HOST = 2
};

typedef struct {
   PyObject_HEAD char *base;
   size_t size;
   /* The type descriptor the block was made as (a swig_type_info *). */
   const void *type;
   unsigned char kind;
   /* Released explicitly: its memory must not be touched again. */
   unsigned char released;
   /* Its owner died while views lived: free it with the last view. */
   unsigned char autofree;
   /* The registry holds a reference (nobody in Python owns the memory). */
   unsigned char pinned;
   /* Listed in the registry under base. */
   unsigned char registered;
} TesselBlock;

/* A new block (new reference) for size bytes at base, made as type, listed
 * under base.  A host block already listed there is the same record handed
 * out again and is returned instead; any other block listed there is stale
 * (its memory was released behind the module's back) and is marked released.
 * A host block and an unowned module block (owned 0) are pinned.  NULL with a
 * Python error on failure. */
PyObject *tessel_block_new(void *base, size_t size, const void *type, int kind, int owned);

/* The live block listed under base (borrowed), or NULL. */
TesselBlock *tessel_block_find(const void *base);

/* Marks the block released and removes it from the registry; the caller
 * frees the memory (or hands it to the host). */
void tessel_block_release(TesselBlock *block);

/* Records whether Python owns the block's memory: an unowned block is
 * pinned in the registry, an owned one is not. */
void tessel_block_set_owned(TesselBlock *block, int owned);

/* The bytes from ptr to the end of the block; 0 when ptr lies outside it. */
static inline size_t tessel_block_extent(const TesselBlock *block, const void *ptr) {
   const char *p = (const char *)ptr;
   if (p < block->base || p > block->base + block->size)
      return 0;
   return (size_t)(block->base + block->size - p);
}

#endif
