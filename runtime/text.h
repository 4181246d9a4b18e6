// Text helpers that follow the user's locale, as names typed by users are compared.
#pragma once
#include <string>

// Equal when compared without regard to case under the user's default locale.
bool AnsiSameText(const std::string& a, const std::string& b);

// Without the leading and trailing spaces and control characters.
std::string Trim(const std::string& text);
