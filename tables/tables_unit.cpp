#include "tables/tables_unit.h"
#include "runtime/application.h"
#include "tables/session.h"
#include <objbase.h>

namespace {

TInitProc previousInitProc = nullptr;
bool needToUninitialize = false;

void InitTables() {
    if (previousInitProc)
        previousInitProc();
    needToUninitialize = SUCCEEDED(CoInitialize(nullptr));
}

void Initialization() {
    Session = new TSession(nullptr);
    previousInitProc = InitProc;
    InitProc = InitTables;
}

// Ending the default session closes its databases and shuts the engine down.
void Finalization() {
    delete Session;
    Session = nullptr;
    if (InitProc == InitTables)
        InitProc = previousInitProc;
    if (needToUninitialize)
        CoUninitialize();
    needToUninitialize = false;
}

} // namespace

const TUnit TablesUnit{"Tables", Initialization, Finalization};
