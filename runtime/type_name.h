// Readable class names from run-time type information.
#pragma once
#include <string>
#include <typeinfo>

// The demangled name of a type without its namespaces or enclosing classes, e.g.
// "EDBEngineError" for tables::EDBEngineError.
std::string UnqualifiedTypeName(const std::type_info& type);
