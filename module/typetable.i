/* The type table's spellings.
 *
 * SWIG folds the host API's typedefs onto one descriptor per C type but
 * lists a descriptor's spellings in its own sorted order, and a pointer
 * object's repr shows the last one.  After the table is set up, each
 * primitive descriptor gets its full list of spellings in the published
 * order, and each record, enumeration and pointer-to-pointer descriptor
 * lists its "struct X *" / "enum X *" spelling first, so the typedef name
 * is the printable one. */

/* Descriptors every module of this API has, used or not. */
%types(char *, signed char *, unsigned char *, short *, unsigned short *, int *,
       unsigned int *, long long *, unsigned long long *, void *, void **, char **);

%{
typedef struct {
  const char *mangled;
  const char *spellings;
} tessel_spelling;

/* Spellings registered by the interface files (%tessel_spelling), applied
   once every file has registered its own. */
static tessel_spelling *tessel_spelling_list = NULL;
static size_t tessel_spelling_count = 0;

SWIGINTERN int tessel_add_spelling(const char *mangled, const char *spellings) {
  tessel_spelling *grown = (tessel_spelling *)PyMem_RawRealloc(
      tessel_spelling_list, (tessel_spelling_count + 1) * sizeof(*grown));
  if (!grown) return -1;
  grown[tessel_spelling_count].mangled = mangled;
  grown[tessel_spelling_count].spellings = spellings;
  tessel_spelling_list = grown;
  tessel_spelling_count++;
  return 0;
}

/* The spellings of str with the "struct "/"enum " ones first, in a block
   that lives as long as the process (as SWIG's own strings do); str itself
   when it already has that order; NULL when no memory is left. */
static const char *tessel_tagged_first(const char *str) {
  size_t len = strlen(str), pass;
  char *out = (char *)PyMem_RawMalloc(len + 1);
  char *w = out;
  if (!out) return NULL;
  for (pass = 0; pass < 2; pass++) {
    const char *p = str;
    while (*p) {
      const char *end = strchr(p, '|');
      size_t n = end ? (size_t)(end - p) : strlen(p);
      int tagged = strncmp(p, "struct ", 7) == 0 || strncmp(p, "enum ", 5) == 0;
      if ((pass == 0) == (tagged != 0)) {
        if (w != out) *w++ = '|';
        memcpy(w, p, n);
        w += n;
      }
      p += n;
      if (*p == '|') p++;
    }
  }
  *w = '\0';
  if (strcmp(out, str) == 0) {
    /* Already in order (a descriptor shared with a module that fixed it). */
    PyMem_RawFree(out);
    return str;
  }
  return out;
}

/* Gives every descriptor its published spellings; -1 with MemoryError set
   when a reordered list cannot be allocated. */
SWIGINTERN int tessel_fix_spellings(void) {
  size_t i, k;
  for (i = 0; i < swig_module.size; i++) {
    swig_type_info *ty = swig_module.types[i];
    const char *fixed = NULL;
    if (!ty || !ty->str) continue;
    for (k = 0; k < tessel_spelling_count; k++) {
      if (strcmp(ty->name, tessel_spelling_list[k].mangled) == 0) {
        fixed = tessel_spelling_list[k].spellings;
        break;
      }
    }
    if (!fixed && strchr(ty->str, '|')) {
      fixed = tessel_tagged_first(ty->str);
      if (!fixed) {
        PyErr_NoMemory();
        return -1;
      }
    }
    if (fixed) ty->str = fixed;
  }
  PyMem_RawFree(tessel_spelling_list);
  tessel_spelling_list = NULL;
  tessel_spelling_count = 0;
  return 0;
}
%}

/* %tessel_spelling(MANGLED, SPELLINGS): the published spellings of one
   descriptor, "C type|typedef|...", the last one printable.  Each interface
   file names the spellings of the typedefs it brings. */
%define %tessel_spelling(MANGLED, SPELLINGS)
%init %{
  if (tessel_add_spelling(MANGLED, SPELLINGS) < 0) {
    PyErr_NoMemory();
    return NULL;
  }
%}
%enddef

/* Shared C types whose typedefs several subsystems spell. */
%tessel_spelling("_p_char", "char *|hyx_Bool *")
%tessel_spelling("_p_signed_char", "signed char *|hyx_int8 *")
%tessel_spelling("_p_unsigned_char", "unsigned char *|hyx_uint8 *|hyx_VlanPriority *|hyx_PortsetResPoolPriorityTag *")
%tessel_spelling("_p_short", "short *|hyx_int16 *")
%tessel_spelling("_p_unsigned_short", "unsigned short *|hyx_uint16 *|hyx_VlanID *|hyx_PortsetResPoolTag *")
%tessel_spelling("_p_int", "int *|hyx_int32 *|hyx_ByteCountSmallSigned *|hyx_ModuleID *|hyx_WorldID *|hyx_PortsetResPoolLimit *|hyx_PortsetResPoolReservation *|hyx_PortsetResPoolQueueDepth *")
%tessel_spelling("_p_unsigned_int", "unsigned int *|hyx_uint32 *|hyx_uintptr_t *|hyx_ByteCountSmall *|hyx_SwitchPortID *|hyx_IPv4Address *|hyx_LinkSpeed *|hyx_IntrCookie *|hyx_VirtualNetworkID *|hyx_revnum *|hyx_PortsetResPoolShares *|ZARVersion *")
%tessel_spelling("_p_long_long", "long long *|hyx_int64 *|hyx_loff_t *|hyx_ByteCountSigned *")
%tessel_spelling("_p_unsigned_long_long", "unsigned long long *|hyx_uint64 *|hyx_ByteCount *|hyx_MgmtInstanceID *|hyx_NetOverlayNetworkKey *")
%tessel_spelling("_p_a_6__unsigned_char", "unsigned char (*)[6]|hyx_EthAddress *")
%tessel_spelling("_p_a_16__unsigned_char", "unsigned char (*)[16]|hyx_IPv6Address *")
%tessel_spelling("_p_a_48__char", "char (*)[48]|DVPortId *|hyx_DVPortId *")
%tessel_spelling("_p_a_81__char", "char (*)[81]|hyx_ZARPortName *|DVMirrorDName *|VSDVMirrorDName *")
%tessel_spelling("_p_void", "void *|DVSwitchHandle|DVSPortHandle")
%tessel_spelling("_p_p_void", "void **|DVSDataHandle *|DVSDataItem *")
%tessel_spelling("_p_p_char", "char **")
