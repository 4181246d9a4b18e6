// The table layer as a unit: the default session from initialisation to finalisation, and the
// initialisation hook that prepares the component object model for the main thread.
#pragma once
#include "runtime/units.h"

extern const TUnit TablesUnit;
