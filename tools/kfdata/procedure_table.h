// The runtime procedures a module's crash reporter data locates, by id, and their places in a
// linked image.
#pragma once
#include "link_map.h"
#include "reporter/diagnostics/debug_formats/kfdata_container.h"
#include <string>
#include <vector>

struct KnownProcedure {
    uint8_t Id;
    const char* Name; // as the linker map prints it, without the argument list
};

// Ids 0 and 1: the application object's exception handling and showing; 11 to 18: the
// runtime's start-up and shut-down procedures.
const std::vector<KnownProcedure>& KnownProcedures();

// The table entries of every known procedure the map holds; `missing` receives the others.
std::vector<TKFDataProcedure> ProceduresIn(const LinkMap& map, std::vector<std::string>& missing);
