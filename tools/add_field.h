// Appending one field to a table the way the upgrade does it.
#pragma once
#include "engine_session.h"

// Opens the table exclusively, sets translation off, reads the descriptors back, numbers them,
// appends the new one and restructures the closed table.
void AddField(Session& s, const char* table, const FLDDesc& added);
