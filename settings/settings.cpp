// The global settings record and the small rules every reader of stored values shares.
#include "settings/settings.h"

#include <cstring>

Settings settings;

void UpperCaseMessage(char* text) {
    for (; *text; ++text)
        if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
}

void TakeMessage(char (&message)[kMessageBytes], const char* text, int textLength) {
    int n = 0;
    while (n < textLength && n < kMaxMessageLength && text[n] != '\0') ++n;
    std::memset(message, 0, sizeof message);
    std::memcpy(message, text, static_cast<size_t>(n));
    UpperCaseMessage(message);
}

int32_t ChoiceOrDefault(int32_t value, int32_t count, int32_t defaultChoice) {
    return value >= 0 && value < count ? value : defaultChoice;
}
