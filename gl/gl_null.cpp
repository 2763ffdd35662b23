// No-op rows, one per table row, made from the row's own pointer type so they always match.
// Relies on gl/gl_list.h.
#include "gl/gl_null.h"

#include "gl/gl_table.h"

namespace {

template <typename Pointer>
struct NoOp;

template <typename Result, typename... Args>
struct NoOp<Result(TORVEX_GLAPI*)(Args...)> {
    static Result TORVEX_GLAPI Call(Args...) { return Result(); }
};

}  // namespace

void FillGlTableWithNoOps() {
#define GL_CORE(ret, name, params, args) glTable.name = &NoOp<decltype(glTable.name)>::Call;
#include "gl/gl_list.h"
}
