#include "runtime/program.h"
#include "runtime/exit_procs.h"
#include <cstdlib>

void Halt(int exitCode) {
    RunExitProcs();
    FinalizeUnits();
    std::exit(exitCode);
}
