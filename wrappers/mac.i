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

/* Set and Clear read count packed records from entries: a count beyond the
   records left in the block of entries (one for a VSMACEntry Python made, a
   table's entries from the view's position on) is refused before the host
   is called. */
%tessel_counted(hyx_uint32 count, VSMACEntry const *entries)

/* The tables' extents, from their headers. */
%tessel_table(VSMACTable, numEntries, VSMACEntry)
%tessel_table(VSMACLearningStats, numEntries, VSPMACLearningStatsPortInfo)
%tessel_table(VSMACLearningEntries, numEntries, VSPMACLearningInfo)
%tessel_table(VSL2Security, numEntries, VSPropSecurityPortInfo)
%tessel_table(VSStaticLeCtxEntries, numEntries, VSStaticLEEntry)

%tessel_element_copy(VSMACEntry)
%tessel_element_copy(VSPMACLearningStatsPortInfo)
%tessel_element_copy(VSPMACLearningInfo)
%tessel_element_copy(VSPropSecurityPortInfo)
%tessel_element_copy(VSStaticLEEntry)
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
