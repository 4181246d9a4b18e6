// Options objects for the reporter core tests.
#pragma once
#include "reporter/core/options/module_options.h"
#include <string>
#include <vector>

// The file name of this test program, whose module also contains the crash reporter.
std::string TestProgramFileName();

// Options of this program that count their change notifications.
class CountingOptions : public TVessarModuleOptions {
  public:
    CountingOptions() : TVessarModuleOptions(TestProgramFileName()) {}
    void Changed() override { ++changes; }
    int changes = 0;
};

// Sets every field that an options block carries to a value other than its default, and the
// fields it does not carry as well.
void SetEveryFieldAwayFromDefault(TVessarModuleOptions& options);

std::vector<TVessarExceptionFilter> FilterList(const TVessarExceptionsFilters& filters);
