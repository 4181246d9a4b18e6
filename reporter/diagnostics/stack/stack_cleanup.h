// What a raw stack scan collects besides the call stack, taken out again. Entries are marked
// by Detail 0 rather than removed: no view shows them.
#pragma once
#include "reporter/diagnostics/stack/stack_list.h"

// Cleans the entries from `firstAppended` on, those of the last scan: with `dropUnnamed` (in
// the development environment) entries without a procedure and those of exception handling are
// deleted; an address repeated by the next or the one after the next named entry of its module
// is marked; then, over the whole list, the entries between a procedure's entry point and the
// last position before it inside that procedure (frames left on the stack by calls that have
// returned) are marked.
void CleanUpStack(TVessarStackList& list, size_t firstAppended, bool dropUnnamed);
