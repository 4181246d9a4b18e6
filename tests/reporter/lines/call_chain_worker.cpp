// The chain's third level: a member function.
#include "call_chain.h"

const int kStepLine = __LINE__ + 1;
int TChainWorker::Step(TChainTrace& trace) {
    trace.ReturnAddresses.push_back(__builtin_return_address(0));
    trace.CallLines.push_back(__LINE__ + 1);
    return chain::Deeper(trace) + 1;
}
