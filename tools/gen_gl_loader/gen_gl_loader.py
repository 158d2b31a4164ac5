#!/usr/bin/env python3
"""Writes the OpenGL entry-point slots of lib_opengl_loader from the Khronos registry.

    python3 tools/gen_gl_loader/gen_gl_loader.py [--registry /usr/share/khronos-api/gl.xml] [--out render]
    python3 tools/gen_gl_loader/gen_gl_loader.py --check    # fails when the committed files differ

Produces render/gl_functions.h (types, enum values, one function-pointer slot per
entry point) and render/gl_functions.cpp (the slots and the load order: OpenGL 1.0
and 1.1, then glTexImage3D and glTexSubImage3D, then one group per version from
1.2 to 4.6).  Every entry point appears once, in the first version that requires
it; the compatibility profile's commands are included.
"""

import argparse
import os
import sys
import xml.etree.ElementTree as ET

DEFAULT_REGISTRY = "/usr/share/khronos-api/gl.xml"

# Loaded before the version test, so they sit outside the 1.2 group.
EARLY_3D = ["glTexImage3D", "glTexSubImage3D"]

# Entry points per version group after the early pair has been taken out.  The
# loader's return-after-group rule depends on these groups; a registry that
# gives other counts is refused rather than silently changing the groups.
EXPECTED_COUNTS = {
    "1.0+1.1": 336,
    "1.2": 2, "1.3": 46, "1.4": 47, "1.5": 19,
    "2.0": 93, "2.1": 6,
    "3.0": 84, "3.1": 12, "3.2": 19, "3.3": 58,
    "4.0": 46, "4.1": 88, "4.2": 12, "4.3": 43, "4.4": 9, "4.5": 122, "4.6": 4,
}

# khronos_* types resolved for the two targets the program builds for (LLP64
# Windows and LP64 Linux): both have 32-bit int and pointer-sized intptr_t.
TYPES = """\
typedef unsigned int GLenum;
typedef unsigned char GLboolean;
typedef unsigned int GLbitfield;
typedef void GLvoid;
typedef int8_t GLbyte;
typedef uint8_t GLubyte;
typedef int16_t GLshort;
typedef uint16_t GLushort;
typedef int GLint;
typedef unsigned int GLuint;
typedef int32_t GLclampx;
typedef int GLsizei;
typedef float GLfloat;
typedef float GLclampf;
typedef double GLdouble;
typedef double GLclampd;
typedef char GLchar;
typedef uint16_t GLhalf;
typedef int32_t GLfixed;
typedef intptr_t GLintptr;
typedef intptr_t GLsizeiptr;
typedef int64_t GLint64;
typedef uint64_t GLuint64;
typedef struct __GLsync *GLsync;
typedef void(GL_APIENTRY *GLDEBUGPROC)(GLenum source, GLenum type, GLuint id, GLenum severity, GLsizei length,
                                        const GLchar *message, const void *userParam);
"""


def text_of(elem):
    """C text of a <proto> or <param>, without the parameter's own name."""
    parts = [elem.text or ""]
    for child in elem:
        if child.tag != "name":
            parts.append(child.text or "")
        parts.append(child.tail or "")
    return " ".join("".join(parts).split())


def read_registry(path):
    root = ET.parse(path).getroot()
    commands = {}
    for cmd in root.find("commands").findall("command"):
        proto = cmd.find("proto")
        name = proto.find("name").text
        ret = text_of(proto)
        params = [text_of(p) for p in cmd.findall("param")]
        commands[name] = (ret, params)

    enum_values = {}
    for enums in root.findall("enums"):
        for e in enums.findall("enum"):
            if e.get("api") not in (None, "gl"):
                continue
            suffix = {"u": "u", "ull": "ull"}.get(e.get("type"), "")
            enum_values.setdefault(e.get("name"), e.get("value") + suffix)

    features = []
    for f in root.findall("feature"):
        if f.get("api") != "gl":
            continue
        names, enums = [], []
        for req in f.findall("require"):
            names += [c.get("name") for c in req.findall("command")]
            enums += [e.get("name") for e in req.findall("enum")]
        features.append((f.get("number"), names, enums))
    features.sort(key=lambda f: tuple(int(x) for x in f[0].split(".")))
    return commands, enum_values, features


def build_groups(features):
    seen = set()
    groups = []  # (label, [names])
    base = []
    for number, names, _ in features:
        fresh = []
        for n in names:
            if n in seen:
                continue
            seen.add(n)
            fresh.append(n)
        if number in ("1.0", "1.1"):
            base += fresh
            continue
        if number == "1.2":
            fresh = [n for n in fresh if n not in EARLY_3D]
        groups.append((number, fresh))
    missing = [n for n in EARLY_3D if n not in seen]
    if missing:
        sys.exit("registry lacks %s" % ", ".join(missing))
    counts = {"1.0+1.1": len(base)}
    counts.update({label: len(names) for label, names in groups})
    if counts != EXPECTED_COUNTS:
        sys.exit("unexpected group sizes: %r" % counts)
    return base, groups


def pfn_name(name):
    return "PFN" + name.upper() + "PROC"


def render_header(registry, commands, enum_values, features, base, groups):
    all_names = base + EARLY_3D + [n for _, names in groups for n in names]
    enum_names = []
    seen = set()
    for _, _, enums in features:
        for e in enums:
            if e not in seen:
                seen.add(e)
                enum_names.append(e)

    out = []
    out.append("// Generated by tools/gen_gl_loader/gen_gl_loader.py from the Khronos OpenGL registry\n")
    out.append("// (%s, OpenGL 1.0 to 4.6, compatibility profile).  Do not edit: change the\n" % registry)
    out.append("// script and run it again.\n")
    out.append("#pragma once\n\n#include <stdint.h>\n\n")
    out.append("#if defined(_WIN32)\n#define GL_APIENTRY __stdcall\n#else\n#define GL_APIENTRY\n#endif\n\n")
    out.append(TYPES)
    out.append("\n")
    for e in enum_names:
        out.append("#define %s %s\n" % (e, enum_values[e]))
    out.append("\n")
    for n in all_names:
        ret, params = commands[n]
        out.append("typedef %s(GL_APIENTRY *%s)(%s);\n" % (ret, pfn_name(n), ", ".join(params) or "void"))
    out.append("\n// One slot per entry point, null until load_gl_functions fills it.\n")
    for n in all_names:
        out.append("extern %s %s;\n" % (pfn_name(n), n))
    out.append("""
// Where a slot lives and the name it is looked up by.
struct GlEntry {
    const char *name;
    void *slot;
};

// A run of gl_entries loaded together; major.minor is the version that needs it.
struct GlEntryGroup {
    int major;
    int minor;
    int first;
    int count;
};

""")
    out.append("#define GL_BASE_ENTRY_COUNT %d  // OpenGL 1.0 and 1.1, exported by the system library\n" % len(base))
    out.append("#define GL_EARLY_ENTRY_FIRST %d  // glTexImage3D and glTexSubImage3D\n" % len(base))
    out.append("#define GL_EARLY_ENTRY_COUNT %d\n" % len(EARLY_3D))
    out.append("#define GL_VERSION_GROUP_COUNT %d  // 1.2 to 4.6\n" % len(groups))
    out.append("#define GL_ENTRY_COUNT %d\n\n" % len(all_names))
    out.append("extern const GlEntry gl_entries[GL_ENTRY_COUNT];\n")
    out.append("extern const GlEntryGroup gl_version_groups[GL_VERSION_GROUP_COUNT];\n")
    return "".join(out)


def render_source(base, groups):
    all_names = base + EARLY_3D + [n for _, names in groups for n in names]
    out = []
    out.append("// Generated by tools/gen_gl_loader/gen_gl_loader.py from the Khronos OpenGL registry.\n")
    out.append("// Do not edit: change the script and run it again.\n")
    out.append('#include "render/gl_functions.h"\n\n')
    for n in all_names:
        out.append("%s %s;\n" % (pfn_name(n), n))
    out.append("\nconst GlEntry gl_entries[GL_ENTRY_COUNT] = {\n")
    for n in all_names:
        out.append('    {"%s", (void *)&%s},\n' % (n, n))
    out.append("};\n\nconst GlEntryGroup gl_version_groups[GL_VERSION_GROUP_COUNT] = {\n")
    first = len(base) + len(EARLY_3D)
    for label, names in groups:
        major, minor = label.split(".")
        out.append("    {%s, %s, %d, %d},\n" % (major, minor, first, len(names)))
        first += len(names)
    out.append("};\n")
    return "".join(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--registry", default=DEFAULT_REGISTRY)
    ap.add_argument("--out", default=os.path.join(here, "..", "..", "render"))
    ap.add_argument("--check", action="store_true", help="compare with the files in --out instead of writing")
    args = ap.parse_args()

    commands, enum_values, features = read_registry(args.registry)
    base, groups = build_groups(features)
    files = {
        "gl_functions.h": render_header(args.registry, commands, enum_values, features, base, groups),
        "gl_functions.cpp": render_source(base, groups),
    }
    stale = []
    for name, text in files.items():
        path = os.path.join(args.out, name)
        if args.check:
            try:
                with open(path, encoding="utf-8") as f:
                    if f.read() != text:
                        stale.append(path)
            except OSError:
                stale.append(path)
        else:
            with open(path, "w", encoding="utf-8", newline="\n") as f:
                f.write(text)
    if stale:
        sys.exit("out of date: " + ", ".join(stale))


if __name__ == "__main__":
    main()
