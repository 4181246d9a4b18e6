// The chain's first and last level.
#include "call_chain.h"

const int kChainStartLine = __LINE__ + 1;
int ChainStart(TChainTrace& trace) {
    trace.CallLines.push_back(__LINE__ + 1);
    return ChainMiddle(trace) + 1;
}

const int kChainEndLine = __LINE__ + 1;
int ChainEnd(TChainTrace& trace) {
    trace.ReturnAddresses.push_back(__builtin_return_address(0));
    return 1;
}
