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

static const tessel_spelling tessel_spellings[] = {
  {"_p_char", "char *|hyx_Bool *"},
  {"_p_signed_char", "signed char *|hyx_int8 *"},
  {"_p_unsigned_char", "unsigned char *|hyx_uint8 *|hyx_VlanPriority *|hyx_PortsetResPoolPriorityTag *"},
  {"_p_short", "short *|hyx_int16 *"},
  {"_p_unsigned_short", "unsigned short *|hyx_uint16 *|hyx_VlanID *|hyx_PortsetResPoolTag *"},
  {"_p_int", "int *|hyx_int32 *|hyx_ByteCountSmallSigned *|hyx_ModuleID *|hyx_WorldID *|hyx_PortsetResPoolLimit *|hyx_PortsetResPoolReservation *|hyx_PortsetResPoolQueueDepth *"},
  {"_p_unsigned_int", "unsigned int *|hyx_uint32 *|hyx_uintptr_t *|hyx_ByteCountSmall *|hyx_SwitchPortID *|hyx_IPv4Address *|hyx_LinkSpeed *|hyx_IntrCookie *|hyx_VirtualNetworkID *|hyx_revnum *|hyx_PortsetResPoolShares *|ZARVersion *"},
  {"_p_long_long", "long long *|hyx_int64 *|hyx_loff_t *|hyx_ByteCountSigned *"},
  {"_p_unsigned_long_long", "unsigned long long *|hyx_uint64 *|hyx_ByteCount *|hyx_MgmtInstanceID *|hyx_NetOverlayNetworkKey *"},
  {"_p_a_6__unsigned_char", "unsigned char (*)[6]|hyx_EthAddress *"},
  {"_p_a_16__unsigned_char", "unsigned char (*)[16]|hyx_IPv6Address *"},
  {"_p_a_32__char", "char (*)[32]|DVMirrorSID *|VSDVMirrorSID *"},
  {"_p_a_48__char", "char (*)[48]|DVPortId *|hyx_DVPortId *"},
  {"_p_a_64__char", "char (*)[64]|DVSwitchId *"},
  {"_p_a_81__char", "char (*)[81]|hyx_ZARPortName *|DVMirrorDName *|VSDVMirrorDName *"},
  {"_p_a_1040__char", "char (*)[1040]|hyx_PortClientName *"},
  {"_p_a__32_4___8__char", "char (*)[(32*4) +8]|LSTeamPolicyName *"},
  {"_p_void", "void *|DVSwitchHandle|DVSPortHandle"},
  {"_p_p_void", "void **|DVSDataHandle *|DVSDataItem *"},
  {"_p_p_char", "char **"},
  {"_p_f_p_void_p_void__char", "char (*)(void *,void *)|DVSwitchCallback|DVSPortCallback|DVSPortDataCallback"},
  {"_p_f_size_t__p_void", "void *(*)(size_t)|DVSData_MemAlloc"},
  {"_p_f_p_void__void", "void (*)(void *)|DVSData_MemFree"},
  {"_p_hyx_MgmtParm", "enum hyx_MgmtParm *|hyx_MgmtParmType *"},
  {"_p___builtin_va_list", "__builtin_va_list *|__gnuc_va_list *|va_list *"},
  {"_p_PktHandle", "struct PktHandle *|hyx_PktHandle *"},
  {"_p_Portset", "struct Portset *|hyx_Portset *"},
};

/* Reordered spellings of the other descriptors live here for the life of
   the process (they are as long as SWIG's own). */
static char tessel_spelling_arena[64 * 1024];

/* Copies str into the arena with its "struct "/"enum " spellings first. */
static const char *tessel_tagged_first(const char *str, size_t *used) {
  size_t len = strlen(str), pass;
  char *out = tessel_spelling_arena + *used;
  char *w = out;
  if (*used + len + 1 > sizeof(tessel_spelling_arena)) return str;
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
  *used += (size_t)(w - out) + 1;
  return out;
}

SWIGINTERN void tessel_fix_spellings(void) {
  size_t i, k, used = 0;
  for (i = 0; i < swig_module.size; i++) {
    swig_type_info *ty = swig_module.types[i];
    const char *fixed = NULL;
    if (!ty || !ty->str) continue;
    for (k = 0; k < sizeof(tessel_spellings) / sizeof(tessel_spellings[0]); k++) {
      if (strcmp(ty->name, tessel_spellings[k].mangled) == 0) {
        fixed = tessel_spellings[k].spellings;
        break;
      }
    }
    if (!fixed && strchr(ty->str, '|')) {
      /* A descriptor shared with an earlier module may already be fixed. */
      if (ty->str >= tessel_spelling_arena && ty->str < tessel_spelling_arena + sizeof(tessel_spelling_arena))
        continue;
      fixed = tessel_tagged_first(ty->str, &used);
    }
    if (fixed) ty->str = fixed;
  }
}
%}

%init %{
  tessel_fix_spellings();
%}
