// Fixed points of start-up and shut-down. The runtime's own two units (system utilities:
// exceptions and formats; classes: components) initialise before the program's units and
// finalise after them. The crash reporter finds these procedures through the procedure table
// of its module data (ids in brackets) and watches them, so each stays a real function.
#pragma once

[[gnu::noipa]] void UnitsInitializationBegins(); // [13] before the first unit initialises
[[gnu::noipa]] void SysUtilsInitialization();    // [14]
[[gnu::noipa]] void ClassesInitialization();     // [11]
[[gnu::noipa]] void UnitsInitializationEnds();   // [16] after the last unit initialised
[[gnu::noipa]] void UnitsFinalizationBegins();   // [17] before the first unit finalises
[[gnu::noipa]] void ClassesFinalization();       // [12]
[[gnu::noipa]] void SysUtilsFinalization();      // [15]
[[gnu::noipa]] void UnitsFinalizationEnds();     // [18] after the last unit finalised
