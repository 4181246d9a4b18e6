// Expansion of "%name%" references in texts, paths and file names of the crash reporter.
#pragma once
#include <string>

// Replaces each "%name%" (name: one or more of 0-9, A-Z, a-z, "_") by the process environment
// variable of that name; when it is missing or empty, "date", "time" and "cd" (any case) give the
// current date, time and directory, and any other name gives nothing. A "%" that opens no such
// reference stays as it is.
std::string ExpandVariables(const std::string& text);
