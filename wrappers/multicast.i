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

/* Tables the host hands out, with their extents: the width of an address
   follows from the mode the call was given (argument 3, for the port's
   filters and for the statistics); the legacy keys count in one byte. */
%typemap(argout, noblock=1) VSMcastFilters **filters {
  {
    PyObject *out = temp$argnum ? tessel_host_pointer(temp$argnum, $*descriptor, sizeof(VSMcastFilters) + (size_t)temp$argnum->numEntries * tessel_mcast_width((int)arg3)) : SWIG_Py_Void();
    if (!out) SWIG_fail;
    %append_output(out);
  }
}
%typemap(argout, noblock=1) VSMcastFilterStats **stats {
  {
    PyObject *out = temp$argnum ? tessel_host_pointer(temp$argnum, $*descriptor, sizeof(VSMcastFilterStats) + (size_t)temp$argnum->numEntries * tessel_mcast_width((int)arg3)) : SWIG_Py_Void();
    if (!out) SWIG_fail;
    %append_output(out);
  }
}
%typemap(argout, noblock=1) VSUserMcastLegacyKeys **keys {
  {
    PyObject *out = temp$argnum ? tessel_host_pointer(temp$argnum, $*descriptor, sizeof(VSUserMcastLegacyKeys) + (size_t)temp$argnum->numEntries * 6) : SWIG_Py_Void();
    if (!out) SWIG_fail;
    %append_output(out);
  }
}
%tessel_table(VSMcastSwitchFilters, numEntries, VSPMcastFilter)

%tessel_element_copy(VSPMcastFilter)

%include "hostapi/multicast.h"

%clear unsigned char macEntry[6], VSMcastFilterMode *mode, VSMcastFilters **filters,
       VSMcastSwitchFilters **filters, VSMcastFilterStats **stats, VSUserMcastLegacyKeys **keys,
       char *group;

/* Text forms of one address of a table; the index is kept below the
   table's numEntries and inside its block where the module knows it:
   outside, "Invalid array index." and None. */
%extend VSMcastFilters {
  PyObject *get_mac_entry(int index) {
    return tessel_mcast_entry_text((const unsigned char *)$self->macEntries, $self->numEntries, tessel_receiver_extent, (size_t)((const char *)$self->macEntries - (const char *)$self), index, 6);
  }
  PyObject *get_ip_entry(int index) {
    return tessel_mcast_entry_text((const unsigned char *)$self->ipv4Entries, $self->numEntries, tessel_receiver_extent, (size_t)((const char *)$self->ipv4Entries - (const char *)$self), index, 4);
  }
  PyObject *get_ipv6_entry(int index) {
    return tessel_mcast_entry_text((const unsigned char *)$self->ipv6Entries, $self->numEntries, tessel_receiver_extent, (size_t)((const char *)$self->ipv6Entries - (const char *)$self), index, 16);
  }
}

%extend VSMcastFilterStats {
  PyObject *get_ip_entry(int index) {
    return tessel_mcast_entry_text((const unsigned char *)$self->ipv4Entries, $self->numEntries, tessel_receiver_extent, (size_t)((const char *)$self->ipv4Entries - (const char *)$self), index, 4);
  }
  PyObject *get_ipv6_entry(int index) {
    return tessel_mcast_entry_text((const unsigned char *)$self->ipv6Entries, $self->numEntries, tessel_receiver_extent, (size_t)((const char *)$self->ipv6Entries - (const char *)$self), index, 16);
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
    return tessel_mcast_entry_text((const unsigned char *)$self->multicastAddrs, $self->numEntries, tessel_receiver_extent, (size_t)((const char *)$self->multicastAddrs - (const char *)$self), index, 6);
  }
}
