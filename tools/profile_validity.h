// A validity file (.VAL) in the layout of the 3.x era beside a profile table, for tests of
// databases as older versions of the original engine left them: one picture check on the
// table's first column, stamped with the table's change count. The engine writes no validity
// checks, so the file is laid out here, by the offsets the engine reads it with.
#pragma once
#include <string>

// False when the table's header cannot be read or the file cannot be written.
bool WriteOldValidity(const std::string& folder, const char* table);
