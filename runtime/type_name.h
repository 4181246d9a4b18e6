// Readable class names from run-time type information.
#pragma once
#include <string>
#include <typeinfo>
#include <vector>

// The demangled name of a type without its namespaces or enclosing classes, e.g.
// "EDBEngineError" for tables::EDBEngineError.
std::string UnqualifiedTypeName(const std::type_info& type);

// The unqualified names of a class and of all its base classes, the class first, then its
// bases breadth first, each once.
std::vector<std::string> ClassAndAncestorNames(const std::type_info& type);
