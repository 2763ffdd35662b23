// Stand-in for the Windows 95/98 password library "MPR.DLL": records how PwdChangePasswordA was
// called, and whether FX_GLIDE_NO_SPLASH was already in the process environment, in
// password.log beside this DLL. Used by the end-to-end run of Torvex.scr /a.
#include <windows.h>

#include <cstdio>
#include <cstring>

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR key, HWND parent, DWORD reserved1, DWORD reserved2) {
    char path[MAX_PATH];
    HMODULE self = nullptr;
    GetModuleHandleExA(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCSTR>(&PwdChangePasswordA), &self);
    const DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 1;
    char* slash = std::strrchr(path, '\\');
    if (!slash || static_cast<size_t>(slash - path) + 14 >= MAX_PATH) return 1;
    std::strcpy(slash + 1, "password.log");

    char splash[16] = "unset";
    GetEnvironmentVariableA("FX_GLIDE_NO_SPLASH", splash, sizeof splash);
    if (FILE* log = std::fopen(path, "w")) {
        std::fprintf(log, "key=%s parent=%lld reserved=%lu,%lu splash=%s\n", key ? key : "(null)",
                     static_cast<long long>(reinterpret_cast<intptr_t>(parent)), reserved1,
                     reserved2, splash);
        std::fclose(log);
    }
    return 0;
}
