#!/usr/bin/env python3
"""Writes the type stubs of _libtessel (``_libtessel.pyi``) from what SWIG
generated for it.

    stubgen.py WRAPPER.c [--xml TREE.xml] [--sources C_FILE...] -o _libtessel.pyi

The wrapper is read, not the interface files: its method table gives every
method the module offers (less those the module's init removes), each
wrapper's ``PyArg_UnpackTuple`` how many arguments it takes (and how many
may be left out), the conversion each argument goes through its Python type,
and the result conversion and the out-values appended to it the result's
type.  SWIG's XML tree of the same run (``-xmlout``), when given, adds the C
parameter names; the module's hand-written C files, when given, what their
helpers return.

Types:

- integers of every width and enumerations are ``int``; a one-byte ``char``
  argument takes an ``int`` or a one-character ``str`` and reads back as a
  ``str``;
- texts (``char const *`` and the like) are ``str``, a ``char *`` pointer
  object or None; fixed ``char [N]`` fields take ``str`` or None;
- a pointer is ``_p_<descriptor>``, a pointer object (``SwigPyObject``);
  a record pointer argument takes that or ``_r_<Record>``, an object of the
  class ``libtessel.records`` registers for the record (fields as
  properties, extension methods as methods), which is what the module
  returns for a record once that class is registered, except for a new
  record (``SWIG_POINTER_NEW``: a pointer object).  A pointer result is
  None for NULL, except a view of a field inside its record;
- None is taken where the conversion takes it, unless the wrapper then
  refuses a NULL value or, for a record given as None, raises rather than
  letting a setter do nothing, a destructor release nothing or a helper
  take it (getters and extension methods raise);
- out-values follow the result as the module returns them: the only value
  for a function without a result, else a list of the result and the
  out-values, typed as a tuple of their types (a list type cannot say what
  stands where);
- a result built by hand-written code (``PyObject *``) is the union of what
  its return statements build when each is a known conversion or such a
  helper, else ``Any``.

Each method whose wrapper SWIG did not write (``%native``) is described in
NATIVES below; a native method without an entry stops the generator, so a
new one is not silently typed as anything.
"""

import argparse
import keyword
import os
import re
import sys
import xml.etree.ElementTree as ET

# Argument conversions: the function a wrapper passes objN to first, and
# the Python type that conversion accepts.  "PTR" takes the descriptor
# named in the same call.
ARGUMENTS = {
    "SWIG_AsVal_int": "int",
    "SWIG_AsVal_unsigned_SS_int": "int",
    "SWIG_AsVal_unsigned_SS_char": "int",
    "SWIG_AsVal_unsigned_SS_short": "int",
    "SWIG_AsVal_short": "int",
    "SWIG_AsVal_signed_SS_char": "int",
    "SWIG_AsVal_long": "int",
    "SWIG_AsVal_unsigned_SS_long": "int",
    "SWIG_AsVal_long_SS_long": "int",
    "SWIG_AsVal_unsigned_SS_long_SS_long": "int",
    "SWIG_AsVal_size_t": "int",
    "SWIG_AsVal_double": "float",
    "SWIG_AsVal_float": "float",
    "SWIG_AsVal_char": "int | str",
    "SWIG_AsCharArray": "str | None",
    "tessel_as_text": "_Text",
    "PyObject_GetBuffer": "Buffer",
    "PyBytes_Check": "bytes | str",
    "tessel_prepare_release": "PTR",
    "tessel_convert_ptr": "PTR",
    "SWIG_ConvertPtr": "PTR",
    "SWIG_ConvertFunctionPtr": "PTR",
}

# Result conversions: the function building resultobj or an out-value.
RESULTS = {
    "SWIG_Py_Void": "None",
    "SWIG_From_int": "int",
    "SWIG_From_unsigned_SS_int": "int",
    "SWIG_From_unsigned_SS_char": "int",
    "SWIG_From_unsigned_SS_short": "int",
    "SWIG_From_short": "int",
    "SWIG_From_long": "int",
    "SWIG_From_unsigned_SS_long": "int",
    "SWIG_From_long_SS_long": "int",
    "SWIG_From_unsigned_SS_long_SS_long": "int",
    "SWIG_From_size_t": "int",
    "SWIG_From_double": "float",
    "SWIG_From_bool": "bool",
    "SWIG_From_char": "str",
    "SWIG_FromCharPtrAndSize": "str",
    "SWIG_FromCharPtr": "str | None",
    "tessel_mac_text": "str | None",
    "PyLong_FromLong": "int",
    "PyLong_FromUnsignedLong": "int",
    "PyLong_FromSize_t": "int",
    "PyBytes_FromStringAndSize": "bytes",
    "PyUnicode_FromStringAndSize": "str",
    "PyUnicode_FromString": "str",
    "PyUnicode_DecodeUTF8": "str",
    "PyUnicode_FromFormat": "str",
    "PyList_New": "list[Any]",
    "PyDict_New": "dict[str, Any]",
    "tessel_new_block": "PTR",
    "tessel_view_pointer": "PTR",
    "tessel_host_pointer": "PTR",
    "SWIG_NewPointerObj": "PTR",
}

# Methods SWIG did not write a wrapper for: their signatures by hand, one
# entry each (a list of lines for overloads).
NATIVES = {
    "SWIG_PyInstanceMethod_New": ["def SWIG_PyInstanceMethod_New(func: Callable[..., Any], /) -> Any: ..."],
    "DVSAliasToPortsetName": [
        "@overload",
        "def DVSAliasToPortsetName(alias: _Text, /) -> tuple[int, str]: ...",
        "@overload",
        "def DVSAliasToPortsetName(alias: _Text, name: _Text, /) -> int: ...",
    ],
}
REGISTER = "_swigregister"
OBJECT_METHODS = {"__repr__": "str", "__str__": "str", "__hash__": "int"}

HEADER = '''"""Type stubs of the _libtessel module, generated by module/stubgen.py from
the SWIG wrapper; do not edit.

The classes exist for type checking only.  _p_<type> is a pointer object
of that C type.  _r_<Record> is an object of the class libtessel.records
registers for the record (importing libtessel does): the module returns
those for records, except for new records (new_<Record>() and the like),
which are pointer objects."""

from typing import Any, Callable, overload, type_check_only

from typing_extensions import Buffer, TypeAlias

@type_check_only
class SwigPyObject:
    """A pointer object: an address, its type and whether Python owns it."""

    def own(self, value: bool = ..., /) -> bool: ...
    def disown(self) -> None: ...
    def acquire(self) -> None: ...
    def append(self, obj: SwigPyObject, /) -> None: ...
    def next(self) -> SwigPyObject | None: ...
    def __int__(self) -> int: ...

@type_check_only
class _Record:
    """An object of a registered record class: the pointer object it holds
    is its this."""

    this: SwigPyObject
    thisown: bool
    def __init__(self) -> None: ...

_Pointer: TypeAlias = SwigPyObject | _Record
'''


class StubError(Exception):
    pass


def _functions(source):
    """The wrapper functions by name: {name: body}."""
    pattern = re.compile(r"^SWIGINTERN PyObject \*(\w+)\(PyObject \*self, PyObject \*args(?:, PyObject \*varargs)?\) \{\n(.*?)^\}",
                         re.M | re.S)
    return {m.group(1): m.group(2) for m in pattern.finditer(source)}


def _helpers(source, c_sources=()):
    """Hand-written functions returning PyObject *: the extension methods in
    the wrapper and the helpers of the module's C files, {name: body}."""
    found = {}
    for path in c_sources:
        with open(path) as f:
            text = f.read()
        for m in re.finditer(r"^PyObject \*(\w+)\([^)]*\)\s*\{\n(.*?)^\}", text, re.M | re.S):
            found[m.group(1)] = m.group(2)
    pattern = re.compile(r"^SWIGINTERN PyObject \*(\w+)\([^)]*\)\{\n(.*?)^  \}\n", re.M | re.S)
    found.update((m.group(1), m.group(2)) for m in pattern.finditer(source))
    one_line = re.compile(r"^SWIGINTERN PyObject \*(\w+)\([^)]*\)\{ (.*) \}$", re.M)
    found.update((m.group(1), m.group(2)) for m in one_line.finditer(source))
    return found


def _method_table(source):
    table = re.search(r"static PyMethodDef SwigMethods\[\] = \{(.*?)\n\};", source, re.S)
    if not table:
        raise StubError("no method table in the wrapper")
    removed = set(re.findall(r'PyDict_DelItemString\(md, "(\w+)"\)', source))
    entries = re.findall(r'\{ "(\w+)", (?:\(PyCFunction\)\(void\(\*\)\(void\)\))?(\w+), (METH_\w+)', table.group(1))
    return [(name, func, flags) for name, func, flags in entries if name not in removed]


class Types:
    """The descriptors met and the records among them."""

    def __init__(self, records):
        self.records = records
        self.pointers = set()

    def pointer(self, descriptor, argument=False, raw=False):
        """The type of a pointer of this descriptor: as an argument, the
        pointer object or, for a record, also its registered class; as a
        result, a record's registered class unless the module returns the
        bare pointer object (raw)."""
        if descriptor in (None, "0"):
            return "_Pointer"
        name = descriptor[len("SWIGTYPE"):]
        self.pointers.add(name)
        record = name[len("_p_"):]
        if record not in self.records:
            return name
        if argument:
            return "%s | _r_%s" % (name, record)
        return name if raw else "_r_" + record


def _descriptor(text):
    m = re.search(r"\bSWIGTYPE(_p_\w+)|\b(0)\b", text)
    if not m:
        return None
    return "SWIGTYPE" + m.group(1) if m.group(1) else "0"


def _members(union):
    """The members of a union type's text, split outside brackets."""
    out, depth, start = [], 0, 0
    for i, c in enumerate(union):
        depth += c == "["
        depth -= c == "]"
        if depth == 0 and union.startswith(" | ", i):
            out.append(union[start:i])
            start = i + 3
    out.append(union[start:])
    return out


def _union(parts):
    seen = []
    for part in parts:
        for p in _members(part):
            if p not in seen:
                seen.append(p)
    if "Any" in seen:
        return "Any"
    if "None" in seen:
        seen.remove("None")
        seen.append("None")
    return " | ".join(seen)


def _top_level(text, char):
    """Where char first stands outside parentheses, or None."""
    depth = 0
    for i, c in enumerate(text):
        depth += c == "("
        depth -= c == ")"
        if c == char and depth == 0:
            return i
    return None


def _split_choice(text):
    """The two alternatives of "a : b", split at the colon outside parentheses."""
    at = _top_level(text, ":")
    return (text, "") if at is None else (text[:at], text[at + 1:])


def _call_args(text, start):
    """The text of a call's arguments, from its opening parenthesis."""
    depth = 0
    for i in range(start, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return text[start + 1:i]
    return text[start + 1:]


def _argument_type(body, index, types):
    for m in re.finditer(r"(\w+)\(", body):
        args = _call_args(body, m.end() - 1)
        if not re.search(r"\bobj%d\b" % index, args) or m.group(1) not in ARGUMENTS:
            continue
        kind = ARGUMENTS[m.group(1)]
        if kind == "PTR":
            return types.pointer(_descriptor(args), argument=True) + " | None"
        return kind
    return "Any"


def _value_type(expr, body, types, helpers, seen=frozenset()):
    """The type a result expression builds (seen: the helpers being read)."""
    choice = _top_level(expr, "?")
    if choice is not None:
        first, second = _split_choice(expr[choice + 1:])
        return _union([_value_type(first, body, types, helpers, seen), _value_type(second, body, types, helpers, seen)])
    if re.match(r"\s*Py_RETURN_NONE\b", expr):
        return "None"
    m = re.match(r"\s*(?:\(\w+\s*\*?\))?\s*(\w+)", expr)
    if not m:
        return "Any"
    name = m.group(1)
    if name == "result":
        call = re.search(r"result = \(PyObject \*\)(\w+)\(", body)
        return _helper_type(call.group(1), types, helpers) if call else "Any"
    if name == "out":
        made = re.search(r"PyObject \*out = (.*?);", body, re.S)
        return _value_type(made.group(1), body, types, helpers) if made else "Any"
    kind = RESULTS.get(name)
    if kind is None:
        return _helper_type(name, types, helpers, seen) if name in helpers else "Any"
    if kind != "PTR":
        return kind
    args = _call_args(expr, expr.index("("))
    # A new record (SWIG_POINTER_NEW) is a bare pointer object, which the
    # record's class then attaches as its this.
    raw = re.search(r"\bSWIG_POINTER_(NEW|NOSHADOW)\b", args) is not None
    pointer = types.pointer(_descriptor(args), raw=raw)
    # A view of a field (its address, or an array decaying to one) is never NULL.
    if re.search(r"^  result = \([^;]*?\*\)\s*(?:&|\([^;]*?\*\))\s*\(\(arg1\)->", body, re.M):
        return pointer
    return pointer + " | None"


def _helper_type(name, types, helpers, seen=frozenset()):
    """What a hand-written function returning PyObject * gives: the union of
    its return statements, each a known conversion or another such helper;
    Any when one is not."""
    helper = helpers.get(name)
    if helper is None or name in seen:
        return "Any"
    seen = seen | {name}
    parts = ["None"] if "Py_RETURN_NONE" in helper else []
    for expr in re.findall(r"\breturn\s+(.*?);", helper, re.S):
        if re.match(r"\s*(NULL|PyErr_\w+\()", expr):
            continue  # raises
        parts.append(_value_type(expr, "", types, helpers, seen) if re.match(r"\s*\w+\s*\(|.*\?", expr, re.S) else "Any")
    return _union(parts) if parts else "Any"


def _result_type(body, types, helpers):
    results = [e for e in re.findall(r"resultobj = (.*?);\n", body, re.S)
               if e.strip() not in ("0",) and not e.startswith("SWIG_Python_AppendOutput")]
    result = _value_type(results[0], body, types, helpers) if results else "None"
    outs = []
    for m in re.finditer(r"SWIG_Python_AppendOutput\(resultobj, ", body):
        args = _call_args(body, m.start() + len("SWIG_Python_AppendOutput"))
        outs.append(_value_type(args[len("resultobj, "):], body, types, helpers))
    if not outs:
        return result
    # The module's rule: a result of None is replaced by the first
    # out-value; any other result starts a list.
    if result == "None":
        return outs[0] if len(outs) == 1 else _listed(outs)
    if "None" not in _members(result):
        return _listed([result] + outs)
    kept = _union([t for t in _members(result) if t != "None"])
    return _union([_listed([kept] + outs), outs[0] if len(outs) == 1 else _listed(outs)])


def _listed(items):
    """The list of values a call returns, typed by position (a tuple type:
    a list type cannot say what stands where)."""
    return "tuple[%s]" % ", ".join(items)


def _python_name(name, used):
    name = re.sub(r"\W", "_", name or "") or "arg"
    if keyword.iskeyword(name):
        name += "_"
    while name in used:
        name += "_"
    used.add(name)
    return name


def _xml_declarations(path):
    """{method: its C parameter names, as the wrapper takes them} from SWIG's
    XML tree (a member function's record first, as "self")."""
    out = {}
    if not path:
        return out
    for node in ET.parse(path).getroot().iter():
        attrs = node.find("attributelist")
        if attrs is None:
            continue
        values = {a.get("name"): a.get("value") for a in attrs.findall("attribute")}
        wrap = values.get("wrap_name")
        if not wrap or node.tag not in ("cdecl", "constructor", "destructor"):
            continue
        if node.tag == "destructor":
            out[wrap[len("_wrap_"):]] = [("self", False)]
            continue
        parms = []
        plist = attrs.find("parmlist")
        for p in plist.findall("parm") if plist is not None else []:
            pv = {a.get("name"): a.get("value") for a in p.find("attributelist").findall("attribute")}
            if pv.get("type") != "v(...)":
                parms.append((pv.get("name") or "", pv.get("tmap_in_numinputs") == "0"))
        if values.get("ismember") and values.get("kind") == "function" and node.tag == "cdecl":
            parms.insert(0, ("self", False))
        out[wrap[len("_wrap_"):]] = parms
    return out


def _argnum(rest, index):
    """The C parameter (from 1) Python argument index converts to, as its
    wrapper's error messages number it ("argument N"), or None."""
    start = re.search(r"\bobj%d\b" % index, rest)
    end = re.search(r"\bobj%d\b" % (index + 1), rest)
    segment = rest[start.start() if start else 0:end.start() if end else len(rest)]
    n = re.search(r"argument \D{0,4}(\d+)", segment)
    return int(n.group(1)) if n else None


def _refuses_none(rest, index, helpers):
    """Whether the wrapper refuses None for Python argument index: a check
    that the converted value is not NULL, or, for a record given as None
    (module/pointers.i), a wrapper that raises for it rather than letting a
    setter do nothing, a destructor release nothing or a helper take it."""
    argnum = _argnum(rest, index)
    if argnum and re.search(r"if \(!arg%d\) \{\s*SWIG_exception_fail\(" % argnum, rest):
        return True
    if index != 0 or "tessel_missing_record = missing1;" not in rest:
        return False
    # A release (its condition SWIG_POINTER_DISOWN, not 0) takes None.
    if re.search(r"if \((?!0\))\w+\) \{\s*res1 = tessel_prepare_release\(obj0", rest):
        return False
    after = rest[rest.index("tessel_missing_record = missing1;"):]
    check = re.search(r"if \(tessel_missing_record\) \{", after)
    if not check or "tessel_missing_record = 0;" in after[:check.start()]:
        return False
    call = re.search(r"result = \(PyObject \*\)(\w+)\(", rest)
    return not (call and "tessel_take_missing_record" in helpers.get(call.group(1), ""))


def _parameter_names(parms, rest, count):
    """The names of the count Python arguments: the C parameter each one's
    error messages number, else the C parameters that take an argument, in
    order; None when neither fits."""
    names = []
    for i in range(count):
        n = _argnum(rest, i)
        if not n or not 0 < n <= len(parms):
            break
        names.append(parms[n - 1][0])
    if len(names) == count:
        return names
    taking = [name for name, hidden in parms if not hidden]
    return taking if len(taking) == count else None


def _signature(name, body, types, helpers, names, receiver):
    unpack = re.search(r'PyArg_UnpackTuple\(args, "\w+", (\d+), (\d+)[^;]*;', body)
    if not unpack:
        raise StubError("%s: no argument unpacking in its wrapper" % name)
    low, high = int(unpack.group(1)), int(unpack.group(2))
    rest = body[unpack.end():]
    given = _parameter_names(names.get(name, []), rest, high) or []
    used = set()
    params = []
    for i in range(high):
        if given:
            pname = given[i]
        elif i == 0 and receiver:
            pname = "self"
        elif high == 2 and name.endswith("_set"):
            pname = "value"
        else:
            pname = "arg%d" % (i + 1)
        pname = _python_name(pname, used)
        default = " = ..." if i >= low else ""
        kind = _argument_type(rest, i, types)
        if _refuses_none(rest, i, helpers):
            kind = _union([t for t in _members(kind.replace("_Text", "str | _p_char")) if t != "None"])
        params.append("%s: %s%s" % (pname, kind, default))
    return params, _result_type(body, types, helpers)


def _load_owner():
    """The layer's rule for which record a method belongs to, loaded from its
    file (the package itself needs the built module)."""
    import importlib.util

    path = os.path.join(os.path.dirname(os.path.dirname(os.path.abspath(__file__))),
                        "python", "libtessel", "_owners.py")
    found = importlib.util.spec_from_file_location("_tessel_owners", path)
    loaded = importlib.util.module_from_spec(found)
    found.loader.exec_module(loaded)
    return loaded.owner


_owner = _load_owner()


def _record_class(record, members):
    lines = ["@type_check_only", "class _r_%s(_Record):" % record]
    body = ["    this: _p_%s" % record]
    for member, (params, result) in sorted(members.items()):
        if member.endswith("_get"):
            field = member[:-4]
            setter = members.get(field + "_set")
            body.append("    @property")
            body.append("    def %s(self) -> %s: ..." % (field, result))
            if setter:
                body.append("    @%s.setter" % field)
                value = setter[0][1].split(":", 1)[1].split(" = ")[0].strip()
                body.append("    def %s(self, value: %s) -> None: ..." % (field, value))
    for member, (params, result) in sorted(members.items()):
        if member.endswith(("_get", "_set")) or member == "swigregister":
            continue
        if member + "_get" in members:
            continue
        # object's own methods return what they always do; the module's may
        # also give None (for a record given as None, which a method never is).
        ignore = "  # type: ignore[override]" if member in OBJECT_METHODS and result != OBJECT_METHODS[member] else ""
        body.append("    def %s(%s) -> %s: ...%s" % (member, ", ".join(["self"] + params[1:] + ["/"]), result, ignore))
    return lines + body


def generate(wrapper_path, xml_path=None, c_sources=()):
    with open(wrapper_path) as f:
        source = f.read()
    functions = _functions(source)
    helpers = _helpers(source, c_sources)
    table = _method_table(source)
    records = {n[: -len(REGISTER)] for n, _, _ in table if n.endswith(REGISTER)}
    types = Types(records)
    names = _xml_declarations(xml_path)

    out = [HEADER]
    defs = []
    signatures = {}
    for name, func, flags in table:
        if name in NATIVES:
            defs.extend(NATIVES[name])
            continue
        if name.endswith(REGISTER) and name[: -len(REGISTER)] in records:
            defs.append("def %s(cls: type, /) -> None: ..." % name)
            continue
        body = functions.get(func)
        if body is None:
            raise StubError("%s: no wrapper %s and no entry in NATIVES" % (name, func))
        varargs = "_varargs__" in body
        if varargs:
            body = functions.get(func + "__varargs__", "")
        params, result = _signature(name, body, types, helpers, names, _owner(name, records) is not None)
        signatures[name] = (params, result)
        if varargs:
            params = params + ["*args: Any"]
        defs.append("def %s(%s) -> %s: ..." % (name, ", ".join(params + (["/"] if params and not varargs else [])),
                                               result))

    # The record classes: each record's accessors and extension methods.
    members = {record: {} for record in records}
    for name, sig in signatures.items():
        record = _owner(name, records)
        if record is not None:
            members[record][name[len(record) + 1:]] = sig
    constants = _constants(source) + _cvar(source, functions, types)
    types.pointer("SWIGTYPE_p_char")
    out.append("_Text: TypeAlias = str | _p_char | None")
    out.append("")
    for record in sorted(records):
        out.extend(_record_class(record, members[record]))
        out.append("")
    for pointer in sorted(types.pointers):
        out.append("@type_check_only")
        out.append("class %s(SwigPyObject): ..." % pointer)
    out.append("")
    out.extend(defs)
    out.append("")
    out.extend(constants)
    return "\n".join(out) + "\n"


def _constants(source):
    lines = []
    for name, conv in re.findall(r'SWIG_Python_SetConstant\(d, "(\w+)",\s*(\w+)\(', source):
        # A constant's text is a literal, never NULL.
        kind = "str" if conv in ("SWIG_FromCharPtr", "SWIG_FromCharPtrAndSize") else RESULTS.get(conv)
        if kind is None:
            raise StubError("constant %s: unknown conversion %s" % (name, conv))
        lines.append("%s: %s" % (name, kind))
    return lines


def _cvar(source, functions, types):
    variables = re.findall(r'SWIG_addvarlink\(globals, "(\w+)", (\w+), (\w+)\)', source)
    lines = ["", "@type_check_only", "class _Globals:", '    """The module\'s C globals, read and written in place."""']
    for name, getter, _setter in variables:
        body = re.search(r"^SWIGINTERN PyObject \*%s\(void\) \{\n(.*?)^\}" % getter, source, re.M | re.S)
        expr = re.search(r"^  pyobj = (.*?);\n", body.group(1), re.M | re.S) if body else None
        lines.append("    %s: %s" % (name, _value_type(expr.group(1), "", types, {}) if expr else "Any"))
    lines += ["", "cvar: _Globals"]
    return lines


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("wrapper", help="the C wrapper SWIG generated")
    parser.add_argument("--xml", help="SWIG's XML tree of the same run (-xmlout)")
    parser.add_argument("--sources", nargs="*", default=[], help="the module's hand-written C files")
    parser.add_argument("-o", "--output", required=True, help="the .pyi to write")
    args = parser.parse_args(argv)
    try:
        text = generate(args.wrapper, args.xml, args.sources)
    except (StubError, OSError, ET.ParseError) as exc:
        print("stubgen: %s" % exc, file=sys.stderr)
        return 1
    # Written whole or not at all: a stub cut short would look current.
    partial = args.output + ".tmp"
    with open(partial, "w") as f:
        f.write(text)
    os.replace(partial, args.output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
