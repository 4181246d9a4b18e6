#include "reporter/core/processing/presentation.h"
#include "reporter/core/interception/hand_over.h"
#include "reporter/core/processing/processing_state.h"
#include "reporter/core/processing/program_kind.h"
#include "runtime/exception.h"
#include <cstdio>
#include <windows.h>

namespace {

void WriteToStandardOutput(const TVessarModuleOptionsEx& options, const std::string& report) {
    const std::string text = options.Text(kTextIntroduction) + "\r\n\r\n" + report;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout))
        throw Exception("The report could not be written to standard output.");
}

// The message box stands in for every dialog kind until the dialogs exist.
void ShowMessageBox(const TVessarModuleOptionsEx& options, const std::string& message) {
    ProcessingState().DialogShown = true;
    const int answer =
        MessageBoxA(nullptr, message.c_str(), options.Text(kTextErrorOccurred).c_str(),
                    MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_TOPMOST | MB_SETFOREGROUND);
    ProcessingState().DialogShown = false;
    if (!answer)
        throw Exception("The message box could not be shown.");
}

} // namespace

bool PresentsOnStandardOutput(int mode) {
    if (mode != kPresentWebPage && IsConsoleProgram())
        return true;
    return mode != kPresentConsoleOrDialog && IsWebProgram();
}

void PresentReport(const TVessarModuleOptionsEx& options, int mode, int dialogKind,
                   const std::string& report, const std::string& message) {
    if (PresentsOnStandardOutput(mode))
        WriteToStandardOutput(options, report);
    else if (dialogKind != 0)
        ShowMessageBox(options, message);
}
