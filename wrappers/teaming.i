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
%types(char (*)[(32 * 4) + 8]);

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

/* A list or table given to the host must hold the count it claims, as far
   as the module knows its block, or the host would read past it. */
%define %tessel_bounded_table(TYPE, PARAM, COUNT_FIELD, HEADER, SLOT)
%typemap(in, noblock=1) TYPE const *PARAM (void *argp = 0, int res = 0, tessel_arg targ = {0, 0}) {
  res = tessel_convert_ptr($input, &argp, $descriptor, 0, &targ);
  if (SWIG_IsOK(res) && argp && targ.extent < sizeof(TYPE)) res = TESSEL_SHORT;
  if (!SWIG_IsOK(res)) {
    tessel_pointer_fail(res, "in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'", targ.extent, sizeof(TYPE));
    SWIG_fail;
  }
  $1 = ($ltype)argp;
  if ($1) {
    hyx_uint32 count;
    memcpy(&count, (const char *)$1 + offsetof(TYPE, COUNT_FIELD), sizeof count);
    if (tessel_slots_within(count, targ.extent, HEADER, SLOT) < count) {
      PyErr_Format(PyExc_ValueError, "in method '$symname': the " #TYPE " holds fewer than the %u entries its count claims", (unsigned)count);
      SWIG_fail;
    }
  }
}
%typemap(freearg, noblock=1, match="in") TYPE const *PARAM {
  Py_XDECREF(targ$argnum.keep);
}
%enddef
%tessel_bounded_table(VSUplinkPorts, ports, nUplinkPorts, 4, VS_UPLINK_PORT_NAME_LEN)
%tessel_bounded_table(VSUplinkPortIds, portIds, nUplinkPorts, 4, VS_UPLINK_PORT_ID_LEN)
%tessel_bounded_table(LSTeamTable, table, numLSTeam, 4, sizeof(LSTeamPolicy))

/* A text written into a slot must be there: None is refused. */
%typemap(check, noblock=1) char const *text {
  if (!$1) {
    SWIG_exception_fail(SWIG_TypeError, "in method '$symname', argument $argnum of type '$1_type'");
  }
}
%typemap(check, noblock=1) LSTeamPolicy const *policy {
  if (!$1) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '$symname', argument $argnum of type '$1_type'");
  }
}

/* A table from a sized constructor is owned by Python: a block of its
   header and slots.  (Declared before the records, whose constructors are
   made where they are declared.) */
%define %tessel_sized_block(TYPE, COUNT_FIELD, HEADER, STRIDE)
%typemap(out, noblock=1) SWIGTYPE *TYPE {
  %set_output($1 ? tessel_new_block(%as_voidptr($1), $descriptor, SWIG_POINTER_NEW, HEADER + (size_t)$1->COUNT_FIELD * (STRIDE)) : SWIG_Py_Void());
  if (!$result) SWIG_fail;
}
%enddef
%tessel_sized_block(VSUplinks, numEntries, 8, sizeof(VSUplinks_entries))
%tessel_sized_block(VSUplinkPorts, nUplinkPorts, 4, VS_UPLINK_PORT_NAME_LEN)
%tessel_sized_block(VSUplinkPortIds, nUplinkPorts, 4, VS_UPLINK_PORT_ID_LEN)

/* The extents of the tables the host hands out. */
%tessel_table(VSUplinks, numEntries, VSUplinks_entries)
%tessel_table(VSUplinkPorts, nUplinkPorts, char[VS_UPLINK_PORT_NAME_LEN])
%tessel_table(VSUplinkPortIds, nUplinkPorts, char[VS_UPLINK_PORT_ID_LEN])
%tessel_table(LSTeamTable, numLSTeam, LSTeamPolicy)

/* A LAG table's records differ in length: its extent is the sum of the
   records its count says it holds. */
%typemap(argout, noblock=1) VSLAGTable **table {
  {
    PyObject *out = tessel_host_pointer(%as_voidptr(temp$argnum), $*descriptor, temp$argnum ? tessel_lag_table_size(temp$argnum) : 0);
    if (!out) SWIG_fail;
    %append_output(out);
  }
}

%include "hostapi/teaming.h"

%clear VSUplinks **uplinks, VSUplinkPorts **ports, VSUplinkPortIds **portIds, LSTeamTable **table,
       VSLAGTable **table, hyx_LinkState *state, hyx_Bool *txUplinkAlways, char *dvPortId,
       char *overrideUplink, char *chosenPolicy, VSUplinkPorts const *ports,
       VSUplinkPortIds const *portIds, LSTeamTable const *table;

/* A table made by alloc_ls_team_table is owned by nobody until
   free_ls_team_table releases it: a block of its header and policies. */
%typemap(out, noblock=1) LSTeamTable *alloc_ls_team_table {
  %set_output($1 ? tessel_new_block(%as_voidptr($1), $descriptor, 0, 4 + (size_t)$1->numLSTeam * sizeof(LSTeamPolicy)) : SWIG_Py_Void());
  if (!$result) SWIG_fail;
}
LSTeamTable *alloc_ls_team_table(int n);
void free_ls_team_table(LSTeamTable *RELEASE);

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
  int __len__() {
    return (int)$self->COUNT_FIELD;
  }
  PyObject *__getitem__(int index) {
    uint32_t count = tessel_slots_within($self->COUNT_FIELD, tessel_receiver_extent, HEADER, STRIDE);
    char *slot = tessel_slot($self, index, count, HEADER, STRIDE);
    return slot ? tessel_slot_text(slot, WIDTH) : SWIG_Py_Void();
  }
  void __setitem__(int index, char const *text) {
    uint32_t count = tessel_slots_within($self->COUNT_FIELD, tessel_receiver_extent, HEADER, STRIDE);
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
  LSTeamPolicy *__getitem__(int index) {
    uint32_t count = tessel_slots_within($self->numLSTeam, tessel_receiver_extent, 4, sizeof(LSTeamPolicy));
    return (LSTeamPolicy *)tessel_slot($self, index, count, 4, sizeof(LSTeamPolicy));
  }
  /* Copies a whole policy into policy index. */
  void __setitem__(int index, LSTeamPolicy const *policy) {
    uint32_t count = tessel_slots_within($self->numLSTeam, tessel_receiver_extent, 4, sizeof(LSTeamPolicy));
    char *slot = tessel_slot($self, index, count, 4, sizeof(LSTeamPolicy));
    if (slot) memmove(slot, policy, sizeof(LSTeamPolicy));
  }
}

%extend VSLAGTable {
  /* The first LAG; None for a table Python owns, which has no room for one. */
  VSLAGStatus *vs_lag_table_first_lag() {
    return tessel_lag_first($self, tessel_receiver_extent);
  }
}

%extend VSLAGStatus {
  /* The LAG that follows this one; None where the block the module knows
     ends first. */
  VSLAGStatus *vs_lag_table_next_lag() {
    return tessel_lag_next($self, tessel_receiver_extent);
  }
  PyObject *get_name() {
    return tessel_slot_text((const char *)$self->name, VS_LAG_NAME_LEN);
  }
  /* Member name index, or None (silently) outside the members. */
  PyObject *get_uplink_name(int index) {
    uint32_t count = tessel_lag_members($self, tessel_receiver_extent);
    if ((uint32_t)index >= count) return SWIG_Py_Void();
    return tessel_slot_text($self->uplinkNames[(uint32_t)index].string, VS_UPLINK_NAME_LEN);
  }
  PyObject *__getitem__(int index) {
    uint32_t count = tessel_lag_members($self, tessel_receiver_extent);
    char *slot = tessel_slot($self, index, count, sizeof(VSLAGStatus), VS_UPLINK_NAME_LEN);
    return slot ? tessel_slot_text(slot, VS_UPLINK_NAME_LEN) : SWIG_Py_Void();
  }
  void __setitem__(int index, char const *text) {
    uint32_t count = tessel_lag_members($self, tessel_receiver_extent);
    char *slot = tessel_slot($self, index, count, sizeof(VSLAGStatus), VS_UPLINK_NAME_LEN);
    if (slot) tessel_slot_store(slot, VS_UPLINK_NAME_LEN, text);
  }
}
