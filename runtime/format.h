// printf-style formatting into a std::string.
#pragma once
#include <cstdio>
#include <string>

std::string Format(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));
