/* The host libraries in a process without the Python module: the guard
 * globals are missing, so nothing can abandon a call and every function
 * returns normally, even with a fault armed or a Python class to be found. */
#include <stdlib.h>

#include "check.h"
#include "hostapi/kernel.h"
#include "hostapi/status.h"

extern "C" {
int fakeRuntimeErrorClass;
void *PyExc_RuntimeError = &fakeRuntimeErrorClass;
}

int main() {
   CHECK_EQ(tessel_sim_guard_available(), 0);
   int exc = 0;
   VSInfo *info = static_cast<VSInfo *>(calloc(1, sizeof(VSInfo)));
   tessel_sim_inject_fault("VSHYX_GetVSInfo", &exc, "cannot fire");
   CHECK_EQ(VSHYX_GetVSInfo("switch0", info), HYX_OK);
   CHECK_EQ(check::at<hyx_uint32>(info, 0), 1500);
   free(info);
   tessel_sim_inject_fault("HYX_ReturnStatusToString", &exc, "cannot fire");
   CHECK_STR(HYX_ReturnStatusToString(HYX_OK), "Success");
   /* Prints the text to stderr and comes back. */
   Panic("panic without a guard %%s");
   Panic(nullptr);
   return check::finish("kernel_noguard_test");
}
