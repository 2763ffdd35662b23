// The recording table: one recording function per row, made from the row's own pointer type and
// its declared parameter text (gl/gl_list.h), so it can never disagree with the table.
// glGenLists, glGenTextures, glTexImage2D and glPixelStorei also keep the state tests look at;
// glGetIntegerv answers GL_MAX_TEXTURE_SIZE.
#include "tests/support/gl_recorder.h"

#include <cstdio>
#include <type_traits>

#include "gl/gl_table.h"

namespace {

std::vector<std::string> calls;
std::vector<RecordedTexImage> texImages;
GLuint nextList = 1;
GLuint nextTexture = 1;
GLint unpackAlignment = 4;
GLint maxTextureSize = 1024;

const char* const kParameterText[kGlRowCount] = {
#define GL_CORE(ret, name, params, args) #params,
#include "gl/gl_list.h"
};

// For each parameter of a row: whether it is declared GLenum or GLbitfield (printed in hex).
std::vector<bool> HexParameters(int row) {
    std::vector<bool> hex;
    std::string text = kParameterText[row];
    size_t start = 1;  // past '('
    while (start < text.size()) {
        size_t end = text.find_first_of(",)", start);
        if (end == std::string::npos) break;
        const std::string parameter = text.substr(start, end - start);
        hex.push_back(parameter.find("GLenum") != std::string::npos ||
                      parameter.find("GLbitfield") != std::string::npos);
        start = end + 1;
    }
    return hex;
}

template <typename T>
std::string FormatArgument(T value, bool hex) {
    char text[64];
    if constexpr (std::is_pointer_v<T>) {
        return value ? "ptr" : "null";
    } else if constexpr (std::is_floating_point_v<T>) {
        std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    } else if constexpr (std::is_signed_v<T>) {
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
    } else if (hex) {
        std::snprintf(text, sizeof text, "0x%04llX", static_cast<unsigned long long>(value));
    } else {
        std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(value));
    }
    (void)hex;
    return text;
}

template <int Row, typename Pointer>
struct Recorder;

template <int Row, typename Result, typename... Args>
struct Recorder<Row, Result(TORVEX_GLAPI*)(Args...)> {
    static Result TORVEX_GLAPI Call(Args... args) {
        static const std::vector<bool> hex = HexParameters(Row);
        std::string line = kGlRowNames[Row];
        line += '(';
        [[maybe_unused]] size_t index = 0;
        ((line += index ? ", " : "", line += FormatArgument(args, index < hex.size() && hex[index]),
          ++index),
         ...);
        line += ')';
        calls.push_back(line);
        return Result();
    }
};

#define RECORDER(name) Recorder<kGlRow_##name, decltype(GlTable::name)>

GLuint TORVEX_GLAPI GenLists(GLsizei range) {
    RECORDER(glGenLists)::Call(range);
    const GLuint first = nextList;
    if (range > 0) nextList += static_cast<GLuint>(range);
    return first;
}

void TORVEX_GLAPI GenTextures(GLsizei n, GLuint* textures) {
    RECORDER(glGenTextures)::Call(n, textures);
    for (GLsizei i = 0; textures && i < n; ++i) textures[i] = nextTexture++;
}

void TORVEX_GLAPI PixelStorei(GLenum pname, GLint param) {
    RECORDER(glPixelStorei)::Call(pname, param);
    if (pname == GL_UNPACK_ALIGNMENT && (param == 1 || param == 2 || param == 4 || param == 8))
        unpackAlignment = param;
}

size_t ComponentsOf(GLenum format) {
    switch (format) {
    case GL_RGB:
        return 3;
    case GL_RGBA:
        return 4;
    case GL_LUMINANCE_ALPHA:
        return 2;
    case GL_LUMINANCE:
    case GL_ALPHA:
    case GL_RED:
    case GL_GREEN:
    case GL_BLUE:
        return 1;
    default:
        return 0;
    }
}

void TORVEX_GLAPI TexImage2D(GLenum target, GLint level, GLint internalformat, GLsizei width,
                             GLsizei height, GLint border, GLenum format, GLenum type,
                             const void* pixels) {
    RECORDER(glTexImage2D)::Call(target, level, internalformat, width, height, border, format, type,
                                 pixels);
    RecordedTexImage image{calls.back(), {}};
    const size_t components = ComponentsOf(format);
    if (pixels && type == GL_UNSIGNED_BYTE && components && width > 0 && height > 0) {
        const size_t align = static_cast<size_t>(unpackAlignment);
        const size_t row = (static_cast<size_t>(width) * components + align - 1) / align * align;
        const auto* bytes = static_cast<const unsigned char*>(pixels);
        // The last row is read only up to its pixels, as GL does.
        const size_t size =
            row * static_cast<size_t>(height - 1) + static_cast<size_t>(width) * components;
        image.pixels.assign(bytes, bytes + size);
    }
    texImages.push_back(std::move(image));
}

void TORVEX_GLAPI GetIntegerv(GLenum pname, GLint* data) {
    RECORDER(glGetIntegerv)::Call(pname, data);
    if (pname == GL_MAX_TEXTURE_SIZE && data) *data = maxTextureSize;
}

}  // namespace

void SetRecordedMaxTextureSize(int size) { maxTextureSize = size; }

void StartRecording() {
#define GL_CORE(ret, name, params, args) glTable.name = &RECORDER(name)::Call;
#include "gl/gl_list.h"
    glTable.glGenLists = &GenLists;
    glTable.glGenTextures = &GenTextures;
    glTable.glPixelStorei = &PixelStorei;
    glTable.glTexImage2D = &TexImage2D;
    glTable.glGetIntegerv = &GetIntegerv;
    calls.clear();
    texImages.clear();
    nextList = 1;
    nextTexture = 1;
    unpackAlignment = 4;
    maxTextureSize = 1024;
}

const std::vector<std::string>& RecordedCalls() { return calls; }

std::vector<std::string> RecordedCallsTo(const std::string& name) {
    std::vector<std::string> matching;
    const std::string prefix = name + "(";
    for (const std::string& call : calls)
        if (call.compare(0, prefix.size(), prefix) == 0) matching.push_back(call);
    return matching;
}

void ClearRecordedCalls() {
    calls.clear();
    texImages.clear();
}

const std::vector<RecordedTexImage>& RecordedTexImages() { return texImages; }
