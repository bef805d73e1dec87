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

/* A table handed to the host is read over the extent its header gives.  A
   block the module knows (one alloc_dvmirror_session_table made, or a
   Python-owned header of 20 bytes) whose header claims more than it holds
   is refused before the host is called. */
%typemap(in, noblock=1) DVMirrorSessionTable *table (void *argp = 0, int res = 0, int own = 0) {
  res = SWIG_ConvertPtrAndOwn($input, &argp, $descriptor, 0, &own);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  $1 = ($ltype)argp;
  if (!tessel_mirror_table_fits($1, (own & SWIG_POINTER_OWN) ? sizeof(DVMirrorSessionTable) : 0, "$symname")) SWIG_fail;
}

/* Whether the record a method is given is owned by its Python proxy: a
   table header or entity made by new_<Record> is one record with nothing
   behind it, so the walking methods do not step past it. */
%define %tessel_note_owned_self(TYPE, FLAG)
%typemap(in, noblock=1) TYPE *self (void *argp = 0, int res = 0, int own = 0), struct TYPE *self (void *argp = 0, int res = 0, int own = 0) {
  res = SWIG_ConvertPtrAndOwn($input, &argp, $descriptor, $disown, &own);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  $1 = ($ltype)argp;
  FLAG = (own & SWIG_POINTER_OWN) != 0;
}
%enddef
%tessel_note_owned_self(DVMirrorSessionTable, tessel_mirror_owned_self)
%tessel_note_owned_self(DVMirrorEntity, tessel_mirror_owned_self)
%tessel_note_owned_self(VSDVMirrorSessionIDs, tessel_mirror_owned_self)
%tessel_note_owned_self(VSPromiscSessionActiveDsts, tessel_mirror_owned_self)

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

/* free_dvmirror_session_table releases what alloc_dvmirror_session_table
   made; a Python-owned table would be freed a second time by its proxy, so it
   is refused. */
%typemap(in, noblock=1) DVMirrorSessionTable *freed (void *argp = 0, int res = 0, int own = 0) {
  res = SWIG_ConvertPtrAndOwn($input, &argp, $descriptor, 0, &own);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  if (own & SWIG_POINTER_OWN) {
    SWIG_exception_fail(SWIG_ValueError, "in method '$symname': the table is owned by its proxy (made by new_DVMirrorSessionTable); only a table made by alloc_dvmirror_session_table is freed here");
  }
  $1 = ($ltype)argp;
}

/* An entity's text: None, or a text with a NUL (which would cut it short
   without notice), is refused before anything is read. */
%typemap(in, noblock=1, fragment="SWIG_AsCharPtrAndSize") char const *text (char *buf = 0, size_t size = 0, int alloc = 0) {
  {
    int res = SWIG_AsCharPtrAndSize($input, &buf, &size, &alloc);
    if (!SWIG_IsOK(res)) {
      %argument_fail(res, "$type", $symname, $argnum);
    }
    if (!buf) {
      SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '$symname', argument $argnum of type '$1_type'");
    }
    if (size > 0 && memchr(buf, 0, size - 1)) {
      SWIG_exception_fail(SWIG_ValueError, "in method '$symname', argument $argnum: the text holds a NUL character");
    }
    $1 = buf;
  }
}
%typemap(freearg, noblock=1) char const *text {
  if (alloc$argnum == SWIG_NEWOBJ) free(buf$argnum);
}

/* None in place of a session record is refused before anything is read. */
%typemap(check, noblock=1) DVMirrorSession const *session {
  if (!$1) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '$symname', argument $argnum of type '$1_type'");
  }
}

%include "hostapi/mirror.h"

DVMirrorSessionTable *alloc_dvmirror_session_table(int sessions, int entities);
void free_dvmirror_session_table(DVMirrorSessionTable *freed);

%clear char const *text, DVMirrorSession const *session, DVMirrorSessionTable **table, VSDVMirrorSessionIDs **list,
       VSPromiscSessionActiveDsts **list, unsigned char mac[6];

/* Walking a table stays inside it: every method checks the place it names
   against the header's counts (cut to the block, for a table the module
   allocated) and, outside, writes "Invalid array index." and gives None. */
%extend DVMirrorSessionTable {
  DVMirrorSession *get_first_session() {
    return tessel_mirror_first_session($self);
  }
  DVMirrorEntity *get_first_session_entity(int index) {
    return tessel_mirror_entity($self, index);
  }
  DVMirrorSession *__getitem__(int index) {
    return tessel_mirror_session($self, index);
  }
  void __setitem__(int index, DVMirrorSession const *session) {
    tessel_mirror_set_session($self, index, session);
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
    return tessel_mirror_next_entity($self);
  }
}

%extend VSDVMirrorSessionIDs {
  /* The 32 bytes of identifier index, trailing zeros included. */
  PyObject *__getitem__(int index) {
    if ((unsigned)index >= tessel_mirror_list_reachable($self->numEntries)) {
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
    if ((unsigned)index >= tessel_mirror_list_reachable($self->numEntries)) {
      tessel_mirror_invalid_index();
      return PyLong_FromLong(0);
    }
    memcpy(&id, &$self->entries[(unsigned)index], sizeof id);
    return PyLong_FromUnsignedLong(id);
  }
  void __setitem__(int index, hyx_SwitchPortID port) {
    if ((unsigned)index >= tessel_mirror_list_reachable($self->numEntries)) {
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
