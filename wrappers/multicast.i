/* Multicast filtering: filter modes, the group filters of a port and of a
 * switch, their source-filter statistics and the user legacy entries. */

%{
#include "hostapi/multicast.h"
#include "extensions/multicast_helpers.h"
%}

%tessel_record(VSPMcastFilter)
%tessel_record(VSMcastFilters)
%tessel_record(VSMcastSwitchFilters)
%tessel_record(VSMcastFilterStats)
%tessel_record(VSUserMcastLegacyKeys)

%types(VSMcastFilterMode *, VSMcastSrcIPFilterMode *);

%apply unsigned char MAC_TEXT[6] { unsigned char macEntry[6] };
%apply int *OUTPUT { VSMcastFilterMode *mode };
%apply SWIGTYPE **OUTPUT { VSMcastFilters **filters, VSMcastSwitchFilters **filters,
                           VSMcastFilterStats **stats, VSUserMcastLegacyKeys **keys };

/* The group of a statistics query: a bytes object, whose buffer (with the
   NUL every bytes object ends in) is passed as is for the call. */
%typemap(in, noblock=1) char *group {
  if (!PyBytes_Check($input)) {
    SWIG_exception_fail(SWIG_TypeError, "in method '$symname', argument $argnum of type 'char *'");
  }
  $1 = PyBytes_AS_STRING($input);
}

/* Whether the table a text method is given is owned by its Python proxy: a
   header made by new_<Record> has no entries behind it, whatever its count
   says. */
%define %tessel_mcast_note_owned(TYPE)
%typemap(in, noblock=1) TYPE *self (void *argp = 0, int res = 0, int own = 0), struct TYPE *self (void *argp = 0, int res = 0, int own = 0) {
  res = SWIG_ConvertPtrAndOwn($input, &argp, $descriptor, $disown, &own);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  $1 = ($ltype)argp;
  tessel_mcast_owned_self = (own & SWIG_POINTER_OWN) != 0;
}
%enddef
%tessel_mcast_note_owned(VSMcastFilters)
%tessel_mcast_note_owned(VSMcastFilterStats)
%tessel_mcast_note_owned(VSUserMcastLegacyKeys)

%tessel_element_copy(VSPMcastFilter)

%include "hostapi/multicast.h"

%clear unsigned char macEntry[6], VSMcastFilterMode *mode, VSMcastFilters **filters,
       VSMcastSwitchFilters **filters, VSMcastFilterStats **stats, VSUserMcastLegacyKeys **keys,
       char *group;

/* Text forms of one address of a table; the index is kept below the
   table's numEntries: outside, "Invalid array index." and None. */
%extend VSMcastFilters {
  PyObject *get_mac_entry(int index) {
    return tessel_mcast_entry_text((const unsigned char *)$self->macEntries, $self->numEntries, index, 6);
  }
  PyObject *get_ip_entry(int index) {
    return tessel_mcast_entry_text((const unsigned char *)$self->ipv4Entries, $self->numEntries, index, 4);
  }
  PyObject *get_ipv6_entry(int index) {
    return tessel_mcast_entry_text((const unsigned char *)$self->ipv6Entries, $self->numEntries, index, 16);
  }
}

%extend VSMcastFilterStats {
  PyObject *get_ip_entry(int index) {
    return tessel_mcast_entry_text((const unsigned char *)$self->ipv4Entries, $self->numEntries, index, 4);
  }
  PyObject *get_ipv6_entry(int index) {
    return tessel_mcast_entry_text((const unsigned char *)$self->ipv6Entries, $self->numEntries, index, 16);
  }
}

%extend VSPMcastFilter {
  PyObject *get_mac_entry() {
    return tessel_mac_text($self->macEntry);
  }
  PyObject *get_ip_entry() {
    return tessel_ipv4_text(&$self->ipv4Entry);
  }
  PyObject *get_ipv6_entry() {
    return tessel_ipv6_text($self->ipv6Entry);
  }
}

%extend VSUserMcastLegacyKeys {
  PyObject *get_mac_entry(int index) {
    return tessel_mcast_entry_text((const unsigned char *)$self->multicastAddrs, $self->numEntries, index, 6);
  }
}
