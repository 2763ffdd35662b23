// Display-mode texts of the settings dialog: built for the list, taken apart again on OK.
#include "settings/mode_text.h"

#include <cstring>

#include "base/text.h"

std::string FormatModeText(int32_t width, int32_t height, int32_t bits, int32_t hertz,
                           bool withRate) {
    std::string text = std::to_string(width) + " x " + std::to_string(height) + " x " +
                       std::to_string(bits) + "bits";
    if (withRate) text += " x " + std::to_string(hertz) + "Hz";
    return text;
}

namespace {

// A piece begins a fixed number of characters after its mark; never step past the text's end.
const char* Advance(const char* p, int count) {
    while (count-- > 0 && *p) ++p;
    return p;
}

}  // namespace

bool ParseModeText(const char* text, bool withRate, ModeFields& fields) {
    if (!text) return false;
    const char* firstX = std::strchr(text, 'x');
    if (!firstX) return false;
    const char* secondX = std::strchr(firstX + 1, 'x');
    if (!secondX) return false;
    const char* b = std::strchr(secondX + 1, 'b');
    if (!b) return false;
    if (withRate && !std::strchr(b + 1, 'H')) return false;

    fields.width = AtoiSaturating(text);
    fields.height = AtoiSaturating(Advance(firstX, 2));
    fields.bits = AtoiSaturating(Advance(secondX, 2));
    if (withRate) fields.hertz = AtoiSaturating(Advance(b, 7));
    return true;
}
