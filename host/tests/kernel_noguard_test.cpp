/* The host libraries in a process without the Python module: the guard
 * globals are missing, so nothing can abandon a call and every function
 * returns normally, even with a fault armed or a Python class to be found. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "hostapi/kernel.h"
#include "hostapi/status.h"
#include "tessel_sim.h"

extern "C" {
int fakeRuntimeErrorClass;
void *PyExc_RuntimeError = &fakeRuntimeErrorClass;
}

int main() {
   int failures = 0;
   auto check = [&failures](bool ok, char const *what) {
      if (!ok) {
         fprintf(stderr, "check failed: %s\n", what);
         ++failures;
      }
   };

   check(tessel_sim_guard_available() == 0, "no guard in this process");

   int exc = 0;
   VSInfo *info = static_cast<VSInfo *>(calloc(1, sizeof(VSInfo)));
   tessel_sim_inject_fault("VSHYX_GetVSInfo", &exc, "cannot fire");
   check(VSHYX_GetVSInfo("switch0", info) == HYX_OK, "armed call runs normally");
   hyx_uint32 mtu;
   memcpy(&mtu, info, sizeof mtu);
   check(mtu == 1500, "armed call fills the record");
   free(info);

   tessel_sim_inject_fault("HYX_ReturnStatusToString", &exc, "cannot fire");
   check(strcmp(HYX_ReturnStatusToString(HYX_OK), "Success") == 0, "status text");

   /* Prints the text to stderr and comes back. */
   Panic("panic without a guard %%s");
   Panic(nullptr);

   if (failures != 0) {
      fprintf(stderr, "%d check(s) failed\n", failures);
      return 1;
   }
   puts("host tests without guard passed");
   return 0;
}
