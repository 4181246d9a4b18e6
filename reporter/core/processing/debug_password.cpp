#include "reporter/core/processing/debug_password.h"
#include "reporter/core/processing/exception_thread.h"
#include "reporter/core/processing/notifications.h"
#include <algorithm>

namespace {

bool NeedsPassword(HMODULE module) {
    const TModuleRef info = module ? ModulesList().ModuleOf(module) : nullptr;
    return info && info->PasswordCheck && !info->PasswordFits;
}

} // namespace

void AskDebugPasswords(TVessarExceptionRecord& record, std::initializer_list<HMODULE> modules) {
    for (auto at = modules.begin(); at != modules.end(); ++at) {
        const HMODULE module = *at;
        if (std::find(modules.begin(), at, module) != at || !NeedsPassword(module))
            continue;
        std::string password;
        RunInFaultingThread([&] { NotifyPasswordRequest(record, module, password); });
        if (!password.empty())
            ModulesList().SetPassword(module, password);
    }
}
