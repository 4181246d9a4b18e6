// The tool-help snapshots of kernel32, looked up at run time: Windows NT 4 has none.
#pragma once
#include "reporter/base/file_handle.h"
#include "reporter/base/run_time_library.h"
#include <tlhelp32.h>

class TToolHelp {
  public:
    // `visit(entry)` for each entry of a snapshot until it returns false; nothing when the
    // calls are missing or the snapshot cannot be taken.
    template <class Visit> void Processes(Visit visit) const {
        Walk<PROCESSENTRY32>(TH32CS_SNAPPROCESS, 0, processFirst_, processNext_, visit);
    }
    template <class Visit> void Threads(Visit visit) const {
        Walk<THREADENTRY32>(TH32CS_SNAPTHREAD, 0, threadFirst_, threadNext_, visit);
    }
    template <class Visit> void Modules(DWORD processId, Visit visit) const {
        Walk<MODULEENTRY32>(TH32CS_SNAPMODULE, processId, moduleFirst_, moduleNext_, visit);
    }

  private:
    template <class Entry, class Step, class Visit>
    void Walk(DWORD what, DWORD processId, Step* first, Step* next, Visit& visit) const {
        if (!snapshot_ || !first || !next)
            return;
        FileHandle snapshot(snapshot_(what, processId));
        if (snapshot.Get() == INVALID_HANDLE_VALUE)
            return;
        Entry entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = first(snapshot.Get(), &entry); more; more = next(snapshot.Get(), &entry))
            if (!visit(static_cast<const Entry&>(entry)))
                return;
    }

    TRunTimeLibrary kernel_{"kernel32.dll"};
    decltype(CreateToolhelp32Snapshot)* snapshot_ =
        kernel_.Function<decltype(CreateToolhelp32Snapshot)>("CreateToolhelp32Snapshot");
    decltype(Process32First)* processFirst_ =
        kernel_.Function<decltype(Process32First)>("Process32First");
    decltype(Process32Next)* processNext_ =
        kernel_.Function<decltype(Process32Next)>("Process32Next");
    decltype(Thread32First)* threadFirst_ =
        kernel_.Function<decltype(Thread32First)>("Thread32First");
    decltype(Thread32Next)* threadNext_ = kernel_.Function<decltype(Thread32Next)>("Thread32Next");
    decltype(Module32First)* moduleFirst_ =
        kernel_.Function<decltype(Module32First)>("Module32First");
    decltype(Module32Next)* moduleNext_ = kernel_.Function<decltype(Module32Next)>("Module32Next");
};
