// A program that carries the crash reporter and brings up its dialog for one exception, with
// the options given on the command line; afterwards it says what the dialog decided and leaves
// what the clipboard holds in the file "clipboard.txt". The log and the state file stay in the
// program's folder.
//   dialog_host [<option>=<value>...]
// Options: kind, flags (DialogFlags), mail (MailMethod), autoclose, support (SupportPage),
// firsttab, logflags, action (TerminateButtonAction), after (TerminateButtonAfter), message.
// A run started again by a restart only leaves the file "restarted" behind.
#include "reporter/core/interception/hooking/hooking_unit.h"
#include "reporter/core/interception/interception_unit.h"
#include "reporter/core/options/option_flags.h"
#include "reporter/core/options/reporter_options_unit.h"
#include "reporter/core/processing/dialog_state.h"
#include "runtime/application.h"
#include "runtime/exception.h"
#include "runtime/program.h"
#include <cstdio>
#include <cstdlib>
#include <string>
#include <windows.h>

namespace {

constexpr char kRestartedVariable[] = "DIALOG_HOST_RESTARTED";

int Number(const std::string& value) {
    return int(std::strtol(value.c_str(), nullptr, 0));
}

// False for an option this program does not know.
bool SetOption(TVessarModuleOptionsEx& o, const std::string& name, const std::string& value) {
    if (name == "kind")
        o.SetDialogKind(uint8_t(Number(value)));
    else if (name == "flags")
        o.SetDialogFlags(uint16_t(Number(value)));
    else if (name == "mail")
        o.SetMailMethod(uint8_t(Number(value)));
    else if (name == "autoclose")
        o.SetDialogAutoCloseSeconds(Number(value));
    else if (name == "support")
        o.SetSupportPage(value);
    else if (name == "firsttab")
        o.SetFirstTab(uint8_t(Number(value)));
    else if (name == "logflags")
        o.SetLogFlags(uint8_t(Number(value)));
    else if (name == "action")
        o.SetTerminateButtonAction(uint8_t(Number(value)));
    else if (name == "after")
        o.SetTerminateButtonAfter(Number(value));
    else
        return false;
    return true;
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

[[gnu::noinline]] void RaiseAndCatch(const std::string& message) {
    try {
        throw Exception(message);
    } catch (const Exception&) {
    }
}

} // namespace

int main(int argc, char** argv) {
    if (std::getenv(kRestartedVariable)) {
        if (FILE* marker = std::fopen("restarted", "w"))
            std::fclose(marker);
        return 0;
    }
    SetEnvironmentVariableA(kRestartedVariable, "1");
    InitializeUnits(
        {&HookingUnit, &ReporterOptionsUnit, &ReporterInterceptionUnit, &ApplicationUnit});
    TVessarModuleOptionsEx& options = CurrentVessarionOptions();
    options.SetBehaviourFlags(options.Stored().BehaviourFlags |
                              BehaviourFlag::ReportHandledExceptions);
    std::string message = "The dialog host failed on purpose.";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : arg.substr(equals + 1);
        if (name == "message")
            message = value;
        else if (!SetOption(options, name, value)) {
            std::fprintf(stderr, "dialog_host: no option \"%s\"\n", name.c_str());
            return 2;
        }
    }
    RaiseAndCatch(message);
    const TDialogState& state = DialogState();
    std::printf("decided send=%d screenshot=%d copy=%d cancelled=%d shown=%d failed=%d\n",
                state.SendReport, state.AttachScreenshot, state.CopyToClipboard, state.Cancelled,
                state.Shown, state.Failed);
    if (FILE* copy = std::fopen("clipboard.txt", "wb")) {
        const std::string text = ClipboardText();
        std::fwrite(text.data(), 1, text.size(), copy);
        std::fclose(copy);
    }
    std::fflush(stdout);
    Halt(0);
}
