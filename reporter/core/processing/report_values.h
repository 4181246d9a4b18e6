// The values of one report that the processing knows: the application, the exception, the
// active controls and the threads of the call stack.
#pragma once
#include "reporter/core/interception/threads_list.h"
#include "reporter/core/processing/exception_record.h"
#include "reporter/core/processing/focus_window.h"
#include "reporter/core/report/report_data.h"

struct TReportInputs {
    const TVessarExceptionRecord& Record;
    const SYSTEMTIME& Time; // local time of the exception
    const std::string& ErrorId;
    const std::string& CustomMessage; // shown instead of the exception's message when not empty
    const TFocusWindow& Focus;
    const TVessarThreadsSnapshot* Threads; // may be null
};

TReportData GatherReportData(const TReportInputs& inputs);

// The program's file name, with " - (<description>)" when its version resource has one.
std::string ApplicationNameAndDescription();
// The program's version; empty when it has none.
std::string ApplicationVersion();
// The same form for the module holding the exception's address.
std::string ExceptionModuleName(const TVessarExceptionRecord& record);
