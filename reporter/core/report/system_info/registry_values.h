// Registry values as the system information reads them: a missing key or value reads as empty
// (or 0). A key may start with one "\", which is ignored.
#pragma once
#include <string>
#include <windows.h>

// The value's bytes without a terminating zero; empty when the key or value is missing.
std::string ReadRegistryString(HKEY root, const std::string& key, const std::string& name);
// The value when it is exactly 4 bytes long, else 0.
DWORD ReadRegistryDword(HKEY root, const std::string& key, const std::string& name);
// The name of the key's `index`-th subkey; empty when there is none.
std::string RegistrySubkeyName(HKEY root, const std::string& key, DWORD index);
