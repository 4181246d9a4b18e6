// The text of one template operand ("#" + method + size + flag), its bytes consumed.
#pragma once
#include "reporter/diagnostics/disassembly/decoder_state.h"

// Where a memory operand's size keyword goes ("%s" and the size): filled in once every operand
// is known, because a register operand anywhere in the instruction makes the keyword go away.
struct TSizeKeyword {
    size_t Position;
    unsigned Size;
};

// Appends the operand to `text`; memory operands note their size keyword's place.
void AppendOperand(TDecoderState& state, char method, char size, char flag, std::string& text,
                   std::vector<TSizeKeyword>& keywords);
