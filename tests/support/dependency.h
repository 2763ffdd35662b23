// What a test does when something it needs is not installed: skip on a developer's machine, but
// fail with a line naming it under CI=true and in `make test` (TORVEX_REQUIRE_DEPENDENCIES=1),
// which install everything, so that no run passes because a dependency is missing.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

inline bool DependenciesRequired() {
    const char* ci = std::getenv("CI");
    const char* required = std::getenv("TORVEX_REQUIRE_DEPENDENCIES");
    return (ci != nullptr && std::strcmp(ci, "true") == 0) ||
           (required != nullptr && std::strcmp(required, "1") == 0);
}

// Ends the current test: a failure naming `what`, or a skip.
#define TORVEX_MISSING_DEPENDENCY(what)                                         \
    do {                                                                        \
        if (DependenciesRequired()) FAIL() << "missing dependency: " << (what); \
        GTEST_SKIP() << "missing dependency: " << (what);                       \
    } while (0)
