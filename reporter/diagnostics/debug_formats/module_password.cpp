#include "reporter/diagnostics/debug_formats/module_password.h"
#include "reporter/base/cipher_key.h"
#include "reporter/diagnostics/debug_formats/kfdata_password.h"

void SetModulePassword(TVessarModuleInfo& module, std::string password) {
    module.PasswordKey = CipherKeyFromPassword(password);
    module.PasswordFits = !module.PasswordCheck || PasswordFits(*module.PasswordCheck, password);
    module.Password = std::move(password);
}
