// The GL entry-point table: one pointer per row of gl/gl_list.h, filled at run time from the
// driver library (Windows), Mesa's off-screen library (native), a no-op or a recording filler.
// Everything else calls OpenGL through gl/gl.h, which forwards to these pointers.
#pragma once

#include "gl/gl_types.h"

struct GlTable {
#define GL_CORE(ret, name, params, args) ret(TORVEX_GLAPI* name) params;
#include "gl/gl_list.h"
};

extern GlTable glTable;

// Row indices, in table order: kGlRow_glAccum == 0 ... kGlRow_glPointParameterfvEXT == 373.
enum GlRow : int {
#define GL_CORE(ret, name, params, args) kGlRow_##name,
#include "gl/gl_list.h"
    kGlRowCount
};

constexpr int kGlCoreCount = 336;  // every OpenGL 1.1 function, all required
constexpr int kGlExtCount = 38;    // optional extension functions, after the core rows
static_assert(kGlRowCount == kGlCoreCount + kGlExtCount, "gl/gl_list.h must hold 336 + 38 rows");
static_assert(kGlRow_glPointParameterfvEXT == kGlRowCount - 1, "extension rows come last");

// The export name of each row ("glAccum", ..., "glPointParameterfvEXT"), in table order.
extern const char* const kGlRowNames[kGlRowCount];

// Answers the address of the named function, or null when it is missing. `user` is passed through
// unchanged (a module handle, a library record, ...).
using GlResolver = void* (*)(const char* name, void* user);

// Resolves the core rows in order and stops at the first one the resolver cannot answer: returns
// false, stores that row's index in *firstMissing (when given) and leaves it and every later core
// row null. Returns true, with *firstMissing = -1, when all 336 are filled.
bool FillGlCoreRows(GlResolver resolve, void* user, int* firstMissing = nullptr);

// Resolves every extension row; a row the resolver cannot answer is null. Never fails. A null
// resolver clears all extension rows.
void FillGlExtRows(GlResolver resolve, void* user);

// Sets every row to null.
void ClearGlTable();

// The current pointer of one row (null for an unfilled row or an index out of range).
void* GlTableRow(int row);
