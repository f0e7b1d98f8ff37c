"""Where a source file can be mutated, read from clang's syntax tree.

clang dumps the tree of one translation unit as JSON (only the declarations
of the project's namespace, to keep it small); every node carries the byte
offsets of its first and last token. A location in the main file has no
"includedFrom"; those in headers and macro expansions are left alone.
"""

from __future__ import annotations

import json
import shlex
import subprocess
from dataclasses import dataclass, field
from pathlib import Path

# The operators, in the order the report lists them.
OPERATORS = (
    "comparison",  # < <-> <=, > <-> >=, == <-> !=
    "literal",  # a number plus one, minus one, times zero
    "negation",  # a condition or a returned truth value negated, a ! dropped, true <-> false
    "deletion",  # a call or an assignment statement deleted
    "swap",  # two neighbouring arguments of one type exchanged
    "variable",  # a variable or a field replaced by another of its type
    "index",  # an index one higher or lower
)

FLIPPED = {b"<": b"<=", b"<=": b"<", b">": b">=", b">=": b">", b"==": b"!=", b"!=": b"=="}
ASSIGNMENTS = {"=", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<=", ">>="}


@dataclass(frozen=True, order=True)
class Mutant:
    file: str  # relative to the project's root
    start: int  # the byte range of the source that is replaced
    end: int
    replacement: bytes
    operator: str
    function: str = field(compare=False)
    line: int = field(compare=False)

    def apply(self, source: bytes) -> bytes:
        return source[: self.start] + self.replacement + source[self.end :]

    def lines(self, source: bytes) -> tuple[str, str]:
        """The source lines the mutant touches, before and after."""
        first = source.rfind(b"\n", 0, self.start) + 1
        last = source.find(b"\n", self.end)
        last = len(source) if last < 0 else last
        before = source[first:last]
        after = before[: self.start - first] + self.replacement + before[self.end - first :]
        return before.decode("utf-8", "replace"), after.decode("utf-8", "replace")

    def key(self, source: bytes) -> str:
        """What identifies the mutant across edits elsewhere in the file."""
        before, after = self.lines(source)
        return "\t".join((self.file, self.function, " ".join(before.split()), " ".join(after.split())))


# ---- running clang ----


def clang_flags(compile_command: dict) -> list[str]:
    """The flags of a compile command that matter for reading the source."""
    args = compile_command.get("arguments") or shlex.split(compile_command["command"])
    keep, skip_next = [], False
    for i, a in enumerate(args[1:], 1):
        if skip_next:
            skip_next = False
            continue
        if a in ("-o", "-c", "-MF", "-MT", "-MQ"):
            skip_next = a != "-c"
            continue
        if a.startswith(("-I", "-D", "-U", "-std=", "-isystem", "-include", "-iquote")):
            keep.append(a)
            if a in ("-I", "-D", "-U", "-isystem", "-include", "-iquote"):
                keep.append(args[i + 1])
                skip_next = True
    return keep


def syntax_tree(path: Path, flags: list[str], namespace: str, clang: str = "clang++") -> list[dict]:
    """The top-level declarations of `namespace` in the translation unit."""
    cmd = [clang, "-x", "c++", *flags, "-w", "-fsyntax-only", "-Xclang", "-ast-dump=json",
           "-Xclang", f"-ast-dump-filter={namespace}", str(path)]
    out = subprocess.run(cmd, capture_output=True, check=False)
    if out.returncode != 0:
        raise RuntimeError(f"clang cannot read {path}:\n{out.stderr.decode(errors='replace')}")
    text, decoder, i, trees = out.stdout.decode(), json.JSONDecoder(), 0, []
    while True:
        while i < len(text) and text[i].isspace():
            i += 1
        if i >= len(text):
            return trees
        tree, i = decoder.raw_decode(text, i)
        trees.append(tree)


# ---- reading the tree ----


def _in_main_file(loc: dict) -> bool:
    return bool(loc) and "offset" in loc and "includedFrom" not in loc and "spellingLoc" not in loc


def span(node: dict) -> tuple[int, int] | None:
    """The node's byte range in the main file, or None."""
    r = node.get("range")
    if not r:
        return None
    b, e = r.get("begin", {}), r.get("end", {})
    if not (_in_main_file(b) and _in_main_file(e)):
        return None
    return b["offset"], e["offset"] + e.get("tokLen", 0)


def _type(node: dict) -> str:
    t = node.get("type", {})
    name = t.get("desugaredQualType") or t.get("qualType", "")
    name = name.replace("const ", "").strip()
    return name.rstrip("&").strip()


def _strip(node: dict) -> dict:
    """The expression under implicit casts and cleanups."""
    while node.get("kind") in ("ImplicitCastExpr", "ExprWithCleanups", "CXXBindTemporaryExpr",
                               "MaterializeTemporaryExpr", "ParenExpr", "ConstantExpr"):
        inner = node.get("inner") or [{}]
        node = inner[0]
    return node


def _callee_name(node: dict) -> str:
    """The name of the function an operator call or a call calls."""
    callee = _strip((node.get("inner") or [{}])[0])
    ref = callee.get("referencedDecl") or {}
    return ref.get("name", callee.get("name", ""))


@dataclass
class _Var:
    name: str
    type: str
    id: str


class _Finder:
    def __init__(self, rel: str, source: bytes, trees: list[dict]):
        self.rel, self.src, self.trees = rel, source, trees
        self.found: dict[tuple, Mutant] = {}
        self.fields: dict[str, tuple[str, str]] = {}  # field id -> (record id, type)
        self.records: dict[str, list[tuple[str, str, str]]] = {}  # record id -> [(field id, name, type)]
        self.record_names: dict[str, str] = {}
        self.line_starts = [0]
        for i, b in enumerate(source):
            if b == 0x0A:
                self.line_starts.append(i + 1)

    # -- helpers --

    def line_of(self, offset: int) -> int:
        lo, hi = 0, len(self.line_starts)
        while hi - lo > 1:
            mid = (lo + hi) // 2
            if self.line_starts[mid] <= offset:
                lo = mid
            else:
                hi = mid
        return lo + 1

    def add(self, start: int, end: int, replacement: bytes, operator: str, function: str):
        if self.src[start:end] == replacement or start > end:
            return
        m = Mutant(self.rel, start, end, replacement, operator, function, self.line_of(start))
        self.found.setdefault((start, end, replacement), m)

    def text(self, a: int, b: int) -> bytes:
        return self.src[a:b]

    def operator_between(self, a: int, b: int) -> tuple[int, bytes] | None:
        """The operator token between two operands (offsets a..b), if it is a comparison."""
        gap = self.src[a:b]
        stripped = gap.strip()
        if stripped in FLIPPED:
            return a + gap.index(stripped), stripped
        return None

    # -- the walk --

    def run(self) -> list[Mutant]:
        for tree in self.trees:
            self.index(tree)
        for tree in self.trees:
            self.walk(tree, function="", scopes=[[]])
        return sorted(self.found.values())

    def index(self, node: dict, record: str | None = None):
        kind = node.get("kind")
        if kind in ("CXXRecordDecl", "RecordDecl") and node.get("name"):
            record = node["id"]
            self.record_names[record] = node["name"]
            self.records.setdefault(record, [])
        if kind == "FieldDecl" and record and node.get("name") and not node.get("isImplicit"):
            t = _type(node)
            self.fields[node["id"]] = (record, t)
            self.records[record].append((node["id"], node["name"], t))
        for child in node.get("inner", []):
            self.index(child, record)

    def walk(self, node: dict, function: str, scopes: list[list[_Var]]):
        kind = node.get("kind")
        if not kind:
            return
        if node.get("isImplicit") and kind.endswith("Decl"):
            return
        if kind in ("FunctionDecl", "CXXMethodDecl", "CXXConstructorDecl", "CXXDestructorDecl",
                    "CXXConversionDecl"):
            name = node.get("name", "")
            owner = self.record_names.get(node.get("parentDeclContextId", ""), "")
            if owner and "::" not in name:
                name = f"{owner}::{name}"
            params = [_Var(p["name"], _type(p), p["id"]) for p in node.get("inner", [])
                      if p.get("kind") == "ParmVarDecl" and p.get("name")]
            for child in node.get("inner", []):
                self.walk(child, name, scopes + [params])
            return
        if kind in ("CXXRecordDecl", "RecordDecl") and node.get("name"):
            for child in node.get("inner", []):
                if child.get("kind") in ("CXXMethodDecl", "CXXConstructorDecl", "CXXDestructorDecl"):
                    child = dict(child, parentDeclContextId=node["id"])
                # A field's default value counts as the record's.
                self.walk(child, function or node["name"], scopes)
            return
        if kind == "VarDecl" and not function:
            # A variable at namespace scope: its initializer is mutated too.
            for child in node.get("inner", []):
                self.walk(child, node.get("name", ""), scopes)
            if node.get("name"):
                scopes[0].append(_Var(node["name"], _type(node), node["id"]))
            return
        if kind == "LambdaExpr":
            self.lambda_expr(node, function, scopes)
            return

        self.mutate(node, kind, function, scopes)

        opens_scope = kind in ("CompoundStmt", "ForStmt", "IfStmt", "WhileStmt", "CXXForRangeStmt", "SwitchStmt")
        inner_scopes = scopes + [[]] if opens_scope else scopes
        for child in node.get("inner", []):
            self.walk(child, function, inner_scopes)
            if child.get("kind") == "DeclStmt":
                for d in child.get("inner", []):
                    if d.get("kind") in ("VarDecl", "BindingDecl", "DecompositionDecl") and d.get("name"):
                        inner_scopes[-1].append(_Var(d["name"], _type(d), d["id"]))
                    for b in d.get("inner", []):
                        if b.get("kind") == "BindingDecl" and b.get("name"):
                            inner_scopes[-1].append(_Var(b["name"], _type(b), b["id"]))
            if kind == "CXXForRangeStmt" and child.get("kind") == "VarDecl" and child.get("name"):
                inner_scopes[-1].append(_Var(child["name"], _type(child), child["id"]))

    def lambda_expr(self, node: dict, function: str, scopes: list[list[_Var]]):
        params: list[_Var] = []
        for child in node.get("inner", []):
            if child.get("kind") == "CXXRecordDecl":
                for m in child.get("inner", []):
                    if m.get("kind") == "CXXMethodDecl" and m.get("name") == "operator()":
                        params = [_Var(p["name"], _type(p), p["id"]) for p in m.get("inner", [])
                                  if p.get("kind") == "ParmVarDecl" and p.get("name")]
        body = [c for c in node.get("inner", []) if c.get("kind") == "CompoundStmt"]
        if body:
            self.walk(body[-1], function, scopes + [params])

    # -- the operators --

    def mutate(self, node: dict, kind: str, fn: str, scopes: list[list[_Var]]):
        s = span(node)
        inner = node.get("inner", [])
        if kind == "BinaryOperator" and node.get("opcode", "").encode() in FLIPPED and len(inner) == 2:
            self.comparison(inner[0], inner[1], fn)
        elif kind in ("CXXOperatorCallExpr", "CXXRewrittenBinaryOperator"):
            call = node
            if kind == "CXXRewrittenBinaryOperator":
                call = _strip(inner[0]) if inner else {}
                if call.get("kind") == "UnaryOperator":
                    call = _strip((call.get("inner") or [{}])[0])
            if call.get("kind") == "CXXOperatorCallExpr" and _callee_name(call) in (
                    "operator==", "operator!=", "operator<", "operator<=", "operator>", "operator>="):
                operands = sorted((c for c in call.get("inner", [])[1:] if span(c)), key=lambda c: span(c)[0])
                if len(operands) == 2:
                    self.comparison(operands[0], operands[1], fn)
            if kind == "CXXOperatorCallExpr" and _callee_name(node) == "operator[]" and len(inner) == 3:
                self.off_by_one(inner[2], fn)
        elif kind in ("IntegerLiteral", "FloatingLiteral", "CharacterLiteral") and s:
            self.literal(node, kind, s, fn)
        elif kind == "CXXBoolLiteralExpr" and s:
            self.add(*s, b"false" if node.get("value") else b"true", "negation", fn)
        elif kind == "UnaryOperator" and node.get("opcode") == "!" and s and inner and span(inner[0]):
            a, b = span(inner[0])
            self.add(*s, self.text(a, b), "negation", fn)
        elif kind == "ArraySubscriptExpr" and len(inner) == 2:
            # The operand that is not a pointer is the index.
            for operand in inner:
                if "*" not in _type(operand) and "[" not in _type(operand):
                    self.off_by_one(operand, fn)
                    break
        elif kind == "DeclRefExpr" and s:
            self.variable(node, s, fn, scopes)
        elif kind == "MemberExpr" and s:
            self.member(node, s, fn)

        if kind == "IfStmt" and not node.get("hasVar") and not node.get("isConstexpr"):
            self.negate(inner[1 if node.get("hasInit") else 0], fn)
        elif kind == "WhileStmt" and inner and not node.get("hasVar"):
            self.negate(inner[0], fn)
        elif kind == "ForStmt" and len(inner) == 5:
            self.negate(inner[2], fn)
        elif kind == "DoStmt" and len(inner) == 2:
            self.negate(inner[1], fn)
        elif kind == "ConditionalOperator" and inner:
            self.negate(inner[0], fn)
        elif kind == "ReturnStmt" and inner and _type(inner[0]) == "bool" and \
                _strip(inner[0]).get("kind") != "CXXBoolLiteralExpr":
            self.negate(inner[0], fn)

        if kind in ("CallExpr", "CXXMemberCallExpr"):
            self.swaps(node, fn)
            if kind == "CXXMemberCallExpr" and inner and _strip(inner[0]).get("name") == "at":
                for arg in inner[1:]:
                    self.off_by_one(arg, fn)

        # Statements: a call or an assignment alone in its statement is deleted.
        slots: list[dict] = []
        if kind == "CompoundStmt":
            slots = inner
        elif kind == "IfStmt":
            slots = inner[-2:] if node.get("hasElse") else inner[-1:]
        elif kind in ("ForStmt", "WhileStmt", "CXXForRangeStmt"):
            slots = inner[-1:]
        elif kind == "DoStmt":
            slots = inner[:1]
        for stmt in slots:
            self.deletion(stmt, fn)

    def comparison(self, lhs: dict, rhs: dict, fn: str):
        a, b = span(lhs), span(rhs)
        if not a or not b:
            return
        found = self.operator_between(a[1], b[0])
        if found:
            at, op = found
            self.add(at, at + len(op), FLIPPED[op], "comparison", fn)

    def literal(self, node: dict, kind: str, s: tuple[int, int], fn: str):
        token = self.text(*s)
        if kind == "CharacterLiteral":
            value = int(node.get("value", 0))
            for v in (value + 1, value - 1):
                if 0 <= v <= 255:
                    self.add(*s, f"'\\x{v:02x}'".encode(), "literal", fn)
            return
        text = token.decode()
        if kind == "IntegerLiteral":
            suffix = text[len(text.rstrip("uUlLzZ")):]
            value = int(node.get("value", "0"))
            out = [value + 1, value - 1, 0]
            reps = []
            for v in out:
                if v < 0 and suffix.lower().startswith("u"):
                    continue
                reps.append(f"({v}{suffix})" if v < 0 else f"{v}{suffix}")
        else:
            body = text.rstrip("fFlL")
            suffix = text[len(body):]
            try:
                value = float(body)
            except ValueError:
                return
            reps = [f"{_float(value + 1)}{suffix}", f"{_float(value - 1)}{suffix}", f"0.0{suffix}"]
            reps = [f"({r})" if r.startswith("-") else r for r in reps]
        for r in dict.fromkeys(reps):
            self.add(*s, r.encode(), "literal", fn)

    def negate(self, cond: dict, fn: str):
        s = span(cond)
        if not s:
            return
        self.add(*s, b"!(" + self.text(*s) + b")", "negation", fn)

    def deletion(self, stmt: dict, fn: str):
        s = span(stmt)
        if not s or not stmt.get("kind", "").endswith(("Expr", "Operator", "ExprWithCleanups")):
            return
        core = _strip(stmt)
        kind = core.get("kind")
        deletable = kind in ("CallExpr", "CXXMemberCallExpr", "CompoundAssignOperator") or (
            kind == "CXXOperatorCallExpr" and _callee_name(core) not in ("operator++", "operator--")) or (
            kind == "BinaryOperator" and core.get("opcode") in ASSIGNMENTS) or (
            kind == "UnaryOperator" and core.get("opcode") in ("++", "--"))
        if deletable:
            self.add(*s, b"", "deletion", fn)

    def swaps(self, call: dict, fn: str):
        if _callee_name(call) in ("min", "max"):
            return  # their arguments' order does not matter
        args = call.get("inner", [])[1:]
        for x, y in zip(args, args[1:]):
            if x.get("kind") == "CXXDefaultArgExpr" or y.get("kind") == "CXXDefaultArgExpr":
                continue
            a, b = span(x), span(y)
            if not a or not b or _type(x) != _type(y) or not _type(x):
                continue
            first, second = self.text(*a), self.text(*b)
            if first == second or a[1] > b[0]:
                continue
            self.add(a[0], b[1], second + self.text(a[1], b[0]) + first, "swap", fn)

    def variable(self, node: dict, s: tuple[int, int], fn: str, scopes: list[list[_Var]]):
        ref = node.get("referencedDecl", {})
        if ref.get("kind") not in ("VarDecl", "ParmVarDecl", "BindingDecl") or self.text(*s) != ref.get("name", "").encode():
            return
        t = _type(ref)
        seen = {ref.get("name")}
        for scope in reversed(scopes):
            for v in scope:
                if v.type == t and v.name not in seen:
                    seen.add(v.name)
                    self.add(*s, v.name.encode(), "variable", fn)

    def member(self, node: dict, s: tuple[int, int], fn: str):
        field_id = node.get("referencedMemberDecl", "")
        if field_id not in self.fields:
            return
        record, t = self.fields[field_id]
        name = node.get("name", "")
        start = s[1] - len(name.encode())
        if self.text(start, s[1]) != name.encode():
            return
        for fid, other, ot in self.records[record]:
            if fid != field_id and ot == t:
                self.add(start, s[1], other.encode(), "variable", fn)

    def off_by_one(self, index: dict, fn: str):
        s = span(index)
        if not s:
            return
        text = self.text(*s)
        self.add(*s, b"(" + text + b" + 1)", "index", fn)
        self.add(*s, b"(" + text + b" - 1)", "index", fn)


def _float(v: float) -> str:
    text = repr(v)
    return text if ("." in text or "e" in text or "inf" in text or "nan" in text) else text + ".0"


def find_mutants(rel: str, source: bytes, trees: list[dict]) -> list[Mutant]:
    """Every mutant of the file `rel` (its text `source`, its tree `trees`)."""
    return _Finder(rel, source, trees).run()
