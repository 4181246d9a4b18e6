// The diagnostic text of a failure of the crash reporter itself, as it is saved and mailed.
#pragma once
#include "reporter/diagnostics/stack/stack_list.h"
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TInternalErrorFacts {
    std::string Date;
    std::string OperatingSystem;
    std::string BuildTool;     // the compiler's name and version
    std::vector<uint8_t> Dump; // the bytes at the failure address
    std::string Section;
    std::string ProcessedClass; // of the exception being processed, if any
    TVessarDebugInfo Location;  // the failure address
    std::string FailureClass;
    std::string Message;
    std::unique_ptr<TVessarStackList> CallStack; // may be null
};

// One "<caption>: <value>" line per fact, the crash reporter's version first; the bytes as "$"
// and two hexadecimal digits each, the location and the call stack in their text forms.
std::string InternalErrorText(const TInternalErrorFacts& facts);
