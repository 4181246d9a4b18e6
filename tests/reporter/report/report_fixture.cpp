#include "report_fixture.h"
#include "reporter/core/report/bug_report.h"

ReportFixture::ReportFixture() {
    Program->Handle = GetModuleHandleA(nullptr);
    Program->FileName = "C:\\app\\Upgrade.exe";
    Library->Handle = HMODULE(0x7C800000);
    Library->FileName = "C:\\windows\\system32\\kernel32.dll";
    Data.Stack = &Stack;
    TReportThread main;
    main.Id = 100;
    main.PriorityKnown = true;
    main.Main = true;
    TReportThread worker;
    worker.Id = 200;
    worker.ClassName = "TWorker";
    worker.Name = "loader";
    Data.Threads = {main, worker};
}

TVessarDebugInfo& ReportFixture::AddEntry(const TModuleRef& module, uint8_t detail,
                                          uint32_t address, DWORD threadId, bool runningThread) {
    auto entry = std::make_unique<TVessarDebugInfo>();
    entry->Detail = detail;
    entry->Module = module;
    entry->Addr = address;
    entry->ThreadId = threadId;
    entry->RunningThread = runningThread;
    Stack.Add(std::move(entry));
    return Stack[Stack.Count() - 1];
}

void ReportFixture::AddTwoThreads() {
    AddEntry(Program, kDetailModule, 0x00401234, 100, true).ErrorAddress = true;
    TVessarDebugInfo& create = AddEntry(Program, kDetailLine, 0x00401300, 100, true);
    create.Unit = "upgrade.cpp";
    create.ClassName = "TdmQuernel";
    create.Procedure = "DataModuleCreate";
    create.Line = 42;
    create.ProcLine = 3;
    AddEntry(Library, kDetailProcedure, 0x7C801234, 100, true).Procedure = "RaiseException";
    TVessarDebugInfo& run = AddEntry(Program, kDetailLine, 0x00402000, 200, true);
    run.Unit = "worker.cpp";
    run.Procedure = "Run";
    run.Line = 7;
    TVessarDebugInfo& start = AddEntry(Program, kDetailLine, 0x00403000, 100, false);
    start.Unit = "main.cpp";
    start.Procedure = "main";
    start.Line = 10;
    start.ProcLine = 2;
}

CpuFixture::CpuFixture() {
    for (DWORD i = 0; i < 16; ++i)
        Stack[i] = 0x11111111 * i;
    for (int i = 0; i < 256; ++i)
        Code[i] = uint8_t(i);
    Context.Eax = 1;
    Context.Edi = 2;
    Context.Ebx = 3;
    Context.Esi = 4;
    Context.Ecx = 5;
    Context.Esp = DWORD(uintptr_t(Stack));
    Context.Edx = 6;
    Context.Eip = 0xABCDEF01;
}

std::string SampleReport(const TVessarModuleOptions& options, const std::string& errorId) {
    ReportFixture fixture;
    fixture.AddTwoThreads();
    fixture.Data.Fields = {{"1.3", "1.0.0.7"}, {"2.6", "Table not found."}, {"2.7", errorId}};
    return BuildReport(options, fixture.Data);
}
