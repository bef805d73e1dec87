/* Port mirroring: the mirror session table and its records, session
 * statistics and promiscuous destinations. */

%{
#include "hostapi/mirror.h"
#include "extensions/mirror_helpers.h"
%}

/* The assertion macros of the mirror headers: as methods they arm the guard
   and call nothing. */
%feature("action") MIRROR_ASSERT ";"
%feature("action") MIRROR_ENCAP_TYPE ";"
void MIRROR_ASSERT(void);
void MIRROR_ENCAP_TYPE(void);

%tessel_record(DVMirrorIP)
%tessel_record(DVMirrorIpPrefix)
%tessel_record(DVMirrorPortRanage)
%tessel_record(DVMirrorFilterRule)
%tessel_record(DVMirrorEntity)
%tessel_record(DVMirrorSession)
%tessel_record(DVMirrorSessionTable)
%tessel_record(VSDVMirrorSessionIDs)
%tessel_record(VSPromiscSessionActiveDsts)
%tessel_record(VSDVMirrorSessionStats)
%tessel_record(VSDVMirrorAgentWorld)
%tessel_record(VSDVMirrorAgentWorldStats)

%tessel_spelling("_p_a_32__char", "char (*)[32]|DVMirrorSID *|VSDVMirrorSID *")

%types(DVMirrorVersion *, DVMirrorSessionType *, DVMirrorEntityType *, DVMirrorFilterType *,
       DVMirrorEncapType *, DVMirrorFilterAction *);

%apply unsigned char MAC_TEXT[6] { unsigned char mac[6] };

%apply SWIGTYPE **OUTPUT { DVMirrorSessionTable **table, VSDVMirrorSessionIDs **list,
                           VSPromiscSessionActiveDsts **list };

/* Tables the host hands out: the extent of a session table follows from its
   header's counts, a list's from its count. */
%typemap(argout, noblock=1) DVMirrorSessionTable **table {
  {
    PyObject *out = temp$argnum ? tessel_host_pointer(temp$argnum, $*descriptor, (size_t)tessel_mirror_table_needs(temp$argnum)) : SWIG_Py_Void();
    if (!out) SWIG_fail;
    %append_output(out);
  }
}
%tessel_table(VSDVMirrorSessionIDs, numEntries, DVMirrorSID)
%tessel_table(VSPromiscSessionActiveDsts, numEntries, hyx_SwitchPortID)

/* A table handed to the host is read over the extent its header gives: a
   table whose block the module knows and whose header claims more than the
   block holds is refused before the host is called. */
%typemap(in, noblock=1) DVMirrorSessionTable *table (void *argp = 0, int res = 0, tessel_arg targ = {0, 0}) {
  res = tessel_convert_ptr($input, &argp, $descriptor, 0, &targ);
  if (SWIG_IsOK(res) && targ.extent < sizeof(DVMirrorSessionTable)) res = TESSEL_SHORT;
  if (!SWIG_IsOK(res)) {
    tessel_pointer_fail(res, "in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'", targ.extent, sizeof(DVMirrorSessionTable));
    SWIG_fail;
  }
  $1 = ($ltype)argp;
  if ($1 && targ.extent != SIZE_MAX && tessel_mirror_table_needs($1) > targ.extent) {
    PyErr_Format(PyExc_ValueError, "in method '$symname', argument $argnum of type '$type': the table's header claims %llu bytes but its block holds %zu", tessel_mirror_table_needs($1), targ.extent);
    SWIG_fail;
  }
}
%typemap(freearg, noblock=1, match="in") DVMirrorSessionTable *table {
  Py_XDECREF(targ$argnum.keep);
}

/* alloc and free raise what they refuse (see mirror_helpers.h). */
%define %tessel_raising(NAME)
%exception NAME {
  exception_status = setjmp(exception_buffer);
  if (exception_status != 0) {
    tessel_raise_abandoned();
    SWIG_fail;
  }
  $action
  if (PyErr_Occurred()) SWIG_fail;
}
%enddef
%tessel_raising(alloc_dvmirror_session_table)
%tessel_raising(free_dvmirror_session_table)

/* The table alloc_dvmirror_session_table makes belongs to nobody until
   free_dvmirror_session_table releases it; the release follows the module's
   rules (a second release does nothing, a view or a host table is refused). */
%typemap(out, noblock=1) DVMirrorSessionTable *alloc_dvmirror_session_table {
  %set_output(tessel_new_block(%as_voidptr($1), $descriptor, 0, (size_t)tessel_mirror_table_needs($1)));
  if (!$result) {
    free($1);
    SWIG_fail;
  }
}

/* None in place of an entity's text is refused before anything is read. */
%typemap(check, noblock=1) char const *text {
  if (!$1) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '$symname', argument $argnum of type '$1_type'");
  }
}

/* None in place of a session record is refused before anything is read. */
%typemap(check, noblock=1) DVMirrorSession const *session {
  if (!$1) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '$symname', argument $argnum of type '$1_type'");
  }
}

%include "hostapi/mirror.h"

DVMirrorSessionTable *alloc_dvmirror_session_table(int sessions, int entities);
void free_dvmirror_session_table(DVMirrorSessionTable *RELEASE);

%clear char const *text, DVMirrorSession const *session, DVMirrorSessionTable *table, DVMirrorSessionTable **table, VSDVMirrorSessionIDs **list,
       VSPromiscSessionActiveDsts **list, unsigned char mac[6];

/* Walking a table stays inside it: every method checks the place it names
   against the header's counts, cut to the table's block where the module
   knows it, and outside writes "Invalid array index." and gives None. */
%extend DVMirrorSessionTable {
  DVMirrorSession *get_first_session() {
    return tessel_mirror_session($self, tessel_receiver_extent, 0);
  }
  DVMirrorEntity *get_first_session_entity(int index) {
    return tessel_mirror_entity($self, tessel_receiver_extent, index);
  }
  DVMirrorSession *__getitem__(int index) {
    return tessel_mirror_session($self, tessel_receiver_extent, index);
  }
  void __setitem__(int index, DVMirrorSession const *session) {
    tessel_mirror_set_session($self, tessel_receiver_extent, index, session);
  }
}

%extend DVMirrorEntity {
  PyObject *get_entity() {
    return tessel_mirror_entity_text($self);
  }
  void set_entity(char const *text) {
    tessel_mirror_entity_parse($self, text);
  }
  DVMirrorEntity *__next__() {
    return tessel_mirror_next_entity($self, tessel_receiver_extent);
  }
}

%extend VSDVMirrorSessionIDs {
  /* The 32 bytes of identifier index, trailing zeros included. */
  PyObject *__getitem__(int index) {
    if ((unsigned)index >= tessel_mirror_list_reachable($self->numEntries, tessel_receiver_extent, 32)) {
      tessel_mirror_invalid_index();
      return SWIG_Py_Void();
    }
    return PyBytes_FromStringAndSize($self->entries[(unsigned)index], 32);
  }
}

%extend VSPromiscSessionActiveDsts {
  /* Entry index; 0 after "Invalid array index." outside the list. */
  PyObject *__getitem__(int index) {
    hyx_SwitchPortID id;
    if ((unsigned)index >= tessel_mirror_list_reachable($self->numEntries, tessel_receiver_extent, sizeof(hyx_SwitchPortID))) {
      tessel_mirror_invalid_index();
      return PyLong_FromLong(0);
    }
    memcpy(&id, &$self->entries[(unsigned)index], sizeof id);
    return PyLong_FromUnsignedLong(id);
  }
  void __setitem__(int index, hyx_SwitchPortID port) {
    if ((unsigned)index >= tessel_mirror_list_reachable($self->numEntries, tessel_receiver_extent, sizeof(hyx_SwitchPortID))) {
      tessel_mirror_invalid_index();
      return;
    }
    memcpy(&$self->entries[(unsigned)index], &port, sizeof port);
  }
}

%newobject VSDVMirrorAgentWorldStats::__getitem__;
%extend VSDVMirrorAgentWorldStats {
  /* An owned copy of slot index (0..2); None after "Invalid array index."
     for any other index, so nothing is read outside the record. */
  VSDVMirrorAgentWorld *__getitem__(int index) {
    return tessel_mirror_world_copy($self, index);
  }
  int __len__() {
    return (int)$self->numWorlds;
  }
}
