#ifndef TESSEL_MODULE_VARS_H
#define TESSEL_MODULE_VARS_H

#include "hostapi/options.h"

#define TESSEL_NUM_RUNTIME_OPTIONS VS_NUM_RT_OPT

extern const int hyx_ModuleCurrentID;
extern const char *runtimeOptionNames[TESSEL_NUM_RUNTIME_OPTIONS];

#endif
