// Options, call stacks and reports for the report and log tests.
#pragma once
#include "reporter/core/options/module_options.h"
#include "reporter/core/report/report_data.h"
#include <string>

// Default options of no particular module.
struct TestOptions : TVessarModuleOptions {
    TestOptions() : TVessarModuleOptions("") {}
};

// The report's inputs: two modules (the test program and a system library), a call stack
// over them and the threads it names.
struct ReportFixture {
    ReportFixture();
    ReportFixture(const ReportFixture&) = delete;
    ReportFixture& operator=(const ReportFixture&) = delete;

    TVessarDebugInfo& AddEntry(const TModuleRef& module, uint8_t detail, uint32_t address,
                               DWORD threadId, bool runningThread);
    // The exception's address, thread 100's live stack, thread 200's live stack, thread 100's
    // creation stack.
    void AddTwoThreads();

    std::shared_ptr<TVessarModuleInfo> Program = std::make_shared<TVessarModuleInfo>();
    std::shared_ptr<TVessarModuleInfo> Library = std::make_shared<TVessarModuleInfo>();
    TVessarStackList Stack;
    TReportData Data;
};

// A processor state whose stack and code can both be read: stack slot i holds 0x11111111 * i,
// code byte i is i.
struct CpuFixture {
    CpuFixture();
    DWORD Stack[16];
    uint8_t Code[256];
    CONTEXT Context{};
};

// A whole report, version 1.0.0.7, with error ID `errorId`.
std::string SampleReport(const TVessarModuleOptions& options, const std::string& errorId);
