// Destination alpha held at 1: one clear with alpha 1, then alpha writes masked off. Clearing
// with (0, 0, 0, 0) or blending afterwards cannot lower it, because masked channels are never
// written. Used natively over Mesa's RGBA buffer and by the Windows host on formats with alpha.
#include "gl/dest_alpha.h"

#include "gl/gl.h"

void HoldDestinationAlphaAtOne() {
    // A double-buffered window alternates between its buffers at every swap: both must hold
    // alpha 1, or every other frame loses the additive blend.
    GLint drawBuffer = GL_FRONT;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    const bool doubleBuffered = drawBuffer == GL_BACK;
    if (doubleBuffered) glDrawBuffer(GL_FRONT_AND_BACK);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    if (doubleBuffered) glDrawBuffer(GL_BACK);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}
