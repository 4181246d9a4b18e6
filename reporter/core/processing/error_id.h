// The error ID: the same failure at the same place gets the same four hexadecimal digits in
// every report, so that duplicates can be found.
#pragma once
#include "reporter/diagnostics/stack/stack_list.h"
#include <string>

// From the application's name and description, the exception's module and class, and every
// fully known call-stack entry in the first entry's module.
std::string ErrorId(const std::string& application, const std::string& exceptionModule,
                    const std::string& className, const TVessarStackList* stack);
