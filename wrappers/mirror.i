/* Port mirroring: the mirror session table and its records, session
 * statistics and promiscuous destinations. */

/* The assertion macros of the mirror headers: as methods they arm the guard
   and call nothing. */
%feature("action") MIRROR_ASSERT ";"
%feature("action") MIRROR_ENCAP_TYPE ";"
void MIRROR_ASSERT(void);
void MIRROR_ENCAP_TYPE(void);
