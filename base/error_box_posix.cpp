// The error box natively: the native tools have no windows, so the text goes to standard error.
#include "base/error_box.h"

#include <cstdio>

void ShowErrorBox(const char* caption, const char* text) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
}
