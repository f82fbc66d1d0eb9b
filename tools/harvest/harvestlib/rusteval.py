"""Computes the values of the winapi crate's integer constants exactly, as Rust does for 32-bit x86.

Supported: integer literals (0x, 0o, 0b, "_" separators, type suffixes, byte and character
literals), references to other constants (across modules, through `use` imports or paths),
parentheses, unary `-` and `!`, `as` casts (wrapping and sign extension to the target type),
`* / % + - << >> & ^ |` with Rust's precedence, and calls of the crate's expression macros
(`CTL_CODE!`, `MAKE_HRESULT!`, `MAKELANGID!`, ...), expanded by substitution. Arithmetic happens in
the operands' type: an unsuffixed literal takes the type its context expects, as the compiler infers
it. Anything else (strings, floats, structures, function calls) is no value: `EvaluationError`.
"""

import re

from . import rustsource

PRIMITIVES = {
    "u8": (8, False), "u16": (16, False), "u32": (32, False), "u64": (64, False),
    "u128": (128, False), "usize": (32, False), "i8": (8, True), "i16": (16, True),
    "i32": (32, True), "i64": (64, True), "i128": (128, True), "isize": (32, True),
    "char": (32, False), "bool": (8, False),
}
POINTER = (32, False)   # a raw pointer on the 32-bit target, as an address
DEFAULT = PRIMITIVES["i32"]   # an unsuffixed literal nothing else types
_LITERAL = re.compile(r"^(0x[0-9a-fA-F_]+|0o[0-7_]+|0b[01_]+|[0-9][0-9_]*)"
                      r"([iu](?:8|16|32|64|128|size))?$")
_BINARY = {"*": 11, "/": 11, "%": 11, "+": 10, "-": 10, "<<": 9, ">>": 9, "&": 8, "^": 7, "|": 6}
AS_PRECEDENCE = 12
MAX_DEPTH = 60


class EvaluationError(Exception):
    pass


def Wrap(value, kind):
    bits, signed = kind
    value &= (1 << bits) - 1
    return value - (1 << bits) if signed and value >> (bits - 1) else value


def Value32(value, kind):
    """The 32-bit two's complement, or None when the value needs more than 32 bits."""
    if value < -0x80000000 or value > 0xFFFFFFFF:
        return None
    return value & 0xFFFFFFFF


def ParseLiteral(text):
    """(value, kind or None for unsuffixed) of an integer literal; EvaluationError otherwise."""
    match = _LITERAL.match(text)
    if not match:
        raise EvaluationError("not an integer literal: " + text)
    digits = match.group(1).replace("_", "")
    base = {"0x": 16, "0o": 8, "0b": 2}.get(digits[:2], 10)
    value = int(digits[2:] if base != 10 else digits, base)
    return value, PRIMITIVES[match.group(2)] if match.group(2) else None


def CharacterLiteral(text):
    body = text[2:-1] if text.startswith("b") else text[1:-1]
    kind = PRIMITIVES["u8"] if text.startswith("b") else PRIMITIVES["char"]
    if not body.startswith("\\"):
        return ord(body), kind
    escapes = {"n": 10, "r": 13, "t": 9, "0": 0, "\\": 92, "'": 39, '"': 34}
    if body[1] in escapes:
        return escapes[body[1]], kind
    if body[1] == "x":
        return int(body[2:4], 16), kind
    if body[1] == "u":
        return int(body[3:-1], 16), kind
    raise EvaluationError("unknown escape " + text)


class Parser:
    """Rust constant expressions to trees; macros are expanded as they are met."""

    def __init__(self, crate, module, tokens, depth=0):
        self.crate, self.module, self.tokens, self.at, self.depth = crate, module, tokens, 0, depth

    def Peek(self):
        return self.tokens[self.at][1] if self.at < len(self.tokens) else None

    def Take(self, expected=None):
        if self.at >= len(self.tokens):
            raise EvaluationError("expression ends early")
        token = self.tokens[self.at]
        if expected is not None and token[1] != expected:
            raise EvaluationError("expected %s, found %s" % (expected, token[1]))
        self.at += 1
        return token

    def Whole(self):
        tree = self.Expression(0)
        if self.at != len(self.tokens):
            raise EvaluationError("unexpected " + self.tokens[self.at][1])
        return tree

    def Expression(self, minimum):
        left = self.Unary()
        while True:
            operator = self.Peek()
            if operator == "as":
                self.Take()
                left = ("cast", left, self.Type(), self.module)
                continue
            precedence = _BINARY.get(operator)
            if precedence is None or precedence <= minimum:
                return left
            self.Take()
            left = ("binary", operator, left, self.Expression(precedence))

    def Unary(self):
        if self.Peek() in ("-", "!"):
            operator = self.Take()[1]
            return ("negate" if operator == "-" else "not", self.Unary())
        return self.Primary()

    def Path(self):
        segments = [self.Take()[1]]
        while self.Peek() == "::":
            self.Take()
            segments.append(self.Take()[1])
        segments = [s for s in segments if s not in ("$crate", "crate", "self")]
        return "::".join(segments[:-1]) or None, segments[-1]

    def Type(self):
        if self.Peek() == "*":
            self.Take()
            self.Take()   # mut or const
            self.Type()
            return ("pointer",)
        if self.Peek() == "::":
            self.Take()
        return ("named",) + self.Path()

    def Primary(self):
        kind, text = self.Take()
        if kind == "num":
            value, suffix = ParseLiteral(text)
            return ("literal", value, suffix)
        if kind == "chr":
            value, suffix = CharacterLiteral(text)
            return ("literal", value, suffix)
        if text == "(":
            tree = self.Expression(0)
            self.Take(")")
            return tree
        if kind != "id" and text != "::":
            raise EvaluationError("not an integer expression: " + text)
        if text == "::":
            kind, text = self.Take()
        self.at -= 1
        modulePath, name = self.Path()
        if self.Peek() == "!":
            self.Take()
            return self.Expand(name)
        if self.Peek() in ("(", "{"):
            raise EvaluationError("a call or structure: " + name)
        return ("reference", modulePath, name, self.module)

    def Expand(self, name):
        macro = self.crate.Macro(self.module, name)
        opening = self.Take()[1]
        if macro is None or opening not in ("(", "[", "{") or self.depth > MAX_DEPTH:
            raise EvaluationError("unknown macro " + name)
        start = self.at - 1
        end = rustsource._Matching(self.tokens, start)
        arguments = rustsource._Split(self.tokens[start + 1:end - 1])
        self.at = end
        if len(arguments) != len(macro.params):
            raise EvaluationError("macro %s takes %d arguments" % (name, len(macro.params)))
        bound = dict(zip(macro.params, arguments))
        expanded = []
        for token in macro.body:
            if token[1] in bound:   # an expr fragment stays one operand
                expanded += [("op", "(")] + bound[token[1]] + [("op", ")")]
            else:
                expanded.append(token)
        return Parser(self.crate, self.module, expanded, self.depth + 1).Whole()


class Crate:
    """The crate's modules with name indexes; values computed on demand and remembered."""

    def __init__(self, modules):
        self.modules = modules
        self.constantsAt, self.aliasesAt, self.macrosAt = {}, {}, {}
        for path, module in modules.items():
            for name in module.constants:
                self.constantsAt.setdefault(name, []).append(path)
            for name in module.aliases:
                self.aliasesAt.setdefault(name, []).append(path)
            for name in module.macros:
                self.macrosAt.setdefault(name, []).append(path)
        self.values, self.busy = {}, set()

    def Macro(self, module, name):
        places = [module] + ["macros"] + self.macrosAt.get(name, [])
        for place in places:
            if place in self.modules and name in self.modules[place].macros:
                return self.modules[place].macros[name]
        return None

    def _Where(self, index, attribute, module, modulePath, name):
        """The module that defines a name as seen from `module`: explicit path, the module
        itself, its imports, else the only module of the crate that defines it."""
        for place in (modulePath, module, self.modules[module].imports.get(name)):
            if place in self.modules and name in getattr(self.modules[place], attribute):
                return place
        places = index.get(name, [])
        if len(places) == 1:
            return places[0]
        if not places:
            raise EvaluationError("unknown name " + name)
        return None   # several modules define it

    def TypeKind(self, module, typeTokens, depth=0):
        """(bits, signed) of an integer or pointer type; None for other types."""
        if not typeTokens or depth > MAX_DEPTH:
            return None
        if typeTokens[0][1] == "*":
            return POINTER
        if typeTokens[0][1] in ("&", "["):
            return None
        parser = Parser(self, module, typeTokens)
        try:
            shape = parser.Type()
        except EvaluationError:
            return None
        if parser.at != len(typeTokens):
            return None
        if shape[0] == "pointer":
            return POINTER
        _, modulePath, name = shape
        if name in PRIMITIVES:
            return PRIMITIVES[name]
        try:
            place = self._Where(self.aliasesAt, "aliases", module, modulePath, name)
        except EvaluationError:
            return None
        if place is None:   # several modules alias it: they must agree
            kinds = {self.TypeKind(p, self.modules[p].aliases[name], depth + 1)
                     for p in self.aliasesAt[name]}
            return kinds.pop() if len(kinds) == 1 else None
        return self.TypeKind(place, self.modules[place].aliases[name], depth + 1)

    def Constant(self, module, name):
        """(value, kind) of a constant declared in a module; EvaluationError when it has none."""
        key = (module, name)
        if key in self.values:
            outcome = self.values[key]
            if isinstance(outcome, EvaluationError):
                raise outcome
            return outcome
        if key in self.busy or len(self.busy) > MAX_DEPTH:
            raise EvaluationError("circular definition of " + name)
        self.busy.add(key)
        try:
            typeTokens, expression = self.modules[module].constants[name]
            kind = self.TypeKind(module, typeTokens)
            if kind is None:
                raise EvaluationError("not an integer type")
            tree = Parser(self, module, expression).Whole()
            value, _, _ = self.Evaluate(tree, kind)
            outcome = (Wrap(value, kind), kind)
        except EvaluationError as error:
            outcome = error
        except RecursionError:
            outcome = EvaluationError("nested too deeply")
        finally:
            self.busy.discard(key)
        self.values[key] = outcome
        if isinstance(outcome, EvaluationError):
            raise outcome
        return outcome

    def Reference(self, module, modulePath, name):
        place = self._Where(self.constantsAt, "constants", module, modulePath, name)
        if place is not None:
            return self.Constant(place, name)
        outcomes = set()
        for other in self.constantsAt[name]:
            try:
                outcomes.add(self.Constant(other, name))
            except EvaluationError:
                outcomes.add(None)
        if len(outcomes) != 1 or None in outcomes:
            raise EvaluationError("%s means different values in different modules" % name)
        return outcomes.pop()

    def Evaluate(self, tree, expected):
        """(value, kind, flexible): flexible when only unsuffixed literals made the value."""
        shape = tree[0]
        if shape == "literal":
            kind = tree[2] or expected or DEFAULT
            return Wrap(tree[1], kind), kind, tree[2] is None
        if shape == "reference":
            value, kind = self.Reference(tree[3], tree[1], tree[2])
            return value, kind, False
        if shape == "cast":
            target = self._CastTarget(tree)
            value, _, _ = self.Evaluate(tree[1], None if target is POINTER else target)
            return Wrap(value, target), target, False
        if shape in ("negate", "not"):
            value, kind, flexible = self.Evaluate(tree[1], expected)
            return Wrap(-value if shape == "negate" else ~value, kind), kind, flexible
        operator, left, right = tree[1], tree[2], tree[3]
        if operator in ("<<", ">>"):
            value, kind, flexible = self.Evaluate(left, expected)
            amount, _, _ = self.Evaluate(right, None)
            if not 0 <= amount < kind[0]:
                raise EvaluationError("shift by %d" % amount)
            return Wrap(value << amount if operator == "<<" else value >> amount, kind), kind, \
                flexible
        a, kindA, flexibleA = self.Evaluate(left, expected)
        b, kindB, flexibleB = self.Evaluate(right, expected)
        kind = kindA if not flexibleA else kindB if not flexibleB else (expected or DEFAULT)
        if flexibleA and kindA != kind:
            a, _, _ = self.Evaluate(left, kind)
        if flexibleB and kindB != kind:
            b, _, _ = self.Evaluate(right, kind)
        if operator in ("/", "%"):
            if b == 0:
                raise EvaluationError("division by zero")
            quotient = abs(a) // abs(b) * (1 if (a < 0) == (b < 0) else -1)
            result = quotient if operator == "/" else a - b * quotient
        else:
            result = {"*": a * b, "+": a + b, "-": a - b, "&": a & b, "^": a ^ b,
                      "|": a | b}[operator]
        return Wrap(result, kind), kind, flexibleA and flexibleB

    def _CastTarget(self, tree):
        typeShape = tree[2]
        if typeShape[0] == "pointer":
            return POINTER
        _, modulePath, name = typeShape
        tokens = [("id", name)]
        for part in reversed((modulePath or "").split("::") if modulePath else []):
            tokens = [("id", part), ("op", "::")] + tokens
        kind = self.TypeKind(tree[3], tokens)
        if kind is None:
            raise EvaluationError("cast to a type that is no integer: " + name)
        return kind


def Evaluate(modules):
    """{(module path, name): (value, kind) or EvaluationError} for every constant of the crate."""
    crate = Crate(modules)
    results = {}
    for path, module in modules.items():
        for name in module.constants:
            try:
                results[(path, name)] = crate.Constant(path, name)
            except EvaluationError as error:
                results[(path, name)] = error
    return results
