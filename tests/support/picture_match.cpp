// picture_match REFERENCE.png PICTURE.png: whether a picture shows what a reference shows, allowing
// only what moving a cell's corners from the matrix stack to the CPU may change. A pixel matches
// when every channel is within 2 levels of the reference's pixel, or of one of its four
// neighbours' (a cell edge that rounds to the next row or column). Exit 0 when all match, 1 with
// the count and the first mismatch otherwise, 2 when a picture cannot be read.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    const unsigned char* at(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
};

bool Read(const char* path, Picture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path)) return false;
    image.format = PNG_FORMAT_RGB;
    picture.width = int(image.width);
    picture.height = int(image.height);
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) != 0;
}

bool Near(const unsigned char* a, const unsigned char* b) {
    for (int c = 0; c < 3; ++c)
        if (std::abs(a[c] - b[c]) > 2) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Picture reference, picture;
    if (argc != 3 || !Read(argv[1], reference) || !Read(argv[2], picture)) {
        std::fprintf(stderr, "usage: picture_match REFERENCE.png PICTURE.png (both readable)\n");
        return 2;
    }
    if (reference.width != picture.width || reference.height != picture.height) {
        std::printf("size %dx%d, reference %dx%d\n", picture.width, picture.height, reference.width,
                    reference.height);
        return 1;
    }
    long mismatches = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const unsigned char* p = picture.at(x, y);
            bool match = Near(p, reference.at(x, y));
            const int neighbours[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& n : neighbours)
                match = match || (n[0] >= 0 && n[0] < picture.width && n[1] >= 0 &&
                                  n[1] < picture.height && Near(p, reference.at(n[0], n[1])));
            if (!match && mismatches++ == 0)
                std::printf("first mismatch at %d,%d: %d %d %d, reference %d %d %d\n", x, y, p[0],
                            p[1], p[2], reference.at(x, y)[0], reference.at(x, y)[1],
                            reference.at(x, y)[2]);
        }
    if (mismatches > 0) std::printf("%ld pixels differ\n", mismatches);
    return mismatches == 0 ? 0 : 1;
}
