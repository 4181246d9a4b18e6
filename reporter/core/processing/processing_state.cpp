#include "reporter/core/processing/processing_state.h"

TProcessingState& ProcessingState() {
    static TProcessingState state;
    return state;
}
