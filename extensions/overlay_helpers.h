/* Helpers of the tunnel-endpoint and RDMA extension methods: address texts,
 * tenant ids and the slots of an RDMA request. */
#ifndef TESSEL_EXTENSIONS_OVERLAY_HELPERS_H
#define TESSEL_EXTENSIONS_OVERLAY_HELPERS_H

#include <Python.h>

#include "hostapi/overlay.h"

/* The four bytes at addr, in memory order, as a dotted-decimal IPv4
 * address. */
PyObject *tessel_ipv4_text(const void *addr);
/* The sixteen bytes at addr as an IPv6 address in its standard text form. */
PyObject *tessel_ipv6_text(const void *addr);
/* A tenant id field: its bytes up to the first NUL, at most
 * VS_RDMA_TENANT_ID_LEN, decoded strictly as UTF-8. */
PyObject *tessel_tenant_text(const char *field);

/* Slot slot (0..31) of the request's ids, or NULL after an "Invalid array
 * index." line. */
VSRdmaID *tessel_rdma_slot(VSSetRdmaEntry *entry, int slot);
/* Stores word in host order as word k (0..3) of the 16 address bytes at
 * addr; any other k changes nothing: an "Invalid array index." line. */
void tessel_store_address_word(void *addr, int k, hyx_uint32 word);

#endif
