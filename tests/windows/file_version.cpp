// Prints what Windows itself reads from a program's version resource and its first icon group,
// one "name=value" line each, for the release checks (tests/e2e/release.sh): file_version FILE.
// Exits with 1 and a message when the file or its version resource cannot be read.
#include <windows.h>

#include <cstdio>
#include <vector>

namespace {

// The icon group's directory entry (GRPICONDIRENTRY), as stored in the resource.
#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

BOOL CALLBACK FirstIconGroup(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    *reinterpret_cast<LPSTR*>(found) = name;
    return FALSE;
}

void PrintIconSizes(const char* path) {
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return;
    LPSTR group = nullptr;
    EnumResourceNamesA(module, RT_GROUP_ICON, FirstIconGroup, reinterpret_cast<LONG_PTR>(&group));
    HRSRC info = group ? FindResourceA(module, group, RT_GROUP_ICON) : nullptr;
    const BYTE* data =
        info ? static_cast<const BYTE*>(LockResource(LoadResource(module, info))) : nullptr;
    std::printf("IconSizes=");
    if (data && SizeofResource(module, info) >= 6) {
        WORD count = *reinterpret_cast<const WORD*>(data + 4);
        if (SizeofResource(module, info) >= 6 + count * sizeof(IconGroupEntry)) {
            const auto* entries = reinterpret_cast<const IconGroupEntry*>(data + 6);
            for (WORD i = 0; i < count; ++i)
                std::printf("%s%d", i ? " " : "", entries[i].width ? entries[i].width : 256);
        }
    }
    std::printf("\n");
    FreeLibrary(module);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: file_version FILE\n");
        return 1;
    }
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(argv[1], &ignored);
    if (size == 0) {
        std::fprintf(stderr, "file_version: no version resource in %s (error %lu)\n", argv[1],
                     GetLastError());
        return 1;
    }
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(argv[1], 0, size, block.data())) {
        std::fprintf(stderr, "file_version: cannot read %s\n", argv[1]);
        return 1;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed)
        std::printf("FixedFileVersion=%u.%u.%u.%u\n", unsigned{HIWORD(fixed->dwFileVersionMS)},
                    unsigned{LOWORD(fixed->dwFileVersionMS)},
                    unsigned{HIWORD(fixed->dwFileVersionLS)},
                    unsigned{LOWORD(fixed->dwFileVersionLS)});
    WORD* translation = nullptr;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < 4) {
        std::fprintf(stderr, "file_version: no translation table in %s\n", argv[1]);
        return 1;
    }
    const char* names[] = {"FileVersion", "ProductVersion", "ProductName",     "FileDescription",
                           "CompanyName", "LegalCopyright", "OriginalFilename"};
    for (const char* name : names) {
        char query[128];
        std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", translation[0],
                      translation[1], name);
        char* value = nullptr;
        if (VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&value), &length) && value)
            std::printf("%s=%s\n", name, value);
    }
    PrintIconSizes(argv[1]);
    return 0;
}
