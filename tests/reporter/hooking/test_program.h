// Facts about the running test program.
#pragma once
#include <string>

std::string ExecutablePath();
