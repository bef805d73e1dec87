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
   if (!table) {
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

TESSEL_EXPORT void free_dvmirror_session_table(DVMirrorSessionTable *table) { free(table); }

unsigned long long tessel_mirror_table_needs(const DVMirrorSessionTable *table) {
   return HEADER_SIZE + SESSION_SIZE * table->numSessions + ENTITY_SIZE * table->numEntities +
          (unsigned long long)sizeof(DVMirrorFilterRule) * table->numFilterRules +
          (unsigned long long)sizeof(DVMirrorIpPrefix) * table->numFilterIPs;
}

/* How many of count records of size bytes, starting offset bytes into a
 * block of extent bytes, lie in the block. */
static unsigned fitting(unsigned count, unsigned long long offset, unsigned long long size,
                        size_t extent) {
   unsigned long long fit;
   if (extent == SIZE_MAX)
      return count;
   fit = extent < offset ? 0 : (extent - offset) / size;
   return fit < count ? (unsigned)fit : count;
}

DVMirrorSession *tessel_mirror_session(DVMirrorSessionTable *table, size_t extent, int index) {
   if ((unsigned)index >= fitting(table->numSessions, HEADER_SIZE, SESSION_SIZE, extent)) {
      tessel_mirror_invalid_index();
      return NULL;
   }
   return (DVMirrorSession *)((unsigned char *)table + HEADER_SIZE +
                              SESSION_SIZE * (unsigned)index);
}

void tessel_mirror_set_session(DVMirrorSessionTable *table, size_t extent, int index,
                               const DVMirrorSession *session) {
   DVMirrorSession *slot = tessel_mirror_session(table, extent, index);
   if (slot)
      memmove(slot, session, sizeof(*slot));
}

DVMirrorEntity *tessel_mirror_entity(DVMirrorSessionTable *table, size_t extent, int index) {
   unsigned long long start = HEADER_SIZE + SESSION_SIZE * table->numSessions;
   if ((unsigned)index >= fitting(table->numEntities, start, ENTITY_SIZE, extent)) {
      tessel_mirror_invalid_index();
      return NULL;
   }
   return (DVMirrorEntity *)((unsigned char *)table + start + ENTITY_SIZE * (unsigned)index);
}

DVMirrorEntity *tessel_mirror_next_entity(DVMirrorEntity *entity, size_t extent) {
   if (extent != SIZE_MAX && extent < 2 * ENTITY_SIZE) {
      tessel_mirror_invalid_index();
      return NULL;
   }
   return entity + 1;
}

unsigned tessel_mirror_list_reachable(unsigned count, size_t extent, size_t width) {
   return fitting(count, 8, width, extent);
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
