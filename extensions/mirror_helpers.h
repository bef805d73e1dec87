/* Helpers of the mirror session table: the tables the module allocates and
 * their extents, walking within a table's bounds, and the text forms of an
 * entity. */
#ifndef TESSEL_EXTENSIONS_MIRROR_HELPERS_H
#define TESSEL_EXTENSIONS_MIRROR_HELPERS_H

#include <Python.h>
#include <stddef.h>

#include "hostapi/mirror.h"
#include "module/conv.h"

/* A zero-filled table of sessions sessions and entities entities with its
 * header filled (magic number, counts; version 0), remembered with its
 * extent until free_dvmirror_session_table.  Negative counts (ValueError), a
 * size beyond the 32-bit signed range (OverflowError) and a failed
 * allocation (MemoryError) raise and give NULL. */
TESSEL_EXPORT DVMirrorSessionTable *alloc_dvmirror_session_table(int sessions, int entities);
/* Frees a table alloc_dvmirror_session_table made.  Anything else (a
 * Python-owned header, a host table, a view into a table) is refused with
 * ValueError and left alone, so nothing is freed twice or wrongly. */
TESSEL_EXPORT void free_dvmirror_session_table(DVMirrorSessionTable *table);

/* Bytes of the block that holds the header counts of table: its sessions
 * and entities, filter rules and prefixes. */
unsigned long long tessel_mirror_table_needs(const DVMirrorSessionTable *table);

/* 0 when the module knows the table's block (one it allocated, or a
 * Python-owned header of owned_extent bytes; owned_extent 0 for any other)
 * and the header claims more than the block holds: ValueError is set.  1
 * otherwise. */
int tessel_mirror_table_fits(const DVMirrorSessionTable *table, size_t owned_extent,
                             const char *method);

/* How many sessions / entities can be reached in table: its header counts,
 * cut to what fits a block the module knows. */
unsigned tessel_mirror_sessions_reachable(const DVMirrorSessionTable *table);
unsigned tessel_mirror_entities_reachable(const DVMirrorSessionTable *table);

/* The walking methods; NULL (after "Invalid array index.") for a place
 * outside the table. */
DVMirrorSession *tessel_mirror_first_session(DVMirrorSessionTable *table);
DVMirrorEntity *tessel_mirror_entity(DVMirrorSessionTable *table, int index);
DVMirrorSession *tessel_mirror_session(DVMirrorSessionTable *table, int index);
void tessel_mirror_set_session(DVMirrorSessionTable *table, int index,
                               const DVMirrorSession *session);
/* The entity after entity; NULL past the last entity of a table the module
 * allocated.  Elsewhere the caller counts. */
DVMirrorEntity *tessel_mirror_next_entity(DVMirrorEntity *entity);

/* The entity's meaningful member as text (str), and the parse of text into
 * it. */
PyObject *tessel_mirror_entity_text(const DVMirrorEntity *entity);
void tessel_mirror_entity_parse(DVMirrorEntity *entity, const char *text);

/* The agent world copy of slot index (0..2), or NULL after "Invalid array
 * index." (or "malloc failed for VSDVMirrorAgentWorld"). */
VSDVMirrorAgentWorld *tessel_mirror_world_copy(const VSDVMirrorAgentWorldStats *stats, int index);

/* Set by each method of a table, entity or list record: whether the record
 * it was given is owned by its Python proxy (made by new_<Record>, so
 * nothing follows it). */
extern int tessel_mirror_owned_self;

/* The entries of a list header that can be reached: none behind a
 * Python-owned header, the header's count otherwise. */
unsigned tessel_mirror_list_reachable(unsigned count);

/* The diagnostic of the table indexers. */
void tessel_mirror_invalid_index(void);

#endif
