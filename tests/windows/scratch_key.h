// Registry helpers shared by the store and dialog tests, which run on Wine's real registry.
#pragma once
#include <windows.h>

#include <string>

// A path where RegCreateKeyExA really fails: Windows makes no non-volatile key under a volatile
// one. The volatile parent is made below `scratch`, which the caller deletes afterwards.
inline std::string KeyThatCannotBeCreated(const std::string& scratch) {
    HKEY handle;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, scratch.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &handle, nullptr) != ERROR_SUCCESS)
        return std::string();
    RegCloseKey(handle);
    const std::string volatilePath = scratch + "\\Volatile";
    if (RegCreateKeyExA(HKEY_CURRENT_USER, volatilePath.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &handle, nullptr) != ERROR_SUCCESS)
        return std::string();
    RegCloseKey(handle);
    return volatilePath + "\\Program";
}
