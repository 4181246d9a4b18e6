#include "reporter/diagnostics/disassembly/decoder_state.h"

uint32_t TDecoderState::Read(unsigned size) {
    uint32_t value = 0;
    for (unsigned i = 0; i < size; ++i, ++consumed_) {
        if (consumed_ >= available_ || consumed_ >= kMaxInstructionBytes) {
            spoilt_ = true;
            continue;
        }
        value |= uint32_t(code_[consumed_]) << (8 * i);
    }
    return value;
}

uint8_t TDecoderState::ModRM() {
    if (modrm_ < 0)
        modrm_ = int(Read(1));
    return uint8_t(modrm_);
}

uint8_t TDecoderState::Sib() {
    if (sib_ < 0)
        sib_ = int(Read(1));
    return uint8_t(sib_);
}
