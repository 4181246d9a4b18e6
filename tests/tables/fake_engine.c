/* Stand-ins for IDAPI32.DLL that the binding must refuse or tolerate: without
   FAKE_ENGINE_INIT a library with no engine entries at all; with it, one that can start but
   exports none of the entries bound by ordinal, and counts the calls of its library
   initialisation. */
#include <stdint.h>

#ifdef FAKE_ENGINE_INIT

static int libraryInitCalls;

__declspec(dllexport) uint32_t __stdcall DbiInitFn(uint16_t version, void* env) {
    (void)version;
    (void)env;
    return 0;
}

__declspec(dllexport) uint32_t __stdcall DLLINITFUNCTION(void) {
    ++libraryInitCalls;
    return 0;
}

__declspec(dllexport) int LibraryInitCalls(void) {
    return libraryInitCalls;
}

#else

__declspec(dllexport) int NotAnEngine(void) {
    return 0;
}

#endif
