/* Switch enumeration and switch summary, with the base library's status
 * text and Panic; the kernel API's basic records and the packet header
 * records. */

%{
#include "hostapi/kernel.h"
#include "hostapi/kernel_packets.h"
#include "extensions/kernel_helpers.h"
%}

%tessel_record(VSList)
%tessel_record(VSForwardingMode)
%tessel_record(VSInfo)
%tessel_record(VSwitchEntriesInfo)

%tessel_record(hyx_Name)
%tessel_record(hyx_String)
%tessel_record(hyx_ListLinks)
%tessel_record(hyx_SList_Links)
%tessel_record(hyx_SList)
%tessel_record(hyx_MgmtCallbackInfo)
%tessel_record(hyx_MgmtApiSignature)
%tessel_record(hyx_MgmtVectorParm)
%tessel_record(hyx_MgmtInstances)
%tessel_record(hyx_IntrInfo)
%tessel_record(hyx_Attribute)
%tessel_record(hyx_LinkStatus)
%tessel_record(hyx_PortsetResPoolCfg)
%tessel_record(hyx_PortsetResPoolStats)
%tessel_record(hyx_ZARPortStatus)
%tessel_record(hyx_ZARPortStatistics)
%tessel_record(hyx_ZARPortVIDRange)
%tessel_record(hyx_ZARPortVlanInfo)
%tessel_record(hyx_SocketAddress)
%tessel_record(hyx_SocketIPAddressAddr)
%tessel_record(hyx_SocketIPAddress)
%tessel_record(hyx_SocketIPv6AddressAddr)
%tessel_record(hyx_SocketIPv6AddressAddr___u6_addr)
%tessel_record(hyx_SocketIPv6Address)

%tessel_record(hyx_EthHdr)
%tessel_record(hyx_VLANHdr)
%tessel_record(hyx_ArpHdr)
%tessel_record(hyx_IPv4Hdr)
%tessel_record(hyx_IPv6Hdr)
%tessel_record(hyx_IPv6ExtHdr)
%tessel_record(hyx_ICMPHdr)
%tessel_record(hyx_IGMPHdr)
%tessel_record(hyx_IGMPv3QueryHdr)
%tessel_record(hyx_IGMPv3GrpRecord)
%tessel_record(hyx_IGMPv3ReportHdr)
%tessel_record(hyx_MLDHdr)
%tessel_record(hyx_MLDv2QueryHdr)
%tessel_record(hyx_MLDv2GrpRecord)
%tessel_record(hyx_MLDv2ReportHdr)
%tessel_record(hyx_UDPHdr)
%tessel_record(hyx_TCPHdr)
%tessel_record(hyx_ESPHdr)
%tessel_record(hyx_FenceHdr)
%tessel_record(hyx_VXLANHdr)
%tessel_record(hyx_GREHdr)
%tessel_record(hyx_GeneveHdr)
%tessel_record(hyx_GeneveOptionHdr)
%tessel_record(hyx_PIMHdr)
%tessel_record(hyx_MPLSHdr)

%tessel_spelling("_p_hyx_MgmtParm", "enum hyx_MgmtParm *|hyx_MgmtParmType *")
%tessel_spelling("_p___builtin_va_list", "__builtin_va_list *|__gnuc_va_list *|va_list *")
%tessel_spelling("_p_PktHandle", "struct PktHandle *|hyx_PktHandle *")
%tessel_spelling("_p_Portset", "struct Portset *|hyx_Portset *")

/* Descriptors of the kernel's opaque handles, its variadic list and the
 * port client name, which every module of this API has. */
%{
#include <stdarg.h>
%}
typedef __builtin_va_list __gnuc_va_list;
typedef __gnuc_va_list va_list;
%types(hyx_PktHandle *, hyx_Portset *, va_list *, hyx_PortClientName *);

/* The enumerations' own descriptors, for pointers to enumeration values. */
%types(VSListType *, ForwardingMode *, hyx_MgmtCallbackLocation *, hyx_IntrTriggerType *,
       hyx_IntrPolarityType *, hyx_AttrType *, hyx_LinkState *, hyx_LinkDuplex *,
       hyx_ZARPortStatusFlag *);

/* Variable-length tails of the packet headers: a view of the bytes after the
   fixed part, with nothing to copy into. */
%immutable hyx_IGMPv3QueryHdr::sourcesIPv4;
%immutable hyx_IGMPv3GrpRecord::sourcesIPv4;
%immutable hyx_IGMPv3ReportHdr::record;
%immutable hyx_MLDv2QueryHdr::sourcesIPv6;
%immutable hyx_MLDv2GrpRecord::sourcesIPv6;
%immutable hyx_MLDv2ReportHdr::record;

/* The address union is read in place, like a nested union. */
%immutable hyx_SocketIPv6AddressAddr::__u6_addr;

/* The host writes a switch id of up to VS_DVS_SWITCH_ID_LEN bytes over the
   text it is given. */
%tessel_host_writable_text(switchId, VS_DVS_SWITCH_ID_LEN)

/* Panic's text reaches the host as literal text: every '%' is doubled, since
   the host formats it as printf does with no arguments.  The copy is freed
   on every path, the abandoned call included. */
%typemap(in, noblock=1, fragment="tessel_text") char const *PANIC_TEXT (char *buf = 0, int alloc = 0, int res = 0, tessel_arg targ = {0, 0}) {
  res = tessel_as_text($input, &buf, 0, 0, &alloc, &targ);
  if (!SWIG_IsOK(res)) {
    tessel_pointer_fail(res, "in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'", targ.extent, 0);
    SWIG_fail;
  }
  if (buf) {
    buf = tessel_escape_format(buf);
    alloc = 1;
    if (!buf) SWIG_exception_fail(SWIG_MemoryError, "in method '$symname', argument $argnum of type '$type'");
  }
  $1 = buf;
}
%typemap(freearg, noblock=1, match="in") char const *PANIC_TEXT {
  if (alloc$argnum) free(buf$argnum);
  Py_XDECREF(targ$argnum.keep);
}
%apply char const *PANIC_TEXT { char const *fmt };

/* The host's release calls. */
%apply void *HOST_RELEASE { void *mem };

%include "hostapi/kernel.h"
%include "hostapi/kernel_packets.h"

%clear char const *fmt;
%clear void *mem;

/* The list is owned by Python: a block of its header and slots. */
%typemap(out, noblock=1) VSList *VSHYX_GetSwitchesPy {
  %set_output($1 ? tessel_new_block(%as_voidptr($1), $descriptor, SWIG_POINTER_OWN, tessel_vslist_size($1)) : SWIG_Py_Void());
  if (!$result) SWIG_fail;
}
VSList *VSHYX_GetSwitchesPy(VSListType listType);
void free_switches(VSList *RELEASE);
%apply SWIGTYPE *UNOWNED_BLOCK { VSInfo *alloc_vs_info };
VSInfo *alloc_vs_info(void);
void free_vs_info(VSInfo *RELEASE);

%extend VSList {
  /* The entry text, or None after an "Invalid array index" line for an
     index outside 0..count-1 or a slot past the end of the list's block. */
  PyObject *__getitem__(int index) {
    size_t len = 0;
    const char *text = tessel_vslist_entry($self, tessel_receiver_extent, index, &len);
    if (!text) {
      tessel_print_invalid_index();
      return SWIG_Py_Void();
    }
    return SWIG_FromCharPtrAndSize(text, len);
  }
}

/* The name's text: the bytes up to the first NUL, never more than 32; None
   for a missing record. */
%tessel_accepts_missing_record(hyx_Name::__repr__);
%extend hyx_Name {
  PyObject *__repr__() {
    if (tessel_take_missing_record()) return SWIG_Py_Void();
    return SWIG_FromCharPtrAndSize($self->string, SWIG_strnlen($self->string, sizeof($self->string)));
  }
}

%extend VSInfo {
  /* The use count of one VLAN id; for an id outside 0..4095 nothing is read:
     an "Invalid array index" line and None. */
  PyObject *vlan_get_use_count(int vlan) {
    unsigned count = 0;
    if (!tessel_vsinfo_vlan_use_count($self, vlan, &count)) {
      tessel_print_invalid_index();
      return SWIG_Py_Void();
    }
    return SWIG_From_unsigned_SS_int(count);
  }
}
