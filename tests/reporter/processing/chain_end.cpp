#include "runtime/exception.h"
#include "tests/reporter/processing/chain.h"

[[gnu::noinline]] void ChainEnd() {
    if (chainSteps >= 0)
        throw Exception("at the end of the chain"); // chain: ChainEnd
    chainSteps = chainSteps + 1;
}
