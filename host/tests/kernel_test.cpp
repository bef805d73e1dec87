/* Tests of the simulated host libraries, run in a process that plays the
 * Python module's part: it defines the exception guard globals and arms the
 * guard with setjmp around the calls that may be abandoned. */
#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <set>
#include <string>

#include "hostapi/guard.h"
#include "hostapi/kernel.h"
#include "hostapi/status.h"
#include "sim_internal.h"
#include "tessel_sim.h"

extern "C" {
jmp_buf exception_buffer;
int exception_status;
char *exceptionMsg;
void *exceptionType;

/* Stands in for Python's RuntimeError class, which Panic looks up by name. */
int fakeRuntimeErrorClass;
void *PyExc_RuntimeError = &fakeRuntimeErrorClass;
}

namespace {

int g_failures = 0;

void report(int line, char const *what) {
   fprintf(stderr, "host_test.cpp:%d: check failed: %s\n", line, what);
   ++g_failures;
}

void checkEq(int line, char const *what, long long actual, long long expected) {
   if (actual != expected) {
      fprintf(stderr, "host_test.cpp:%d: %s is %#llx, expected %#llx\n", line, what, actual,
              expected);
      ++g_failures;
   }
}

void checkStr(int line, char const *what, char const *actual, char const *expected) {
   if (actual == nullptr || strcmp(actual, expected) != 0) {
      fprintf(stderr, "host_test.cpp:%d: %s is \"%s\", expected \"%s\"\n", line, what,
              actual ? actual : "(null)", expected);
      ++g_failures;
   }
}

#define CHECK(cond) ((cond) ? (void)0 : report(__LINE__, #cond))
#define CHECK_EQ(actual, expected)                                                                 \
   checkEq(__LINE__, #actual, static_cast<long long>(actual), static_cast<long long>(expected))
#define CHECK_STR(actual, expected) checkStr(__LINE__, #actual, (actual), (expected))

/* Reads a field of a packed record by copy, whatever its alignment. */
template <typename T> T fieldAt(void const *record, size_t offset) {
   T value;
   memcpy(&value, static_cast<char const *>(record) + offset, sizeof value);
   return value;
}

unsigned vlanUse(VSInfo const *info, unsigned vlan) {
   return fieldAt<hyx_VlanID>(info, offsetof(VSInfo, overlayVlanUseCount) + 2 * vlan);
}

bool allBytes(void const *p, size_t n, unsigned char value) {
   for (size_t i = 0; i < n; ++i) {
      if (static_cast<unsigned char const *>(p)[i] != value)
         return false;
   }
   return true;
}

/* Calls fn(ctx) with the guard armed, as the module's wrappers do; true when
 * the host abandoned the call. */
bool abandoned(void (*fn)(void *), void *ctx) {
   exceptionType = nullptr;
   exceptionMsg = nullptr;
   exception_status = setjmp(exception_buffer);
   if (exception_status != 0)
      return true;
   fn(ctx);
   return false;
}

struct InfoCall {
   char const *name;
   VSInfo *info;
   HYX_ReturnStatus status;
};

void callGetVSInfo(void *ctx) {
   auto *call = static_cast<InfoCall *>(ctx);
   call->status = VSHYX_GetVSInfo(call->name, call->info);
}

void callFreeMemory(void *ctx) { VSHYX_FreeMemory(ctx); }

void callPanic(void *ctx) { Panic(static_cast<char const *>(ctx)); }

void callPanicFormatted(void *) { Panic("%d-%s", 7, "x"); }

/* "x" and then three-byte characters: most cuts fall inside a character. */
std::string const kLongUtf8Text = [] {
   std::string text = "x";
   for (int i = 0; i < 2000; ++i)
      text += "\xE2\x82\xAC";
   return text;
}();

/* A long text handed back through the guard is a terminated prefix of
 * kLongUtf8Text that ends on a character boundary. */
void checkCutUtf8(char const *message) {
   size_t len = message != nullptr ? strlen(message) : 0;
   CHECK(len > 900 && len < kLongUtf8Text.size());
   CHECK_EQ((len - 1) % 3, 0);
   CHECK(message != nullptr && memcmp(message, kLongUtf8Text.data(), len) == 0);
}

/* Each slot of a switch list: text within its width, zero after the text. */
void checkSlots(VSList const *list, size_t width, char const *const *expected, int n) {
   CHECK_EQ(list->count, n);
   char const *slots = reinterpret_cast<char const *>(list) + sizeof(VSList);
   for (int i = 0; i < n && i < list->count; ++i) {
      char const *slot = slots + i * width;
      size_t len = strnlen(slot, width);
      CHECK(len < width);
      CHECK_STR(slot, expected[i]);
      CHECK(allBytes(slot + len, width - len, 0));
   }
}

void testSwitchLists() {
   long blocksBefore = tessel_sim_outstanding_blocks();

   VSList *list = nullptr;
   CHECK_EQ(VSHYX_GetSwitches(VS_LIST_PS, &list), HYX_OK);
   CHECK(list != nullptr);
   if (list != nullptr) {
      char const *names[] = {"switch0", "switch1", "dswitch0", "dswitch1"};
      CHECK_EQ(list->listType, VS_LIST_PS);
      checkSlots(list, VS_LIST_PS_ENTRY_LEN, names, 4);
      /* Every listed switch can be looked up by that name. */
      VSInfo *info = static_cast<VSInfo *>(malloc(sizeof(VSInfo)));
      for (int i = 0; i < list->count; ++i) {
         char const *name = list->switches + i * VS_LIST_PS_ENTRY_LEN;
         CHECK_EQ(VSHYX_GetVSInfo(name, info), HYX_OK);
      }
      free(info);
      free(list);
   }

   list = nullptr;
   CHECK_EQ(VSHYX_GetSwitches(VS_LIST_DVS_ALIAS, &list), HYX_OK);
   CHECK(list != nullptr);
   if (list != nullptr) {
      char const *aliases[] = {"dvs-prod", "dvs-lab"};
      CHECK_EQ(list->listType, VS_LIST_DVS_ALIAS);
      checkSlots(list, VS_LIST_ALIAS_ENTRY_LEN, aliases, 2);
      /* Each listed alias leads to its own distributed switch. */
      char switchId[VS_DVS_SWITCH_ID_LEN];
      CHECK_EQ(VSHYX_DVSAliasToSwitchId(list->switches, switchId), HYX_OK);
      CHECK_STR(switchId, "dswitch0");
      CHECK_EQ(VSHYX_DVSAliasToSwitchId(list->switches + VS_LIST_ALIAS_ENTRY_LEN, switchId),
               HYX_OK);
      CHECK_STR(switchId, "dswitch1");
      free(list);
   }

   /* The lists are plain malloc blocks the caller frees; they are not tracked. */
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocksBefore);
}

/* Offsets are written out rather than taken from the header: the record's
 * binary layout is what the module relies on. */
void testSwitchInfo() {
   VSInfo *info = static_cast<VSInfo *>(malloc(sizeof(VSInfo)));

   /* Poisoned first: every byte of the record must be written. */
   memset(info, 0xA5, sizeof *info);
   CHECK_EQ(VSHYX_GetVSInfo("switch0", info), HYX_OK);
   CHECK_EQ(fieldAt<hyx_uint32>(info, 0), 1500);
   CHECK_EQ(fieldAt<hyx_uint16>(info, 4), 4094);
   CHECK_EQ(fieldAt<hyx_uint16>(info, 6), 0);
   CHECK_EQ(fieldAt<hyx_uint32>(info, 8), 6);
   CHECK_EQ(fieldAt<hyx_uint32>(info, 12), 128);
   CHECK(allBytes(info->dvsName, sizeof info->dvsName + sizeof info->zarID, 0));
   CHECK_EQ(fieldAt<hyx_uint32>(info, 211), 0x1);
   CHECK_EQ(fieldAt<char>(info, 215), 0);
   CHECK_EQ(vlanUse(info, 0), 4);
   CHECK_EQ(vlanUse(info, 10), 2);
   CHECK_EQ(vlanUse(info, 11), 0);
   CHECK_EQ(vlanUse(info, 4095), 0);
   CHECK(allBytes(reinterpret_cast<char *>(info) + 8408, 14, 0));

   memset(info, 0xA5, sizeof *info);
   CHECK_EQ(VSHYX_GetVSInfo("switch1", info), HYX_OK);
   CHECK_EQ(fieldAt<hyx_uint32>(info, 0), 9000);
   CHECK_EQ(vlanUse(info, 0), 0);

   memset(info, 0xA5, sizeof *info);
   CHECK_EQ(VSHYX_GetVSInfo("dswitch0", info), HYX_OK);
   CHECK_EQ(fieldAt<hyx_uint32>(info, 0), 9000);
   CHECK_EQ(fieldAt<hyx_uint32>(info, 8), 17);
   CHECK_EQ(fieldAt<hyx_uint32>(info, 12), 1024);
   char const *uuid = "50 1f 2a 3b 4c 5d 6e 7f-80 91 a2 b3 c4 d5 e6 f7";
   CHECK_EQ(strlen(uuid), 47);
   CHECK(memcmp(info->dvsName, uuid, 48) == 0);
   CHECK(allBytes(info->dvsName + 47, 128 - 47, 0));
   CHECK(strnlen(reinterpret_cast<char const *>(info->zarID), 64) > 0);
   CHECK(strnlen(reinterpret_cast<char const *>(info->zarID), 64) < 64);
   CHECK_EQ(fieldAt<hyx_uint16>(info, 208), 1);
   CHECK_EQ(fieldAt<char>(info, 210), 1);
   CHECK_EQ(fieldAt<hyx_uint32>(info, 211), 0x3);
   CHECK_EQ(vlanUse(info, 4095), 1);
   CHECK_EQ(fieldAt<hyx_uint16>(info, 8408), 1);
   CHECK_EQ(fieldAt<hyx_uint32>(info, 8410), 0x4000002);
   CHECK_EQ(fieldAt<hyx_uint32>(info, 8414), 2);
   CHECK_EQ(fieldAt<hyx_uint32>(info, 8418), 1);

   free(info);
}

void testBadArguments() {
   VSList *const sentinel = reinterpret_cast<VSList *>(0x1234);
   VSList *list = sentinel;
   CHECK_EQ(VSHYX_GetSwitches(VS_LIST_PS, nullptr), HYX_BAD_PARAM);
   int const badTypes[] = {0, 3, -1, 0x7fffffff};
   for (int type : badTypes) {
      CHECK_EQ(VSHYX_GetSwitches(static_cast<VSListType>(type), &list), HYX_BAD_PARAM);
      CHECK(list == sentinel);
   }

   VSInfo *info = static_cast<VSInfo *>(malloc(sizeof(VSInfo)));
   memset(info, 0x5A, sizeof *info);
   CHECK_EQ(VSHYX_GetVSInfo(nullptr, info), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetVSInfo("switch0", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_GetVSInfo("switch9", info), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_GetVSInfo("Switch0", info), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_GetVSInfo("", info), HYX_NOT_FOUND);
   /* Aliases name distributed switches only through the alias lookup. */
   CHECK_EQ(VSHYX_GetVSInfo("dvs-prod", info), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_GetVSInfo(std::string(127, 'n').c_str(), info), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_GetVSInfo(std::string(128, 'n').c_str(), info), HYX_NAME_TOO_LONG);
   /* An unterminated name is not read past the longest valid name. */
   char *unterminated = static_cast<char *>(malloc(VS_LIST_PS_ENTRY_LEN));
   memset(unterminated, 'u', VS_LIST_PS_ENTRY_LEN);
   CHECK_EQ(VSHYX_GetVSInfo(unterminated, info), HYX_NAME_TOO_LONG);
   CHECK(allBytes(info, sizeof *info, 0x5A));
   free(info);

   char switchId[VS_DVS_SWITCH_ID_LEN];
   memset(switchId, 0x7E, sizeof switchId);
   CHECK_EQ(VSHYX_DVSAliasToSwitchId(nullptr, switchId), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_DVSAliasToSwitchId("dvs-prod", nullptr), HYX_BAD_PARAM);
   CHECK_EQ(VSHYX_DVSAliasToSwitchId("dswitch0", switchId), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_DVSAliasToSwitchId("", switchId), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_DVSAliasToSwitchId(std::string(80, 'a').c_str(), switchId), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_DVSAliasToSwitchId(std::string(81, 'a').c_str(), switchId), HYX_NAME_TOO_LONG);
   CHECK_EQ(VSHYX_DVSAliasToSwitchId(unterminated, switchId), HYX_NAME_TOO_LONG);
   CHECK(allBytes(switchId, sizeof switchId, 0x7E));
   free(unterminated);

   /* Only the name and its NUL are written. */
   CHECK_EQ(VSHYX_DVSAliasToSwitchId("dvs-prod", switchId), HYX_OK);
   CHECK_STR(switchId, "dswitch0");
   CHECK(allBytes(switchId + 13, sizeof switchId - 13, 0x7E));
}

void testStatusTexts() {
   CHECK_STR(HYX_ReturnStatusToString(HYX_OK), "Success");
   CHECK_STR(HYX_ReturnStatusToString(HYX_NOT_FOUND), "Not found");
   CHECK_STR(HYX_ReturnStatusToString(HYX_BAD_PARAM), "Bad parameter");
   CHECK_STR(HYX_ReturnStatusToString(HYX_NAME_TOO_LONG), "Name too long");
   char const *unknown = HYX_ReturnStatusToString(-1);
   CHECK_STR(unknown, "Unknown status");
   CHECK_STR(HYX_ReturnStatusToString(0xBAD0000), unknown);
   CHECK_STR(HYX_ReturnStatusToString(HYX_LAST_ERR + 1), unknown);
   CHECK_STR(HYX_ReturnStatusToString(0x7fffffff), unknown);
   CHECK(strcmp(HYX_ReturnStatusToString(HYX_GENERIC_LINUX_ERROR), unknown) != 0);

   /* Every code of the block has its own text except the four unassigned ones. */
   int const holes[] = {0xBAD00E9, 0xBAD0127, 0xBAD0130, 0xBAD0131};
   std::set<std::string> seen;
   for (int code = HYX_FAILURE; code <= HYX_LAST_ERR; ++code) {
      bool hole = false;
      for (int h : holes)
         hole = hole || code == h;
      char const *text = HYX_ReturnStatusToString(code);
      CHECK(text != nullptr);
      if (text == nullptr)
         continue;
      if (hole) {
         CHECK_STR(text, unknown);
         continue;
      }
      if (strcmp(text, unknown) == 0 || !seen.insert(text).second) {
         fprintf(stderr, "status %#x has text \"%s\"\n", code, text);
         ++g_failures;
      }
   }
}

void testFaultInjection() {
   int excA = 0, excB = 0;
   VSInfo *info = static_cast<VSInfo *>(malloc(sizeof(VSInfo)));
   InfoCall call = {"switch0", info, -1};

   /* Fires once, leaves the record alone, then the function works again. */
   tessel_sim_inject_fault("VSHYX_GetVSInfo", &excA, "injected failure");
   memset(info, 0x11, sizeof *info);
   CHECK(abandoned(callGetVSInfo, &call));
   CHECK(exceptionType == &excA);
   CHECK_STR(exceptionMsg, "injected failure");
   CHECK_EQ(exception_status, 1);
   CHECK_EQ(call.status, -1);
   CHECK(allBytes(info, sizeof *info, 0x11));
   CHECK(!abandoned(callGetVSInfo, &call));
   CHECK_EQ(call.status, HYX_OK);

   /* Two functions armed at once; arming one again replaces its fault. */
   void *block = tessel_sim_block_alloc(16);
   long outstanding = tessel_sim_outstanding_blocks();
   tessel_sim_inject_fault("VSHYX_FreeMemory", &excA, "first");
   tessel_sim_inject_fault("VSHYX_GetVSInfo", &excA, "info");
   tessel_sim_inject_fault("VSHYX_FreeMemory", &excB, "second");
   CHECK(abandoned(callFreeMemory, block));
   CHECK(exceptionType == &excB);
   CHECK_STR(exceptionMsg, "second");
   CHECK_EQ(tessel_sim_outstanding_blocks(), outstanding);
   CHECK(abandoned(callGetVSInfo, &call));
   CHECK_STR(exceptionMsg, "info");
   CHECK(!abandoned(callFreeMemory, block));
   CHECK_EQ(tessel_sim_outstanding_blocks(), outstanding - 1);

   tessel_sim_inject_fault("VSHYX_GetVSInfo", &excA, kLongUtf8Text.c_str());
   CHECK(abandoned(callGetVSInfo, &call));
   checkCutUtf8(exceptionMsg);

   tessel_sim_inject_fault("VSHYX_GetVSInfo", &excA, nullptr);
   CHECK(abandoned(callGetVSInfo, &call));
   CHECK_STR(exceptionMsg, "");

   /* Cleared and reset faults do not fire; the model still answers after a
    * reset. */
   tessel_sim_inject_fault("VSHYX_GetVSInfo", &excA, "cleared");
   tessel_sim_clear_faults();
   CHECK(!abandoned(callGetVSInfo, &call));
   tessel_sim_inject_fault("VSHYX_GetVSInfo", &excA, "reset");
   tessel_sim_reset();
   memset(info, 0, sizeof *info);
   CHECK(!abandoned(callGetVSInfo, &call));
   CHECK_EQ(call.status, HYX_OK);
   CHECK_EQ(fieldAt<hyx_uint32>(info, 12), 128);

   /* Faults are per function: other functions are not affected. */
   tessel_sim_inject_fault("VSDVS_FreeMemory", &excA, "other");
   CHECK(!abandoned(callGetVSInfo, &call));
   tessel_sim_clear_faults();
   free(info);
}

void testPanic() {
   /* The module doubles every percent sign, so the text comes back literally. */
   CHECK(abandoned(callPanic, const_cast<char *>("bad value %%s %%n here")));
   CHECK(exceptionType == &fakeRuntimeErrorClass);
   CHECK_STR(exceptionMsg, "bad value %s %n here");

   CHECK(abandoned(callPanicFormatted, nullptr));
   CHECK_STR(exceptionMsg, "7-x");

   CHECK(abandoned(callPanic, nullptr));
   CHECK(exceptionType == &fakeRuntimeErrorClass);
   CHECK(exceptionMsg != nullptr && exceptionMsg[0] != '\0');

   CHECK(abandoned(callPanic, const_cast<char *>(kLongUtf8Text.c_str())));
   checkCutUtf8(exceptionMsg);
}

int g_resetHookRuns = 0;
void countingResetHook() { ++g_resetHookRuns; }

void testResetHooks() {
   tessel_sim_add_reset_hook(countingResetHook);
   tessel_sim_add_reset_hook(countingResetHook);
   tessel_sim_reset();
   CHECK_EQ(g_resetHookRuns, 1);
   tessel_sim_remove_reset_hook(countingResetHook);
   tessel_sim_reset();
   CHECK_EQ(g_resetHookRuns, 1);
}

void testBlockTracking() {
   long base = tessel_sim_outstanding_blocks();
   unsigned char *a = static_cast<unsigned char *>(tessel_sim_block_alloc(64));
   void *b = tessel_sim_block_alloc(0);
   void *c = tessel_sim_block_alloc(8);
   CHECK(a != nullptr && b != nullptr && c != nullptr);
   CHECK_EQ(tessel_sim_outstanding_blocks(), base + 3);
   CHECK(a != nullptr && allBytes(a, 64, 0));

   VSHYX_FreeMemory(a);
   CHECK_EQ(tessel_sim_outstanding_blocks(), base + 2);
   VSDVS_FreeMemory(b);
   CHECK_EQ(tessel_sim_outstanding_blocks(), base + 1);

   /* Released, unknown and NULL addresses are ignored. */
   int local = 0;
   VSHYX_FreeMemory(a);
   VSDVS_FreeMemory(b);
   VSHYX_FreeMemory(nullptr);
   VSDVS_FreeMemory(&local);
   CHECK_EQ(tessel_sim_block_release(nullptr), 0);
   CHECK_EQ(tessel_sim_block_release(&local), 0);
   CHECK_EQ(tessel_sim_outstanding_blocks(), base + 1);

   CHECK_EQ(tessel_sim_block_release(c), 1);
   CHECK_EQ(tessel_sim_block_release(c), 0);
   CHECK_EQ(tessel_sim_outstanding_blocks(), base);
}

} // namespace

int main() {
   CHECK_EQ(tessel_sim_guard_available(), 1);
   CHECK_EQ(tessel_sim_dvs_ready(), 1);
   testSwitchLists();
   testSwitchInfo();
   testBadArguments();
   testStatusTexts();
   testFaultInjection();
   testPanic();
   testResetHooks();
   testBlockTracking();
   CHECK_EQ(tessel_sim_outstanding_blocks(), 0);
   if (g_failures != 0) {
      fprintf(stderr, "%d check(s) failed\n", g_failures);
      return 1;
   }
   puts("host tests passed");
   return 0;
}
