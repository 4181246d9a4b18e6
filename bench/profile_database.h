// The PROFILEDATA database in its old layout, written straight through the engine core so that
// large tables take seconds: the tables mkprofiledb makes (same columns, content, keys and
// secondary index), but with full blocks in key order.
#pragma once
#include <string>

void BuildProfileDatabase(const std::string& folder, unsigned rows);
