#!/usr/bin/env python3
"""Writes scripts/exports/<arch>/<dll>.txt, the functions each system DLL
exports on the oldest Windows a release exe is marked for: 32-bit Windows XP
SP3 for i686, 64-bit Windows Vista for x86_64.

Usage: scripts/exports/generate.py SOURCES

SOURCES holds the public files named in SOURCE_FILES below, fetched at the
commits given there: SOURCES/reactos/<dll>.spec and
SOURCES/mingw-w64/msvcrt.def.in. They are not checked in; the lists are.
"""
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))

REACTOS_LICENCE = ("no licence header in the file; the ReactOS tree is GPL-2.0 (COPYING), "
                   "its Wine-derived dlls LGPL-2.1-or-later")
SOURCE_FILES = {
    "kernel32": ("reactos/reactos", "dll/win32/kernel32/kernel32.spec",
                 "08629037ea7cfda9fab9e898b38c8e66ef77373a", REACTOS_LICENCE),
    "user32": ("reactos/reactos", "win32ss/user/user32/user32.spec",
               "10ddfd286890f07c375b18f3e9751d29b2b7b8ba", REACTOS_LICENCE),
    "gdi32": ("reactos/reactos", "win32ss/gdi/gdi32/gdi32.spec",
              "2032b5aa2977adc41b4218ee1ae8f43087e67ad3", REACTOS_LICENCE),
    "advapi32": ("reactos/reactos", "dll/win32/advapi32/advapi32.spec",
                 "1085d8504384a387a03bf94bff55afa64d840a52", REACTOS_LICENCE),
    "comctl32": ("reactos/reactos", "dll/win32/comctl32/comctl32.spec",
                 "0b30f2543ceebe0a9516594e0b3066377a064f1e", REACTOS_LICENCE),
    "winmm": ("reactos/reactos", "dll/win32/winmm/winmm.spec",
              "0ee830d7a446b24be8fbeb3568dce95838fb8ac7", REACTOS_LICENCE),
    "shell32": ("reactos/reactos", "dll/win32/shell32/shell32.spec",
                "10cc2687e6ca79059c9f4d5455934090c3596738", REACTOS_LICENCE),
    "msvcrt": ("mingw-w64/mingw-w64", "mingw-w64-crt/lib-common/msvcrt.def.in",
               "007cfa004b4613aea5099cff7ed2083c20d28f8d",
               "no licence header in the file; mingw-w64 runtime terms in "
               "COPYING.MinGW-w64-runtime/COPYING.MinGW-w64-runtime.txt (public domain, some files ZPL-2.1)"),
}

TARGETS = {
    # version as in ReactOS -version= marks, ReactOS arch name, msvcrt.def.in
    # section that is the first one too new
    "i686": (0x501, "i386", "32-bit Windows XP SP3",
             "; These symbols were added in Windows Server 2003 OS"),
    "x86_64": (0x600, "x86_64", "64-bit Windows Vista",
               "; These symbols were added in Windows Vista OS"),
}

# comctl32 without a manifest is version 5.82 on both systems. ReactOS
# exports a version 6 set; these are the names 5.82 lacks or exports only by
# ordinal, checked by hand against the minimum DLL versions Microsoft
# documents (6.0 and later).
COMCTL32_V6_ONLY = {
    "DrawShadowText", "HIMAGELIST_QueryInterface", "ImageList_CoCreateInstance",
    "ImageList_WriteEx", "LoadIconMetric", "LoadIconWithScaleDown", "RegisterClassNameW",
    "TaskDialog", "TaskDialogIndirect", "DPA_GetSize", "DSA_GetSize", "DSA_Clone",
}


def version_fits(spec, version):
    for part in spec.split(","):
        if part.endswith("+"):
            if version >= int(part[:-1], 16):
                return True
        elif "-" in part:
            low, high = part.split("-")
            if int(low, 16) <= version <= int(high, 16):
                return True
        elif version == int(part, 16):
            return True
    return False


def read_spec(path, version, arch):
    names = set()
    for line in open(path, encoding="utf-8"):
        line = re.split(r"\s[;#]", line.strip())[0]
        fields = line.split()
        if len(fields) < 3 or not (fields[0] == "@" or fields[0].isdigit()):
            continue
        flags = [f for f in fields[2:] if f.startswith("-")]
        rest = [f for f in fields[2:] if not f.startswith("-")]
        name = rest[0].split("(")[0] if rest else ""
        if not name or name == "@" or "-noname" in flags:
            continue
        fits = True
        for flag in flags:
            if flag.startswith("-version="):
                fits &= version_fits(flag[len("-version="):], version)
            elif flag.startswith("-arch="):
                fits &= arch in flag[len("-arch="):].split(",") or \
                    ("win32" if arch == "i386" else "win64") in flag[len("-arch="):].split(",")
            elif flag == "-i386":
                fits &= arch == "i386"
            elif flag == "-ordinal":
                # Ordinal-only in comctl32 5.82.
                fits &= not path.endswith("comctl32.spec")
        if fits:
            names.add(name)
    return names


def expand_macros(line, arch):
    keep = {
        "F_I386": arch == "i386", "F32": arch == "i386", "F_NON_X64": arch == "i386",
        "F_X64": arch == "x86_64", "F64": arch == "x86_64", "F_NON_I386": arch == "x86_64",
        "F_X86_ANY": True, "F_NON_ARM64": True, "F_ARM_ANY": False, "F_ARM32": False,
        "F_ARM64": False,
    }
    pattern = re.compile(r"\b(F\w*)\(([^()]*)\)")
    while pattern.search(line):
        line = pattern.sub(lambda m: m.group(2) if keep[m.group(1)] else "", line)
    return line


def read_def(path, arch, stop):
    names = set()
    skipping = False
    for raw in open(path, encoding="utf-8"):
        line = raw.strip()
        if line.startswith(stop) or "end of the list of symbols available in the Windows OS" in line:
            break
        if line.startswith("#ifdef"):
            skipping = line.split()[1] != ("DEF_I386" if arch == "i386" else "DEF_X64")
            continue
        if line.startswith("#endif"):
            skipping = False
            continue
        if skipping or not line or line.startswith(("#", ";", "LIBRARY", "EXPORTS")):
            continue
        fields = expand_macros(line.split(";")[0], arch).split()
        if fields:
            names.add(re.sub(r"@\d+$", "", fields[0]) if not fields[0].startswith("?") else fields[0])
    return names


def not_in_xp():
    subtract = {}
    for line in open(os.path.join(HERE, "not-in-xp.txt"), encoding="utf-8"):
        fields = line.split("#")[0].split()
        if fields:
            subtract.setdefault(fields[0].lower(), set()).add(fields[1])
    return subtract


def beyond_reactos():
    add = {}
    for line in open(os.path.join(HERE, "beyond-reactos.txt"), encoding="utf-8"):
        fields = line.split("#")[0].split()
        if fields:
            add.setdefault(fields[0].lower(), []).append((fields[1], int(fields[2], 16)))
    return add


def main():
    sources = sys.argv[1]
    subtract = not_in_xp()
    add = beyond_reactos()
    for target, (version, arch, system, stop) in TARGETS.items():
        os.makedirs(os.path.join(HERE, target), exist_ok=True)
        for dll, (repo, path, commit, licence) in SOURCE_FILES.items():
            if dll == "msvcrt":
                names = read_def(os.path.join(sources, "mingw-w64", "msvcrt.def.in"), arch, stop)
                how = "entries for this arch up to the section before '%s'" % stop[2:]
            else:
                names = read_spec(os.path.join(sources, "reactos", dll + ".spec"), version, arch)
                how = "named entries whose -version= and -arch= marks fit %#x and %s" % (version, arch)
            if dll == "comctl32":
                names -= COMCTL32_V6_ONLY
                how += ", minus the names comctl32 5.82 lacks (generate.py)"
            if target == "i686" and dll in subtract:
                names -= subtract[dll]
                how += ", minus the names in scripts/exports/not-in-xp.txt"
            added = {name for name, since in add.get(dll, []) if version >= since}
            if added:
                names |= added
                how += ", plus the names in scripts/exports/beyond-reactos.txt"
            with open(os.path.join(HERE, target, dll + ".txt"), "w", encoding="utf-8") as out:
                out.write("# %s.dll exports on %s, written by scripts/exports/generate.py\n" % (dll, system))
                out.write("# source: %s %s at commit %s\n" % (repo, path, commit))
                out.write("# licence of the source: %s\n" % licence)
                out.write("# kept: %s\n" % how)
                out.write("".join(n + "\n" for n in sorted(names)))


if __name__ == "__main__":
    main()
