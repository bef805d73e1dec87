/* The module's exported C variables. */
#include "module/conv.h"

#include "module/vars.h"

/* The host's current module id; the constant 0. */
TESSEL_EXPORT const int hyx_ModuleCurrentID = 0;

/* Runtime option names: index i names the option whose VS_RT_OPT_* constant
   is i. */
const char *runtimeOptionNames[TESSEL_NUM_RUNTIME_OPTIONS] = {
    "IGMPQueryInterval",
    "IGMPV3MaxSrcIPNum",
    "IGMPQueries",
    "IGMPVersion",
    "MLDVersion",
    "MLDV2MaxSrcIPNum",
    "MaxRARPsPerInterval",
    "RARPAdvertisementDuration",
    "ReversePathFwdCheck",
    "ReversePathFwdCheckPromisc",
    "AllowFastPath",
    "TeamPolicyUpDelay",
    "AllowMirrorStats",
    "TeamingNUMAAware",
    "SendIGMPReportToUplink",
    "TeamingIgnoreShotgun",
    "IGMPRouterIP",
    "MLDRouterIP",
};
