/* Helpers of the tunnel-endpoint and RDMA extension methods. */
#include "extensions/overlay_helpers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <string.h>

#include "module/conv.h"

PyObject *tessel_ipv4_text(const void *addr) {
   struct in_addr in;
   memcpy(&in.s_addr, addr, sizeof in.s_addr);
   return PyUnicode_FromString(inet_ntoa(in));
}

PyObject *tessel_ipv6_text(const void *addr) {
   char text[46];
   struct in6_addr in6;
   memcpy(&in6, addr, sizeof in6);
   if (!inet_ntop(AF_INET6, &in6, text, sizeof text))
      return PyErr_SetFromErrno(PyExc_OSError);
   return PyUnicode_FromString(text);
}

PyObject *tessel_tenant_text(const char *field) {
   return PyUnicode_DecodeUTF8(field, (Py_ssize_t)SWIG_strnlen(field, VS_RDMA_TENANT_ID_LEN), NULL);
}

VSRdmaID *tessel_rdma_slot(VSSetRdmaEntry *entry, int slot) {
   if (slot < 0 || slot >= VS_RDMA_MAX_IDS) {
      tessel_print_diagnostic("Invalid array index.\n");
      return NULL;
   }
   return (VSRdmaID *)((char *)entry + offsetof(VSSetRdmaEntry, ids) +
                       (size_t)slot * sizeof(VSRdmaID));
}

void tessel_store_address_word(void *addr, int k, hyx_uint32 word) {
   if (k < 0 || k > 3) {
      tessel_print_diagnostic("Invalid array index.\n");
      return;
   }
   memcpy((char *)addr + (size_t)k * sizeof word, &word, sizeof word);
}
