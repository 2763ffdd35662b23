// picture_match REFERENCE.png PICTURE.png: whether a picture shows what a reference shows,
// allowing only what placing the cells' corners on the CPU instead of through glTranslatef may
// change. A pixel matches when every channel is within 2 levels of the reference's pixel, or of
// one of its four neighbours' (a cell edge that rounds to the next row or column). Exit 0 when
// all match, 1 with the count of mismatches otherwise, 2 when a picture cannot be read.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

bool Read(const char* path, png_image& image, std::vector<unsigned char>& rgb) {
    image = png_image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path)) return false;
    image.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    png_image ref, pic;
    std::vector<unsigned char> a, b;
    if (argc != 3 || !Read(argv[1], ref, a) || !Read(argv[2], pic, b)) {
        std::fprintf(stderr, "usage: picture_match REFERENCE.png PICTURE.png (both readable)\n");
        return 2;
    }
    if (ref.width != pic.width || ref.height != pic.height) {
        std::printf("size %ux%u, reference %ux%u\n", pic.width, pic.height, ref.width, ref.height);
        return 1;
    }
    const long w = ref.width, h = ref.height;
    auto near = [&](long p, long q) {
        for (int c = 0; c < 3; ++c)
            if (std::abs(b[p * 3 + c] - a[q * 3 + c]) > 2) return false;
        return true;
    };
    long mismatches = 0;
    for (long y = 0; y < h; ++y)
        for (long x = 0; x < w; ++x) {
            const long p = y * w + x;
            const bool match = near(p, p) || (x > 0 && near(p, p - 1)) ||
                               (x + 1 < w && near(p, p + 1)) || (y > 0 && near(p, p - w)) ||
                               (y + 1 < h && near(p, p + w));
            if (!match && mismatches++ == 0) std::printf("first mismatch at %ld,%ld\n", x, y);
        }
    if (mismatches > 0) std::printf("%ld pixels differ\n", mismatches);
    return mismatches == 0 ? 0 : 1;
}
