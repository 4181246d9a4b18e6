// What an export's name tells of its procedure.
#pragma once
#include "reporter/diagnostics/debug_info.h"
#include <string>

struct TExportName {
    uint8_t Detail = kDetailNothing; // kDetailNothing when the name tells nothing
    std::string Unit;                // with the source-file extension
    std::string ClassName;
    std::string Procedure;
};

// "@Unit@Class@Proc$qqrv" and "Unit.Class.Proc@8" give unit, class and procedure; two parts
// give unit and procedure; a plain name is the procedure; a "?"-mangled one tells nothing.
TExportName ReadExportName(const std::string& name);
