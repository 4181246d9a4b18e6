// A call chain through three source files: ChainStart → ChainMiddle → TChainWorker::Step →
// chain::Deeper → ChainEnd. Each caller notes the line of its call, each callee the address
// it returns to, so that the test can look the return addresses up.
#pragma once
#include <vector>

struct TChainTrace {
    std::vector<int> CallLines;
    std::vector<const void*> ReturnAddresses;
};

// Neither inlined nor cloned: every level keeps its own frame and name.
#define CHAIN_LEVEL __attribute__((noipa))

CHAIN_LEVEL int ChainStart(TChainTrace& trace);
CHAIN_LEVEL int ChainMiddle(TChainTrace& trace);
CHAIN_LEVEL int ChainEnd(TChainTrace& trace);

class TChainWorker {
  public:
    CHAIN_LEVEL int Step(TChainTrace& trace);
};

namespace chain {
CHAIN_LEVEL int Deeper(TChainTrace& trace);
}

// The lines on which the chain's procedures begin.
extern const int kChainStartLine;
extern const int kChainMiddleLine;
extern const int kChainEndLine;
extern const int kStepLine;
extern const int kDeeperLine;
