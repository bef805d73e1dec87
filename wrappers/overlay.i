/* Overlay and RDMA tables: remote tunnel endpoints, RDMA identifiers and
 * requests, the RDMA and tenant tables, and the switch's RDMA settings. */

%{
#include "hostapi/overlay.h"
#include "extensions/overlay_helpers.h"
%}

%tessel_record(VSRemoteTepEntry)
%tessel_record(VSRemoteTepEntries)
%tessel_record(VSGetRemoteTepTable)
%tessel_record(VSRdmaID)
%tessel_record(VSSetRdmaEntry)
%tessel_record(VSGetRdmaEntry)
%tessel_record(VSTenantEntry)
%tessel_record(VSRdmaEntries)
%tessel_record(VSTenantEntries)
%tessel_record(VSGetRdmaTable)
%tessel_record(VSGetTenantTable)

%apply unsigned char MAC_TEXT[6] { unsigned char dstMAC[6] };
%apply SWIGTYPE **OUTPUT { VSRemoteTepEntries **table, VSRdmaEntries **table, VSTenantEntries **table };

/* A tenant id is text (a NUL in it is refused like in any text argument);
   None would be read through, so it is refused as well. */
%typemap(check, noblock=1) char const *tenant {
  if (!$1) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '$symname', argument $argnum of type '$type'");
  }
}

/* The tables' extents, from their headers. */
%tessel_table(VSRemoteTepEntries, numEntries, VSRemoteTepEntry)
%tessel_table(VSRdmaEntries, numEntries, VSGetRdmaEntry)
%tessel_table(VSTenantEntries, numEntries, VSTenantEntry)

%tessel_element_copy(VSRemoteTepEntry)
%tessel_element_copy(VSRdmaID)
%tessel_element_copy(VSGetRdmaEntry)
%tessel_element_copy(VSTenantEntry)

%include "hostapi/overlay.h"

%clear VSRemoteTepEntries **table, VSRdmaEntries **table, VSTenantEntries **table;

%extend VSRemoteTepEntry {
  /* Sets dstMAC from the first six bytes of a byte buffer. */
  void set_mac_address(unsigned char *mac_str, size_t mac_len) {
    (void)mac_len;
    memcpy(self->dstMAC, mac_str, 6);
  }
  PyObject *get_mac_entry() { return tessel_mac_text(self->dstMAC); }
  /* The 32-bit pattern of address, in host order, as dstIPv4. */
  void set_ipv4_address(int address) {
    memcpy(self, &address, sizeof address);
  }
  PyObject *get_ipv4_entry() { return tessel_ipv4_text(self); }
  /* Word k (0..3) of dstIPv6; any other k changes nothing: an "Invalid array
     index." line. */
  void set_ipv6_address(int k, hyx_uint32 word) {
    tessel_store_address_word(self, k, word);
  }
  PyObject *get_ipv6_entry() { return tessel_ipv6_text(self); }
}

%extend VSRdmaID {
  PyObject *get_ipv4_entry() { return tessel_ipv4_text(self); }
  PyObject *get_ipv6_entry() { return tessel_ipv6_text(self); }
}

/* The slot setters write slot 0..31 of ids; any other slot (and an IPv6 word
   index outside 0..3) changes nothing: an "Invalid array index." line. */
%extend VSSetRdmaEntry {
  /* Copies up to 8 bytes of tenant into tenantID, zero-filled behind a
     shorter text; a text of 8 bytes or more leaves no terminating NUL. */
  void set_tenant_id(char const *tenant) {
    strncpy(self->tenantID, tenant, sizeof(self->tenantID));
  }
  void set_ipv4_address(int slot, int address) {
    VSRdmaID *id = tessel_rdma_slot(self, slot);
    if (id) memcpy(id, &address, sizeof address);
  }
  void set_ipv6_address(int slot, int k, hyx_uint32 word) {
    VSRdmaID *id = tessel_rdma_slot(self, slot);
    if (id) tessel_store_address_word(id, k, word);
  }
  void set_id_type(int slot, hyx_uint16 type) {
    VSRdmaID *id = tessel_rdma_slot(self, slot);
    if (id) memcpy((char *)id + offsetof(VSRdmaID, idType), &type, sizeof type);
  }
  void set_vlan_id(int slot, hyx_uint16 vlan) {
    VSRdmaID *id = tessel_rdma_slot(self, slot);
    if (id) memcpy((char *)id + offsetof(VSRdmaID, vlanID), &vlan, sizeof vlan);
  }
}

%extend VSGetRdmaEntry {
  PyObject *get_tenant_id() { return tessel_tenant_text(self->tenantID); }
}

%extend VSTenantEntry {
  PyObject *get_tenant_id() { return tessel_tenant_text(self->tenantID); }
}
