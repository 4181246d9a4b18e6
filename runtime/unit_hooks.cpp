#include "runtime/unit_hooks.h"

// The two runtime units keep no global state of their own; their procedures are the moments
// that watchers of start-up and shut-down attach to.
void UnitsInitializationBegins() {}
void SysUtilsInitialization() {}
void ClassesInitialization() {}
void UnitsInitializationEnds() {}
void UnitsFinalizationBegins() {}
void ClassesFinalization() {}
void SysUtilsFinalization() {}
void UnitsFinalizationEnds() {}
