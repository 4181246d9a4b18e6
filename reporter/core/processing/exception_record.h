// The exception as every notification sees it.
#pragma once
#include "reporter/core/options/module_options_ex.h"
#include "reporter/diagnostics/lists/modules_list.h"
#include "reporter/diagnostics/stack/stack_list.h"
#include "runtime/exception.h"
#include <string>
#include <windows.h>

struct TVessarExceptionRecord {
    const Exception* ExceptionObject = nullptr;
    void* ExceptionAddress = nullptr;
    DWORD ExceptionThreadID = 0;
    const EXCEPTION_RECORD* OSExceptionRecord = nullptr; // null for a C++ throw
    const CONTEXT* Context = nullptr;
    // The message as the report, the dialog and the environment give it: an access violation's
    // is written from its record.
    std::string Message;
    std::string BugReport;
    TVessarModulesList* ModulesList = nullptr;
    TVessarStackList* CallStack = nullptr;
    TVessarModuleOptionsEx* CurrentModuleOptions = nullptr;
};
