// A known call chain over three source files that ends in a throw: the call-stack report must
// name every link. Each call is followed by more work, so that none becomes a jump.
#pragma once

extern volatile int chainSteps;

void ChainStart();
void ChainMiddle();
void ChainDeeper();
void ChainEnd();

class TChainStep {
  public:
    void Run();
};
