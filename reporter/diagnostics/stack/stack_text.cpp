#include "reporter/diagnostics/stack/stack_text.h"
#include "runtime/format.h"

namespace {

constexpr char kFollowingLineIndent[] = "            ";

unsigned HandleOf(const TVessarDebugInfo& entry) {
    return entry.Module ? unsigned(reinterpret_cast<uintptr_t>(entry.Module->Handle)) : 0;
}

std::string ModuleFileOf(const TVessarDebugInfo& entry) {
    if (!entry.Module)
        return {};
    const std::string& path = entry.Module->FileName;
    return path.substr(path.find_last_of('\\') + 1);
}

std::string UnitPart(const TVessarDebugInfo& entry) {
    return Format("- %s - %s - %s - %d[%d]", entry.Unit.c_str(), entry.ClassName.c_str(),
                  entry.Procedure.c_str(), int(entry.Line), int(entry.ProcLine));
}

} // namespace

std::string StackEntryText(const TVessarDebugInfo& entry) {
    return Format("$%8.8x - [%8.8x] %s %s", unsigned(entry.Addr), HandleOf(entry),
                  ModuleFileOf(entry).c_str(), UnitPart(entry).c_str());
}

std::string StackListText(const TVessarStackList& list) {
    std::string text;
    for (size_t i = 0; i < list.Count(); ++i) {
        const TVessarDebugInfo& entry = list[i];
        if (i > 0)
            text += kFollowingLineIndent;
        text += Format("%02X $%8.8x - [%8.8x] %s %s\r\n", unsigned(i), unsigned(entry.Addr),
                       HandleOf(entry), ModuleFileOf(entry).c_str(),
                       entry.Line != 0 ? UnitPart(entry).c_str() : "");
    }
    return text;
}
