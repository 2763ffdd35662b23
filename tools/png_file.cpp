// PNG output through libpng's classic interface: its errors arrive by longjmp, so everything
// that must be cleaned up after one is set up before the jump point and released after it.
#include "tools/png_file.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>

namespace {

void ReportPngError(png_structp png, png_const_charp message) {
    auto* error = static_cast<std::string*>(png_get_error_ptr(png));
    *error = message;
    png_longjmp(png, 1);
}

void IgnorePngWarning(png_structp, png_const_charp) {}

}  // namespace

std::string WritePngRgb(const std::string& path, int width, int height,
                        const std::vector<unsigned char>& rgb) {
    if (width < 1 || height < 1 ||
        rgb.size() != static_cast<size_t>(width) * static_cast<size_t>(height) * 3)
        return "picture size does not match its bytes";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return "cannot write " + path + ": " + std::strerror(errno);

    std::string error;
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, ReportPngError, IgnorePngWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return "cannot write " + path + ": out of memory";
    }
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                     8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y)
            png_write_row(png, rgb.data() + static_cast<size_t>(y) * width * 3);
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    // A full disk shows up when the buffered bytes are flushed at the close.
    if (std::fclose(file) != 0 && error.empty()) error = std::strerror(errno);
    if (!error.empty()) {
        std::remove(path.c_str());
        return "cannot write " + path + ": " + error;
    }
    return "";
}
