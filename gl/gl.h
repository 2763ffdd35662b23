// OpenGL under its standard names: one inline forwarding function per table row, so code calls
// glBegin(...) as usual while every call goes through glTable (nothing links an OpenGL library).
// Never include this together with a system GL header.
#pragma once

#include "gl/gl_table.h"

#define GL_CORE(ret, name, params, args) \
    inline ret name params { return glTable.name args; }
#define GL_EXT GL_CORE
#include "gl/gl_list.h"
#undef GL_CORE
#undef GL_EXT
