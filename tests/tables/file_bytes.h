// A whole file's bytes, for tests that compare files before and after; empty when it cannot be
// read (a file held exclusively reads as empty too).
#pragma once
#include <string>

std::string FileBytes(const std::string& path);
