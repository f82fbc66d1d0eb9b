#!/usr/bin/env python3
"""Runs a command in which no 32-bit x86 program can run: a seccomp filter, inherited by every child,
kills a process at its first 32-bit system call ("Bad system call"). It gives any x86-64 machine the
behaviour of a kernel without ia32 emulation, so that under MIRRAVEL_NO_32BIT=1 a 32-bit program started
by accident (through Debian's `wine` wrapper, or by a 64-bit Wine process) fails loudly instead of
working here and failing only there.

    block-32bit.py COMMAND [ARGUMENT...]
"""
import ctypes
import os
import platform
import sys

PR_SET_NO_NEW_PRIVS = 38
PR_SET_SECCOMP = 22
SECCOMP_MODE_FILTER = 2
SECCOMP_RET_KILL_PROCESS = 0x80000000
SECCOMP_RET_ALLOW = 0x7FFF0000
AUDIT_ARCH_X86_64 = 0xC000003E
SECCOMP_DATA_ARCH_OFFSET = 4  # struct seccomp_data { int nr; __u32 arch; ... }
BPF_LD_W_ABS = 0x20
BPF_JMP_JEQ_K = 0x15
BPF_RET_K = 0x06


class SockFilter(ctypes.Structure):
    _fields_ = [("code", ctypes.c_ushort), ("jt", ctypes.c_ubyte), ("jf", ctypes.c_ubyte),
                ("k", ctypes.c_uint32)]


class SockFprog(ctypes.Structure):
    _fields_ = [("len", ctypes.c_ushort), ("filter", ctypes.POINTER(SockFilter))]


def InstallFilter():
    program = (SockFilter * 4)(
        SockFilter(BPF_LD_W_ABS, 0, 0, SECCOMP_DATA_ARCH_OFFSET),
        SockFilter(BPF_JMP_JEQ_K, 1, 0, AUDIT_ARCH_X86_64),
        SockFilter(BPF_RET_K, 0, 0, SECCOMP_RET_KILL_PROCESS),
        SockFilter(BPF_RET_K, 0, 0, SECCOMP_RET_ALLOW))
    fprog = SockFprog(len(program), program)
    libc = ctypes.CDLL(None, use_errno=True)
    libc.prctl.argtypes = [ctypes.c_int, ctypes.c_ulong, ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong]
    if libc.prctl(PR_SET_NO_NEW_PRIVS, 1, None, 0, 0) != 0:
        return ctypes.get_errno()
    if libc.prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, ctypes.addressof(fprog), 0, 0) != 0:
        return ctypes.get_errno()
    return 0


def Main(argv):
    if len(argv) < 2:
        sys.stderr.write("usage: block-32bit.py COMMAND [ARGUMENT...]\n")
        return 2
    if platform.machine() != "x86_64" or sys.platform != "linux":
        sys.stderr.write("block-32bit.py: only for x86-64 Linux, not %s %s\n" % (sys.platform, platform.machine()))
        return 1
    error = InstallFilter()
    if error:
        sys.stderr.write("block-32bit.py: could not install the seccomp filter that keeps 32-bit programs "
                         "from running: %s\n" % os.strerror(error))
        return 1
    try:
        os.execvp(argv[1], argv[1:])
    except OSError as failure:
        sys.stderr.write("block-32bit.py: cannot run %s: %s\n" % (argv[1], failure.strerror))
        return 127


if __name__ == "__main__":
    sys.exit(Main(sys.argv))
