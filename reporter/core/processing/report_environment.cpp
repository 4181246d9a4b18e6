#include "reporter/core/processing/report_environment.h"
#include "reporter/base/path_names.h"

namespace {

void SetModuleVariables(const char* prefix, const TModuleRef& module) {
    const std::string name = std::string("_") + prefix + "Module";
    SetEnvironmentVariableA((name + "Name").c_str(),
                            module ? FileNameOf(module->FileName).c_str() : "");
    SetEnvironmentVariableA((name + "Desc").c_str(), module ? module->Description.c_str() : "");
    SetEnvironmentVariableA((name + "Ver").c_str(), module ? module->Version.c_str() : "");
}

} // namespace

void SetReportEnvironment(const TVessarExceptionRecord& record) {
    SetModuleVariables("Main", ModulesList().ModuleOf(GetModuleHandleA(nullptr)));
    SetModuleVariables("Except", ModulesList().ModuleAt(record.ExceptionAddress));
    SetEnvironmentVariableA("_ExceptMsg", record.Message.c_str());
    SetEnvironmentVariableA("_BugReport", record.BugReport.c_str());
    SetEnvironmentVariableA("_LineBreak", "\r\n");
}
