/* Shared definitions of the host library headers: the basic integer types,
 * the packing attribute and the layout checks. */
#ifndef TESSEL_HOSTAPI_COMMON_H
#define TESSEL_HOSTAPI_COMMON_H

#ifndef SWIG
#include <stddef.h>
#endif

#ifdef SWIG
#define HYX_PACKED
#else
#define HYX_PACKED __attribute__((packed))
#endif

#ifdef __cplusplus
#define HYX_EXTERN_C_BEGIN extern "C" {
#define HYX_EXTERN_C_END }
#define HYX_STATIC_ASSERT static_assert
#else
#define HYX_EXTERN_C_BEGIN
#define HYX_EXTERN_C_END
#define HYX_STATIC_ASSERT _Static_assert
#endif

/* Layout checks: every record crossing into the host has a fixed binary
 * layout, so each offset and size is asserted right after the record's
 * declaration.  HYX_CHECK_SIZE also marks the record as checked: the module
 * refuses to register a record that has no size check (see
 * module/records.i), so a record cannot be added without its checks. */
#ifdef SWIG
#define HYX_CHECK_OFFSET(T, f, off)
#define HYX_CHECK_SIZE(T, n)
#else
#define HYX_CHECK_OFFSET(T, f, off) HYX_STATIC_ASSERT(offsetof(T, f) == (off), #T "." #f " offset")
#define HYX_CHECK_SIZE(T, n)                                                                       \
   enum { hyx_layout_checked_##T = 1 };                                                            \
   HYX_STATIC_ASSERT(sizeof(T) == (n), #T " size")
#endif

/* Every record crossing into the host is declared with alignment 1, so a
 * record nested at any offset of another (or an element of a packed table)
 * is accessed correctly.  Records whose published layout is the natural one
 * spell out its padding with HYX_RESERVED, so packing moves no offset and
 * changes no size.  The padding is hidden from SWIG: no accessor is made for
 * it. */
#ifdef SWIG
#define HYX_RESERVED(name, n)
#else
#define HYX_RESERVED(name, n) unsigned char name[n];
#endif

typedef signed char hyx_int8;
typedef unsigned char hyx_uint8;
typedef short hyx_int16;
typedef unsigned short hyx_uint16;
typedef int hyx_int32;
typedef unsigned int hyx_uint32;
typedef long long hyx_int64;
typedef unsigned long long hyx_uint64;

/* A one-byte truth value; the host writes it as a plain char. */
typedef char hyx_Bool;

typedef hyx_uint16 hyx_VlanID;
typedef hyx_uint32 hyx_SwitchPortID;

/* Byte counts, revision numbers and network identities. */
typedef hyx_uint32 hyx_ByteCountSmall;
typedef hyx_uint64 hyx_ByteCount;
typedef hyx_uint32 hyx_revnum;
/* An IPv4 address as stored on the wire (network byte order). */
typedef hyx_uint32 hyx_IPv4Address;
typedef hyx_uint32 hyx_VirtualNetworkID;
typedef unsigned char hyx_EthAddress[6];
typedef unsigned char hyx_IPv6Address[16];

/* The status every host function returns: 0 is HYX_OK. */
typedef hyx_int32 HYX_ReturnStatus;

#endif
