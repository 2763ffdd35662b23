// A GL table for tests that records every call as text instead of drawing, so tests can assert on
// the exact calls made: "glTexParameterf(0x0DE1, 0x2802, 10497)". Arguments are formatted by their
// declared type: GLenum and GLbitfield as hex (0x0DE1), other integers in decimal, floats and
// doubles with %g, pointers as "ptr" (or "null").
#pragma once

#include <string>
#include <vector>

// Fills every row of glTable with a recording function, clears the log and restarts the names
// handed out: glGenLists returns 1, 2, 3 ... (advancing by its range), glGenTextures writes 1, 2,
// 3 ... Functions returning a value return 0 apart from those two. glGetIntegerv answers
// GL_MAX_TEXTURE_SIZE with 1024, as Windows' own software OpenGL does, until told otherwise.
void StartRecording();
void SetRecordedMaxTextureSize(int size);

// The calls recorded since StartRecording or the last ClearRecordedCalls, oldest first.
const std::vector<std::string>& RecordedCalls();

// The recorded calls of one function (by its GL name, e.g. "glBindTexture"), oldest first.
std::vector<std::string> RecordedCallsTo(const std::string& name);

// Forgets the recorded calls and texture images; the name counters keep running.
void ClearRecordedCalls();

// The pixel bytes handed to glTexImage2D for 8-bit formats (GL_RGB, GL_RGBA, GL_LUMINANCE,
// GL_ALPHA, GL_LUMINANCE_ALPHA with GL_UNSIGNED_BYTE), rows padded to the GL_UNPACK_ALIGNMENT set
// through glPixelStorei at the time (4 unless changed), exactly as GL would read them.
struct RecordedTexImage {
    std::string call;                   // the recorded glTexImage2D line
    std::vector<unsigned char> pixels;  // empty for a null pointer or another format
};
const std::vector<RecordedTexImage>& RecordedTexImages();
