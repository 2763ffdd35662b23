// Starts a program with an exact command line, which Wine's own start-up never produces (it
// always quotes the program's name): launcher PROGRAM "COMMAND LINE". Waits for the program
// and exits with its exit code; 100 and a message when it cannot be started. It also prints
// "exit code N": a Unix exit status keeps only the low 8 bits (3010 arrives as 194).
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: launcher PROGRAM \"COMMAND LINE\"\n");
        return 100;
    }
    std::string commandLine = argv[2];  // CreateProcessA may write into its buffer
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(argv[1], &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "launcher: cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 100;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 100;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("exit code %lu\n", code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
