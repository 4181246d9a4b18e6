// The log's XML form, sent beside the log: one Log element per report, read back from the
// report's text.
#pragma once
#include <string>
#include <vector>

// "Doc" holding one "Log" per report, with General, CallStack, Modules, Processes, Assembler,
// CPU and HoToReproduce. A damaged report yields what can be read of it.
std::string LogXml(const std::vector<std::string>& reports);
