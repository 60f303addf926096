// Another process's resources as the driver reads them from outside: its
// live GDI objects and its memory.
#pragma once
#include <windows.h>

namespace e2e {

// The live GDI objects of a process. Wine answers GetGuiResources with 0;
// then the count is read from the process's GDI handle table, which Wine
// keeps in the process's own memory. Answers 0 when neither works.
DWORD CountGdiObjects(HANDLE process);

struct Memory {
    double privateBytes = 0;  // committed memory of the process alone
    double workingSet = 0;    // resident memory
};

// Wine answers PrivateUsage with 0; then the private committed regions are
// added up instead, which is what the figure means.
Memory ReadMemory(HANDLE process);

inline double Mib(double bytes) { return bytes / (1024.0 * 1024.0); }

}  // namespace e2e
