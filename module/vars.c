/* The module's exported C variables. */
#include "module/conv.h"

#include "module/vars.h"

/* The host's current module id; the constant 0. */
TESSEL_EXPORT const int hyx_ModuleCurrentID = 0;

/* Runtime option names: index i names the option whose VS_RT_OPT_* constant
   is i. */
const char *runtimeOptionNames[TESSEL_NUM_RUNTIME_OPTIONS] = {VS_RT_OPT_NAMES};
HYX_STATIC_ASSERT(sizeof((const char *[]){VS_RT_OPT_NAMES}) / sizeof(const char *) ==
                      TESSEL_NUM_RUNTIME_OPTIONS,
                  "one name per runtime option type");
