#include "reporter/core/processing/process_exception.h"
#include "reporter/base/guarded_call.h"
#include "reporter/base/phase_clock.h"
#include "reporter/core/interception/emulated_access_violation.h"
#include "reporter/core/interception/os_exception_hook.h"
#include "reporter/core/interception/raise_state.h"
#include "reporter/core/interception/thread_tracking.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "reporter/core/options/variable_expansion.h"
#include "reporter/core/processing/application_end.h"
#include "reporter/core/processing/burst.h"
#include "reporter/core/processing/debug_password.h"
#include "reporter/core/processing/dialog_state.h"
#include "reporter/core/processing/error_id.h"
#include "reporter/core/processing/exception_options.h"
#include "reporter/core/processing/exception_thread.h"
#include "reporter/core/processing/internal_error.h"
#include "reporter/core/processing/main_window.h"
#include "reporter/core/processing/notifications.h"
#include "reporter/core/processing/presentation.h"
#include "reporter/core/processing/processing_state.h"
#include "reporter/core/processing/program_kind.h"
#include "reporter/core/processing/report_clipboard.h"
#include "reporter/core/processing/report_environment.h"
#include "reporter/core/processing/report_values.h"
#include "reporter/core/processing/thread_stacks.h"
#include "reporter/core/processing/user_dialogs.h"
#include "reporter/core/processing/warnings.h"
#include "reporter/core/report/bug_report.h"
#include "reporter/core/report/log_operations.h"
#include "reporter/core/report/system_info/access_violation.h"
#include "reporter/diagnostics/stack/stack_scan.h"
#include "runtime/os_exceptions.h"
#include "runtime/type_name.h"
#include <memory>

namespace {

constexpr int kHandlingIgnore = 0;
constexpr int kHandlingStandard = 1;
constexpr int kHandlingReporter = 2;
constexpr int kRuntimeCallLength = 5;
constexpr int kRestartAction = 2;
// Filter dialog values 2 to 4 name the kinds 1 to 3; 1 keeps the options' kind.
constexpr int kFilterDialogOfOptions = 1;
// The main window's thread may be frozen, waiting or held: it gets this long to restore it.
constexpr UINT kRestoreAnswerMs = 500;

class TExceptionProcessing {
  public:
    explicit TExceptionProcessing(const TProcessingInput& input)
        : in_(input), exception_(input.Exception), options_(CurrentOptions()) {}

    bool Run();
    // What the processing had decided when it failed.
    bool Result() const { return result_; }
    // After a failure of the processing itself: the held threads go on, and the program still
    // ends when that was asked for.
    void AfterFailure();

  private:
    void Start();
    void TakeSystemException();
    bool Filter();
    void TraceStacks();
    std::unique_ptr<TVessarStackList> TraceExceptionThread() const;
    const void* TrackedStackTop(DWORD threadId) const;
    void SuspendThreads();
    void BuildTheReport();
    void RestoreMainWindow();
    bool NotifyAndContinue();
    void CollectCustomData();
    void Present();
    void AskForReproduceSteps();
    TErrorDialogInput DialogInput(const std::string& message);
    void SaveLog();
    void CopyToClipboard();
    void CheckBurst();
    void Finish();
    void RequestAfterAction();
    bool EndDue() const;
    void EndApplication();
    void RequestTermination(int action);
    void Notify(const std::function<void()>& notification);

    const TProcessingInput& in_;
    const THandOver& exception_;
    TVessarModuleOptionsEx& options_;
    TVessarExceptionRecord record_;
    TOSExceptionState system_{};
    HMODULE module_ = nullptr;
    SYSTEMTIME time_{};
    std::unique_ptr<TVessarThreadsSnapshot> threads_;
    std::unique_ptr<TVessarStackList> stack_;
    // What the report was made of; the dialog's pages show it.
    TReportData data_;
    TSuspendedThreads suspended_;
    int handling_ = kHandlingReporter;
    int afterAction_ = 0;
    int dialogKind_ = 0;
    bool filterMatched_ = false;
    std::string customMessage_;
    std::string errorId_;
    bool duplicate_ = false;
    bool result_ = false;
};

bool TExceptionProcessing::Run() {
    Start();
    if (!Filter())
        return result_;
    TraceStacks();
    SuspendThreads();
    BuildTheReport();
    if (NotifyAndContinue()) {
        NoteBurstException(ProcessingState().Burst, options_.Stored(), GetTickCount64());
        CollectCustomData();
        EnterSection(TSection::CountException);
        ++ProcessingState().ExceptionCount;
        ProcessingState().LastMessage = record_.Message;
        Present();
        SaveLog();
        CopyToClipboard();
        CheckBurst();
    }
    Finish();
    return result_;
}

void TExceptionProcessing::Start() {
    EnterSection(TSection::Start);
    GetLocalTime(&time_);
    if (TVessarThreadsList* live = TrackedThreads())
        threads_ = std::make_unique<TVessarThreadsSnapshot>(*live);
    ModulesList().DropStale();
    EnterSection(TSection::ChooseModule);
    module_ = ModuleForOptions(exception_.Address, exception_.CallingModule);
    TakeModuleOptions(options_, module_);
    record_.ExceptionObject = exception_.Object;
    record_.ExceptionAddress = exception_.Address;
    if (exception_.RaisedByRuntime)
        record_.ExceptionAddress = static_cast<char*>(exception_.Address) - kRuntimeCallLength;
    record_.ExceptionThreadID = in_.ThreadId;
    record_.OSExceptionRecord = exception_.Record;
    record_.Context = exception_.Context;
    record_.ModulesList = &ModulesList();
    record_.CurrentModuleOptions = &options_;
    if (!record_.Context)
        TakeSystemException();
    const std::string rebuilt = AccessViolationMessage(record_.OSExceptionRecord);
    record_.Message = rebuilt.empty() ? exception_.Object->Message() : rebuilt;
}

// A system exception's record and context, as its conversion kept them for the thread.
void TExceptionProcessing::TakeSystemException() {
    system_ = LastOSException(in_.ThreadId);
    if (!system_.Record.ExceptionCode || system_.Record.ExceptionAddress != exception_.Address)
        return;
    record_.OSExceptionRecord = &system_.Record;
    if (system_.Context.Eip)
        record_.Context = &system_.Context;
}

// The first matching filter decides how the exception is handled; false when the crash
// reporter leaves it.
bool TExceptionProcessing::Filter() {
    EnterSection(TSection::Filter);
    dialogKind_ = options_.Stored().DialogKind;
    if (exception_.HandlerKind != kHandlerThreadWrapper && options_.Stored().UseFilters) {
        EnterSection(TSection::MatchFilter);
        const TVessarExceptionFilter* filter = options_.Filters().Match(
            ClassAndAncestorNames(typeid(*exception_.Object)), exception_.Handled);
        if (filter) {
            filterMatched_ = true;
            handling_ = filter->Handling;
            afterAction_ = filter->AfterAction;
            if (filter->Dialog != kFilterDialogOfOptions)
                dialogKind_ = filter->Dialog ? filter->Dialog - 1 : 0;
            if (!filter->CustomMessage.empty())
                customMessage_ = ExpandVariables(filter->CustomMessage);
        }
    }
    EnterSection(TSection::Handling);
    result_ = handling_ == kHandlingStandard;
    return handling_ == kHandlingReporter;
}

// The exception thread's stack: from where a hook saw it, else from the system exception's
// context, else the copy taken when it was thrown (its frames may be gone by now).
std::unique_ptr<TVessarStackList> TExceptionProcessing::TraceExceptionThread() const {
    const void* position = exception_.StackPosition;
    const void* top = exception_.StackTop;
    if (!position && record_.Context) {
        position = reinterpret_cast<void*>(record_.Context->Esp);
        top = TrackedStackTop(in_.ThreadId);
    }
    if (!position && in_.Raise && in_.Raise->StackSize) {
        position = in_.Raise->Stack;
        top = in_.Raise->Stack + in_.Raise->StackSize - 1;
    }
    if (!position || !top)
        position = top = nullptr;
    return NewStackListWith(record_.ExceptionAddress, position, top,
                            {.RunningThread = true, .ThreadId = in_.ThreadId, .CheckCalls = true});
}

// The tracked thread's stack base; null when it is not tracked.
const void* TExceptionProcessing::TrackedStackTop(DWORD threadId) const {
    if (threads_)
        for (const TVessarThreadRecord& record : threads_->Records())
            if (record.ThreadId == threadId)
                return record.StackTop;
    return nullptr;
}

void TExceptionProcessing::TraceStacks() {
    EnterSection(TSection::TraceStacks);
    AskDebugPasswords(record_, {GetModuleHandleA(nullptr), module_});
    if (exception_.Stack) {
        stack_ = std::make_unique<TVessarStackList>();
        std::swap(*stack_, *exception_.Stack);
    } else {
        stack_ = TraceExceptionThread();
    }
    record_.CallStack = stack_.get();
    errorId_ = ErrorId(ApplicationNameAndDescription(), ExceptionModuleName(record_),
                       exception_.Object->ClassName(), stack_.get());
    if (threads_)
        AddThreadStacks(*stack_, *threads_, options_.Stored().StackFlags, in_.ThreadId);
}

// Threads are held only when they are known, and never for an exception that only the
// runtime's thread wrapper saw: that one ends its own thread and no other.
void TExceptionProcessing::SuspendThreads() {
    EnterSection(TSection::SuspendThreads);
    if (threads_ && exception_.HandlerKind != kHandlerThreadWrapper)
        suspended_.Suspend(*threads_, options_.Stored().BehaviourFlags, in_.ThreadId);
}

void TExceptionProcessing::BuildTheReport() {
    EnterSection(TSection::BuildReport);
    const TReportInputs inputs{record_, time_, errorId_, customMessage_, in_.Focus, threads_.get()};
    data_ = GatherReportData(inputs);
    {
        const TPhaseScope phase(TPhase::ReportText);
        record_.BugReport = BuildReport(options_, data_);
    }
    EnterSection(TSection::DuplicateCheck);
    duplicate_ = CountDuplicateReport(options_, errorId_);
    EnterSection(TSection::EnvironmentVariables);
    ClearLastWarning();
    SetReportEnvironment(record_);
}

// A dialog is coming: the program's main window comes back from the task bar first. The window
// may belong to another thread that does not answer (frozen, waiting for this processing, or
// held): nothing here waits for it without end.
void TExceptionProcessing::RestoreMainWindow() {
    if (dialogKind_ == 0 || PresentsOnStandardOutput(exception_.Mode))
        return;
    RunInFaultingThread([] {
        HWND window = FindMainWindow();
        if (!window || !IsIconic(window))
            return;
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(window, WM_SYSCOMMAND, SC_RESTORE, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG,
                            kRestoreAnswerMs, &answer);
        ShowWindowAsync(window, SW_SHOW);
        SetForegroundWindow(window);
    });
}

bool TExceptionProcessing::NotifyAndContinue() {
    RestoreMainWindow();
    bool continueProcessing = true;
    Notify([&] { NotifyException(record_, module_, exception_.Handled, continueProcessing); });
    return continueProcessing;
}

void TExceptionProcessing::CollectCustomData() {
    EnterSection(TSection::CustomData);
    std::vector<std::string> lines;
    Notify([&] { NotifyCustomData(record_, module_, lines); });
    record_.BugReport = WithCustomData(options_, record_.BugReport, lines);
}

void TExceptionProcessing::Present() {
    EnterSection(TSection::ChooseDialog);
    if (!filterMatched_)
        dialogKind_ = options_.Stored().DialogKind;
    ResetDialogState(dialogKind_);
    if (dialogKind_ != 0) {
        EnterSection(TSection::BeforeDialog);
        bool execute = true;
        Notify([&] { NotifyAction(record_, module_, kActionBeforeDialog, execute); });
        if (execute) {
            EnterSection(TSection::ShowDialog);
            const std::string message = customMessage_.empty() ? record_.Message : customMessage_;
            try {
                PresentReport(DialogInput(message), exception_.Mode);
                AskForReproduceSteps();
            } catch (const std::exception& e) {
                ReportWarning(
                    eeShowError,
                    WarningMessage(PresentsOnStandardOutput(exception_.Mode) ? "Console" : "GUI",
                                   &e),
                    record_.ExceptionAddress);
            }
        }
        EnterSection(TSection::AfterDialog);
        Notify([&] { NotifyAction(record_, module_, kActionAfterDialog, execute); });
    }
    if (options_.Stored().LogFlags & LogFlag::ReproduceSection)
        record_.BugReport =
            WithReproduceText(options_, record_.BugReport, options_.ReproduceText());
}

// After the detailed dialog of a graphical program, when the report is kept or sent, and no
// dialog failed.
void TExceptionProcessing::AskForReproduceSteps() {
    const TVessarStoredOptions& o = options_.Stored();
    if (dialogKind_ != kDetailedDialog || !(o.LogFlags & LogFlag::ReproduceSection) ||
        PresentsOnStandardOutput(exception_.Mode) || IsConsoleProgram() || IsWebProgram() ||
        duplicate_ || DialogState().Failed || !(DialogState().SendReport || o.SaveLog))
        return;
    if (const TUserDialogs* dialogs = InstalledUserDialogs())
        dialogs->RunReproduceRequest(options_);
}

// The dialogs' events reach the listeners in the faulting thread: the Help button's, and the
// announcement of the end the user asked for, which a listener may withdraw.
TErrorDialogInput TExceptionProcessing::DialogInput(const std::string& message) {
    return {.Options = options_,
            .Data = data_,
            .Report = record_.BugReport,
            .Message = message,
            .ExceptionCount = ProcessingState().ExceptionCount,
            .SendingBlocked = duplicate_,
            .HelpClicked =
                [this] {
                    bool close = false;
                    Notify([&] { NotifyCustomButtonClick(record_, module_, close); });
                    return close;
                },
            .TerminateConfirmed =
                [this] {
                    bool terminate = true;
                    Notify(
                        [&] { NotifyAction(record_, module_, kActionBeforeTerminate, terminate); });
                    ProcessingState().TerminateRequested = terminate;
                    return terminate;
                }};
}

void TExceptionProcessing::SaveLog() {
    EnterSection(TSection::SaveLog);
    // The entry counted as this report's twin went with the old version's log: this report is
    // the first of the new one.
    if (DeleteLogOfOtherVersion(options_, ApplicationVersion()))
        duplicate_ = false;
    if (!options_.Stored().SaveLog || duplicate_)
        return;
    bool execute = true;
    Notify([&] { NotifyAction(record_, module_, kActionBeforeSaveLog, execute); });
    if (!execute)
        return;
    for (bool retry = true; retry;) {
        retry = false;
        try {
            SaveReportToLog(options_, record_.BugReport, duplicate_);
        } catch (const std::exception& e) {
            ReportWarning(eeLogError, WarningMessage("Log", &e), record_.ExceptionAddress);
            Notify([&] { NotifyError(record_, module_, kErrorSaveLog, retry); });
        }
    }
    Notify([&] { NotifyAction(record_, module_, kActionAfterSaveLog, execute); });
}

// Only a dialog that was shown can have been asked for the copy.
void TExceptionProcessing::CopyToClipboard() {
    if (!DialogState().Shown || !DialogState().CopyToClipboard)
        return;
    try {
        CopyReportToClipboard(record_.BugReport);
    } catch (const std::exception& e) {
        ReportWarning(eeShowError, WarningMessage("Clipboard", &e), record_.ExceptionAddress);
    }
}

void TExceptionProcessing::CheckBurst() {
    EnterSection(TSection::SendAndBurst);
    if (IsBurst(ProcessingState().Burst, options_.Stored()))
        RequestTermination(options_.Stored().RepeatAction);
}

void TExceptionProcessing::Finish() {
    suspended_.ResumeAll();
    EnterSection(TSection::Finish);
    RequestAfterAction();
    if (options_.Stored().BehaviourFlags & BehaviourFlag::StandardHandlerAfterwards)
        result_ = true;
    EnterSection(TSection::EndApplication);
    if (!EndDue())
        return;
    bool terminate = true;
    Notify([&] { NotifyAction(record_, module_, kActionBeforeTerminate, terminate); });
    if (terminate)
        EndApplication();
}

// The listeners are not told: their step may be the one that failed.
void TExceptionProcessing::AfterFailure() {
    suspended_.ResumeAll();
    RequestAfterAction();
    if (EndDue())
        EndApplication();
}

void TExceptionProcessing::RequestAfterAction() {
    if (!ProcessingState().TerminateRequested && handling_ == kHandlingReporter)
        RequestTermination(afterAction_);
}

bool TExceptionProcessing::EndDue() const {
    return exception_.HandlerKind != kHandlerThreadWrapper && ProcessingState().TerminateRequested;
}

void TExceptionProcessing::EndApplication() {
    StopRunningInFaultingThread();
    if (options_.Stored().TerminateButtonAction == kRestartAction)
        RestartApplication();
    TerminateApplication();
}

void TExceptionProcessing::RequestTermination(int action) {
    if (action == 0)
        return;
    ProcessingState().TerminateRequested = true;
    options_.SetTerminateButtonAction(uint8_t(action));
}

// Listeners run in the faulting thread (not woken when no one listens); what they changed in the
// module's options (through CurrentVessarionOptions or a library's published copy) applies to
// this exception from here on.
void TExceptionProcessing::Notify(const std::function<void()>& notification) {
    if (AnyoneListens(module_))
        RunInFaultingThread(notification);
    options_.Reload();
}

// A failure of the processing itself, raised where the processing thread raised last.
void ReportFailure(const TProcessingInput& input, const std::exception* failure) {
    ReportInternalError(std::to_string(ProcessingState().Section), failure, LastRaise().Address,
                        true, input.Exception.Object->ClassName());
}

// A system exception in the processing itself, reported as the exception object it makes (an
// access violation that an emulator gave as an illegal instruction as what it was).
void ReportFault(const TProcessingInput& input, const TSystemFault& fault) {
    EXCEPTION_RECORD record = fault.Record;
    EXCEPTION_RECORD violation;
    if (RecogniseEmulatedAccessViolation(record, fault.Context, violation))
        record = violation;
    const std::unique_ptr<Exception> failure(CreateOSExceptionObject(&record, &fault.Context));
    ReportInternalError(std::to_string(ProcessingState().Section), failure.get(),
                        fault.Record.ExceptionAddress, false, input.Exception.Object->ClassName());
}

} // namespace

// Whatever fails in the processing, a C++ exception or a system exception, ends it here: the
// thread that waits for it must be let go, and the program goes on. The report of the failure
// may fail too.
bool ProcessException(const TProcessingInput& input) {
    TExceptionProcessing processing(input);
    bool result = false;
    try {
        TSystemFault fault;
        if (CallGuarded([&] { result = processing.Run(); }, fault))
            return result;
        CallSwallowingAll([&] { ReportFault(input, fault); });
    } catch (const std::exception& e) {
        CallSwallowingAll([&] { ReportFailure(input, &e); });
    } catch (...) {
        CallSwallowingAll([&] { ReportFailure(input, nullptr); });
    }
    CallSwallowingAll([&] { processing.AfterFailure(); });
    return processing.Result();
}
