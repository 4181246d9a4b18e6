// Call stacks as plain text, as the crash reporter writes them when it reports a failure of its
// own.
#pragma once
#include "reporter/diagnostics/stack/stack_list.h"
#include <string>

// One located address: "$<address> - [<module handle>] <module file> - <unit> - <class> -
// <procedure> - <line>[<offset in the procedure>]".
std::string StackEntryText(const TVessarDebugInfo& entry);

// One line per entry: its index in two hexadecimal digits, address, module handle and file, and
// the unit, class, procedure and line when the line is known. Every line ends in CR LF; the
// lines after the first are indented by 12 blanks, so that they stand under the first one
// behind a 12-character caption.
std::string StackListText(const TVessarStackList& list);
