/* Helpers of the mirror session table. */
#include "extensions/mirror_helpers.h"

#include <arpa/inet.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "module/copies.h"

#define SESSION_SIZE ((unsigned long long)sizeof(DVMirrorSession))
#define ENTITY_SIZE ((unsigned long long)sizeof(DVMirrorEntity))
#define HEADER_SIZE ((unsigned long long)sizeof(DVMirrorSessionTable))

/* The tables alloc_dvmirror_session_table made and not yet freed, with
 * their sizes.  Few live at once, so a list searched in order will do. */
typedef struct {
   const unsigned char *block;
   size_t size;
} allocated_table;

static allocated_table *allocated = NULL;
static size_t allocated_count = 0, allocated_cap = 0;

static int remember(const void *block, size_t size) {
   if (allocated_count == allocated_cap) {
      size_t cap = allocated_cap ? allocated_cap * 2 : 8;
      allocated_table *grown = realloc(allocated, cap * sizeof(*grown));
      if (!grown)
         return -1;
      allocated = grown;
      allocated_cap = cap;
   }
   allocated[allocated_count].block = block;
   allocated[allocated_count].size = size;
   allocated_count++;
   return 0;
}

/* The entry of the allocated table that holds address p, or NULL. */
static allocated_table *holding(const void *p) {
   const unsigned char *at = p;
   size_t i;
   for (i = 0; i < allocated_count; i++) {
      if (at >= allocated[i].block && at < allocated[i].block + allocated[i].size)
         return &allocated[i];
   }
   return NULL;
}

int tessel_mirror_owned_self = 0;

unsigned tessel_mirror_list_reachable(unsigned count) {
   return tessel_mirror_owned_self ? 0 : count;
}

void tessel_mirror_invalid_index(void) { tessel_print_diagnostic("Invalid array index."); }

TESSEL_EXPORT DVMirrorSessionTable *alloc_dvmirror_session_table(int sessions, int entities) {
   long long size;
   DVMirrorSessionTable *table;
   if (sessions < 0 || entities < 0) {
      PyErr_Format(PyExc_ValueError,
                   "alloc_dvmirror_session_table: counts must not be negative (%d sessions, "
                   "%d entities)",
                   sessions, entities);
      return NULL;
   }
   size = (long long)SESSION_SIZE * sessions + (long long)ENTITY_SIZE * entities +
          (long long)HEADER_SIZE;
   if (size > INT32_MAX) {
      PyErr_Format(PyExc_OverflowError,
                   "alloc_dvmirror_session_table: %d sessions and %d entities need %lld bytes, "
                   "more than 2**31-1",
                   sessions, entities, size);
      return NULL;
   }
   table = calloc(1, (size_t)size);
   if (!table || remember(table, (size_t)size) < 0) {
      free(table);
      PyErr_NoMemory();
      return NULL;
   }
   table->magicNum = VS_DVMIRROR_MAGIC_NUM;
   table->numSessions = (hyx_uint32)sessions;
   table->numEntities = (hyx_uint32)entities;
   table->numFilterRules = 0;
   table->numFilterIPs = 0;
   return table;
}

TESSEL_EXPORT void free_dvmirror_session_table(DVMirrorSessionTable *table) {
   size_t i;
   if (!table)
      return;
   for (i = 0; i < allocated_count; i++) {
      if (allocated[i].block == (const unsigned char *)table) {
         allocated[i] = allocated[--allocated_count];
         free(table);
         return;
      }
   }
   PyErr_SetString(PyExc_ValueError, "free_dvmirror_session_table: not a table made by "
                                     "alloc_dvmirror_session_table (or freed already)");
}

unsigned long long tessel_mirror_table_needs(const DVMirrorSessionTable *table) {
   return HEADER_SIZE + SESSION_SIZE * table->numSessions + ENTITY_SIZE * table->numEntities +
          (unsigned long long)sizeof(DVMirrorFilterRule) * table->numFilterRules +
          (unsigned long long)sizeof(DVMirrorIpPrefix) * table->numFilterIPs;
}

int tessel_mirror_table_fits(const DVMirrorSessionTable *table, size_t owned_extent,
                             const char *method) {
   allocated_table *known;
   size_t extent = owned_extent;
   unsigned long long needs;
   if (!table)
      return 1;
   known = holding(table);
   if (known && known->block == (const unsigned char *)table)
      extent = known->size;
   if (extent == 0)
      return 1;
   needs = tessel_mirror_table_needs(table);
   if (needs > extent) {
      PyErr_Format(PyExc_ValueError,
                   "in method '%s': the table's header claims %llu bytes but its block holds %zu",
                   method, needs, extent);
      return 0;
   }
   return 1;
}

/* Bytes readable from the table's start: its allocation when the module made
 * it, the header alone when its proxy owns it, otherwise unknown (the
 * header's counts are all there is). */
static unsigned long long known_extent(const DVMirrorSessionTable *table) {
   allocated_table *known = holding(table);
   if (known && known->block == (const unsigned char *)table)
      return known->size;
   if (tessel_mirror_owned_self)
      return HEADER_SIZE;
   return UINT64_MAX;
}

unsigned tessel_mirror_sessions_reachable(const DVMirrorSessionTable *table) {
   unsigned long long extent = known_extent(table), fit;
   unsigned n = table->numSessions;
   if (extent == UINT64_MAX)
      return n;
   fit = extent < HEADER_SIZE ? 0 : (extent - HEADER_SIZE) / SESSION_SIZE;
   return fit < n ? (unsigned)fit : n;
}

unsigned tessel_mirror_entities_reachable(const DVMirrorSessionTable *table) {
   unsigned long long extent = known_extent(table), start, fit;
   unsigned n = table->numEntities;
   if (extent == UINT64_MAX)
      return n;
   start = HEADER_SIZE + SESSION_SIZE * table->numSessions;
   fit = extent < start ? 0 : (extent - start) / ENTITY_SIZE;
   return fit < n ? (unsigned)fit : n;
}

DVMirrorSession *tessel_mirror_first_session(DVMirrorSessionTable *table) {
   return tessel_mirror_session(table, 0);
}

DVMirrorSession *tessel_mirror_session(DVMirrorSessionTable *table, int index) {
   if ((unsigned)index >= tessel_mirror_sessions_reachable(table)) {
      tessel_mirror_invalid_index();
      return NULL;
   }
   return (DVMirrorSession *)((unsigned char *)table + HEADER_SIZE +
                              SESSION_SIZE * (unsigned)index);
}

void tessel_mirror_set_session(DVMirrorSessionTable *table, int index,
                               const DVMirrorSession *session) {
   DVMirrorSession *slot;
   if ((unsigned)index >= tessel_mirror_sessions_reachable(table)) {
      tessel_mirror_invalid_index();
      return;
   }
   slot =
       (DVMirrorSession *)((unsigned char *)table + HEADER_SIZE + SESSION_SIZE * (unsigned)index);
   memmove(slot, session, sizeof(*slot));
}

DVMirrorEntity *tessel_mirror_entity(DVMirrorSessionTable *table, int index) {
   if ((unsigned)index >= tessel_mirror_entities_reachable(table)) {
      tessel_mirror_invalid_index();
      return NULL;
   }
   return (DVMirrorEntity *)((unsigned char *)table + HEADER_SIZE +
                             SESSION_SIZE * table->numSessions + ENTITY_SIZE * (unsigned)index);
}

DVMirrorEntity *tessel_mirror_next_entity(DVMirrorEntity *entity) {
   allocated_table *known = holding(entity);
   if (tessel_mirror_owned_self) {
      /* A Python-owned entity is one record. */
      tessel_mirror_invalid_index();
      return NULL;
   }
   if (known) {
      const DVMirrorSessionTable *table = (const DVMirrorSessionTable *)known->block;
      unsigned long long start = HEADER_SIZE + SESSION_SIZE * table->numSessions;
      unsigned long long at = (unsigned long long)((const unsigned char *)entity - known->block);
      if (at < start || (at - start) % ENTITY_SIZE != 0 ||
          (at - start) / ENTITY_SIZE + 1 >= tessel_mirror_entities_reachable(table)) {
         tessel_mirror_invalid_index();
         return NULL;
      }
   }
   return entity + 1;
}

PyObject *tessel_mirror_entity_text(const DVMirrorEntity *entity) {
   char text[sizeof(DVMirrorEntity)];
   memset(text, 0, sizeof text);
   switch ((unsigned)entity->type) {
   case MIRROR_ENTTYPE_DVPORT:
      memcpy(text, entity->dvPortId, SWIG_strnlen(entity->dvPortId, sizeof(entity->dvPortId)));
      break;
   case MIRROR_ENTTYPE_UPLINK:
      memcpy(text, entity->uplink.string,
             SWIG_strnlen(entity->uplink.string, sizeof(entity->uplink.string)));
      break;
   case MIRROR_ENTTYPE_VLAN:
      snprintf(text, sizeof text, "%u", (unsigned)entity->vlan);
      break;
   case MIRROR_ENTTYPE_IP:
      if (!inet_ntop(entity->ip.isIPv6 ? AF_INET6 : AF_INET, &entity->ip.ipv4, text, sizeof text))
         text[0] = '\0';
      break;
   case MIRROR_ENTTYPE_PORT:
      snprintf(text, sizeof text, "%d", (int)entity->portId);
      break;
   case MIRROR_ENTTYPE_MAC:
      snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", entity->mac[0], entity->mac[1],
               entity->mac[2], entity->mac[3], entity->mac[4], entity->mac[5]);
      break;
   default:
      break;
   }
   return PyUnicode_DecodeUTF8(text, (Py_ssize_t)strlen(text), NULL);
}

void tessel_mirror_entity_parse(DVMirrorEntity *entity, const char *text) {
   unsigned char addr[16];
   switch ((unsigned)entity->type) {
   case MIRROR_ENTTYPE_DVPORT:
      strncpy(entity->dvPortId, text, sizeof(entity->dvPortId));
      break;
   case MIRROR_ENTTYPE_UPLINK:
      strncpy(entity->uplink.string, text, sizeof(entity->uplink.string));
      entity->uplink.string[sizeof(entity->uplink.string) - 1] = '\0';
      break;
   case MIRROR_ENTTYPE_VLAN:
      entity->vlan = (hyx_uint16)strtol(text, NULL, 10);
      break;
   case MIRROR_ENTTYPE_IP:
      if (inet_pton(AF_INET, text, addr) == 1) {
         memcpy(&entity->ip.ipv4, addr, 4);
         entity->ip.isIPv6 = 0;
      } else if (inet_pton(AF_INET6, text, addr) == 1) {
         memcpy(&entity->ip.ipv6, addr, 16);
         entity->ip.isIPv6 = 1;
      }
      break;
   case MIRROR_ENTTYPE_PORT:
      entity->portId = (hyx_uint32)strtol(text, NULL, 10);
      break;
   case MIRROR_ENTTYPE_MAC:
      sscanf(text, "%2hhx:%2hhx:%2hhx:%2hhx:%2hhx:%2hhx", &entity->mac[0], &entity->mac[1],
             &entity->mac[2], &entity->mac[3], &entity->mac[4], &entity->mac[5]);
      break;
   default:
      break;
   }
}

VSDVMirrorAgentWorld *tessel_mirror_world_copy(const VSDVMirrorAgentWorldStats *stats, int index) {
   if (index < 0 || index >= MIRROR_AGENT_WORLD_NUM) {
      tessel_mirror_invalid_index();
      return NULL;
   }
   return tessel_block_copy(&stats->worlds[index], sizeof(VSDVMirrorAgentWorld),
                            "VSDVMirrorAgentWorld");
}
