#!/usr/bin/env python3
"""Writes gl/gl_list.h (one X-macro row per GL entry point) and gl/gl_types.h (GL types and the
OpenGL 1.0/1.1 enumerants) from the Khronos registry file gl.xml. Window-system functions (WGL,
GLX) are not rows: each context maker in gl/ looks up its own.

Usage: tools/gen_gl_list.py [REGISTRY_DIR] [OUTPUT_DIR]
  REGISTRY_DIR holds gl.xml (default /usr/share/khronos-api, Debian's khronos-api)
  OUTPUT_DIR   is where gl_list.h and gl_types.h go (default: the gl/ folder beside this script)
The outputs are committed, so a normal build needs neither Python nor the registry.
"""
import os
import sys
import xml.etree.ElementTree as ET

CORE_FEATURES = ("GL_VERSION_1_0", "GL_VERSION_1_1")
CORE_COUNT = 336

# Optional rows, in the order the loader asks the driver for them.
EXTENSION_ROWS = (
    ["glActiveTextureARB", "glClientActiveTextureARB"]
    + ["glMultiTexCoord%d%sARB" % (n, form)
       for n in (1, 2, 3, 4)
       for form in ("d", "dv", "f", "fv", "i", "iv", "s", "sv")]
    + ["glLockArraysEXT", "glUnlockArraysEXT",
       "glPointParameterfEXT", "glPointParameterfvEXT"]
)


def text_of(element):
    """The C text of a <proto> or <param>, with the name taken out."""
    parts = [element.text or ""]
    name = None
    for child in element:
        if child.tag == "name":
            name = child.text
        else:
            inner = child.text or ""
            parts.append(inner)
        parts.append(child.tail or "")
    return " ".join("".join(parts).split()), name


def read_commands(root):
    commands = {}
    for command in root.find("commands").findall("command"):
        proto = command.find("proto")
        ret, name = text_of(proto)
        params = [text_of(p) for p in command.findall("param")]
        commands[name] = (ret or "void", params)
    return commands


def pointer_spacing(ctype):
    """'const GLuint *' -> 'const GLuint*', 'void **' -> 'void**'."""
    while " *" in ctype:
        ctype = ctype.replace(" *", "*")
    return ctype.strip()


def row(kind, name, ret, params):
    decl = ", ".join("%s %s" % (pointer_spacing(t), n) for t, n in params)
    args = ", ".join(n for _, n in params)
    return "%s(%s, %s, (%s), (%s))" % (kind, pointer_spacing(ret), name, decl, args)


def core_names(root):
    names = set()
    for feature in root.iter("feature"):
        if feature.get("api") == "gl" and feature.get("name") in CORE_FEATURES:
            for require in feature.iter("require"):
                names.update(c.get("name") for c in require.iter("command"))
    return sorted(names)  # str order is byte order for these ASCII names


def core_enums(root):
    wanted = []
    for feature in root.iter("feature"):
        if feature.get("api") == "gl" and feature.get("name") in CORE_FEATURES:
            for require in feature.iter("require"):
                for e in require.iter("enum"):
                    if e.get("name") not in wanted:
                        wanted.append(e.get("name"))
    values = {}
    for e in root.iter("enum"):
        name = e.get("name")
        if name in wanted and name not in values and e.get("api") in (None, "gl"):
            values[name] = e.get("value")
    return [(n, values[n]) for n in wanted]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    registry = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/khronos-api"
    out_dir = sys.argv[2] if len(sys.argv) > 2 else os.path.join(here, "..", "gl")
    gl = ET.parse(os.path.join(registry, "gl.xml")).getroot()
    commands = read_commands(gl)

    made_by = ("// Made by `python3 tools/gen_gl_list.py %s` from gl.xml there;\n"
               "// do not edit by hand." % registry)
    core = core_names(gl)
    if len(core) != CORE_COUNT:
        sys.exit("expected %d core commands, found %d" % (CORE_COUNT, len(core)))
    lines = [
        "// The GL entry points, one row each: the 336 OpenGL 1.0/1.1 functions in byte order of",
        "// their names (the order the loader resolves them), then the %d optional extension rows." % len(EXTENSION_ROWS),
        made_by,
        "// Rows: GL_CORE/GL_EXT(return type, name, (parameters), (argument names)). No include guard:",
        "// an includer defines GL_CORE (and GL_EXT when extension rows need another expansion) and",
        "// includes this file, which expands GL_EXT as GL_CORE by default and undefines both at its end.",
        "// clang-format off",
        "#ifndef GL_EXT",
        "#define GL_EXT GL_CORE",
        "#endif",
    ]
    for name in core:
        ret, params = commands[name]
        lines.append(row("GL_CORE", name, ret, params))
    for name in EXTENSION_ROWS:
        ret, params = commands[name]
        lines.append(row("GL_EXT", name, ret, params))
    lines += ["#undef GL_CORE", "#undef GL_EXT", "// clang-format on"]
    with open(os.path.join(out_dir, "gl_list.h"), "w") as f:
        f.write("\n".join(lines) + "\n")

    enums = core_enums(gl)
    width = max(len(n) for n, _ in enums) + 1
    types = [
        "// The GL scalar types and the OpenGL 1.0/1.1 enumerants, without any system GL header, so",
        "// portable code and the Windows build see the same definitions.",
        made_by,
        "#pragma once",
        "// clang-format off",
        "",
        "typedef unsigned int GLenum;",
        "typedef unsigned char GLboolean;",
        "typedef unsigned int GLbitfield;",
        "typedef void GLvoid;",
        "typedef signed char GLbyte;",
        "typedef short GLshort;",
        "typedef int GLint;",
        "typedef unsigned char GLubyte;",
        "typedef unsigned short GLushort;",
        "typedef unsigned int GLuint;",
        "typedef int GLsizei;",
        "typedef float GLfloat;",
        "typedef float GLclampf;",
        "typedef double GLdouble;",
        "typedef double GLclampd;",
        "",
        "// The calling convention of GL entry points (only 32-bit Windows distinguishes one).",
        "#if defined(_WIN32) && !defined(_WIN64)",
        "#define TORVEX_GLAPI __stdcall",
        "#else",
        "#define TORVEX_GLAPI",
        "#endif",
        "",
    ]
    for name, value in enums:
        types.append("#define %s%s" % (name.ljust(width), value))
    types.append("// clang-format on")
    with open(os.path.join(out_dir, "gl_types.h"), "w") as f:
        f.write("\n".join(types) + "\n")
    print("%d core rows, %d extension rows, %d enumerants" % (len(core), len(EXTENSION_ROWS), len(enums)))


if __name__ == "__main__":
    main()
