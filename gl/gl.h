// OpenGL under its standard names: one inline forwarding function per table row, so code calls
// glBegin(...) as usual while every call goes through glTable (nothing links an OpenGL library).
// Never include this together with a system GL header: its functions share the standard names.
#pragma once

#if defined(__gl_h_) || defined(__GL_H__) || defined(_GL_H) || defined(__X_GL_H)
#error "a system gl.h was included before gl/gl.h; include only gl/gl.h for OpenGL"
#endif

#include "gl/gl_table.h"

#define GL_CORE(ret, name, params, args) \
    inline ret name params { return glTable.name args; }
#include "gl/gl_list.h"
