/* Kernel basics of the simulated host, in a process that plays the Python
 * module's part: it defines the exception guard globals and arms the guard
 * with setjmp around calls that may be abandoned.  What the module cannot
 * see is checked here: fault slots and their texts, Panic, reset hooks,
 * block tracking, status texts, and names the host must not read past. */
#include <setjmp.h>
#include <stdlib.h>

#include <set>
#include <string>

#include "check.h"
#include "hostapi/guard_globals.h"
#include "hostapi/kernel.h"
#include "hostapi/status.h"
#include "sim_internal.h"

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

using check::allBytes;

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
   VSInfo *info;
   HYX_ReturnStatus status;
};

void callGetVSInfo(void *ctx) {
   auto *call = static_cast<InfoCall *>(ctx);
   call->status = VSHYX_GetVSInfo("switch0", call->info);
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

/* Slots hold their text within their width and zeros after it; the list is
 * a malloc block the caller frees, not a tracked one. */
void testSwitchLists() {
   long const blocks = tessel_sim_outstanding_blocks();
   struct {
      VSListType type;
      size_t width;
   } const lists[] = {{VS_LIST_PS, VS_LIST_PS_ENTRY_LEN},
                      {VS_LIST_DVS_ALIAS, VS_LIST_ALIAS_ENTRY_LEN}};
   for (auto const &l : lists) {
      VSList *list = nullptr;
      CHECK_EQ(VSHYX_GetSwitches(l.type, &list), HYX_OK);
      CHECK(list != nullptr && list->count > 0 && list->listType == l.type);
      for (int i = 0; list != nullptr && i < list->count; ++i) {
         char const *slot = list->switches + i * l.width;
         size_t len = strnlen(slot, l.width);
         CHECK(len > 0 && len < l.width && allBytes(slot + len, l.width - len, 0));
      }
      free(list);
   }
   CHECK_EQ(tessel_sim_outstanding_blocks(), blocks);
   VSList *const sentinel = reinterpret_cast<VSList *>(0x1234);
   VSList *list = sentinel;
   for (int type : {0, 3, -1, 0x7fffffff})
      CHECK_EQ(VSHYX_GetSwitches(static_cast<VSListType>(type), &list), HYX_BAD_PARAM);
   CHECK(list == sentinel);
}

/* Every byte of the summary is written, whatever the record held before. */
void testSummaryWritesEveryByte() {
   for (char const *name : {"switch0", "dswitch0"}) {
      VSInfo *poisoned = static_cast<VSInfo *>(malloc(sizeof(VSInfo)));
      VSInfo *clean = static_cast<VSInfo *>(calloc(1, sizeof(VSInfo)));
      memset(poisoned, 0xA5, sizeof *poisoned);
      CHECK_EQ(VSHYX_GetVSInfo(name, poisoned), HYX_OK);
      CHECK_EQ(VSHYX_GetVSInfo(name, clean), HYX_OK);
      CHECK(memcmp(poisoned, clean, sizeof *clean) == 0);
      free(poisoned);
      free(clean);
   }
}

/* Names are not read past the longest valid one; failures write nothing. */
void testNameBounds() {
   VSInfo *info = static_cast<VSInfo *>(malloc(sizeof(VSInfo)));
   memset(info, 0x5A, sizeof *info);
   char *unterminated = static_cast<char *>(malloc(VS_LIST_PS_ENTRY_LEN));
   memset(unterminated, 'u', VS_LIST_PS_ENTRY_LEN);
   CHECK_EQ(VSHYX_GetVSInfo(unterminated, info), HYX_NAME_TOO_LONG);
   CHECK_EQ(VSHYX_GetVSInfo(std::string(127, 'n').c_str(), info), HYX_NOT_FOUND);
   /* Aliases name distributed switches only through the alias lookup. */
   CHECK_EQ(VSHYX_GetVSInfo("dvs-prod", info), HYX_NOT_FOUND);
   CHECK(allBytes(info, sizeof *info, 0x5A));
   free(info);

   char switchId[VS_DVS_SWITCH_ID_LEN];
   memset(switchId, 0x7E, sizeof switchId);
   CHECK_EQ(VSHYX_DVSAliasToSwitchId(std::string(80, 'a').c_str(), switchId), HYX_NOT_FOUND);
   CHECK_EQ(VSHYX_DVSAliasToSwitchId(unterminated, switchId), HYX_NAME_TOO_LONG);
   CHECK_EQ(VSHYX_DVSAliasToSwitchId("dswitch0", switchId), HYX_NOT_FOUND);
   CHECK(allBytes(switchId, sizeof switchId, 0x7E));
   free(unterminated);
   /* Only the name and its NUL are written. */
   CHECK_EQ(VSHYX_DVSAliasToSwitchId("dvs-prod", switchId), HYX_OK);
   CHECK_STR(switchId, "dswitch0");
   CHECK(allBytes(switchId + 9, sizeof switchId - 9, 0x7E));
}

void testStatusTexts() {
   char const *unknown = HYX_ReturnStatusToString(-1);
   CHECK_STR(unknown, "Unknown status");
   for (int code : {0xBAD0000, HYX_LAST_ERR + 1, 0x7fffffff})
      CHECK_STR(HYX_ReturnStatusToString(code), unknown);
   CHECK(strcmp(HYX_ReturnStatusToString(HYX_GENERIC_LINUX_ERROR), unknown) != 0);

   /* Every code of the block has its own text except the four unassigned ones. */
   std::set<int> const holes = {0xBAD00E9, 0xBAD0127, 0xBAD0130, 0xBAD0131};
   std::set<std::string> seen = {"Success"};
   CHECK_STR(HYX_ReturnStatusToString(HYX_OK), "Success");
   for (int code = HYX_FAILURE; code <= HYX_LAST_ERR; ++code) {
      char const *text = HYX_ReturnStatusToString(code);
      bool const hole = holes.count(code) != 0;
      if (text == nullptr || (strcmp(text, unknown) == 0) != hole ||
          (!hole && !seen.insert(text).second)) {
         fprintf(stderr, "status %#x has text \"%s\"\n", code, text ? text : "(null)");
         ++check::failures;
      }
   }
}

void testFaultInjection() {
   int excA = 0, excB = 0;
   VSInfo *info = static_cast<VSInfo *>(malloc(sizeof(VSInfo)));
   InfoCall call = {info, -1};

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

   /* Cleared and reset faults do not fire, nor those of other functions. */
   tessel_sim_inject_fault("VSHYX_GetVSInfo", &excA, "cleared");
   tessel_sim_clear_faults();
   CHECK(!abandoned(callGetVSInfo, &call));
   tessel_sim_inject_fault("VSHYX_GetVSInfo", &excA, "reset");
   tessel_sim_reset();
   CHECK(!abandoned(callGetVSInfo, &call));
   tessel_sim_inject_fault("VSDVS_FreeMemory", &excA, "other");
   CHECK(!abandoned(callGetVSInfo, &call));
   CHECK_EQ(call.status, HYX_OK);
   tessel_sim_clear_faults();
   free(info);
}

void testPanic() {
   CHECK(abandoned(callPanicFormatted, nullptr));
   CHECK(exceptionType == &fakeRuntimeErrorClass);
   CHECK_STR(exceptionMsg, "7-x");
   CHECK(abandoned(callPanic, nullptr));
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

/* Both libraries release tracked blocks once; released, unknown and NULL
 * addresses are ignored. */
void testBlockTracking() {
   long base = tessel_sim_outstanding_blocks();
   unsigned char *a = static_cast<unsigned char *>(tessel_sim_block_alloc(64));
   void *b = tessel_sim_block_alloc(0);
   void *c = tessel_sim_block_alloc(8);
   CHECK(a != nullptr && b != nullptr && c != nullptr && allBytes(a, 64, 0));
   CHECK_EQ(tessel_sim_outstanding_blocks(), base + 3);
   VSHYX_FreeMemory(a);
   VSDVS_FreeMemory(b);
   CHECK_EQ(tessel_sim_outstanding_blocks(), base + 1);
   int local = 0;
   VSHYX_FreeMemory(a);
   VSDVS_FreeMemory(b);
   VSHYX_FreeMemory(nullptr);
   VSDVS_FreeMemory(&local);
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
   testSummaryWritesEveryByte();
   testNameBounds();
   testStatusTexts();
   testFaultInjection();
   testPanic();
   testResetHooks();
   testBlockTracking();
   CHECK_EQ(tessel_sim_outstanding_blocks(), 0);
   return check::finish("kernel_test");
}
