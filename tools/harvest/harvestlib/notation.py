"""Writes a header's definition of a constant in PureBasic notation, for the catalogue's comments.

The values come from the compiler; this module only re-spells the definition the header gives, so
that a reader sees how the value is made: constants get "#", hexadecimal numbers "$", integer
suffixes and casts disappear, and calls of macros that only cast or paste names (MAKEINTRESOURCEA,
_HRESULT_TYPEDEF_, __MSABI_LONG, __MINGW_NAME_AW) are replaced by what they wrap. A definition that
is no more than a number says nothing the value does not, so it is not repeated. Whatever cannot be
spelled faithfully (strings, floating point, conditional operators) gives no definition at all.
"""

import re

from .preprocess import Tokens

TYPE_KEYWORDS = {"unsigned", "signed", "int", "long", "short", "char", "const", "volatile", "void",
                 "struct", "enum", "union", "__int64", "__int32", "__int16", "__int8", "float",
                 "double", "_Bool"}
OPERAND_START = {"(", "-", "+", "~", "!"}
OPERATORS = {"^": "!", "==": "=", "!=": "<>", "&&": "And", "||": "Or", "!": "Not"}
UNSPELLABLE = {"?", ":", "#", "##", "{", "}", ";", "[", "]", ".", "->", "=", "+=", "-=", "++",
               "--"}
_INTEGER = re.compile(r"^(0[xX][0-9A-Fa-f]+|[0-9]+)([uUlL]*|[iI](?:8|16|32|64))$")
_SIMPLE_ESCAPES = {"n": 10, "t": 9, "r": 13, "0": 0, "\\": 92, "'": 39, '"': 34, "a": 7, "b": 8,
                   "f": 12, "v": 11}
MAX_DEPTH = 8


class Token:
    __slots__ = ("kind", "text", "space")

    def __init__(self, kind, text, space):
        self.kind, self.text, self.space = kind, text, space

    def Copy(self, space=None):
        return Token(self.kind, self.text, self.space if space is None else space)


def ToTokens(text):
    return [Token(kind, value, space) for kind, value, space in Tokens(text)]


def IntegerValue(text):
    """The value of a C integer literal, or None."""
    match = _INTEGER.match(text)
    if not match:
        return None
    digits = match.group(1)
    if digits[:2] in ("0x", "0X"):
        return int(digits[2:], 16)
    if len(digits) > 1 and digits[0] == "0":
        return int(digits, 8) if all(c in "01234567" for c in digits) else None
    return int(digits)


def CharacterValue(text):
    """The value of a simple single-byte character constant, or None."""
    if not (text.startswith("'") and text.endswith("'")) or len(text) < 3:
        return None
    body = text[1:-1]
    if len(body) == 1:
        return ord(body)
    if body[0] == "\\":
        rest = body[1:]
        if len(rest) == 1 and rest in _SIMPLE_ESCAPES:
            return _SIMPLE_ESCAPES[rest]
        if rest[:1] == "x" and len(rest) > 1:
            try:
                return int(rest[1:], 16) & 0xFF
            except ValueError:
                return None
    return None


def _Matching(tokens, start):
    """Index of the bracket closing tokens[start], or -1."""
    depth = 0
    for index in range(start, len(tokens)):
        text = tokens[index].text if tokens[index].kind == "op" else ""
        if text == "(":
            depth += 1
        elif text == ")":
            depth -= 1
            if depth == 0:
                return index
    return -1


def _SplitArguments(tokens):
    arguments, current, depth = [], [], 0
    for token in tokens:
        if token.kind == "op" and token.text == "(":
            depth += 1
        elif token.kind == "op" and token.text == ")":
            depth -= 1
        if token.kind == "op" and token.text == "," and depth == 0:
            arguments.append(current)
            current = []
        else:
            current.append(token)
    arguments.append(current)
    return arguments


def StripParentheses(tokens):
    while len(tokens) >= 2 and tokens[0].text == "(" and tokens[0].kind == "op" \
            and _Matching(tokens, 0) == len(tokens) - 1:
        tokens = tokens[1:-1]
    return tokens


class Speller:
    """Spells definitions for one translation unit."""

    def __init__(self, macros, valueNames, catalogueNames):
        self.macros = macros                  # name -> preprocess.Macro
        self.valueNames = valueNames          # identifiers that compiled as integer constants
        self.catalogueNames = catalogueNames  # identifiers written with "#"

    def _IsType(self, token):
        if token.kind == "op":
            return token.text == "*"
        if token.kind != "id":
            return False
        if token.text in TYPE_KEYWORDS:
            return True
        macro = self.macros.get(token.text)
        return token.text not in self.valueNames and (macro is None or macro.params is None)

    def RemoveCasts(self, tokens):
        tokens = list(tokens)
        index = 0
        while index < len(tokens):
            token = tokens[index]
            if token.kind == "op" and token.text == "(" and \
                    not (index > 0 and tokens[index - 1].kind == "id"):
                close = _Matching(tokens, index)
                inner = tokens[index + 1:close]
                following = tokens[close + 1] if 0 < close < len(tokens) - 1 else None
                if inner and all(self._IsType(t) for t in inner) and following is not None and \
                        (following.kind in ("id", "num", "chr") or
                         (following.kind == "op" and following.text in OPERAND_START)):
                    del tokens[index:close + 1]
                    if index < len(tokens):
                        tokens[index] = tokens[index].Copy(space=token.space)
                    continue
            index += 1
        return tokens

    def _Substitute(self, macro, arguments):
        """The body of a function-like macro with its arguments in place; None if it stringizes."""
        if len(arguments) != len(macro.params) and not (not macro.params and arguments == [[]]):
            return None
        bound = dict(zip(macro.params, arguments))
        body = ToTokens(macro.body)
        result = []
        index = 0
        while index < len(body):
            token = body[index]
            if token.kind == "op" and token.text == "#":
                return None
            if token.kind == "op" and token.text == "##":
                if not result or index + 1 >= len(body):
                    return None
                right = body[index + 1]
                pieces = bound.get(right.text, [right]) if right.kind == "id" else [right]
                if len(pieces) != 1:
                    return None
                left = result.pop()
                pasted = Tokens(left.text + pieces[0].text)
                if len(pasted) != 1:
                    return None
                result.append(Token(pasted[0][0], pasted[0][1], left.space))
                index += 2
                continue
            if token.kind == "id" and token.text in bound:
                replacement = [t.Copy() for t in bound[token.text]]
                if replacement:
                    replacement[0].space = token.space
                result.extend(replacement)
            else:
                result.append(token)
            index += 1
        return result

    def _FunctionMacro(self, name, depth):
        """The function-like macro a name calls, following object-like aliases."""
        for _ in range(MAX_DEPTH):
            macro = self.macros.get(name)
            if macro is None or name in self.valueNames:
                return None
            if macro.params is not None:
                return macro
            body = StripParentheses(self.Simplify(ToTokens(macro.body), depth + 1))
            if len(body) != 1 or body[0].kind != "id":
                return None
            name = body[0].text
        return None

    def Simplify(self, tokens, depth=0):
        """Replaces calls of wrapping macros by what they wrap."""
        if depth > MAX_DEPTH:
            return tokens
        result = []
        index = 0
        while index < len(tokens):
            token = tokens[index]
            following = tokens[index + 1] if index + 1 < len(tokens) else None
            if token.kind == "id" and following is not None and following.text == "(" and \
                    following.kind == "op":
                macro = self._FunctionMacro(token.text, depth)
                close = _Matching(tokens, index + 1)
                if macro is not None and close > 0:
                    arguments = [self.Simplify(argument, depth + 1)
                                 for argument in _SplitArguments(tokens[index + 2:close])]
                    collapsed = self._Collapse(macro, arguments, depth)
                    if collapsed is not None:
                        collapsed[0] = collapsed[0].Copy(space=token.space)
                        result.extend(collapsed)
                    else:
                        result.append(token)
                        result.append(following)
                        for number, argument in enumerate(arguments):
                            if number:
                                result.append(Token("op", ",", False))
                            result.extend(argument)
                        result.append(tokens[close])
                    index = close + 1
                    continue
            result.append(token)
            index += 1
        return result

    def _Collapse(self, macro, arguments, depth):
        expansion = self._Substitute(macro, arguments)
        if expansion is None:
            return None
        core = StripParentheses(self.RemoveCasts(self.Simplify(expansion, depth + 1)))
        if len(core) == 1 and core[0].kind in ("id", "num", "chr"):
            return [core[0].Copy()]
        if len(core) == 2 and core[0].kind == "op" and core[0].text in ("-", "+") and \
                core[1].kind == "num":
            return [core[0].Copy(), core[1].Copy()]
        return None

    def Spell(self, definition):
        """The definition in PureBasic notation, or None when it adds nothing or cannot be spelled."""
        tokens = ToTokens(definition) if isinstance(definition, str) else list(definition)
        if not tokens:
            return None
        tokens = self.RemoveCasts(self.Simplify(tokens))
        core = [t for t in tokens if not (t.kind == "op" and t.text in "()")]
        if len(core) == 1 and core[0].kind in ("num", "chr"):
            return None
        if len(core) == 2 and core[0].text in ("-", "+") and core[1].kind == "num":
            return None
        pieces = []
        for token in tokens:
            spelled = self._SpellToken(token)
            if spelled is None:
                return None
            if pieces and token.space:
                pieces.append(" ")
            pieces.append(spelled)
        text = "".join(pieces).strip()
        return text or None

    def _SpellToken(self, token):
        if token.kind == "num":
            value = IntegerValue(token.text)
            if value is None:
                return None
            digits = _INTEGER.match(token.text).group(1)
            if digits[:2] in ("0x", "0X") or (len(digits) > 1 and digits[0] == "0"):
                return "$%X" % value
            return str(value)
        if token.kind == "chr":
            value = CharacterValue(token.text)
            return None if value is None else "$%X" % value
        if token.kind == "str":
            return None
        if token.kind == "id":
            if token.text == "sizeof":
                return "SizeOf"
            if token.text in self.catalogueNames:
                return "#" + token.text
            return token.text
        if token.text in UNSPELLABLE:
            return None
        return OPERATORS.get(token.text, token.text)
