// Prints how many handles the process that owns the saver window (class "OpenGL", title
// "Torvex") holds, as "handles N", for scripts/soak. Wine answers GetProcessHandleCount with 0
// for every process, but lists every handle of the system under SystemHandleInformation.
#include <windows.h>
#include <winternl.h>

#include <cstdio>
#include <vector>

namespace {

constexpr ULONG kSystemHandleInformation = 16;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

struct HandleEntry {
    ULONG ownerProcess;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};

struct HandleList {
    ULONG count;
    HandleEntry entries[1];
};

}  // namespace

int main() {
    HWND saver = FindWindowA("OpenGL", "Torvex");
    if (!saver) {
        std::printf("no saver window\n");
        return 1;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(saver, &process);
    std::vector<BYTE> buffer(1 << 16);
    ULONG length = 0;
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(
                static_cast<SYSTEM_INFORMATION_CLASS>(kSystemHandleInformation), buffer.data(),
                static_cast<ULONG>(buffer.size()), &length)) == kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0) {
        std::printf("no handle list (status 0x%lx)\n", static_cast<unsigned long>(status));
        return 1;
    }
    const auto* list = reinterpret_cast<const HandleList*>(buffer.data());
    ULONG held = 0;
    for (ULONG k = 0; k < list->count; ++k)
        if (list->entries[k].ownerProcess == process) ++held;
    std::printf("handles %lu\n", static_cast<unsigned long>(held));
    return 0;
}
