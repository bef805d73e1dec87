%module _tessel_probe

%include "module/conversions.i"
%include "hostapi/common.h"

%{
#include "tests/probe/probe.h"
%}

typedef struct VSInfo VSInfo;

%apply int *OUTPUT { int *outInt };
%apply unsigned long long *OUTPUT { hyx_uint64 *outU64 };
%apply char *OUTPUT { hyx_Bool *outBool };
%apply SWIGTYPE **OUTPUT { VSInfo **outInfo };
%tessel_bounded_output(outText, 8)
%tessel_host_writable_text(writable, 128)

%include "tests/probe/probe.h"
