// The program entry: units, application initialise, the main data module, run and halt.
#pragma once
#include "runtime/application.h"
#include "runtime/data_module.h"
#include "runtime/units.h"

// Ends the program: exit procedures, then the finalisation of every unit in reverse order,
// then process exit with exitCode.
[[noreturn]] void Halt(int exitCode = 0);

// The whole life of a program whose work happens while its data module is created: units
// initialise in the order given (ApplicationUnit among them), the application initialises, the data
// module is created owned by the application and stored in dataModule, the application runs, and
// the program halts with exit code 0.
template <class T> [[noreturn]] void RunDataModuleProgram(TUnitList units, T*& dataModule) {
    InitializeUnits(units);
    Application->Initialize();
    CreateDataModule(Application, dataModule);
    Application->Run();
    Halt(0);
}
