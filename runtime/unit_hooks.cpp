#include "runtime/unit_hooks.h"
#include "runtime/unhandled_exception.h"

// The system utilities unit owns the handling of exceptions that nothing handles; the classes
// unit keeps no global state of its own. The other procedures are the moments that watchers of
// start-up and shut-down attach to.
void UnitsInitializationBegins() {}
void SysUtilsInitialization() {
    InstallTerminateHandler();
}
void ClassesInitialization() {}
void UnitsInitializationEnds() {}
void UnitsFinalizationBegins() {}
void ClassesFinalization() {}
void SysUtilsFinalization() {
    RestoreTerminateHandler();
}
void UnitsFinalizationEnds() {}
