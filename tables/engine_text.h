// Text handed to the engine: the engine takes bytes in its own character set, at most a fixed
// number of them, and a double-byte character must never be cut in two.
#pragma once
#include <string>
#include <windows.h>

// The character set the engine library works in. It is an ANSI library: names and passwords
// go to it in the system's ANSI code page, as the program's own texts are.
constexpr UINT kEngineCodePage = CP_ACP;

// text, written in textCodePage, converted to engineCodePage and cut to at most maxBytes bytes
// (one less when the cut would split a double-byte character of engineCodePage).
std::string EngineText(const std::string& text, size_t maxBytes, UINT textCodePage = CP_ACP,
                       UINT engineCodePage = kEngineCodePage);
