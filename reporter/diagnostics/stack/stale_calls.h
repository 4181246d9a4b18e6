// Return addresses that finished calls left on a stack, told apart by their call instructions: a
// direct call enters one procedure, so the frame above a real caller lies in that procedure.
#pragma once
#include "reporter/diagnostics/stack/stack_list.h"
#include <functional>

using TLocateAddress = std::function<bool(const void*, TVessarDebugInfo&)>;

// Marks (Detail 0) the entries of one scan, from `firstAppended` on, that lie off the call chain.
// The first entry, where the stack stood, is part of it. An entry at a direct call whose
// procedure `locate` names from debug data follows an entry in that procedure; any other entry
// (a call through a register or memory, or into code without debug data) may follow any entry.
// Of the chains these links allow, the one keeping the most entries is taken; a link that does
// not hold (the callee's own frame went unseen, or a jump entered the frame above) is allowed
// only for an entry that a later one's call confirms.
void MarkStaleCalls(TVessarStackList& list, size_t firstAppended, const TLocateAddress& locate);
