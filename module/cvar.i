/* The link-variable object cvar and its two read-only variables. */

%{
#include "module/vars.h"
%}

%immutable hyx_ModuleCurrentID;
extern const int hyx_ModuleCurrentID;

/* A dimensionless array has no setter: assignment raises AttributeError. */
%warnfilter(462) runtimeOptionNames;
extern const char *runtimeOptionNames[];
