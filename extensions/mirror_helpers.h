/* Helpers of the mirror session table: its allocation, walking it within
 * the bytes its block holds, and the text forms of an entity.
 *
 * extent is the number of bytes from the record a method is given to the end
 * of its block, as the module knows it (module/blocks.h); SIZE_MAX when the
 * module cannot know it, and the header's counts are all there is. */
#ifndef TESSEL_EXTENSIONS_MIRROR_HELPERS_H
#define TESSEL_EXTENSIONS_MIRROR_HELPERS_H

#include <Python.h>
#include <stddef.h>

#include "hostapi/mirror.h"
#include "module/conv.h"

/* A zero-filled table of sessions sessions and entities entities with its
 * header filled (magic number, counts; version 0).  Negative counts
 * (ValueError), a size beyond the 32-bit signed range (OverflowError) and a
 * failed allocation (MemoryError) raise and give NULL. */
TESSEL_EXPORT DVMirrorSessionTable *alloc_dvmirror_session_table(int sessions, int entities);
/* Frees a table alloc_dvmirror_session_table made (the module's release
 * rules decide what reaches it). */
TESSEL_EXPORT void free_dvmirror_session_table(DVMirrorSessionTable *table);

/* Bytes of the block the header counts of table describe: its sessions and
 * entities, filter rules and prefixes. */
unsigned long long tessel_mirror_table_needs(const DVMirrorSessionTable *table);

/* The walking methods; NULL (after "Invalid array index.") for a place
 * outside the header's counts or the table's block. */
DVMirrorSession *tessel_mirror_session(DVMirrorSessionTable *table, size_t extent, int index);
DVMirrorEntity *tessel_mirror_entity(DVMirrorSessionTable *table, size_t extent, int index);
void tessel_mirror_set_session(DVMirrorSessionTable *table, size_t extent, int index,
                               const DVMirrorSession *session);
/* The entity after entity, or NULL when it would lie past the block.  The
 * entity does not know its table's count: within a block the caller
 * counts. */
DVMirrorEntity *tessel_mirror_next_entity(DVMirrorEntity *entity, size_t extent);

/* Entries of a list (8-byte header, count entries of width bytes) that lie
 * in its block. */
unsigned tessel_mirror_list_reachable(unsigned count, size_t extent, size_t width);

/* The entity's meaningful member as text (str), and the parse of text into
 * it. */
PyObject *tessel_mirror_entity_text(const DVMirrorEntity *entity);
void tessel_mirror_entity_parse(DVMirrorEntity *entity, const char *text);

/* The agent world copy of slot index (0..2), or NULL after "Invalid array
 * index." (or "malloc failed for VSDVMirrorAgentWorld"). */
VSDVMirrorAgentWorld *tessel_mirror_world_copy(const VSDVMirrorAgentWorldStats *stats, int index);

/* The diagnostic of the table indexers. */
void tessel_mirror_invalid_index(void);

#endif
