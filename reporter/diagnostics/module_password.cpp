#include "reporter/diagnostics/module_password.h"
#include "reporter/core/kfdata_password.h"
#include "reporter/send/cipher_key.h"

void SetModulePassword(TVessarModuleInfo& module, std::string password) {
    module.PasswordKey = CipherKeyFromPassword(password);
    module.PasswordFits = !module.PasswordCheck || PasswordFits(*module.PasswordCheck, password);
    module.Password = std::move(password);
}
