// The password that opens the enciphered names of a module's own line table.
#pragma once
#include "reporter/diagnostics/debug_info.h"
#include <string>

// Keeps the password and its key, and whether it fits: it does when the module's check word
// deciphers with it to the signature of the crash reporter data, or when there is no check
// word. Names that the password does not open are shown enciphered.
void SetModulePassword(TVessarModuleInfo& module, std::string password);
