"""Reads the integer constants the winapi crate declares, from its Rust source, with their values.

Each module (`src/um/winhttp.rs`) stands for one SDK header (`winhttp.h`). What is read: `pub const
NAME: TYPE = EXPRESSION;`, the variants of `ENUM!{enum T { ... }}` blocks (type u32, a variant
without a value is its predecessor plus one), `pub type` aliases, `DECLARE_HANDLE!` handles, the
`use` imports that say which module a name comes from, single-arm `macro_rules!` helpers and the
`#[cfg(...)]` attributes (on items and `IFDEF!` groups), judged for the 32-bit x86 target. Evaluation is in `rusteval`.
"""

import os
import re

_TOKEN = re.compile(r"""
    (?P<space>\s+)
  | (?P<comment>//[^\n]*|/\*(?:[^*]|\*(?!/))*\*/)
  | (?P<str>b?r\#*"|b?"(?:[^"\\]|\\.)*")
  | (?P<chr>b?'(?:[^'\\\n]|\\.[^']*)')
  | (?P<life>'[A-Za-z_][A-Za-z0-9_]*)
  | (?P<num>[0-9][0-9A-Za-z_]*(?:\.[0-9][0-9A-Za-z_]*)?)
  | (?P<id>\$?[A-Za-z_][A-Za-z0-9_]*)
  | (?P<op><<|>>|::|=>|->|==|!=|<=|>=|&&|\|\||\.\.|[-+*/%&|^!~<>=?:;,.()\[\]{}\#@$])
""", re.VERBOSE)


def Tokens(text):
    """[(kind, text)] of Rust source; comments and spaces dropped, strings kept whole."""
    tokens, position = [], 0
    while position < len(text):
        match = _TOKEN.match(text, position)
        if not match:
            position += 1
            continue
        kind, value = match.lastgroup, match.group()
        position = match.end()
        if kind == "str" and re.match(r'^b?r#*"$', value):   # a raw string: find its end
            closing = '"' + "#" * value.count("#")
            end = text.find(closing, position)
            end = len(text) if end < 0 else end + len(closing)
            value, position = value + text[position:end], end
        if kind not in ("space", "comment"):
            tokens.append((kind, value))
    return tokens


class Macro:
    __slots__ = ("params", "body")

    def __init__(self, params, body):
        self.params, self.body = params, body


class Module:
    """One source file: its header name and what it declares."""

    def __init__(self, path, header):
        self.path, self.header = path, header
        self.constants = {}   # name -> (type tokens, expression tokens)
        self.aliases = {}     # type name -> type tokens
        self.imports = {}     # name -> module path ("shared::minwindef")
        self.macros = {}      # name -> Macro


def CfgHolds(tokens):
    """Whether a cfg predicate holds for the 32-bit x86 target (every feature enabled)."""
    def Parse(at):
        kind, text = tokens[at]
        if text in ("not", "any", "all") and at + 1 < len(tokens) and tokens[at + 1][1] == "(":
            values, at = [], at + 2
            while tokens[at][1] != ")":
                value, at = Parse(at)
                values.append(value)
                if tokens[at][1] == ",":
                    at += 1
            at += 1
            if text == "not":
                return not values[0], at
            return (any(values) if text == "any" else all(values)), at
        if at + 2 < len(tokens) and tokens[at + 1][1] == "=":
            key, value = text, tokens[at + 2][1].strip('"')
            holds = {"target_pointer_width": value == "32", "target_arch": value == "x86",
                     "target_env": value == "gnu", "feature": True}.get(key, False)
            return holds, at + 3
        return text in ("windows",), at + 1
    try:
        return Parse(0)[0]
    except IndexError:
        return False


def _Matching(tokens, at):
    """Index just past the bracket group opening at `at`."""
    depth = 0
    for index in range(at, len(tokens)):
        if tokens[index][1] in ("(", "[", "{"):
            depth += 1
        elif tokens[index][1] in (")", "]", "}"):
            depth -= 1
            if depth == 0:
                return index + 1
    return len(tokens)


def _Until(tokens, at, stop):
    """Index of the first `stop` token at bracket depth 0 from `at`."""
    depth = 0
    for index in range(at, len(tokens)):
        text = tokens[index][1]
        if text in ("(", "[", "{"):
            depth += 1
        elif text in (")", "]", "}"):
            depth -= 1
        elif depth == 0 and text == stop:
            return index
    return len(tokens)


def _Split(tokens, separator=","):
    parts, at = [], 0
    while at < len(tokens):
        end = _Until(tokens, at, separator)
        parts.append(tokens[at:end])
        at = end + 1
    return [part for part in parts if part]


def _ReadMacro(tokens, at, module):
    """macro_rules! NAME { (pattern) => {body} ... }: keeps single-arm expression macros."""
    name = tokens[at + 2][1]
    end = _Matching(tokens, at + 3)
    arms = tokens[at + 4:end - 1]
    if arms and arms[0][1] in ("(", "["):
        patternEnd = _Matching(arms, 0)
        if patternEnd + 1 < len(arms) and arms[patternEnd][1] == "=>":
            bodyEnd = _Matching(arms, patternEnd + 1)
            rest = [t for t in arms[bodyEnd:] if t[1] != ";"]
            params = [part[0][1] for part in _Split(arms[1:patternEnd - 1])
                      if len(part) == 3 and part[1][1] == ":" and part[2][1] == "expr"]
            if not rest and len(params) == len(_Split(arms[1:patternEnd - 1])):
                module.macros[name] = Macro(params, arms[patternEnd + 2:bodyEnd - 1])
    return end


def _ReadEnum(tokens, at, module):
    """ENUM!{enum NAME { A = 1, B, ... }}: u32 constants, an absent value is the last one plus 1."""
    end = _Matching(tokens, at + 2)
    inner = tokens[at + 3:end - 1]
    if len(inner) > 2 and inner[0][1] == "enum" and inner[2][1] == "{":
        typeName = inner[1][1]
        module.aliases[typeName] = [("id", "u32")]
        previous = None
        for variant in _Split(inner[3:_Matching(inner, 2) - 1]):
            while variant and variant[0][1] == "#":   # attributes on a variant
                variant = variant[_Matching(variant, 1):]
            if not variant:
                continue
            name = variant[0][1]
            if len(variant) > 2 and variant[1][1] == "=":
                expression = variant[2:]
            elif previous is not None:
                expression = [("id", previous), ("op", "+"), ("num", "1u32")]
            else:
                expression = [("num", "0")]
            module.constants[name] = ([("id", typeName)], expression)
            previous = name
    return end


def _ReadUse(tokens, at, module):
    """use a::b::{C, D}; / use a::b::C; (nested groups are read one level deep)."""
    end = _Until(tokens, at, ";")
    body = [text for _, text in tokens[at + 1:end]]
    if "{" in body:
        prefix = "".join(body[:body.index("{")]).rstrip(":")
        names = [text for text in body[body.index("{") + 1:] if re.match(r"^\w+$", text)]
        for name in names:
            module.imports[name] = prefix
    elif len(body) >= 3 and body[-2] == "::":
        module.imports[body[-1]] = "".join(body[:-2])
    return end + 1


def ReadModule(path, header):
    with open(path, encoding="utf-8") as handle:
        tokens = Tokens(handle.read())
    module = Module(path, header)
    at, cfg = 0, True
    while at < len(tokens):
        text = tokens[at][1]
        following = tokens[at + 1][1] if at + 1 < len(tokens) else ""
        if text == "#" and following in ("[", "!"):
            start = at + (2 if following == "!" else 1)
            end = _Matching(tokens, start)
            attribute = tokens[start + 1:end - 1]
            if attribute and attribute[0][1] == "cfg" and following == "[":
                cfg = cfg and CfgHolds(attribute[2:-1])
            at = end
            continue
        if text == "pub" and following in ("const", "type") and at + 2 < len(tokens):
            end = _Until(tokens, at, ";")
            item = tokens[at + 2:end]
            if cfg and following == "const" and len(item) > 3 and item[1][1] == ":":
                equals = _Until(item, 2, "=")
                module.constants.setdefault(item[0][1], (item[2:equals], item[equals + 1:]))
            elif cfg and following == "type" and len(item) > 2 and item[1][1] == "=":
                module.aliases.setdefault(item[0][1], item[2:])
            at, cfg = end + 1, True
            continue
        if text == "use" and cfg:
            at = _ReadUse(tokens, at, module)
        elif text == "macro_rules" and following == "!":
            at = _ReadMacro(tokens, at, module)
        elif text == "ENUM" and following == "!" and cfg:
            at = _ReadEnum(tokens, at, module)
        elif text == "DECLARE_HANDLE" and following == "!" and cfg:
            end = _Matching(tokens, at + 2)
            module.aliases[tokens[at + 3][1]] = [("op", "*"), ("id", "mut"), ("id", "c_void")]
            at = end
        elif (text == "mod" and at + 2 < len(tokens) and tokens[at + 2][1] == "{") or \
                (text == "IFDEF" and following == "!" and cfg):
            at += 3   # an inline module (lib.rs's ctypes) or an IFDEF! group: its items count
        elif text in ("{", "(", "["):
            at = _Matching(tokens, at)   # bodies of functions, structures, impls; or cfg'd out
            cfg = True
            continue
        else:
            at += 1
        cfg = True if text in (";", "}") else cfg
    return module


def ModulePath(root, path):
    """"um::winhttp" for src/um/winhttp.rs; "" for src/lib.rs."""
    relative = os.path.relpath(path, root)[:-len(".rs")]
    parts = relative.split(os.sep)
    if parts[-1] in ("mod", "lib"):
        parts = parts[:-1]
    return "::".join(parts)


def ReadCrate(root):
    """{module path: Module} for every source file under root/src."""
    source = os.path.join(root, "src")
    modules = {}
    for directory, _, files in sorted(os.walk(source)):
        for name in sorted(files):
            if name.endswith(".rs"):
                path = os.path.join(directory, name)
                header = None if name in ("mod.rs", "lib.rs", "macros.rs") else name[:-3] + ".h"
                modules[ModulePath(source, path)] = ReadModule(path, header)
    # lib.rs declares the C types in an inline module of its own.
    if "" in modules:
        modules["ctypes"] = modules[""]
    return modules
