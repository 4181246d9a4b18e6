// Procedure names as reports show them.
#pragma once
#include <string>
#include <vector>

// A leading "@" (a runtime-internal name) shown as "_".
std::string ShownProcedureName(std::string name);

// `text` split at its first two "." into one to three parts; a further "." stays in the last.
std::vector<std::string> DottedParts(const std::string& text);
