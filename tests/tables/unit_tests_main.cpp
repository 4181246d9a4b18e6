// The runtime and table layer without an engine: the application object and the default
// session exist for every test, as in the program.
#include "runtime/application.h"
#include "tables/tables_unit.h"
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    InitializeUnits({&ApplicationUnit, &TablesUnit});
    int result = RUN_ALL_TESTS();
    FinalizeUnits();
    return result;
}
