// The GNU linker's map (ld -Map). It holds no line numbers and no source file names, only the
// input sections of the code section (one unit per object file or archive member) and the
// global symbols in them, with absolute addresses; these become segment-1 units and publics
// relative to the start of the code section. Names are shown as the linker wrote them, C++
// names demangled up to their parameter list.
#pragma once
#include "reporter/diagnostics/debug_formats/map_parser.h"
#include <string_view>

// False, handing nothing over, when `text` is not a GNU linker map.
bool ParseGnuMap(std::string_view text, TKFMapItems& items);
