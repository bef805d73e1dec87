"""The built module against the published inventory, both ways: every method
it has is listed there and every listed method is present; every record
size and every constant is the listed one."""

import os

import _libtessel as m

from conftest import INVENTORY


def _rows(name):
    with open(os.path.join(INVENTORY, name)) as f:
        return [line.rstrip("\n").split("\t") for line in f if line.strip()]


METHODS = {r[0] for r in _rows("methods.txt")}
RECORDS = {r[0]: int(r[1]) for r in _rows("records.tsv")}
CONSTANT_ROWS = _rows("constants.tsv")
CONSTANTS = {r[0]: (r[1], r[2]) for r in CONSTANT_ROWS}


def module_methods():
    return [n for n, v in vars(m).items() if type(v).__name__ == "builtin_function_or_method"]


def module_records():
    return sorted(n[: -len("_swigregister")] for n in module_methods() if n.endswith("_swigregister"))


def test_methods_are_exactly_the_inventory():
    have = set(module_methods())
    assert sorted(have - METHODS) == []
    assert sorted(METHODS - have) == []


def test_record_sizes():
    import ctypes

    for record in module_records():
        assert record in RECORDS
        raw = getattr(m, "new_" + record)()
        size = RECORDS[record]
        # The record is zero-filled over exactly its size: writing the last
        # byte is within the allocation (the sanitizer run checks the bound).
        assert ctypes.string_at(int(raw), size) == bytes(size), record


def test_constants_match():
    for name, value in vars(m).items():
        if isinstance(value, (int, str)) and not name.startswith("__"):
            assert name in CONSTANTS, name
            kind, text = CONSTANTS[name]
            expected = int(text) if kind == "int" else eval(text)  # noqa: S307 (literals from the inventory)
            assert type(value).__name__ == kind and value == expected, name


def test_constants_installed_in_order_with_cvar_among_them():
    # Dictionary order is insertion order: methods first, then the constants
    # one insertion each, cvar right after HYX_IOCTL_CALLER_32.
    names = [n for n, v in vars(m).items()
             if not n.startswith("__") and type(v).__name__ != "builtin_function_or_method"]
    expected = [r[0] for r in CONSTANT_ROWS]
    at = expected.index("HYX_IOCTL_CALLER_32") + 1
    assert names == expected[:at] + ["cvar"] + expected[at:]


def test_first_method_and_count():
    methods = module_methods()
    assert methods[0] == "SWIG_PyInstanceMethod_New"
    assert len(methods) == len(METHODS) == 2232


def test_every_record_is_built():
    assert module_records() == sorted(RECORDS)


def module_descriptors():
    """(mangled name, spellings) of each descriptor of the module's type table,
    read through the runtime capsule the module publishes."""
    import ctypes
    import sys

    class TypeInfo(ctypes.Structure):
        _fields_ = [("name", ctypes.c_char_p), ("str", ctypes.c_char_p), ("dcast", ctypes.c_void_p),
                    ("cast", ctypes.c_void_p), ("clientdata", ctypes.c_void_p), ("owndata", ctypes.c_int)]

    class ModuleInfo(ctypes.Structure):
        _fields_ = [("types", ctypes.POINTER(ctypes.POINTER(TypeInfo))), ("size", ctypes.c_size_t)]

    capsule = sys.modules["swig_runtime_data4"].type_pointer_capsule
    get = ctypes.pythonapi.PyCapsule_GetPointer
    get.restype, get.argtypes = ctypes.c_void_p, [ctypes.py_object, ctypes.c_char_p]
    info = ModuleInfo.from_address(get(capsule, b"swig_runtime_data4.type_pointer_capsule"))
    return {info.types[i].contents.name.decode(): info.types[i].contents.str.decode() for i in range(info.size)}


# Pointer-to-pointer descriptors: the records host calls hand out through an
# out-argument, and the primitive and typedef descriptors every module of
# this API has.
HANDED_OUT = """DVMirrorSessionTable DVPortList LSTeamTable OpaqueDVPortData VSDVMirrorSessionIDs VSInfo
    VSL2Security VSLAGTable VSList VSMACLearningEntries VSMACLearningStats VSMACTable VSMcastFilterStats
    VSMcastFilters VSMcastSwitchFilters VSPortInfo VSPortVlanPolicy VSPromiscSessionActiveDsts VSPvlanMapEntry
    VSRdmaEntries VSRemoteTepEntries VSRuntimeOptions VSStaticLeCtxEntries VSSwitchPortInfo VSTenantEntries
    VSUplinkPortIds VSUplinkPorts VSUplinks VSUserMcastLegacyKeys""".split()
PRIMITIVE = {
    "_p_char": "char *|hyx_Bool *",
    "_p_unsigned_int": "unsigned int *|hyx_uint32 *|hyx_uintptr_t *|hyx_ByteCountSmall *|hyx_SwitchPortID *|"
                       "hyx_IPv4Address *|hyx_LinkSpeed *|hyx_IntrCookie *|hyx_VirtualNetworkID *|hyx_revnum *|"
                       "hyx_PortsetResPoolShares *|ZARVersion *",
    "_p_a_1040__char": "char (*)[1040]|hyx_PortClientName *",
    "_p_a__32_4___8__char": "char (*)[(32*4) +8]|LSTeamPolicyName *",
    "_p_void": "void *|DVSwitchHandle|DVSPortHandle",
    "_p_p_void": "void **|DVSDataHandle *|DVSDataItem *",
    "_p_f_p_void_p_void__char": "char (*)(void *,void *)|DVSwitchCallback|DVSPortCallback|DVSPortDataCallback",
    "_p___builtin_va_list": "__builtin_va_list *|__gnuc_va_list *|va_list *",
    "_p_PktHandle": "struct PktHandle *|hyx_PktHandle *",
    "_p_Portset": "struct Portset *|hyx_Portset *",
}
OTHERS = """_p_signed_char _p_unsigned_char _p_short _p_unsigned_short _p_int _p_long_long _p_unsigned_long_long
    _p_a_6__unsigned_char _p_a_16__unsigned_char _p_a_32__char _p_a_48__char _p_a_64__char _p_a_81__char
    _p_f_size_t__p_void _p_f_p_void__void _p_hyx_MgmtParm _p_p_char _p__mcastFilter _p__uplink""".split()


def header_enumerations():
    import glob
    import re

    names = set()
    for path in glob.glob(os.path.join(os.path.dirname(INVENTORY), "..", "..", "hostapi", "*.h")):
        names.update(re.findall(r"typedef enum (?:HYX_PACKED )?(\w+) \{", open(path).read()))
    return names


def test_type_descriptors_follow_the_rules():
    have = module_descriptors()
    expected = ({"_p_" + r for r in RECORDS} | {"_p_p_" + r for r in HANDED_OUT} | set(PRIMITIVE) | set(OTHERS)
                | {"_p_" + e for e in header_enumerations() if e != "hyx_MgmtParm"})
    assert sorted(set(have) - expected) == []
    assert sorted(expected - set(have)) == []
    assert list(have) == sorted(have)  # lookups by name are binary searches
    for name, spellings in PRIMITIVE.items():
        assert have[name] == spellings, name
    assert have["_p_VSInfo"] == "struct VSInfo *|VSInfo *"
    assert have["_p_p_VSList"] == "struct VSList **|VSList **"
