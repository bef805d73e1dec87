#ifndef TESSEL_TESTS_PROBE_H
#define TESSEL_TESTS_PROBE_H

#include <stddef.h>

#include "hostapi/kernel.h"

typedef char (*probe_callback_t)(void *, void *);

VSInfo *probe_static_info(void);
hyx_uint32 probe_read_mtu(VSInfo *info);

int probe_int(int v);
hyx_uint8 probe_u8(hyx_uint8 v);
hyx_uint16 probe_u16(hyx_uint16 v);
hyx_uint32 probe_u32(hyx_uint32 v);
size_t probe_size_t(size_t v);
hyx_uint64 probe_u64(hyx_uint64 v);
hyx_Bool probe_bool(hyx_Bool v);
const char *probe_text(const char *text);
const char *probe_char4(char text[4]);
int probe_voidp(void *p);
int probe_callback(probe_callback_t cb);

int probe_scalar_outputs(int write, int *outInt, hyx_uint64 *outU64, hyx_Bool *outBool);
int probe_record_output(int write, VSInfo **outInfo);
int probe_text_output(int write, char *outText);
int probe_writable(char *writable);

#endif
