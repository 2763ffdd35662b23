// Small text helpers shared by several subsystems.
#include "base/text.h"

#include <climits>

namespace {

bool IsAtoiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

// The C library's atoi leaves overflow undefined; a window number typed by hand must not be,
// so values beyond 32 bits saturate at INT32_MIN / INT32_MAX, as strtol does.
int32_t AtoiSaturating(const char* text) {
    const char* p = text;
    while (IsAtoiSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > limit) value = limit;  // keep consuming digits without growing
    }
    return static_cast<int32_t>(negative ? -value : value);
}
