#include "tests/probe/probe.h"

#include <string.h>

static VSInfo probe_info;

VSInfo *probe_static_info(void) {
   hyx_uint32 mtu = 1234;
   memcpy(&probe_info.mtu, &mtu, sizeof(mtu));
   return &probe_info;
}

hyx_uint32 probe_read_mtu(VSInfo *info) { return info ? info->mtu : 0; }

int probe_int(int v) { return v; }
hyx_uint8 probe_u8(hyx_uint8 v) { return v; }
hyx_uint16 probe_u16(hyx_uint16 v) { return v; }
hyx_uint32 probe_u32(hyx_uint32 v) { return v; }
size_t probe_size_t(size_t v) { return v; }
hyx_uint64 probe_u64(hyx_uint64 v) { return v; }
hyx_Bool probe_bool(hyx_Bool v) { return v; }
const char *probe_text(const char *text) { return text; }
const char *probe_char4(char text[4]) { return text; }
int probe_voidp(void *p) { return p != NULL; }
int probe_callback(probe_callback_t cb) { return cb != NULL; }

/* Leaves every slot unwritten unless asked, like a host failing a call. */
int probe_scalar_outputs(int write, int *outInt, hyx_uint64 *outU64, hyx_Bool *outBool) {
   if (!write)
      return -1;
   *outInt = -7;
   *outU64 = 18446744073709551615ULL;
   *outBool = (hyx_Bool)200;
   return 0;
}

int probe_record_output(int write, VSInfo **outInfo) {
   if (!write)
      return -1;
   *outInfo = probe_static_info();
   return 0;
}

/* Fills all nine bytes of the slot with no NUL. */
int probe_text_output(int write, char *outText) {
   if (!write)
      return -1;
   memcpy(outText, "abcdefghi", 9);
   return 0;
}

/* Writes a 127-character text over what it was given. */
int probe_writable(char *writable) {
   if (!writable)
      return -1;
   memset(writable, 'x', 127);
   writable[127] = '\0';
   return 0;
}
