#include "tests/reporter/processing/chain.h"

volatile int chainSteps = 0;

[[gnu::noinline]] void ChainStart() {
    ChainMiddle(); // chain: ChainStart
    chainSteps = chainSteps + 1;
}

[[gnu::noinline]] void ChainMiddle() {
    TChainStep().Run(); // chain: ChainMiddle
    chainSteps = chainSteps + 1;
}
