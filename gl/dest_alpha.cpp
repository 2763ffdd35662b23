// Destination alpha held at 1: one clear with alpha 1, then alpha writes masked off. Clearing
// with (0, 0, 0, 0) or blending afterwards cannot lower it, because masked channels are never
// written. Used natively over Mesa's RGBA buffer and by the Windows host on formats with alpha.
#include "gl/dest_alpha.h"

#include "gl/gl.h"

void HoldDestinationAlphaAtOne() {
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}
