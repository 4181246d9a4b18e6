// The computer's name as the system reports it, and as file names may carry it.
#pragma once
#include <string>

// Empty when the system does not tell it.
std::string SystemComputerName();
// At most 15 characters (what the system allows), those that file names cannot hold replaced
// by "_".
std::string ComputerNameForFileName(const std::string& computerName);
