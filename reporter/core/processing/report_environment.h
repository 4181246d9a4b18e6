// While an exception is processed, texts can name it: the environment variables
// "_MainModuleName", "_MainModuleDesc", "_MainModuleVer", "_ExceptModuleName",
// "_ExceptModuleDesc", "_ExceptModuleVer", "_ExceptMsg", "_BugReport" and "_LineBreak".
#pragma once
#include "reporter/core/processing/exception_record.h"

void SetReportEnvironment(const TVessarExceptionRecord& record);
