#include "reporter/core/processing/processing_state.h"

namespace {

std::atomic<TSectionProbe> sectionProbe{nullptr};

} // namespace

TProcessingState& ProcessingState() {
    static TProcessingState state;
    return state;
}

void EnterSection(TSection section) {
    ProcessingState().Section = int(section);
    if (TSectionProbe probe = sectionProbe)
        probe(section);
}

void SetSectionProbe(TSectionProbe probe) {
    sectionProbe = probe;
}
