#include "reporter/core/processing/user_dialogs.h"

namespace {

TUserDialogs installed;
bool isInstalled = false;

} // namespace

void InstallUserDialogs(const TUserDialogs& dialogs) {
    installed = dialogs;
    isInstalled = true;
}

const TUserDialogs* InstalledUserDialogs() {
    return isInstalled ? &installed : nullptr;
}
