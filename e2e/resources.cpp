// Another process's GDI objects and memory, read from outside.
#include "e2e/resources.h"

// After windows.h, which it needs.
#include <psapi.h>

#include <vector>

namespace e2e {

DWORD CountGdiObjects(HANDLE process) {
    DWORD counted = GetGuiResources(process, GR_GDIOBJECTS);
    if (counted != 0)
        return counted;
    // ntdll's PROCESS_BASIC_INFORMATION: the exit status, then the address
    // of the process environment block.
    struct BasicInformation {
        // cppcheck-suppress unusedStructMember
        void* exitStatus;
        void* processBlock;
        ULONG_PTR reserved[4];
    };
    using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    // Class 0 of NtQueryInformationProcess is ProcessBasicInformation.
    constexpr int ProcessBasicInformation = 0;
    // The 64-bit process environment block holds the address of the GDI
    // handle table (GdiSharedHandleTable) at 0xF8; Wine fills it as Windows does.
    constexpr size_t HandleTableField = 0xF8;
    // The table: 65536 entries of 24 bytes on 64-bit Windows and Wine...
    constexpr size_t Entries = 65536;
    constexpr size_t EntrySize = 24;
    // ...each with the object's type in the byte at 14, 0 for a free entry.
    constexpr size_t TypeByte = 14;
    BasicInformation information = {};
    if (sizeof(void*) != 8 || query == nullptr ||
        query(process, ProcessBasicInformation, &information, sizeof information, nullptr) != 0)
        return 0;
    unsigned long long table = 0;
    SIZE_T read = 0;
    if (ReadProcessMemory(process, static_cast<char*>(information.processBlock) + HandleTableField,
                          &table, sizeof table, &read) == 0 ||
        table == 0)
        return 0;
    std::vector<unsigned char> handles(Entries * EntrySize);
    if (ReadProcessMemory(process, reinterpret_cast<void*>(table), handles.data(), handles.size(),
                          &read) == 0 ||
        read != handles.size())
        return 0;
    for (size_t entry = 0; entry < Entries; ++entry)
        if (handles[entry * EntrySize + TypeByte] != 0)
            ++counted;
    return counted;
}

namespace {

// The committed private pages of a process, region by region.
double CommittedPrivateBytes(HANDLE process) {
    double total = 0;
    char* address = nullptr;
    MEMORY_BASIC_INFORMATION region;
    while (VirtualQueryEx(process, address, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += static_cast<double>(region.RegionSize);
        char* next = static_cast<char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address)
            break;
        address = next;
    }
    return total;
}

}  // namespace

Memory ReadMemory(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    Memory memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters)) {
        memory.privateBytes = static_cast<double>(counters.PrivateUsage);
        memory.workingSet = static_cast<double>(counters.WorkingSetSize);
    }
    if (memory.privateBytes <= 0)
        memory.privateBytes = CommittedPrivateBytes(process);
    return memory;
}

}  // namespace e2e
