// The context contract's calls: each forwards to the record's maker, and does nothing for a
// record nobody filled, so a host can always tear down whatever it got.
#include "gl/context.h"

bool MakeContextCurrent(GlContext& context) {
    return context.makeCurrent != nullptr && context.makeCurrent(context);
}

void SwapContextBuffers(GlContext& context) {
    if (context.swap != nullptr) context.swap(context);
}

bool SetContextSwapInterval(GlContext& context, int interval) {
    return context.swapInterval != nullptr && context.swapInterval(context, interval);
}

void ReleaseContext(GlContext& context) {
    if (context.release != nullptr) context.release(context);
    context = GlContext{};
}

bool FillGlTableFromContext(const GlContext& context, int* firstMissing) {
    if (context.resolve == nullptr) {
        if (firstMissing != nullptr) *firstMissing = 0;
        return false;
    }
    if (!FillGlCoreRows(context.resolve, context.resolveUser, firstMissing)) return false;
    FillGlExtRows(context.resolve, context.resolveUser);
    return true;
}
