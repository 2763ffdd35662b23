// Writes 8-bit RGB pictures as PNG files (libpng), for torvex-tool shot. Native only.
#pragma once
#include <string>
#include <vector>

// Writes width x height RGB bytes, rows from the top down. Returns an empty string on success,
// otherwise what went wrong (the file cannot be opened, libpng failed, the size is wrong).
std::string WritePngRgb(const std::string& path, int width, int height,
                        const std::vector<unsigned char>& rgb);
