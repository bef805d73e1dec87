/* MAC forwarding and learning: MAC tables and entries, MAC learning
 * configuration and statistics, layer-2 security, static LE contexts. */

%{
#include "hostapi/mac.h"
#include "extensions/mac_helpers.h"
%}

%tessel_record(VSMACEntry)
%tessel_record(VSMACTable)
%tessel_record(VSMACEntries)
%tessel_record(VSMACGetDynamic)
%tessel_record(VSPMACLearning)
%tessel_record(VSPMACLearningStats)
%tessel_record(VSPMACLearningStatsPortInfo)
%tessel_record(VSMACLearningStats)
%tessel_record(VSPMACLearningInfo)
%tessel_record(VSMACLearningEntries)
%tessel_record(VSPropSecurity)
%tessel_record(VSPropSecurityPortInfo)
%tessel_record(VSL2Security)
%tessel_record(VSMACLearningGlobalProps)
%tessel_record(VSMACLearningSwitchInfo)
%tessel_record(VSPropMACLearning)
%tessel_record(VSPMACManagement)
%tessel_record(VSStaticLEEntry)
%tessel_record(VSStaticLeCtxEntries)

%types(VSMACAddrType *, VSMacTableType *, VSPortMACLearningLimitPolicy *);
/* The switch summary declares these tables ahead of their definitions; their
   out-slot descriptors answer to the tagged spelling too. */
%types(struct VSMACLearningEntries **, struct VSMACLearningStats **, struct VSL2Security **);

%apply unsigned char MAC_TEXT[6] { unsigned char macAddress[6] };

/* Tables and values the library hands back through out slots. */
%apply SWIGTYPE **OUTPUT { VSMACTable **table, VSMACLearningEntries **table,
                           VSMACLearningStats **table, VSL2Security **table,
                           VSStaticLeCtxEntries **entries };
%apply int *OUTPUT { int *result };
%apply char *OUTPUT { hyx_Bool *learnStatic, hyx_Bool *staticMACAllow };

/* Set and Clear read count packed records from entries.  A record Python
   owns (new_VSMACEntry, or a copy from VSMACEntry___getitem__) is exactly one
   entry, so a larger count would make the host read past it: such a call is
   refused before the host is called.  A table's macEntries view is passed
   as is; its length is the table's. */
%typemap(in, noblock=1) VSMACEntry const *entries (void *argp = 0, int res = 0, int own = 0) {
  res = SWIG_ConvertPtrAndOwn($input, &argp, $descriptor, 0, &own);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  $1 = ($ltype)argp;
}
/* In both functions the count (argument 3) comes just before entries. */
%typemap(check, noblock=1) VSMACEntry const *entries {
  if ((own$argnum & SWIG_POINTER_OWN) && arg3 > 1) {
    PyErr_Format(PyExc_ValueError, "in method '$symname': count %u is more than the one entry a VSMACEntry holds", (unsigned)arg3);
    SWIG_fail;
  }
}

%tessel_element_copy(VSMACEntry)
%tessel_element_copy(VSPMACLearningStatsPortInfo)
%tessel_element_copy(VSPMACLearningInfo)
%tessel_element_copy(VSPropSecurityPortInfo)
/* Static LE contexts: a Python-owned entry is one record (see
   %tessel_bounded_element_copy in vlan.i). */
%tessel_bounded_element_copy(VSStaticLEEntry)
%tessel_nested_copy(VSPMACLearningStatsPortInfo, get_mac_learning_stats, VSPMACLearningStats, portStats)
%tessel_nested_copy(VSPMACLearningStatsPortInfo, get_cached_stats, VSPCacheStatsInfo, cacheStats)
%tessel_nested_copy(VSPMACLearningInfo, get_mac_learning_config, VSPMACLearning, portMACLearning)
%tessel_nested_copy(VSPropSecurityPortInfo, get_port_sec, VSPropSecurity, l2SecPortInfo)

%include "hostapi/mac.h"

%clear VSMACTable **table, VSMACLearningEntries **table, VSMACLearningStats **table,
       VSL2Security **table, VSStaticLeCtxEntries **entries, int *result, hyx_Bool *learnStatic, hyx_Bool *staticMACAllow;

%extend VSMACEntry {
  /* Sets macAddress from the first six bytes of a byte buffer. */
  void set_mac_address(unsigned char *mac_str, size_t mac_len) {
    (void)mac_len;
    tessel_set_mac(self->macAddress, mac_str);
  }
}

%extend VSMACEntries {
  /* Sets row index (0..24) of the block from the first six bytes of a byte
     buffer; any other index writes nothing: an "Invalid array index." line. */
  void set_mac_address(int index, unsigned char *mac_str, size_t mac_len) {
    (void)mac_len;
    tessel_macentries_set(self, index, mac_str);
  }
}

%fragment(SWIG_From_frag(unsigned long long));
%extend VSStaticLEEntry {
  /* Sets macAddress from the first six bytes of a byte buffer. */
  void set_mac_address(unsigned char *mac_str, size_t mac_len) {
    (void)mac_len;
    tessel_set_mac(self->macAddress, mac_str);
  }
  /* Word index (0..63) of the VLAN bitmap, as an unsigned int; any other
     index reads nothing: an "Invalid array index." line and None. */
  PyObject *vlan_get_values(int index) {
    uint64_t word = 0;
    if (!tessel_bitmap_word(&self->vlanBitmap, index, &word)) return SWIG_Py_Void();
    return SWIG_From_unsigned_SS_long_SS_long((unsigned long long)word);
  }
}
