// The check word of a module's crash reporter data that tells whether a password opens its
// enciphered debug information: the signature, enciphered with the password.
#pragma once
#include <cstdint>
#include <string>

uint32_t PasswordCheckValue(const std::string& password);
// Whether `password` deciphers `checkValue` back to the signature.
bool PasswordFits(uint32_t checkValue, const std::string& password);
