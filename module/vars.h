#ifndef TESSEL_MODULE_VARS_H
#define TESSEL_MODULE_VARS_H

#define TESSEL_NUM_RUNTIME_OPTIONS 18

extern const int hyx_ModuleCurrentID;
extern const char *runtimeOptionNames[TESSEL_NUM_RUNTIME_OPTIONS];

#endif
