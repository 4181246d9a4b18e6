#include "runtime/text.h"
#include <windows.h>

bool AnsiSameText(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), int(a.size()), b.data(),
                          int(b.size())) == CSTR_EQUAL;
}
