#include "runtime/exit_procs.h"
#include <vector>

namespace {

std::vector<TExitProc>& ExitProcs() {
    static std::vector<TExitProc> procs;
    return procs;
}

} // namespace

void AddExitProc(TExitProc proc) {
    ExitProcs().push_back(proc);
}

void RunExitProcs() {
    auto& procs = ExitProcs();
    while (!procs.empty()) {
        TExitProc proc = procs.back();
        procs.pop_back();
        proc();
    }
}
