// The engine driver that opens a table.
#pragma once
#include <string>

enum class TTableType { ttDefault, ttParadox, ttDBase, ttFoxPro, ttASCII };

// The driver type name for the engine; ttDefault takes it from the table name's extension
// (".DB" is "PARADOX"). Null lets the engine decide.
const char* DriverTypeName(TTableType type, const std::string& tableName);
