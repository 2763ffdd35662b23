// Small text helpers shared by the command line, the settings dialog and the tools. Portable.
#pragma once
#include <cstdint>

// atoi's rules (leading white space, optional sign, decimal digits up to the first other
// character), except that numbers beyond 32 bits saturate instead of being undefined.
int32_t AtoiSaturating(const char* text);
