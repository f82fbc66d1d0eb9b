"""The catalogue's second source: the integer constants of the winapi crate (Debian package
librust-winapi-dev, MIT or Apache-2.0), with the SDK header each module stands for."""

import collections

from . import filters, rusteval, rustsource

PACKAGE = "librust-winapi-dev"
ROOT = "/usr/share/cargo/registry/winapi-0.3.9"
# The C runtime's modules, left out like the C runtime's headers.
CRT_MODULES = ("ucrt", "vc")


class Constant:
    __slots__ = ("name", "value", "header")

    def __init__(self, name, value, header):
        self.name, self.value, self.header = name, value, header


def Collect(root=ROOT):
    """({name: Constant}, Counter of what was left out and why, {name: why it could not be
    computed}, {name: {header: value}} for names modules define with different values)."""
    modules = rustsource.ReadCrate(root)
    results = rusteval.Evaluate(modules)
    counts, failures, values = collections.Counter(), {}, collections.defaultdict(dict)
    for (path, name), outcome in sorted(results.items()):
        header = modules[path].header
        if header is None:
            continue
        if path.split("::")[0] in CRT_MODULES:
            counts["C runtime"] += 1
            continue
        if isinstance(outcome, rusteval.EvaluationError):
            reason = str(outcome)
            if reason == "not an integer type":
                counts["not an integer"] += 1
            else:
                counts["evaluation failed"] += 1
                failures[name] = reason
            continue
        value = rusteval.Value32(*outcome)
        if value is None:
            counts["more than 32 bits"] += 1
            continue
        reason = filters.ExclusionReason(name, header, None)
        if reason is not None:
            counts[reason] += 1
            continue
        values[name].setdefault(header, value)
    constants, conflicting = {}, {}
    for name, byHeader in values.items():
        if len(set(byHeader.values())) > 1:
            conflicting[name] = byHeader
            continue
        header, value = next(iter(byHeader.items()))
        constants[name] = Constant(name, value, header)
    counts["integer constants"] = sum(len(byHeader) for byHeader in values.values())
    return constants, counts, failures, conflicting
