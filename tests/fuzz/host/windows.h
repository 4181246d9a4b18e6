// The system's type names and constants that the parsers' headers mention, for the host build
// of the fuzz targets. No system function is declared here: a parser that calls one does not
// build, which keeps the parsing itself apart from the system.
#pragma once
#include <cstdint>

struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using HANDLE = void*;
using DWORD = uint32_t;
using BOOL = int;

struct CONTEXT; // a processor state, only pointed at

struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};

constexpr DWORD IMAGE_SCN_MEM_EXECUTE = 0x20000000;
