// What the crash reporter asks a debug reader for each address of a call stack, asked at code
// offsets spread over the whole range and around the places a small module uses.
#pragma once
#include "reporter/diagnostics/debug_formats/debug_reader.h"

void AskAtSpreadOffsets(const TKFDebugReader& reader);
