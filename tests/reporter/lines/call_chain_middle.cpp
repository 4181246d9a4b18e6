// The chain's second and fourth level; compiled as DWARF 5.
#include "call_chain.h"

const int kChainMiddleLine = __LINE__ + 1;
int ChainMiddle(TChainTrace& trace) {
    trace.ReturnAddresses.push_back(__builtin_return_address(0));
    trace.CallLines.push_back(__LINE__ + 1);
    return TChainWorker().Step(trace) + 1;
}

namespace chain {

const int kDeeperLineHere = __LINE__ + 1;
int Deeper(TChainTrace& trace) {
    trace.ReturnAddresses.push_back(__builtin_return_address(0));
    trace.CallLines.push_back(__LINE__ + 1);
    return ChainEnd(trace) + 1;
}

} // namespace chain

const int kDeeperLine = chain::kDeeperLineHere;
