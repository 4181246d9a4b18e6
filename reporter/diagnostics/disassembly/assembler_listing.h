// The report's assembler section: the instructions around a faulting address, with comment
// blocks naming the source unit, procedure and line of each run of them.
#pragma once
#include <string>

// The title (with ":"), a line of "-" and the listing; empty when 4 bytes at the address
// cannot be read.
std::string AssemblerListing(const void* address, const std::string& title);
