// Units: the layers of a program that set themselves up before the main block runs and tear
// themselves down at halt, in the reverse order.
#pragma once
#include <initializer_list>

struct TUnit {
    const char* Name;
    void (*Initialization)();
    void (*Finalization)();
};

using TUnitList = std::initializer_list<const TUnit*>;

// Runs the initialisation of each unit, in the order given (the program's link order); the
// runtime's own units come first when nothing is initialised yet.
void InitializeUnits(TUnitList units);
// Runs the finalisation of every initialised unit, the last initialised first.
void FinalizeUnits();
