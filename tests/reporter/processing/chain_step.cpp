#include "tests/reporter/processing/chain.h"

[[gnu::noinline]] void TChainStep::Run() {
    ChainDeeper(); // chain: Run
    chainSteps = chainSteps + 1;
}

[[gnu::noinline]] void ChainDeeper() {
    ChainEnd(); // chain: ChainDeeper
    chainSteps = chainSteps + 1;
}
