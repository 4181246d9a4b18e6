// The modules of this process as the system's loader keeps them: its list in the process
// environment block, read in memory. Needs no cross-process call, so it answers where the
// process-status library and the tool-help snapshot list nothing.
#pragma once
#include <vector>
#include <windows.h>

// Handles in load order; empty when the list cannot be read.
std::vector<HMODULE> LoaderListModules();
