// The processes running on the machine, as the report and the dialog list them.
#pragma once
#include <string>
#include <vector>
#include <windows.h>

struct TVessarProcessInfo {
    DWORD ProcessId = 0;
    std::string FileName; // full path where the system gives it, else the executable's name
    std::string Description;
    std::string Version;
    DWORD PriorityClass = 0; // 0 when unknown
    DWORD Memory = 0;        // working set in bytes; 0 when unknown
    DWORD Threads = 0;       // 0 when unknown
};

// Sorted by process id.
using TVessarProcessesList = std::vector<TVessarProcessInfo>;

// NT 4 knows only the process-status library's list of ids; later systems have the tool-help
// snapshot, whose entries alone describe a process from Windows Vista on (opening another
// user's process is refused there).
enum class TProcessSource { ProcessIds, OpenedSnapshot, SnapshotOnly };
TProcessSource ProcessSourceForSystem();

// Clears and refills the list, sorted by id, with thread counts. Processes that cannot be
// opened where they must be, and anything a missing library or call would give, are left out.
void RefreshProcesses(TVessarProcessesList& list, TProcessSource source = ProcessSourceForSystem());

// The index of the process `id` in the sorted list; -1 when absent.
int ProcessIndexOf(const TVessarProcessesList& list, DWORD id);

// The process that started this one; 0 when the snapshot does not name it.
DWORD ParentProcessId();
