// The one-line text of a display mode in the settings dialog's list ("800 x 600 x 16bits" or
// "800 x 600 x 16bits x 75Hz") and its parse back into numbers on OK. Pure and portable.
#pragma once
#include <cstdint>
#include <string>

std::string FormatModeText(int32_t width, int32_t height, int32_t bits, int32_t hertz,
                           bool withRate);

struct ModeFields {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bits = 0;
    int32_t hertz = 0;  // only read when asked for the rate
};

// Takes the numbers apart by the text's "x", "b" and "H" marks, each piece under atoi rules.
// False (fields untouched) when a mark is missing: the caller then keeps what it has instead
// of reading past the text.
bool ParseModeText(const char* text, bool withRate, ModeFields& fields);
