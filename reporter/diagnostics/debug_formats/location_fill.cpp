#include "reporter/diagnostics/debug_formats/location_fill.h"
#include "reporter/base/path_names.h"
#include "reporter/diagnostics/debug_formats/procedure_text.h"
#include "runtime/text.h"
#include <algorithm>
#include <vector>

namespace {

// "Unit.Class.Proc" gives class and procedure; "Class.Proc" a class unless it is the unit's
// own name.
void SplitProcedure(const std::string& text, TVessarDebugInfo& info) {
    const std::vector<std::string> parts = DottedParts(text);
    if (parts.size() == 3)
        info.ClassName = parts[1];
    else if (parts.size() == 2 && !AnsiSameText(parts[0], WithExtension(info.Unit, "")))
        info.ClassName = parts[0];
    info.Procedure = ShownProcedureName(parts.back());
}

uint8_t DetailOf(const TVessarDebugInfo& info) {
    if (info.Line > 0)
        return kDetailLine;
    if (!info.Unit.empty())
        return kDetailUnit;
    if (!info.Procedure.empty())
        return kDetailProcedure;
    return info.Module ? kDetailModule : kDetailNothing;
}

} // namespace

void FillFromLocation(const TKFLocationInfo& location, TVessarDebugInfo& info) {
    info.Addr = location.Addr;
    info.Unit = FileNameOf(location.SourceFile.empty() ? location.UnitName : location.SourceFile);
    SplitProcedure(location.ProcedureName, info);
    info.Line = location.LineNumber;
    info.ProcLine = std::max(location.ProcLines, 0);
    info.Detail = DetailOf(info);
}
