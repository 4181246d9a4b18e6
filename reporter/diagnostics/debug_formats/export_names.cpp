#include "reporter/diagnostics/debug_formats/export_names.h"
#include "reporter/diagnostics/debug_formats/procedure_text.h"
#include "reporter/diagnostics/debug_formats/unit_extension.h"
#include <vector>

namespace {

// "@Unit@@Proc$qqrv" reads "Unit._Proc": the argument code and the "@" before it cut, the
// leading "@" dropped, "@@" read as "._" and every other "@" as ".".
std::string UnmangledName(const std::string& name) {
    std::string text = name.substr(1, name.find('$') - 1);
    if (text.ends_with("@"))
        text.pop_back();
    std::string readable;
    for (size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '@') {
            readable += text[at];
        } else if (at + 1 < text.size() && text[at + 1] == '@') {
            readable += "._";
            ++at;
        } else {
            readable += '.';
        }
    }
    return readable;
}

std::string QualifiedName(const std::string& name) {
    if (name.starts_with("@") && !name.starts_with("@$"))
        return UnmangledName(name);
    // "Unit.Proc@8": the argument size of a standard call goes.
    if (name.find('.') != std::string::npos)
        return name.substr(0, name.find('@'));
    return name;
}

} // namespace

TExportName ReadExportName(const std::string& name) {
    const std::vector<std::string> parts = DottedParts(QualifiedName(name));
    TExportName read;
    if (parts.size() > 1) {
        read.Detail = kDetailUnit;
        read.Unit = parts[0] + kUnitSourceExtension;
        if (parts.size() == 3)
            read.ClassName = parts[1];
    } else if (parts[0].empty() || parts[0].starts_with("?")) {
        return read;
    } else {
        read.Detail = kDetailProcedure;
    }
    read.Procedure = ShownProcedureName(parts.back());
    return read;
}
