// Compile-time check of gl/gl_list.h and gl/gl_types.h against the system's <GL/gl.h>: every row's
// prototype must equal the system declaration, and every enumerant must be spelled exactly as the
// system header spells it (a different value is a macro redefinition, an error under -Werror).
// Native only; must never include gl/gl.h, whose forwarding functions share the standard names.
#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>

#include <type_traits>

#include "gl/gl_types.h"

#define GL_CORE(ret, name, params, args)                            \
    static_assert(std::is_same_v<decltype(&::name), ret(*) params>, \
                  #name " in gl/gl_list.h differs from the system prototype");
#include "gl/gl_list.h"
