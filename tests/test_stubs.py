"""The generated type stubs (build/python/_libtessel.pyi) against the built
module and the inventory: the same methods, constants and arities, the
types of representative signatures, the kinds of objects the module really
returns; and the generator's rules for out-values and README examples."""

import ast
import os
import re
import subprocess
import sys

import _libtessel as m
import pytest

from conftest import INVENTORY, PY_TREE, ROOT

sys.path.insert(0, os.path.join(ROOT, "module"))
import apidocs  # noqa: E402
import readme_examples  # noqa: E402
import stubgen  # noqa: E402

STUB = os.path.join(PY_TREE, "_libtessel.pyi")


def _load():
    with open(STUB) as f:
        tree = ast.parse(f.read())
    functions, variables, classes = {}, {}, {}
    for node in tree.body:
        if isinstance(node, ast.FunctionDef):
            functions.setdefault(node.name, []).append(node)
        elif isinstance(node, ast.AnnAssign):
            variables[node.target.id] = ast.unparse(node.annotation)
        elif isinstance(node, ast.ClassDef):
            classes[node.name] = node
    return functions, variables, classes


FUNCTIONS, VARIABLES, CLASSES = _load()


def _rows(name):
    with open(os.path.join(INVENTORY, name)) as f:
        return [line.rstrip("\n").split("\t") for line in f if line.strip()]


def _signature(node):
    args = node.args
    params = ["%s: %s%s" % (a.arg, ast.unparse(a.annotation), " = ..." if i >= len(args.posonlyargs + args.args)
                            - len(args.defaults) else "")
              for i, a in enumerate(args.posonlyargs + args.args)]
    return "(%s) -> %s" % (", ".join(params), ast.unparse(node.returns))


def test_methods_are_exactly_the_inventory():
    assert sorted(FUNCTIONS) == sorted(r[0] for r in _rows("methods.txt"))


def test_constants_and_cvar():
    expected = {name: kind for name, kind, _ in _rows("constants.tsv")}
    found = {name: kind for name, kind in VARIABLES.items() if name != "cvar" and not name.startswith("_")}
    assert found == expected
    assert VARIABLES["cvar"] == "_Globals"
    fields = [ast.unparse(n) for n in CLASSES["_Globals"].body if isinstance(n, ast.AnnAssign)]
    assert fields == ["hyx_ModuleCurrentID: int", "runtimeOptionNames: _p_p_char | None"]


@pytest.mark.parametrize("name, signature", [
    # A field getter and setter: the record as a pointer object or its class.
    ("VSInfo_mtu_get", "(self: _p_VSInfo | _r_VSInfo) -> int"),
    ("VSInfo_mtu_set", "(self: _p_VSInfo | _r_VSInfo | None, value: int) -> None"),
    ("VSPortInfo_stats_get", "(self: _p_VSPortInfo | _r_VSPortInfo) -> _r_VSStats"),
    ("hyx_Name_string_set", "(self: _p_hyx_Name | _r_hyx_Name | None, value: str | None) -> None"),
    ("VSInfo_isForwardingDisabled_set", "(self: _p_VSInfo | _r_VSInfo | None, value: int | str) -> None"),
    # Host calls with out-values: the status, then the table.
    ("VSHYX_GetUplinks", "(switchName: _Text) -> tuple[int, _r_VSUplinks | None]"),
    ("VSHYX_GetUplinkLinkState", "(switchName: _Text, uplinkName: _Text) -> tuple[int, int]"),
    ("HYX_ReturnStatusToString", "(status: int) -> str | None"),
    # Record constructors: a bare pointer object; a sized one takes a count.
    ("new_VSInfo", "() -> _p_VSInfo | None"),
    ("new_VSUplinks", "(n: int = ...) -> _p_VSUplinks | None"),
    # Hand-written helpers' results, read from their return statements.
    ("VSUplinks___getitem__", "(self: _p_VSUplinks | _r_VSUplinks, index: int) -> str | None"),
    ("VSUplinks___setitem__", "(self: _p_VSUplinks | _r_VSUplinks, index: int, text: str | _p_char) -> None"),
    ("delete_VSInfo", "(self: _p_VSInfo | _r_VSInfo | None) -> None"),
    ("VSMACEntry_set_mac_address", "(self: _p_VSMACEntry | _r_VSMACEntry, mac_str: Buffer) -> None"),
    ("VSDVS_SetPortProp", "(switchName: _Text, dvsName: _Text, dvPortId: _Text, value: bytes | str, len: int, "
                          "key: _Text, persistent: int | str) -> int"),
])
def test_representative_signatures(name, signature):
    (node,) = FUNCTIONS[name]
    assert node.args.args == [] and node.args.kwonlyargs == []  # positional only, as the wrappers unpack
    assert _signature(node) == signature


def test_every_type_is_known():
    # A conversion or helper the generator does not know makes Any: only the
    # methods that take or give any object may have it.
    with open(STUB) as f:
        text = f.read()
    loose = sorted({line.split("(")[0] for line in text.splitlines() if "Any" in line and line.startswith("def ")})
    assert loose == ["def Panic", "def SWIG_PyInstanceMethod_New"]
    assert text.count("Any") == 4  # the import, and those two (Callable[..., Any] -> Any; *args)


def test_overloaded_function():
    overloads = FUNCTIONS["DVSAliasToPortsetName"]
    assert [_signature(n) for n in overloads] == ["(alias: _Text) -> tuple[int, str]",
                                                  "(alias: _Text, name: _Text) -> int"]
    assert m.DVSAliasToPortsetName("dvs-prod") == [0, "dswitch0"]
    assert m.DVSAliasToPortsetName("dvs-prod", "x") == 0


def test_none_for_a_record_as_the_stub_says():
    # Each accessor, extension method and destructor of a record that takes
    # the record alone, given None: refused (ValueError) exactly where the
    # stub leaves None out.
    records = {n[: -len("_swigregister")] for n in FUNCTIONS if n.endswith("_swigregister")}
    wrong = []
    for name, nodes in sorted(FUNCTIONS.items()):
        params = nodes[0].args.posonlyargs
        owned = stubgen._owner(name, records) or (name[len("delete_"):] if name.startswith("delete_") else None)
        if owned not in records or len(params) != 1 or name.endswith("_swigregister"):
            continue
        takes_none = "None" in stubgen._members(ast.unparse(params[0].annotation))
        try:
            getattr(m, name)(None)
            refused = False
        except ValueError as exc:
            refused = "invalid null reference" in str(exc)
        if refused == takes_none:
            wrong.append(name)
    assert wrong == []


def _arity(node):
    args = node.args
    if args.vararg:
        return None
    n = len(args.posonlyargs + args.args)
    return n - len(args.defaults), n


def test_arity_matches_the_wrappers():
    # One argument too many or too few is refused while unpacking, before
    # anything is converted or called.
    wrong = []
    for name, nodes in sorted(FUNCTIONS.items()):
        arity = _arity(nodes[0])
        if name in stubgen.NATIVES or name.endswith("_swigregister") or arity is None:
            continue
        low, high = arity
        for count, bound in [(high + 1, "at most"), (low - 1, "at least")]:
            if count < 0:
                continue
            try:
                getattr(m, name)(*[None] * count)
                wrong.append((name, count, "accepted"))
            except TypeError as exc:
                if not re.search(r"expected (%s )?%d argument" % (bound, high if bound == "at most" else low),
                                 str(exc)):
                    wrong.append((name, count, str(exc)))
    assert wrong == []


@pytest.mark.parametrize("name, args, item", [
    ("new_VSInfo", (), None),
    ("new_VSUplinks", (2,), None),
    ("alloc_vs_info", (), None),
    ("VSHYX_GetSwitchInfo", ("switch0",), 1),
    ("VSPortInfo_stats_get", (m.new_VSPortInfo(),), None),
    ("VSPortInfo___getitem__", (m.new_VSPortInfo(), 0), None),
])
def test_bare_or_registered_as_the_stub_says(name, args, item):
    # A new record is a bare pointer object (_p_), any other the registered
    # class's object (_r_); item: the position in a tuple result.
    annotation = FUNCTIONS[name][0].returns
    value = getattr(m, name)(*args)
    if item is not None:
        annotation = annotation.slice.elts[item]
        value = value[item]
    first = stubgen._members(ast.unparse(annotation))[0]
    if first.startswith("_p_"):
        assert type(value).__name__ == "SwigPyObject"
    else:
        assert first.startswith("_r_")
        assert type(value).__name__ == first[len("_r_"):] and hasattr(value, "this")


def test_record_classes_have_the_fields_and_methods_of_the_registered_ones():
    import libtessel.records as records

    for record, cls in records.classes.items():
        records.fill(cls)
        stub = CLASSES["_r_" + record]
        names = {n.name for n in stub.body if isinstance(n, ast.FunctionDef)}
        # Every class has a __repr__ (the generic one or the record's own).
        public = {n for n in vars(cls) if not n.startswith("_") or n in cls._fields
                  or n in ("__getitem__", "__setitem__", "__len__", "__next__")}
        # The layer may add sequence methods of its own to a table class.
        assert names - {"__repr__"} == {n for n in public - {"thisown"} if n in names or not n.startswith("__")}, record


OUT = "  resultobj = SWIG_Python_AppendOutput(resultobj, %s);\n"


@pytest.mark.parametrize("result, outs, expected", [
    # No result: the one out-value alone, or a list of them.
    ("SWIG_Py_Void()", ["SWIG_From_int((int)temp2)"], "int"),
    ("SWIG_Py_Void()", ["SWIG_From_int((int)temp2)", "SWIG_FromCharPtrAndSize(temp3, 3)"], "tuple[int, str]"),
    # A result: a list of it and the out-values.
    ("SWIG_From_int((int)(result))", ["SWIG_FromCharPtrAndSize(temp2, 4)"], "tuple[int, str]"),
    # A result that may be None is replaced by the out-value then.
    ("SWIG_FromCharPtr((const char *)result)", ["SWIG_From_int((int)temp2)"], "tuple[str, int] | int"),
    ("SWIG_From_int((int)(result))", [], "int"),
])
def test_out_values_follow_the_module(result, outs, expected):
    body = "  resultobj = %s;\n%s" % (result, "".join(OUT % o for o in outs))
    assert stubgen._result_type(body, stubgen.Types(set()), {}) == expected


def test_an_unknown_native_stops_the_generator(tmp_path):
    wrapper = tmp_path / "w.c"
    wrapper.write_text('static PyMethodDef SwigMethods[] = {\n'
                       '\t { "made_by_hand", made_by_hand, METH_VARARGS, NULL},\n};\n')
    with pytest.raises(stubgen.StubError, match="made_by_hand"):
        stubgen.generate(str(wrapper))


def test_mypy_checks_calls_against_the_stub(tmp_path):
    script = tmp_path / "use.py"
    script.write_text(
        "import _libtessel as m\n"
        "bad: int = m.VSInfo_mtu_get(m.new_VSInfo())\n"  # may be None
        "m.VSInfo_mtu_get('switch0')\n"
        "m.VSHYX_GetUplinks(3)\n"
        "n: int = m.HYX_FMT64\n"
        "m.DVSAliasToPortsetName('a', 'b', 'c')\n"
        "status, table = m.VSHYX_GetUplinks('switch0')\n"
        "if status == m.HYX_OK and table is not None:\n"
        "    count: int = table.numEntries + m.VSUplinks_numEntries_get(table)\n")
    # mypy checks the stubs; it is not run under the suite's sanitizer runtime.
    env = {k: v for k, v in os.environ.items() if k not in ("LD_PRELOAD", "PYTHONMALLOC")}
    run = subprocess.run([sys.executable, "-m", "mypy", "--no-incremental", "--no-error-summary", str(script)],
                         env=dict(env, MYPYPATH=PY_TREE), capture_output=True, text=True, cwd=str(tmp_path))
    lines = sorted(int(line.split(":")[1]) for line in run.stdout.splitlines() if ": error:" in line)
    assert lines == [2, 3, 4, 5, 6], run.stdout


@pytest.mark.parametrize("text, expected", [
    ("a\n```python\nx = 1\n```\n", [(3, "x = 1\n")]),
    # Other languages and bare fences are not examples; order is kept.
    ("```sh\nmake\n```\n```\ny\n```\n```python\nb = 2\n```\n```python\nc = 3\n```\n",
     [(8, "b = 2\n"), (11, "c = 3\n")]),
    # A fence inside a list item loses the item's indentation.
    ("- item:\n\n  ```python\n  if x:\n      y()\n  ```\n", [(4, "if x:\n    y()\n")]),
    # A longer fence holds a shorter one.
    ("````python\ns = '''\n```\n'''\n````\n", [(2, "s = '''\n```\n'''\n")]),
])
def test_readme_examples(text, expected):
    assert readme_examples.python_blocks(text) == expected


def test_readme_example_unclosed():
    with pytest.raises(ValueError, match="line 2"):
        readme_examples.python_blocks("x\n```python\ny = 1\n")


def test_reference_page_shows_the_stub_signatures(tmp_path):
    import pydoc

    stub = tmp_path / "s.pyi"
    stub.write_text("@overload\ndef DVSAliasToPortsetName(alias: _Text, /) -> list[int | str]: ...\n"
                    "@overload\ndef DVSAliasToPortsetName(alias: _Text, name: _Text, /) -> int: ...\n"
                    "def new_VSUplinks(n: int = ..., /) -> _p_VSUplinks | None: ...\n")
    page = pydoc.plaintext.document(apidocs.stub_module(m, str(stub)))
    assert "new_VSUplinks(n: int = ..., /) -> _p_VSUplinks | None" in page
    assert "DVSAliasToPortsetName(alias: _Text, name: _Text, /) -> int" in page
    assert "HYX_OK = 0" in page and "VSInfo_mtu_get" not in page
