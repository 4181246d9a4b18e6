// Appending a field through the engine core with the request that callers of the library send.
#pragma once
#include "append_request.h"
#include <string>

// The request that appends the field (name, type and units as in a field descriptor) to the
// table at `table`, its own fields described as DbiGetFieldDescs describes them.
AppendFieldRequest AppendRequest(const std::string& table, const char* name, uint16_t type,
                                 int16_t units = 0);
// Restructures the table with that request, knowing no password.
void AppendField(const std::string& table, const char* name, uint16_t type, int16_t units = 0);
