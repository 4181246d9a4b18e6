// The engine library loaded at run time, its entries bound by name and ordinal, for tools and
// tests that talk to the real IDAPI32.DLL.
#pragma once
#include "idapi.h"
#include <cstdio>
#include <cstdlib>
#include <windows.h>

struct EngineLibrary {
#define IDAPI_MEMBER(name, ordinal) decltype(&::name) name = nullptr;
    IDAPI_ORDINAL_ENTRIES(IDAPI_MEMBER)
#undef IDAPI_MEMBER
    decltype(&::DbiInitFn) DbiInitFn = nullptr;

    explicit EngineLibrary(const char* path = "IDAPI32.DLL") {
        HMODULE module = LoadLibraryA(path);
        if (!module) {
            std::fprintf(stderr, "cannot load %s (error %lu)\n", path, GetLastError());
            std::exit(3);
        }
        DbiInitFn = reinterpret_cast<decltype(DbiInitFn)>(
            reinterpret_cast<void*>(GetProcAddress(module, "DbiInitFn")));
#define IDAPI_BIND(name, ordinal)                                                                  \
    name = reinterpret_cast<decltype(name)>(                                                       \
        reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
        IDAPI_ORDINAL_ENTRIES(IDAPI_BIND)
#undef IDAPI_BIND
    }
};
