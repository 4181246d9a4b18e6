// What a program does with a table family it is given, through the engine's core: every record
// read with its memo and BLOB values, and the family checked file by file. A damaged family
// raises pdx::EngineError (a status and its context), nothing else.
#pragma once
#include <string>

void ReadEveryRecord(const std::string& table);
void VerifyFamily(const std::string& table);
