// What the crash reporter notes of a failure of its own, in the thread that met it.
#pragma once
#include "reporter/core/processing/internal_error_text.h"
#include <exception>

// The failure's message; "General internal error." when it has none or is no exception object
// (null).
std::string InternalFailureMessage(const std::exception* failure);

// The facts of `failure` (may be null), raised at `address` (may be null) while the processing
// was in `section` with an exception of class `processedClass`: the date, the system, the
// compiler, the bytes at the address and where it lies, and the calling thread's stack from
// here up.
TInternalErrorFacts GatherInternalErrorFacts(const std::string& section,
                                             const std::exception* failure, const void* address,
                                             const std::string& processedClass);
