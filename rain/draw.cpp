// Drawing of the rain: the three display lists every cell uses, streams and letters as columns
// of textured cells (top first, each glow right after its glyph), and one whole frame. Relies
// on the GL state of the renderer set-up and on textures named by glyph code (render/).
#include "rain/draw.h"

#include "gl/gl.h"
#include "rain/field.h"
#include "rain/random.h"

DisplayLists displayLists;

namespace {

// A soft disc around the cell: a fan from the centre colour to the rim colour. The diagonal
// factor 0.7 (not 0.7071) is part of the look.
// The rim is the centre colour made fully transparent.
GLuint CompileGlow(GLfloat cell, GLfloat radius, RainRgba centre) {
    static const GLfloat rimDirections[9][2] = {
        {1.0f, 0.0f},   {0.7f, 0.7f},  {0.0f, 1.0f},  {-0.7f, 0.7f}, {-1.0f, 0.0f},
        {-0.7f, -0.7f}, {0.0f, -1.0f}, {0.7f, -0.7f}, {1.0f, 0.0f},
    };
    const GLfloat cx = cell / 2.0f;
    const GLfloat cy = cell / 2.0f;
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glBegin(GL_TRIANGLE_FAN);
    glColor4f(centre.r, centre.g, centre.b, centre.a);
    glVertex2f(cx, cy);
    for (const auto& d : rimDirections) {
        glColor4f(centre.r, centre.g, centre.b, 0.0f);
        glVertex2f(cx + d[0] * radius, cy + d[1] * radius);
    }
    glEnd();
    glEndList();
    return list;
}

// One cell, the origin at the top of it on entry and at its bottom-left corner on return.
void DrawCell(int32_t code, bool head, bool fastMode, GLfloat cell) {
    // A code that names no texture (a hand-edited stored message) shows as a blank cell: binding
    // it would create an empty texture. The trail's random number is still taken, so a blank
    // cell does not shift the flicker of the cells after it.
    const bool known = code >= 0 && code < kGlyphCodeCount;
    if (known) glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(code));
    glTranslatef(0.0f, -cell, 0.0f);
    GLfloat alpha = 1.0f;
    if (!head) alpha = 0.7f + 0.3f * static_cast<GLfloat>(Random()) / 32767.0f;
    if (!known) return;
    const RainColors& colors = *displayLists.colors;
    if (head)
        glColor4f(colors.head.r, colors.head.g, colors.head.b, colors.head.a);
    else
        glColor4f(colors.trail[0], colors.trail[1], colors.trail[2], alpha);
    glCallList(displayLists.glyphList);
    if (!fastMode) {
        glDisable(GL_TEXTURE_2D);
        glCallList(head ? displayLists.headGlowList : displayLists.trailGlowList);
        glEnable(GL_TEXTURE_2D);
    }
}

}  // namespace

void buildDisplayLists() {
    // Every stream and letter of the field being built has this cell size; the lists are made
    // once, for it.
    const GLfloat c = displayLists.displayListCellSize;

    // Texture t runs along x and s down y: with the transposed tiles, glyphs stand upright.
    displayLists.glyphList = glGenLists(1);
    glNewList(displayLists.glyphList, GL_COMPILE);
    glBegin(GL_QUADS);
    glTexCoord2i(1, 0);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2i(1, 1);
    glVertex2f(c, 0.0f);
    glTexCoord2i(0, 1);
    glVertex2f(c, c);
    glTexCoord2i(0, 0);
    glVertex2f(0.0f, c);
    glEnd();
    glEndList();

    displayLists.trailGlowList = CompileGlow(c, 1.2f * c, displayLists.colors->trailGlow);
    displayLists.headGlowList = CompileGlow(c, 2.0f * c, displayLists.colors->headGlow);
}

void Stream::draw() {
    glPushMatrix();
    glTranslatef(x, y + static_cast<float>(cellCount) * cellSize, 0.0f);
    const int lowest = brightHead ? 0 : 1;
    for (int i = cellCount - 1; i >= lowest; --i) {
        // Cells are drawn downwards: once one is wholly below the screen, so are the rest.
        if (y + static_cast<float>(i + 1) * cellSize < 0.0f) break;
        DrawCell(glyphs[i], i == 0, fastMode, cellSize);
    }
    glPopMatrix();
}

void MessageLetter::draw() {
    if (isSpace || erased) return;
    glPushMatrix();
    glTranslatef(x, y + static_cast<float>(cellCount) * cellSize, 0.0f);
    for (int i = cellCount - 1; i >= 0; --i) DrawCell(glyphs[i], i == 0, fastMode, cellSize);
    glPopMatrix();
}

void SetPixelProjection(int32_t x, int32_t y, int32_t width, int32_t height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, static_cast<GLdouble>(width), 0.0, static_cast<GLdouble>(height), -1.0, 1.0);
    glViewport(x, y, width, height);
    glMatrixMode(GL_MODELVIEW);
}

void DrawRainField(const RainField& field) {
    for (Stream* stream = field.firstStream; stream != nullptr; stream = stream->next)
        stream->draw();
    if (!field.continuous && field.cycleCounter > kLettersShown)
        for (int32_t j = 0; j < field.messageLength; ++j)
            if (field.letters[j] != nullptr) field.letters[j]->draw();
}

void DrawRainFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawRainField(rainField);
    glFlush();
}
