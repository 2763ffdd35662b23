// libFuzzer target: any bytes as a display-mode text must parse or be refused without reading
// past the text; a text the dialog built itself must always come back as the same numbers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "settings/mode_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ModeFields fields;
    ParseModeText(text.c_str(), true, fields);
    ParseModeText(text.c_str(), false, fields);

    if (size >= 16) {  // the round trip, with numbers taken from the input
        int32_t n[4];
        std::memcpy(n, data, sizeof n);
        for (bool withRate : {false, true}) {
            const std::string built = FormatModeText(n[0], n[1], n[2], n[3], withRate);
            ModeFields back;
            if (!ParseModeText(built.c_str(), withRate, back) || back.width != n[0] ||
                back.height != n[1] || back.bits != n[2] || (withRate && back.hertz != n[3]))
                std::abort();
        }
    }
    return 0;
}
