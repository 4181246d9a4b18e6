#include "reporter/core/processing/report_values.h"
#include "reporter/base/path_names.h"
#include "reporter/base/phase_clock.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/processing/program_kind.h"
#include "reporter/core/report/report_clock.h"
#include "reporter/core/report/system_info/system_fields.h"
#include "reporter/diagnostics/disassembly/assembler_listing.h"
#include "reporter/diagnostics/lists/list_rows.h"
#include "reporter/diagnostics/lists/loaded_modules.h"
#include "reporter/diagnostics/lists/processes_list.h"
#include "runtime/format.h"
#include "runtime/unhandled_exception.h"
#include <set>

namespace {

std::string NameAndDescription(const TModuleRef& module) {
    if (!module)
        return {};
    std::string text = FileNameOf(module->FileName);
    if (!module->Description.empty())
        text += " - (" + module->Description + ")";
    return text;
}

TModuleRef Program() {
    return ModulesList().ModuleOf(GetModuleHandleA(nullptr));
}

void AddExceptionFields(TReportData& data, const TReportInputs& in) {
    const TVessarExceptionRecord& record = in.Record;
    const TModuleRef module = ModulesList().ModuleAt(record.ExceptionAddress);
    data.Fields["2.1"] = ReportDate(in.Time);
    data.Fields["2.2"] =
        record.ExceptionAddress ? Format("%08X", unsigned(uintptr_t(record.ExceptionAddress))) : "";
    data.Fields["2.3"] = NameAndDescription(module);
    data.Fields["2.4"] = module ? module->Version : std::string();
    data.Fields["2.5"] = record.ExceptionObject->ClassName();
    data.Fields["2.6"] = in.CustomMessage.empty() ? record.Message : in.CustomMessage;
    data.Fields["2.7"] = in.ErrorId;
    data.Fields["2.8"] = "1";
    data.Fields["2.9"] = "New";
    data.Fields["2.10"] = "";
}

// Group 4 belongs to programs with windows of their own.
void AddActiveControls(TReportData& data, const TReportInputs& in) {
    data.ShowActiveControls = !IsConsoleProgram() && !IsWebProgram();
    data.Fields["4.1"] = in.Focus.FormClassName;
    data.Fields["4.2"] = in.Focus.FormText;
    data.Fields["4.3"] = in.Focus.ClassName;
    data.Fields["4.4"] = in.Focus.Text;
}

TReportThread DescribeThread(DWORD id, const TVessarThreadsSnapshot* threads) {
    TReportThread thread;
    thread.Id = id;
    thread.Main = id == MainThreadID;
    if (!threads)
        return thread;
    for (const TVessarThreadRecord& record : threads->Records()) {
        if (record.ThreadId != id)
            continue;
        const int priority = GetThreadPriority(record.Handle);
        thread.PriorityKnown = priority != THREAD_PRIORITY_ERROR_RETURN;
        thread.Priority = priority;
    }
    return thread;
}

void AddThreads(TReportData& data, const TReportInputs& in) {
    std::set<DWORD> seen;
    const TVessarStackList* stack = in.Record.CallStack;
    for (size_t i = 0; stack && i < stack->Count(); ++i)
        if (seen.insert((*stack)[i].ThreadId).second)
            data.Threads.push_back(DescribeThread((*stack)[i].ThreadId, in.Threads));
}

// The modules of the process and the processes of its machine as they are now.
void AddLists(TReportData& data) {
    {
        const TPhaseScope phase(TPhase::ModuleList);
        TLoadedModules modules;
        RefreshModules(modules);
        data.Modules = ModuleRows(modules);
    }
    const TPhaseScope phase(TPhase::ProcessList);
    static TVessarProcessesList processes;
    RefreshProcesses(processes);
    data.Processes = ProcessRows(processes);
}

// The machine code around the exception address, when the report shows it.
void AddAssembler(TReportData& data, const TVessarModuleOptionsEx& options,
                  const void* exceptionAddress) {
    if (!(options.Stored().LogFlags & LogFlag::AssemblerAndCpu) || !exceptionAddress)
        return;
    const TPhaseScope phase(TPhase::Disassembly);
    data.Assembler = AssemblerListing(exceptionAddress, options.Text(kTextTitleAssembler));
}

} // namespace

TReportData GatherReportData(const TReportInputs& in) {
    TReportData data;
    const TVessarModuleOptionsEx& options = *in.Record.CurrentModuleOptions;
    {
        const TPhaseScope phase(TPhase::SystemValues);
        AddSystemFields(data.Fields,
                        {in.Time, in.Record.ExceptionAddress, options.Stored().ReportFields});
        data.Fields["1.2"] = ApplicationNameAndDescription();
        data.Fields["1.3"] = ApplicationVersion();
        AddExceptionFields(data, in);
    }
    if (options.Stored().LogFlags & LogFlag::ModulesAndProcesses)
        AddLists(data);
    AddActiveControls(data, in);
    data.Stack = in.Record.CallStack;
    AddThreads(data, in);
    data.Context = in.Record.Context;
    data.ExceptionAddress = in.Record.ExceptionAddress;
    AddAssembler(data, options, in.Record.ExceptionAddress);
    return data;
}

std::string ApplicationNameAndDescription() {
    return NameAndDescription(Program());
}

std::string ApplicationVersion() {
    return Program()->Version;
}

std::string ExceptionModuleName(const TVessarExceptionRecord& record) {
    return NameAndDescription(ModulesList().ModuleAt(record.ExceptionAddress));
}
