/* Uplinks, NIC teaming and link aggregation: the live uplink table and link
 * state, the configured uplink ports of a distributed switch, switch and
 * port teaming policies, logical-switch teaming tables and LAG tables. */

%{
#include "hostapi/teaming.h"
#include "extensions/teaming_helpers.h"
%}

%tessel_record(VSUplinks_entries)
%tessel_record(VSUplinks)
%tessel_record(VSUplinkPorts)
%tessel_record(VSUplinkPortIds)
%tessel_record(VSTeamPolicy)
%tessel_record(VSServicePortTeamingStats)
%tessel_record(LSTeamPolicy)
%tessel_record(LSTeamTable)
%tessel_record(VSLAGStatus)
%tessel_record(VSLAGTable)

%tessel_spelling("_p_a__32_4___8__char", "char (*)[(32*4) +8]|LSTeamPolicyName *")

/* The entries of the live uplink table are read in place. */
%immutable VSUplinks::entries;

/* Out-values: the library's tables, link states, flags and bounded texts. */
%apply SWIGTYPE **OUTPUT { VSUplinks **uplinks, VSUplinkPorts **ports, VSUplinkPortIds **portIds,
                           LSTeamTable **table, VSLAGTable **table };
%apply int *OUTPUT { hyx_LinkState *state };
%apply char *OUTPUT { hyx_Bool *txUplinkAlways };
%tessel_bounded_output(dvPortId, VS_UPLINK_PORT_ID_LEN)
%tessel_bounded_output(overrideUplink, VS_UPLINK_PORT_NAME_LEN)
%tessel_bounded_output(chosenPolicy, VS_LS_TEAM_POLICY_NAME_LEN)

/* The record methods below learn whether Python owns their record (the own
   flag of its pointer object), so they can bound what they touch by the
   block the module made. */
%define %tessel_owned_self(TYPE)
%typemap(in, noblock=1) struct TYPE *self (void *argp = 0, int res = 0, int own = 0) {
  res = SWIG_ConvertPtrAndOwn($input, &argp, $descriptor, 0, &own);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  $1 = ($ltype)argp;
}
%typemap(in, numinputs=0, noblock=1) size_t TYPE ## _EXTENT {
  $1 = TESSEL_EXTENT_UNKNOWN;
}
/* After every argument is converted: the record and its own flag are known. */
%typemap(check, noblock=1) size_t TYPE ## _EXTENT {
  $1 = tessel_extent_of(arg1, own1 & SWIG_POINTER_OWN, sizeof(TYPE));
}
%enddef
%tessel_owned_self(VSUplinks)
%tessel_owned_self(VSUplinkPorts)
%tessel_owned_self(VSUplinkPortIds)
%tessel_owned_self(LSTeamTable)
%tessel_owned_self(VSLAGStatus)
%tessel_owned_self(VSLAGTable)

/* A list or table given to the host: one the module made (or a record Python
   owns) must hold the count it claims, or the host would read past it. */
%define %tessel_bounded_table(TYPE, PARAM, COUNT_FIELD, HEADER, SLOT)
%typemap(in, noblock=1) TYPE const *PARAM (void *argp = 0, int res = 0, int own = 0) {
  res = SWIG_ConvertPtrAndOwn($input, &argp, $descriptor, 0, &own);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  $1 = ($ltype)argp;
  if ($1) {
    hyx_uint32 count;
    size_t extent = tessel_extent_of($1, own & SWIG_POINTER_OWN, sizeof(TYPE));
    memcpy(&count, (const char *)$1 + offsetof(TYPE, COUNT_FIELD), sizeof count);
    if (tessel_slots_within(count, extent, HEADER, SLOT) < count) {
      PyErr_Format(PyExc_ValueError, "in method '$symname': the " #TYPE " holds fewer than the %u entries its count claims", (unsigned)count);
      SWIG_fail;
    }
  }
}
%enddef
%tessel_bounded_table(VSUplinkPorts, ports, nUplinkPorts, 4, VS_UPLINK_PORT_NAME_LEN)
%tessel_bounded_table(VSUplinkPortIds, portIds, nUplinkPorts, 4, VS_UPLINK_PORT_ID_LEN)
%tessel_bounded_table(LSTeamTable, table, numLSTeam, 4, sizeof(LSTeamPolicy))

/* A text written into a slot must be there and be text: None and a str
   with a NUL inside (whose tail the slot would silently lose) are refused. */
%typemap(in, noblock=1, fragment="SWIG_AsCharPtrAndSize") char const *text (char *buf = 0, size_t size = 0, int alloc = 0) {
  {
    int res = SWIG_AsCharPtrAndSize($input, &buf, &size, &alloc);
    if (!SWIG_IsOK(res) || !buf || (size > 0 && memchr(buf, 0, size - 1))) {
      SWIG_exception_fail(SWIG_IsOK(res) ? SWIG_TypeError : SWIG_ArgError(res), "in method '$symname', argument $argnum of type '$1_type'");
    }
    $1 = buf;
  }
}
%typemap(freearg, noblock=1) char const *text {
  if (alloc$argnum == SWIG_NEWOBJ) free(buf$argnum);
}
%typemap(check, noblock=1) LSTeamPolicy const *policy {
  if (!$1) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '$symname', argument $argnum of type '$1_type'");
  }
}

%include "hostapi/teaming.h"

%clear VSUplinks **uplinks, VSUplinkPorts **ports, VSUplinkPortIds **portIds, LSTeamTable **table,
       VSLAGTable **table, hyx_LinkState *state, hyx_Bool *txUplinkAlways, char *dvPortId,
       char *overrideUplink, char *chosenPolicy, VSUplinkPorts const *ports,
       VSUplinkPortIds const *portIds, LSTeamTable const *table;

LSTeamTable *alloc_ls_team_table(int n);
void free_ls_team_table(LSTeamTable *t);

/* Sized constructors: new_<table>(n) makes a cleared table of n slots with
   its count set (n = 0 without an argument); None when it cannot be made. */
%feature("compactdefaultargs") VSUplinks::VSUplinks;
%feature("compactdefaultargs") VSUplinkPorts::VSUplinkPorts;
%feature("compactdefaultargs") VSUplinkPortIds::VSUplinkPortIds;

/* Sequence access to fixed-width name slots.  The bound is the count field,
   and for a table the module made, also the slots it holds; an index outside
   gives the line "Invalid array index." and None. */
%define %tessel_name_slots(TYPE, COUNT_FIELD, HEADER, STRIDE, WIDTH)
%extend TYPE {
  TYPE(int n = 0) {
    return (TYPE *)tessel_sized_table(n, HEADER, STRIDE, offsetof(TYPE, COUNT_FIELD));
  }
  ~TYPE() {
    tessel_sized_table_free($self);
  }
  int __len__() {
    return (int)$self->COUNT_FIELD;
  }
  PyObject *__getitem__(int index, size_t TYPE ## _EXTENT) {
    uint32_t count = tessel_slots_within($self->COUNT_FIELD, TYPE ## _EXTENT, HEADER, STRIDE);
    char *slot = tessel_slot($self, index, count, HEADER, STRIDE);
    return slot ? tessel_slot_text(slot, WIDTH) : SWIG_Py_Void();
  }
  void __setitem__(int index, char const *text, size_t TYPE ## _EXTENT) {
    uint32_t count = tessel_slots_within($self->COUNT_FIELD, TYPE ## _EXTENT, HEADER, STRIDE);
    char *slot = tessel_slot($self, index, count, HEADER, STRIDE);
    if (slot) tessel_slot_store(slot, WIDTH, text);
  }
}
%enddef
%tessel_name_slots(VSUplinks, numEntries, 8, sizeof(VSUplinks_entries), VS_UPLINK_NAME_LEN)
%tessel_name_slots(VSUplinkPorts, nUplinkPorts, 4, VS_UPLINK_PORT_NAME_LEN, VS_UPLINK_PORT_NAME_LEN)
%tessel_name_slots(VSUplinkPortIds, nUplinkPorts, 4, VS_UPLINK_PORT_ID_LEN, VS_UPLINK_PORT_ID_LEN)

/* The 32 uplink slots of a policy, whatever its counts say. */
%define %tessel_policy_slots(TYPE)
%extend TYPE {
  PyObject *__getitem__(int index) {
    char *slot = tessel_slot($self->uplinkPortName, index, HYX_TEAM_MAX_UPLINKS, 0, VS_UPLINK_PORT_NAME_LEN);
    return slot ? tessel_slot_text(slot, VS_UPLINK_PORT_NAME_LEN) : SWIG_Py_Void();
  }
  void __setitem__(int index, char const *text) {
    char *slot = tessel_slot($self->uplinkPortName, index, HYX_TEAM_MAX_UPLINKS, 0, VS_UPLINK_PORT_NAME_LEN);
    if (slot) tessel_slot_store(slot, VS_UPLINK_PORT_NAME_LEN, text);
  }
}
%enddef
%tessel_policy_slots(VSTeamPolicy)
%tessel_policy_slots(LSTeamPolicy)

%extend LSTeamTable {
  /* A view of policy index inside the table (no copy). */
  LSTeamPolicy *__getitem__(int index, size_t LSTeamTable_EXTENT) {
    uint32_t count = tessel_slots_within($self->numLSTeam, LSTeamTable_EXTENT, 4, sizeof(LSTeamPolicy));
    return (LSTeamPolicy *)tessel_slot($self, index, count, 4, sizeof(LSTeamPolicy));
  }
  /* Copies a whole policy into policy index. */
  void __setitem__(int index, LSTeamPolicy const *policy, size_t LSTeamTable_EXTENT) {
    uint32_t count = tessel_slots_within($self->numLSTeam, LSTeamTable_EXTENT, 4, sizeof(LSTeamPolicy));
    char *slot = tessel_slot($self, index, count, 4, sizeof(LSTeamPolicy));
    if (slot) memmove(slot, policy, sizeof(LSTeamPolicy));
  }
}

%extend VSLAGTable {
  /* The first LAG; None for a table Python owns, which has no room for one. */
  VSLAGStatus *vs_lag_table_first_lag(size_t VSLAGTable_EXTENT) {
    return tessel_lag_first($self, VSLAGTable_EXTENT);
  }
}

%extend VSLAGStatus {
  /* The LAG that follows this one; None where the block the module knows
     ends first. */
  VSLAGStatus *vs_lag_table_next_lag(size_t VSLAGStatus_EXTENT) {
    return tessel_lag_next($self, VSLAGStatus_EXTENT);
  }
  PyObject *get_name() {
    return tessel_slot_text((const char *)$self->name, VS_LAG_NAME_LEN);
  }
  /* Member name index, or None (silently) outside the members. */
  PyObject *get_uplink_name(int index, size_t VSLAGStatus_EXTENT) {
    uint32_t count = tessel_lag_members($self, VSLAGStatus_EXTENT);
    if ((uint32_t)index >= count) return SWIG_Py_Void();
    return tessel_slot_text($self->uplinkNames[(uint32_t)index].string, VS_UPLINK_NAME_LEN);
  }
  PyObject *__getitem__(int index, size_t VSLAGStatus_EXTENT) {
    uint32_t count = tessel_lag_members($self, VSLAGStatus_EXTENT);
    char *slot = tessel_slot($self, index, count, sizeof(VSLAGStatus), VS_UPLINK_NAME_LEN);
    return slot ? tessel_slot_text(slot, VS_UPLINK_NAME_LEN) : SWIG_Py_Void();
  }
  void __setitem__(int index, char const *text, size_t VSLAGStatus_EXTENT) {
    uint32_t count = tessel_lag_members($self, VSLAGStatus_EXTENT);
    char *slot = tessel_slot($self, index, count, sizeof(VSLAGStatus), VS_UPLINK_NAME_LEN);
    if (slot) tessel_slot_store(slot, VS_UPLINK_NAME_LEN, text);
  }
}
