#include "reporter/diagnostics/lists/processes_list.h"
#include "reporter/base/path_names.h"
#include "reporter/base/windows_version.h"
#include "reporter/diagnostics/lists/file_versions.h"
#include "reporter/diagnostics/lists/process_priority.h"
#include "reporter/diagnostics/lists/tool_help.h"
#include "reporter/diagnostics/lists/version_info.h"
#include "runtime/module_names.h"
#include "runtime/text.h"
#include <algorithm>
#include <mutex>
#include <psapi.h>

namespace {

constexpr DWORD kMaxProcessIds = 1025;

class TProcessStatus {
  public:
    decltype(GetProcessMemoryInfo)* MemoryInfo() const { return memoryInfo_; }
    decltype(GetModuleFileNameExA)* FileName() const { return fileName_; }
    decltype(EnumProcesses)* Enumerate() const { return enumerate_; }

  private:
    TRunTimeLibrary psapi_{"PSAPI.dll"};
    decltype(GetProcessMemoryInfo)* memoryInfo_ =
        psapi_.Function<decltype(GetProcessMemoryInfo)>("GetProcessMemoryInfo");
    decltype(GetModuleFileNameExA)* fileName_ =
        psapi_.Function<decltype(GetModuleFileNameExA)>("GetModuleFileNameExA");
    decltype(EnumProcesses)* enumerate_ = psapi_.Function<decltype(EnumProcesses)>("EnumProcesses");
};

// The running programs' files hardly change between two refreshes.
TFileVersions& ProgramVersions() {
    static TFileVersions versions;
    return versions;
}

void DescribeFile(TVessarProcessInfo& info) {
    const TFileVersionInfo version = ProgramVersions().Of(info.FileName);
    info.Description = version.Description;
    info.Version = version.Version;
}

// This process's own path is known without asking across processes, which some systems refuse.
bool IsThisProcess(DWORD id) {
    return id == GetCurrentProcessId();
}

std::string OpenedFileName(const TProcessStatus& status, DWORD id, HANDLE process,
                           const std::string& fallback) {
    if (IsThisProcess(id))
        return ModulePath(nullptr);
    char name[MAX_PATH] = {};
    if (status.FileName() && status.FileName()(process, nullptr, name, MAX_PATH))
        return Trim(name);
    return Trim(fallback);
}

DWORD WorkingSet(const TProcessStatus& status, HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!status.MemoryInfo() || !status.MemoryInfo()(process, &counters, sizeof counters))
        return 0;
    return DWORD(counters.WorkingSetSize);
}

// A process described through its handle; false when it cannot be opened or has no name.
bool OpenedRecord(const TProcessStatus& status, DWORD id, const std::string& fallbackName,
                  TVessarProcessInfo& info) {
    HANDLE process = IsThisProcess(id)
                         ? GetCurrentProcess()
                         : OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
    if (!process)
        return false;
    info.ProcessId = id;
    info.FileName = OpenedFileName(status, id, process, fallbackName);
    info.PriorityClass = GetPriorityClass(process);
    info.Memory = WorkingSet(status, process);
    CloseHandle(process);
    if (info.FileName.empty())
        return false;
    DescribeFile(info);
    return true;
}

void AddByProcessIds(const TProcessStatus& status, TVessarProcessesList& list) {
    std::vector<DWORD> ids(kMaxProcessIds);
    DWORD bytes = 0;
    if (!status.Enumerate() ||
        !status.Enumerate()(ids.data(), DWORD(ids.size() * sizeof(DWORD)), &bytes))
        return;
    ids.resize(bytes / sizeof(DWORD));
    for (DWORD id : ids) {
        TVessarProcessInfo info;
        if (OpenedRecord(status, id, "", info))
            list.push_back(std::move(info));
    }
}

// The full path of the process's module named `name`, from that process's module snapshot.
std::string ModulePathIn(const TToolHelp& toolHelp, DWORD id, const std::string& name) {
    if (IsThisProcess(id))
        return ModulePath(nullptr);
    std::string path;
    toolHelp.Modules(id, [&](const MODULEENTRY32& module) {
        if (!AnsiSameText(module.szModule, name))
            return true;
        path = module.szExePath;
        return false;
    });
    return path;
}

TVessarProcessInfo SnapshotRecord(const TToolHelp& toolHelp, const PROCESSENTRY32& entry) {
    TVessarProcessInfo info;
    info.ProcessId = entry.th32ProcessID;
    info.FileName = entry.szExeFile;
    if (!ExtensionOf(info.FileName).empty()) {
        const std::string path = ModulePathIn(toolHelp, entry.th32ProcessID, info.FileName);
        if (!path.empty())
            info.FileName = path;
        DescribeFile(info);
    }
    info.PriorityClass = PriorityClassOfBase(entry.pcPriClassBase);
    info.Threads = entry.cntThreads;
    return info;
}

void AddBySnapshot(const TToolHelp& toolHelp, TVessarProcessesList& list) {
    toolHelp.Processes([&](const PROCESSENTRY32& entry) {
        list.push_back(SnapshotRecord(toolHelp, entry));
        return true;
    });
}

void AddByOpenedSnapshot(const TToolHelp& toolHelp, const TProcessStatus& status,
                         TVessarProcessesList& list) {
    toolHelp.Processes([&](const PROCESSENTRY32& entry) {
        TVessarProcessInfo info;
        if (OpenedRecord(status, entry.th32ProcessID, entry.szExeFile, info))
            list.push_back(std::move(info));
        return true;
    });
}

// The process-status library serves only the paths that open the processes.
void AddProcesses(const TToolHelp& toolHelp, TProcessSource source, TVessarProcessesList& list) {
    if (source == TProcessSource::SnapshotOnly)
        return AddBySnapshot(toolHelp, list);
    const TProcessStatus status;
    if (source == TProcessSource::ProcessIds)
        AddByProcessIds(status, list);
    else
        AddByOpenedSnapshot(toolHelp, status, list);
}

// Threads arrive grouped by process mostly, so the previous hit is tried first.
void CountThreads(const TToolHelp& toolHelp, TVessarProcessesList& list) {
    int hit = -1;
    toolHelp.Threads([&](const THREADENTRY32& thread) {
        if (hit < 0 || list[hit].ProcessId != thread.th32OwnerProcessID)
            hit = ProcessIndexOf(list, thread.th32OwnerProcessID);
        if (hit >= 0)
            ++list[hit].Threads;
        return true;
    });
}

} // namespace

TProcessSource ProcessSourceForSystem() {
    const TWindowsVersion version = CurrentWindowsVersion();
    if (version.IsNT() && version.Major <= 4)
        return TProcessSource::ProcessIds;
    if (version.IsNT() && version.Major >= 6)
        return TProcessSource::SnapshotOnly;
    return TProcessSource::OpenedSnapshot;
}

void RefreshProcesses(TVessarProcessesList& list, TProcessSource source) {
    static std::mutex lock;
    const std::lock_guard<std::mutex> hold(lock);
    const TToolHelp toolHelp;
    list.clear();
    AddProcesses(toolHelp, source, list);
    ProgramVersions().DropUnused();
    std::sort(list.begin(), list.end(),
              [](const TVessarProcessInfo& a, const TVessarProcessInfo& b) {
                  return a.ProcessId < b.ProcessId;
              });
    if (source != TProcessSource::SnapshotOnly)
        CountThreads(toolHelp, list);
}

int ProcessIndexOf(const TVessarProcessesList& list, DWORD id) {
    const auto found = std::lower_bound(
        list.begin(), list.end(), id,
        [](const TVessarProcessInfo& p, DWORD wanted) { return p.ProcessId < wanted; });
    return found != list.end() && found->ProcessId == id ? int(found - list.begin()) : -1;
}

DWORD ParentProcessId() {
    DWORD parent = 0;
    TToolHelp().Processes([&](const PROCESSENTRY32& entry) {
        if (entry.th32ProcessID != GetCurrentProcessId())
            return true;
        parent = entry.th32ParentProcessID;
        return false;
    });
    return parent;
}
