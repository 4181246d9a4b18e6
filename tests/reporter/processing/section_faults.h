// The processing's own failures, made on purpose in one of its steps: an access violation or a
// C++ throw on entering the step. What the internal-error path writes for a developer goes to
// standard error, one line each.
#pragma once
#include "reporter/core/processing/processing_state.h"

enum class TFaultKind { AccessViolation, Throw };

// From now on every processing fails on entering `section`.
void FailInSection(TSection section, TFaultKind kind);

// Each step of the processing fails in turn, by each kind, while `raise` has an exception
// reported, and the program goes on: a line per failure, "<kind> in <section>: <line the
// internal-error path wrote, or nothing>". Then one more exception is reported as usual.
void FailInEverySection(void (*raise)(const char* message));
