// Where the fixture libraries are and how a test makes a chosen set of them "present": copies in
// a fresh per-case folder that becomes the loader's extra search folder. Windows tests only.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>

// The folder of the running test program, with a trailing backslash.
inline std::string ProgramFolder() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

inline std::string FixtureFolder() { return ProgramFolder() + "fixtures\\"; }

// Empties (or creates) the folder cases\<name> beside the program, copies each fixture
// {file in the fixture folder, name to give it} into it, and makes it the loader's search
// folder. Returns the folder, or "" when a copy failed.
inline std::string MakeCaseFolder(
    const std::string& name, std::initializer_list<std::pair<const char*, const char*>> files) {
    const std::string folder = ProgramFolder() + "cases\\" + name + "\\";
    CreateDirectoryA((ProgramFolder() + "cases").c_str(), nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    for (const auto& file : files)
        if (!CopyFileA((FixtureFolder() + file.first).c_str(), (folder + file.second).c_str(),
                       FALSE))
            return "";
    SetDllDirectoryA(folder.c_str());
    return folder;
}

inline std::string Environment(const char* name) {
    char value[4096] = "";
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length < sizeof value ? std::string(value, length) : std::string();
}
