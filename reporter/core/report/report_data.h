// What one bug report is made of: the values the processing gathered, ready to be laid out.
#pragma once
#include "reporter/diagnostics/stack/stack_list.h"
#include <map>
#include <string>
#include <vector>
#include <windows.h>

// A thread as its call-stack block's header row describes it.
struct TReportThread {
    DWORD Id = 0;
    bool PriorityKnown = false;
    int Priority = 0;
    std::string ClassName; // the thread object's class, empty when none
    bool Main = false;
    std::string Name; // empty when the thread has none
};

struct TReportData {
    // Values of the general section by field key ("1.1" ... "7.6"); a missing key is empty.
    std::map<std::string, std::string> Fields;
    // Group 4 (active controls) is written only for graphical programs that are not web
    // programs.
    bool ShowActiveControls = false;
    // The call stack, all threads; rows are chosen by StackFlags. May be null.
    const TVessarStackList* Stack = nullptr;
    std::vector<TReportThread> Threads;
    // Module rows: Handle (hexadecimal; padded with zeros in the report), Name, Description,
    // Version, Size, Modified, Path.
    std::vector<std::vector<std::string>> Modules;
    // Process rows: ID, Name, Description, Version, Memory, Priority, Threads, Path.
    std::vector<std::vector<std::string>> Processes;
    // The assembler section as the disassembler lays it out, title included; empty when no
    // listing was made.
    std::string Assembler;
    // The processor context of the exception; null when there is none.
    const CONTEXT* Context = nullptr;
    void* ExceptionAddress = nullptr;
};
